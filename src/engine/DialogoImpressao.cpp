#include "engine/DialogoImpressao.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPageRanges>
#include <QPrinter>
#include <QRadioButton>

#include <algorithm>

namespace tarvo {

DialogoImpressao::DialogoImpressao(QPrinter* impressora, int total, int paginaAtual, QWidget* pai)
    : QPrintDialog(impressora, pai), total_(total), paginaAtual_(paginaAtual) {
    setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
               QAbstractPrintDialog::PrintShowPageSize |
               (paginaAtual > 0 ? QAbstractPrintDialog::PrintCurrentPage
                                : QAbstractPrintDialog::PrintDialogOptions()));
    setMinMax(1, total);
}

// Qt 6.4's own check of its "Pages" field refuses every list and range
// ("1,3 does not follow the correct syntax"), so the field is read here, Qt
// is shown "all pages", and the list goes to the printer's page ranges once
// Qt has accepted. Qt offers no public way to the field: this still leans on
// its widgets' names, until the dialog is one of our own.
void DialogoImpressao::accept() {
    auto* lista = findChild<QRadioButton*>(QStringLiteral("pagesRadioButton"));
    auto* texto = findChild<QLineEdit*>(QStringLiteral("pagesLineEdit"));
    auto* todas = findChild<QRadioButton*>(QStringLiteral("printAll"));
    QPageRanges faixas;
    if (lista != nullptr && texto != nullptr && todas != nullptr && lista->isChecked()) {
        faixas = QPageRanges::fromString(texto->text());
        if (faixas.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Páginas inválidas"),
                                 QStringLiteral("\u201c%1\u201d não é uma lista de páginas. Use "
                                                "vírgulas entre páginas e intervalos e um hífen "
                                                "em cada intervalo, como em 1,3 ou 2-5.")
                                     .arg(texto->text()));
            return;
        }
        todas->setChecked(true);
    }
    QPrintDialog::accept();
    if (!faixas.isEmpty()) {
        lista->setChecked(true);
        printer()->setPrintRange(QPrinter::PageRange);
        printer()->setPageRanges(faixas);
    }
}

std::vector<int> DialogoImpressao::Paginas(QString* problema) const {
    return PaginasEscolhidas(*const_cast<DialogoImpressao*>(this)->printer(), total_, paginaAtual_,
                             problema);
}

std::vector<int> DialogoImpressao::PaginasEscolhidas(const QPrinter& impressora, int total,
                                                     int paginaAtual, QString* problema) {
    std::vector<int> paginas;
    const auto incluir = [&](int de, int ate) {
        for (int pagina = std::max(de, 1); pagina <= std::min(ate, total); ++pagina)
            paginas.push_back(pagina);
    };
    const auto alemDoFim = [&](int pagina) {
        if (problema != nullptr) {
            *problema = QStringLiteral("A página %1 não existe: o relatório tem %2.")
                            .arg(pagina)
                            .arg(total);
        }
        return std::vector<int>();
    };
    switch (impressora.printRange()) {
    case QPrinter::CurrentPage:
        incluir(paginaAtual > 0 ? paginaAtual : 1, paginaAtual > 0 ? paginaAtual : total);
        break;
    case QPrinter::PageRange: {
        // The "Pages" field: a list of pages and ranges, or one range.
        const QPageRanges faixas = impressora.pageRanges();
        if (!faixas.isEmpty()) {
            if (faixas.lastPage() > total)
                return alemDoFim(faixas.lastPage());
            for (const QPageRanges::Range& faixa : faixas.toRangeList())
                incluir(faixa.from, faixa.to);
        } else if (impressora.fromPage() > 0) {
            if (impressora.toPage() > total)
                return alemDoFim(impressora.toPage());
            incluir(impressora.fromPage(), std::max(impressora.toPage(), impressora.fromPage()));
        } else {
            incluir(1, total);
        }
        break;
    }
    default:
        incluir(1, total);
        break;
    }
    if (impressora.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(paginas.begin(), paginas.end());
    return paginas;
}

} // namespace tarvo
