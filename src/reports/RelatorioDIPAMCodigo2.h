#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>

namespace tarvo {

// DIPAM values of code group 2 per municipality.
class RelatorioDIPAMCodigo2 : public RelatorioBase {
public:
    RelatorioDIPAMCodigo2();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void CabecalhoPagina(const double& X, const double& Y);
};

} // namespace tarvo
