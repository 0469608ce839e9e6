#pragma once

#include <QImage>
#include <string>

class QWidget;

namespace tarvo {

class Documento;
class Renderizador;

// The outputs of a document: a PDF file, a page image and the printer. All
// of them paint through Renderizador.
class SaidaDocumento {
public:
    // A4 pages with the fonts embedded and the long title as the PDF title.
    // The file is replaced only when the whole PDF was written.
    static void Pdf(const Documento& documento, const std::string& caminho);

    // Page `pagina` (from 1) at `dpi` dots per inch (a whole number).
    static QImage Imagem(const Documento& documento, Renderizador& renderizador, int pagina,
                         int dpi);

    // Prints on the default printer, or on the one chosen in the print dialog
    // when `dialogo` is true; a cancelled dialog prints nothing.
    static void Impressora(const Documento& documento, bool dialogo, QWidget* pai);

    // Rendering needs a QGuiApplication; windows and dialogs a QApplication
    // and its thread.
    static void ExigirAplicacao(bool janelas);
};

} // namespace tarvo
