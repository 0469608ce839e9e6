#pragma once

#include "reports/RelatorioInterestadual.h"

namespace tarvo {

// Interstate exits summed per state, book value and tax base split between
// operations with taxpayers and with non-taxpayers, with totals.
class RelatorioSaiInterestad : public RelatorioInterestadual {
public:
    RelatorioSaiInterestad();

private:
    static Colunas ColunasSaidas();
};

} // namespace tarvo
