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
    const Liberacao liberacao({&rsContribuinte, &rsDIPAM});
    AbrirConsultas(BancoDados, Declaracao,
                   std::string("select") + " tblDIPAM.*," + " tblMunicípios.*," +
                       " tblCódigosDIPAM.* " + "from" + " tblDIPAM, " + " tblMunicípios, " +
                       " tblCódigosDIPAM " + "where" +
                       " tblDIPAM.Município = tblMunicípios.CódMunicípio And" +
                       " tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código And " + FiltroCodigo() +
                       " tblDIPAM.Declaração = " + std::to_string(Declaracao) + " " + "order by" +
                       " tblMunicípios.Município," + " tblDIPAM.CódDIPAM");
    IniciarDocumento();
    Subtotal = Moeda();
    Total = Moeda();

    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0, BancoDados);
        double Y = PrimeiraLinha;
        while (!rsDIPAM->Eof()) {
            QuebrarPaginaSeNecessario(Y, LimiteLinha, BancoDados);
            LinhaDetalhe(0, Y);
            Y += AlturaLinha;
            const Moeda valor = Funcoes::CampoMoeda(rsDIPAM->Fields("Valor"));
            Subtotal += valor;
            Total += valor;
            MunicipioAtual = MunicipioDaLinha();
            rsDIPAM->MoveNext();
            // Municipalities are told apart by name: two with the same name
            // make one group.
            if (rsDIPAM->Eof() || MunicipioDaLinha() != MunicipioAtual) {
                QuebrarPaginaSeNecessario(Y, LimiteLinha, BancoDados);
                LinhaSubtotal(0, Y);
                Y += AlturaLinha;
                Subtotal = Moeda();
            }
        }
        QuebrarPaginaSeNecessario(Y, LimiteLinha, BancoDados);
        LinhaTotal(0, Y);
        RodapePagina(0, Rodape);
    }
}

std::string RelatorioDIPAMMunicipios::MunicipioDaLinha() const {
    return Funcoes::CampoTexto(rsDIPAM->Fields("tblMunicípios.Município"));
}

void RelatorioDIPAMMunicipios::LinhaDetalhe(const double& X, const double& Y) {
    CelulaRotuloValor(X, Y, MeiaLargura, AlturaLinha, MunicipioDaLinha(),
                      Funcoes::CampoTexto(rsDIPAM->Fields("CódDIPAM")));
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "",
                      TextoValor(Funcoes::CampoMoeda(rsDIPAM->Fields("Valor"))));
}

void RelatorioDIPAMMunicipios::LinhaSubtotal(const double& X, const double& Y) {
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "Subtotal",
                      TextoValor(Subtotal));
}

void RelatorioDIPAMMunicipios::LinhaTotal(const double& X, const double& Y) {
    CelulaRotuloValor(X + MeiaLargura, Y, MeiaLargura, AlturaLinha, "Total", TextoValor(Total));
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
