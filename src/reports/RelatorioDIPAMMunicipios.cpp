#include "reports/RelatorioDIPAMMunicipios.h"

#include "common/Funcoes.h"

namespace tarvo {

namespace {
constexpr double AlturaLinha = 0.6;
// Footer 25.0 minus the line, plus a margin for the error of the repeated
// addition of 0.6: 28 lines a page, the last at 24.4.
constexpr double LimiteLinha = 24.4001;
constexpr double MeiaLargura = 17.0 / 2;
} // namespace

void RelatorioDIPAMMunicipios::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstrucaoMunicipios c;
    AbrirConsultas(c, BancoDados, Declaracao,
                   std::string("select") + " tblDIPAM.*," + " tblMunicípios.*," +
                       " tblCódigosDIPAM.* " + "from" + " tblDIPAM, " + " tblMunicípios, " +
                       " tblCódigosDIPAM " + "where" +
                       " tblDIPAM.Município = tblMunicípios.CódMunicípio And" +
                       " tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código And " + FiltroCodigo() +
                       " tblDIPAM.Declaração = " + std::to_string(Declaracao) + " " + "order by" +
                       " tblMunicípios.Município," + " tblDIPAM.CódDIPAM");
    IniciarDocumento();

    if (!c.rsContribuinte->Eof()) {
        CabecalhoPagina(c, 0, 0, BancoDados);
        double Y = PrimeiraLinha;
        while (!c.rsDIPAM->Eof()) {
            QuebrarPaginaSeNecessario(c, Y, LimiteLinha, BancoDados);
            LinhaDetalhe(c, 0, Y);
            Y += AlturaLinha;
            const Moeda valor = Funcoes::CampoMoeda(c.rsDIPAM->Fields("Valor"));
            c.Subtotal += valor;
            c.Total += valor;
            const std::string MunicipioAtual = MunicipioDaLinha(c);
            c.rsDIPAM->MoveNext();
            // Municipalities are told apart by name: two with the same name
            // make one group.
            if (c.rsDIPAM->Eof() || MunicipioDaLinha(c) != MunicipioAtual) {
                QuebrarPaginaSeNecessario(c, Y, LimiteLinha, BancoDados);
                LinhaSubtotal(c, 0, Y);
                Y += AlturaLinha;
                c.Subtotal = Moeda();
            }
        }
        QuebrarPaginaSeNecessario(c, Y, LimiteLinha, BancoDados);
        LinhaTotal(c, 0, Y);
        RodapePagina(0, Rodape);
    }
}

std::string RelatorioDIPAMMunicipios::MunicipioDaLinha(const ConstrucaoDIPAM& c) {
    return Funcoes::CampoTexto(c.rsDIPAM->Fields("tblMunicípios.Município"));
}

void RelatorioDIPAMMunicipios::LinhaDetalhe(const ConstrucaoDIPAM& c, const double& X,
                                            const double& Y) {
    CelulaRotuloValor(X, Y, MeiaLargura, AlturaLinha, MunicipioDaLinha(c),
                      Funcoes::CampoTexto(c.rsDIPAM->Fields("CódDIPAM")));
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "",
                      TextoValor(Funcoes::CampoMoeda(c.rsDIPAM->Fields("Valor"))));
}

void RelatorioDIPAMMunicipios::LinhaSubtotal(const ConstrucaoMunicipios& c, const double& X,
                                             const double& Y) {
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "Subtotal",
                      TextoValor(c.Subtotal));
}

void RelatorioDIPAMMunicipios::LinhaTotal(const ConstrucaoDIPAM& c, const double& X,
                                          const double& Y) {
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "Total", TextoValor(c.Total));
}

void RelatorioDIPAMMunicipios::CelulaRotuloValor(const double& X, const double& Y,
                                                 const double& Largura, const double& Altura,
                                                 const std::string& Rotulo,
                                                 const std::string& Valor) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Meio, 8, true, Verde);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Valor, Direita, Meio, 8, false);
}

} // namespace tarvo
