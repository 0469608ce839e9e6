#include "reports/RelatorioDIPAMCodigo3.h"

#include "common/Funcoes.h"

namespace tarvo {

namespace {
constexpr double AlturaBloco = 2.3;
constexpr double AlturaTotal = 0.7;
// Footer 25.0 minus the element, plus a margin for the error of the
// repeated addition: seven blocks a page, and the total still fits at 24.3.
constexpr double LimiteBloco = 22.7001;
constexpr double LimiteTotal = 24.3001;
} // namespace

RelatorioDIPAMCodigo3::RelatorioDIPAMCodigo3()
    : RelatorioDIPAM({"Relatório de Informações para a DIPAM - Código 3",
                      "Informações p/ DIPAM - Cód. 3", 0, "DIPAM - Código 3", 2.9, 0.9, 16, true},
                     "3") {}

void RelatorioDIPAMCodigo3::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstrucaoDIPAM c;
    AbrirConsultas(c, BancoDados, Declaracao,
                   std::string("select") + " tblDIPAM.*," + " tblCódigosDIPAM.* " + "from" +
                       " tblDIPAM, " + " tblCódigosDIPAM " + "where" +
                       " tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código And " + FiltroCodigo() +
                       " tblDIPAM.Declaração = " + std::to_string(Declaracao));
    IniciarDocumento();

    if (!c.rsContribuinte->Eof()) {
        CabecalhoPagina(c, 0, 0, BancoDados);
        double Y = PrimeiraLinha;
        while (!c.rsDIPAM->Eof()) {
            QuebrarPaginaSeNecessario(c, Y, LimiteBloco, BancoDados);
            BlocoRegistro(c, 0, Y);
            Y += AlturaBloco;
            c.Total += Funcoes::CampoMoeda(c.rsDIPAM->Fields("Valor"));
            c.rsDIPAM->MoveNext();
        }
        QuebrarPaginaSeNecessario(c, Y, LimiteTotal, BancoDados);
        LinhaTotal(c, 0, Y);
        RodapePagina(0, Rodape);
    }
}

void RelatorioDIPAMCodigo3::BlocoRegistro(const ConstrucaoDIPAM& c, const double& X,
                                          const double& Y) {
    CaixaCampoMultilinha(X, Y, 1.8, AlturaBloco, "Código DIPAM",
                         Funcoes::CampoTexto(c.rsDIPAM->Fields("CódDIPAM")));
    CaixaCampoMultilinha(X + 1.8, Y, 12.0, AlturaBloco, "Descrição",
                         Funcoes::CampoTexto(c.rsDIPAM->Fields("Descrição")));
    CaixaCampoMultilinha(X + 13.8, Y, 3.2, AlturaBloco, "Valor",
                         TextoValor(Funcoes::CampoMoeda(c.rsDIPAM->Fields("Valor"))), Direita);
}

void RelatorioDIPAMCodigo3::LinhaTotal(const ConstrucaoDIPAM& c, const double& X, const double& Y) {
    CelulaTotal(X + 17.0 / 2, Y, 17.0 / 2, AlturaTotal, "Total", TextoValor(c.Total));
}

void RelatorioDIPAMCodigo3::CaixaCampoMultilinha(const double& X, const double& Y,
                                                 const double& Largura, const double& Altura,
                                                 const std::string& Rotulo,
                                                 const std::string& Valor, int32_t alinhamento) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Topo, 6, true);
    TextoMultilinha(X + 0.2, Y + 0.4, Largura - 0.4, Altura - 0.4, Valor, alinhamento, Topo, 7,
                    false);
}

void RelatorioDIPAMCodigo3::CelulaTotal(const double& X, const double& Y, const double& Largura,
                                        const double& Altura, const std::string& Rotulo,
                                        const std::string& Valor) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Topo, 9, true, Verde);
    Texto(X + 0.2, Y + 0.05, Largura - 0.4, Altura - 0.1, Valor, Direita, Meio, 7, false);
}

} // namespace tarvo
