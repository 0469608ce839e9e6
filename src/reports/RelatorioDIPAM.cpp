#include "reports/RelatorioDIPAM.h"

#include "common/Funcoes.h"
#include "data/Conexao.h"

#include <utility>

namespace tarvo {

RelatorioDIPAM::RelatorioDIPAM(Configuracao configuracao, std::string codigo)
    : RelatorioBase(std::move(configuracao)), Codigo(std::move(codigo)) {}

void RelatorioDIPAM::AbrirConsultas(ConstrucaoDIPAM& c, const Database& BancoDados,
                                    const int32_t& Declaracao, const std::string& consultaDIPAM) {
    c.rsContribuinte = Abrir(BancoDados, ConsultaContribuinte(Declaracao));
    c.rsDIPAM = Abrir(BancoDados, consultaDIPAM);
}

std::string RelatorioDIPAM::FiltroCodigo() const {
    return " Left(tblDIPAM.CódDIPAM, 1) = '" + Conexao::DobrarAspas(Codigo) + "' And";
}

void RelatorioDIPAM::CabecalhoPagina(const Construcao& c, const double& X, const double& Y,
                                     const Database& BancoDados) {
    CabecalhoPadrao(c, X, Y);
    Caixa(X, Y + 3.8, 17.0, 2.1);
    TextoMultilinha(X + 0.1, Y + 3.8, 16.8, 2.1, Funcoes::CabecalhoCodigoDIPAM(BancoDados, Codigo),
                    Centro, Meio, 14, true, Verde);
    BlocoContribuinte(c, X, Y + 5.9, true);
}

void RelatorioDIPAM::QuebrarPaginaSeNecessario(const Construcao& c, double& Y, const double& limite,
                                               const Database& BancoDados) {
    if (Y <= limite)
        return;
    RodapePagina(0, Rodape);
    Motor().NovaPagina();
    CabecalhoPagina(c, 0, 0, BancoDados);
    Y = PrimeiraLinha;
}

} // namespace tarvo
