#pragma once

#include "reports/RelatorioDIPAM.h"

#include <cstdint>
#include <string>

namespace tarvo {

// DIPAM values of code group 3: one block per row (code, description,
// value) and a total.
class RelatorioDIPAMCodigo3 : public RelatorioDIPAM {
public:
    RelatorioDIPAMCodigo3();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    void BlocoRegistro(const ConstrucaoDIPAM& c, const double& X, const double& Y);
    void LinhaTotal(const ConstrucaoDIPAM& c, const double& X, const double& Y);
    // A labelled box whose value wraps; aligned left, or right for amounts.
    void CaixaCampoMultilinha(const double& X, const double& Y, const double& Largura,
                              const double& Altura, const std::string& Rotulo,
                              const std::string& Valor, int32_t alinhamento = Esquerda);
    void CelulaTotal(const double& X, const double& Y, const double& Largura, const double& Altura,
                     const std::string& Rotulo, const std::string& Valor);
};

} // namespace tarvo
