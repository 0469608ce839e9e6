#pragma once

#include <QImage>
#include <QWidget>

namespace tarvo {

// The page shown in the preview window: one rendered image on a dark
// background, centred when it is smaller than the view.
class PaginaPrevia : public QWidget {
    Q_OBJECT

public:
    explicit PaginaPrevia(QWidget* pai = nullptr);

    // A null image shows no page (an empty document).
    void DefinirImagem(const QImage& imagem);
    const QImage& Imagem() const { return imagem_; }

    static constexpr int margem = 12;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    QImage imagem_;
};

} // namespace tarvo
