#include "common/frmFiguras.h"

#include <RelatoriosTarvo/Erro.h>

#include <QFile>
#include <QImageReader>
#include <QString>

// The resources of a static library must be registered by name, outside any
// namespace, before their first use.
static void RegistrarFiguras() {
    Q_INIT_RESOURCE(figuras);
}

namespace tarvo {

namespace {

Figura Carregar(const char* nome, const char* caminho, const char* formato, const char* descricao) {
    static const bool registradas = (RegistrarFiguras(), true);
    (void)registradas;

    QImageReader leitor(QString::fromUtf8(caminho), formato);
    QImage imagem = leitor.read();
    if (imagem.isNull())
        throw Erro(Erro::FiguraInvalida, std::string("Não foi possível carregar a figura ") + nome +
                                             " (" + descricao +
                                             "): " + leitor.errorString().toStdString());
    return Figura(nome, std::move(imagem));
}

} // namespace

const Figura& frmFiguras::imgBrasaoOstranaColorido() {
    static const Figura figura = Carregar("imgBrasaoOstranaColorido", ":/tarvo/figuras/brasao.gif",
                                          "gif", "brasão colorido, GIF 66 x 72");
    return figura;
}

const Figura& frmFiguras::imgIconeR() {
    static const Figura figura =
        Carregar("imgIconeR", ":/tarvo/figuras/icone.ico", "ico", "ícone dos relatórios, 32 x 32");
    return figura;
}

} // namespace tarvo
