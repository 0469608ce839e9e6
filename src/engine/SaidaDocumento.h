#pragma once

#include <QImage>
#include <string>
#include <vector>

class QWidget;

namespace tarvo {

class Andamento;
class Documento;
class Renderizador;

// The one door of every output of a document: its PDF, several documents in
// one PDF, a page image or a tile of one, a print job and the JSON record.
// Whatever needs the Qt application checks it here, once, the same way; all
// drawing goes through Renderizador. Files never land on a document's
// protected files, and `andamento` counts the pages written and may stop the
// writing, which then leaves nothing.
class SaidaDocumento {
public:
    // A4 pages with the fonts embedded, the long title as the PDF's title
    // and the document's subject as its subject. The file is replaced only
    // when the whole PDF was written.
    static void Pdf(const Documento& documento, const std::string& caminho,
                    Andamento* andamento = nullptr);

    struct Parte {
        const Documento* documento;
        std::string marcador; // the bookmark's title
    };
    // The parts in one PDF, in order, each keeping its orientation and page
    // numbering, with one bookmark per part.
    static void PdfUnico(const std::vector<Parte>& partes, const std::string& titulo,
                         const std::string& assunto, const std::string& caminho,
                         Andamento* andamento = nullptr);

    // The record of every call, {"chamadas": [...]}, as text or as a file.
    static std::string Json(const Documento& documento);
    static void SalvarJson(const Documento& documento, const std::string& caminho);

    // Page `pagina` (from 1) at `dpi` dots per inch (a whole number).
    static QImage Imagem(const Documento& documento, Renderizador& renderizador, int pagina,
                         int dpi);
    // The part `area` of that image (in its pixels), the same pixels, drawn
    // alone: a tile of the preview.
    static QImage ParteImagem(Renderizador& renderizador, int pagina, int dpi, const QRect& area);
    // The size in pixels of the image of a sheet of `papel` centimetres.
    static QSize TamanhoImagem(const QSizeF& papel, int dpi);

    struct OpcoesImpressao {
        // The print dialog: printer and its options, all pages, page ranges
        // ("1,3", "2-5"), the current page, odd or even pages, the reversed
        // order and copies. Without it, every page on `impressora`.
        bool dialogo = false;
        // The printer as CUPS names it; "" for CUPS's default. The dialog
        // shows it first.
        std::string impressora;
        QWidget* pai = nullptr;
        // The page offered as the dialog's "current page"; 0 for none.
        int paginaAtual = 0;
        // A progress dialog whose Cancelar stops the job while its PDF is
        // written or sent (a job already created is cancelled in CUPS), so
        // nothing prints; the windows keep repainting meanwhile.
        bool progresso = false;
    };

    // Prints on `opcoes.impressora` (CUPS's default destination when
    // empty), or as chosen in the print dialog: a PDF of exactly the pages
    // to print, sent with libcups. Erro::SemImpressora when that printer is
    // not there. A cancelled dialog or job prints nothing.
    static void Impressora(const Documento& documento, const OpcoesImpressao& opcoes);

    // Whether windows can be seen: a QApplication on a real display.
    static bool JanelasVisiveis();

    // Rendering needs a QGuiApplication; windows and dialogs a QApplication
    // and its thread. Erro::FalhaInterface otherwise.
    static void ExigirAplicacao(bool janelas);
};

} // namespace tarvo
