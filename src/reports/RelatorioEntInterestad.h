#pragma once

#include "reports/RelatorioInterestadual.h"

namespace tarvo {

// Interstate entries summed per state of origin, with totals.
class RelatorioEntInterestad : public RelatorioInterestadual {
public:
    RelatorioEntInterestad();

private:
    static Colunas ColunasEntradas();
};

} // namespace tarvo
