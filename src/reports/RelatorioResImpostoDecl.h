#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// The declared tax, month by month, on one landscape page.
class RelatorioResImpostoDecl : public RelatorioBase {
public:
    RelatorioResImpostoDecl();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
