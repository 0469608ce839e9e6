#pragma once

#include "reports/RelatorioMensal.h"

#include <cstdint>

namespace tarvo {

// The entries of one declaration, month by month, on one landscape page.
class RelatorioEntradas : public RelatorioMensal {
public:
    RelatorioEntradas();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y) override;
    void LinhaMes(const Mes& mes, const double& X, const double& Y);
    // Five equal columns.
    double Coluna() const { return Largura() / 5; }
};

} // namespace tarvo
