#include "engine/DialogoImpressao.h"

#include <QPageRanges>
#include <QPrinter>

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
