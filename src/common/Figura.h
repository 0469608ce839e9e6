#pragma once

#include <QImage>
#include <string>

namespace tarvo {

// A picture handed to the report engine: the image and the name of the
// image control it comes from ("imgIconeR", "imgBrasaoOstranaColorido").
class Figura {
public:
    Figura(std::string nome, QImage imagem) : nome_(std::move(nome)), imagem_(std::move(imagem)) {}

    const std::string& Nome() const { return nome_; }
    const QImage& Imagem() const { return imagem_; }

private:
    std::string nome_;
    QImage imagem_;
};

} // namespace tarvo
