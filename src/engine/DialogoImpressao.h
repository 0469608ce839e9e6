#pragma once

#include <QPrintDialog>

#include <string>
#include <vector>

namespace tarvo {

// Qt's print dialog offering all pages, a range, a list of pages and ranges
// ("1,3", "2-5"), the current page, the order and copies. What was chosen is
// read from the printer once the dialog is accepted; the pages it names are
// the ones the job holds, so no print server filters them again.
class DialogoImpressao : public QPrintDialog {
    Q_OBJECT

public:
    // `paginaAtual` 0 offers no current page.
    DialogoImpressao(QPrinter* impressora, int total, int paginaAtual, QWidget* pai);

    // The pages chosen, in printing order, from the printer's settings; valid
    // once the dialog is accepted. Empty with `problema` set (a Portuguese
    // sentence for the user) when they name a page the document lacks.
    std::vector<int> Paginas(QString* problema = nullptr) const;

    // The same from any printer's settings, for a document of `total` pages
    // whose current page is `paginaAtual` (0 for none).
    static std::vector<int> PaginasEscolhidas(const QPrinter& impressora, int total,
                                              int paginaAtual, QString* problema = nullptr);

protected:
    void accept() override;

private:
    const int total_;
    const int paginaAtual_;
};

} // namespace tarvo
