#pragma once

#include <QPageRanges>
#include <QPrintDialog>

#include <vector>

namespace tarvo {

// Qt's print dialog offering all pages, a range, a list of pages and ranges
// ("1,3", "2-5"), the current page and copies. The list is read here: Qt's
// own check of that field turns every list down, and a print server would
// otherwise filter the pages a second time.
class DialogoImpressao : public QPrintDialog {
    Q_OBJECT

public:
    // `paginaAtual` 0 offers no current page.
    DialogoImpressao(QPrinter* impressora, int total, int paginaAtual, QWidget* pai);

    // The pages chosen, in printing order; valid once the dialog is accepted.
    std::vector<int> Paginas() const;

    void accept() override;

private:
    const int total_;
    const int paginaAtual_;
    QPageRanges lista_;
};

} // namespace tarvo
