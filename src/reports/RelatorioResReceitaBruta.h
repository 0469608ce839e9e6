#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// Gross revenue month by month, with period subtotals and a total.
class RelatorioResReceitaBruta : public RelatorioBase {
public:
    RelatorioResReceitaBruta();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
