#include "engine/DialogoImpressao.h"

#include <QLineEdit>
#include <QMessageBox>
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

void DialogoImpressao::accept() {
    auto* lista = findChild<QRadioButton*>(QStringLiteral("pagesRadioButton"));
    auto* texto = findChild<QLineEdit*>(QStringLiteral("pagesLineEdit"));
    auto* todas = findChild<QRadioButton*>(QStringLiteral("printAll"));
    lista_ = QPageRanges();
    if (lista != nullptr && texto != nullptr && todas != nullptr && lista->isChecked()) {
        const QPageRanges faixas = QPageRanges::fromString(texto->text());
        if (faixas.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Páginas inválidas"),
                                 QStringLiteral("\u201c%1\u201d não é uma lista de páginas. Use "
                                                "vírgulas entre páginas e intervalos e um hífen "
                                                "em cada intervalo, como em 1,3 ou 2-5.")
                                     .arg(texto->text()));
            return;
        }
        if (faixas.lastPage() > total_) {
            QMessageBox::warning(this, QStringLiteral("Páginas inválidas"),
                                 QStringLiteral("A página %1 não existe: o relatório tem %2.")
                                     .arg(faixas.lastPage())
                                     .arg(total_));
            return;
        }
        // Qt's dialog is given "all pages"; the list is applied when printing.
        lista_ = faixas;
        todas->setChecked(true);
    }
    QPrintDialog::accept();
    if (!lista_.isEmpty()) {
        lista->setChecked(true);
    }
}

std::vector<int> DialogoImpressao::Paginas() const {
    const QPrinter& impressora = *const_cast<DialogoImpressao*>(this)->printer();
    std::vector<int> paginas;
    const auto incluir = [&](int de, int ate) {
        for (int pagina = std::max(de, 1); pagina <= std::min(ate, total_); ++pagina) {
            paginas.push_back(pagina);
        }
    };
    if (!lista_.isEmpty()) {
        for (const QPageRanges::Range& faixa : lista_.toRangeList()) {
            incluir(faixa.from, faixa.to);
        }
    } else if (impressora.printRange() == QPrinter::CurrentPage && paginaAtual_ > 0) {
        incluir(paginaAtual_, paginaAtual_);
    } else if (impressora.printRange() == QPrinter::PageRange) {
        incluir(impressora.fromPage(), impressora.toPage());
    } else {
        incluir(1, total_);
    }
    if (impressora.pageOrder() == QPrinter::LastPageFirst) {
        std::reverse(paginas.begin(), paginas.end());
    }
    return paginas;
}

} // namespace tarvo
