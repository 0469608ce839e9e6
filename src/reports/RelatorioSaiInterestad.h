#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// Interstate exits summed per state, with totals.
class RelatorioSaiInterestad : public RelatorioBase {
public:
    RelatorioSaiInterestad();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
