#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// Interstate entries summed per state of origin, with totals.
class RelatorioEntInterestad : public RelatorioBase {
public:
    RelatorioEntInterestad();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
