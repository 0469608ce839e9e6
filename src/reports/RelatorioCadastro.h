#pragma once

#include "reports/RelatorioBase.h"

#include <string>

namespace tarvo {

// The taxpayer's registration on one portrait page: eighteen labelled boxes.
class RelatorioCadastro : public RelatorioBase {
public:
    RelatorioCadastro();

    void Construir(const Database& BancoDados, const std::string& IE);

private:
    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y);
    void BlocoCadastro(const Construcao& c, const double& X, const double& Y);
    void CaixaCampoTextoLongo(const double& X, const double& Y, const double& Largura,
                              const double& Altura, const std::string& Rotulo,
                              const std::string& Valor);
    static std::string Campo(const Construcao& c, const char* coluna);
};

} // namespace tarvo
