#pragma once

#include "reports/RelatorioMensal.h"

#include <cstdint>

namespace tarvo {

// The declared tax, month by month, on one landscape page.
class RelatorioResImpostoDecl : public RelatorioMensal {
public:
    RelatorioResImpostoDecl();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y) override;
    void LinhaMes(const Mes& mes, const double& X, const double& Y);
    // Eight equal columns.
    double Coluna() const { return Largura() / 8; }
};

} // namespace tarvo
