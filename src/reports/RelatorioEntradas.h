#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// The entries of one declaration, month by month, on one landscape page.
class RelatorioEntradas : public RelatorioBase {
public:
    RelatorioEntradas();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
