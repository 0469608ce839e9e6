#pragma once

#include <QImage>
#include <QPageLayout>
#include <string>

class QWidget;

namespace tarvo {

class Documento;
class Renderizador;

// The outputs of a document: a PDF file, a page image and the printer. All
// of them paint through Renderizador.
class SaidaDocumento {
public:
    // A4 pages with the fonts embedded, the long title as the PDF's title
    // and the document's subject as its subject. The file is replaced only
    // when the whole PDF was written.
    static void Pdf(const Documento& documento, const std::string& caminho);

    // Page `pagina` (from 1) at `dpi` dots per inch (a whole number).
    static QImage Imagem(const Documento& documento, Renderizador& renderizador, int pagina,
                         int dpi);

    // Prints on the default printer, or on the one chosen in the print dialog
    // when `dialogo` is true; a cancelled dialog prints nothing.
    static void Impressora(const Documento& documento, bool dialogo, QWidget* pai);

    // The sheet of the document's pages: A4 in its orientation, painted whole.
    static QPageLayout Folha(const Documento& documento);

    // Rendering needs a QGuiApplication; windows and dialogs a QApplication
    // and its thread.
    static void ExigirAplicacao(bool janelas);
};

} // namespace tarvo
