#pragma once

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
    // The rows and sums of one build.
    struct ConstrucaoMunicipios : ConstrucaoDIPAM {
        Moeda Subtotal;
    };

    void LinhaDetalhe(const ConstrucaoDIPAM& c, const double& X, const double& Y);
    void LinhaSubtotal(const ConstrucaoMunicipios& c, const double& X, const double& Y);
    void LinhaTotal(const ConstrucaoDIPAM& c, const double& X, const double& Y);
    void CelulaRotuloValor(const double& X, const double& Y, const double& Largura,
                           const double& Altura, const std::string& Rotulo,
                           const std::string& Valor);
    static std::string MunicipioDaLinha(const ConstrucaoDIPAM& c);
};

} // namespace tarvo
