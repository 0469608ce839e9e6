#pragma once

#include "common/Moeda.h"
#include "reports/RelatorioDIPAM.h"

#include <cstdint>
#include <string>

namespace tarvo {

// The DIPAM values of one code group, one line per row ordered by
// municipality and code, a subtotal after each municipality and a total.
// Codes 1 and 2 differ only in their digit and texts.
class RelatorioDIPAMMunicipios : public RelatorioDIPAM {
public:
    void Construir(const Database& BancoDados, const int32_t& Declaracao);

protected:
    using RelatorioDIPAM::RelatorioDIPAM;

private:
    void LinhaDetalhe(const double& X, const double& Y);
    void LinhaSubtotal(const double& X, const double& Y);
    void LinhaTotal(const double& X, const double& Y);
    void CelulaRotuloValor(const double& X, const double& Y, const double& Largura,
                           const double& Altura, const std::string& Rotulo,
                           const std::string& Valor);
    std::string MunicipioDaLinha() const;

    Moeda Subtotal;
    std::string MunicipioAtual;
};

} // namespace tarvo
