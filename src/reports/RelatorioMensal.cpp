#include "reports/RelatorioMensal.h"

#include "common/Funcoes.h"

namespace tarvo {

void RelatorioMensal::AbrirContribuinte(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, "select * from tblContribuinte inner join tblDeclaração on "
                                       "tblContribuinte.IE = tblDeclaração.IE where "
                                       "tblDeclaração.Declaração = " +
                                           std::to_string(Declaracao));
}

void RelatorioMensal::PercorrerMeses(const Database& BancoDados, const std::string& consultaMes,
                                     const int32_t& Declaracao,
                                     const std::function<void()>& cadaMes) {
    for (MesAtual = 1; MesAtual <= 12; ++MesAtual) {
        rsMes =
            Abrir(BancoDados, consultaMes + std::to_string(static_cast<int>(MesAtual)) +
                                  " and tblReferência.Declaração = " + std::to_string(Declaracao));
        cadaMes();
    }
}

void RelatorioMensal::ConstruirTabelaMeses(const Database& BancoDados, const int32_t& Declaracao,
                                           const std::string& consultaMes,
                                           const std::function<void(const double& Y)>& linhaMes) {
    const Liberacao liberacao({&rsContribuinte, &rsMes});
    AbrirContribuinte(BancoDados, Declaracao);
    IniciarDocumento();
    if (rsContribuinte->Eof())
        return;
    CabecalhoPagina(0, 0);
    // Twelve lines always fit on the page.
    double Y = 7.1;
    PercorrerMeses(BancoDados, consultaMes, Declaracao, [&] {
        linhaMes(Y);
        Y += AlturaLinha;
    });
    RodapePagina(0, RodapeY());
}

bool RelatorioMensal::MesSemLinha() const {
    return rsMes->Eof();
}

int32_t RelatorioMensal::RegimeMes() const {
    return Funcoes::CampoLong(rsMes->Fields("RegTrib"));
}

Moeda RelatorioMensal::ValorMes(const std::string& coluna) const {
    return Funcoes::CampoMoeda(rsMes->Fields(coluna));
}

void RelatorioMensal::CelulaNomeMes(const double& X, const double& Y, const double& Largura) {
    CelulaTexto(X, Y, Largura, AlturaLinha, Funcoes::NomeDoMes(MesAtual));
}

void RelatorioMensal::CelulaRegimeMes(const double& X, const double& Y, const double& Largura) {
    CelulaTexto(X, Y, Largura, AlturaLinha, TextoRegime(RegimeMes()));
}

void RelatorioMensal::CelulaValorMes(const double& X, const double& Y, const double& Largura,
                                     const std::string& coluna) {
    CelulaNumero(X, Y, Largura, AlturaLinha, TextoValor(ValorMes(coluna)));
}

void RelatorioMensal::CelulaVazia(const double& X, const double& Y, const double& Largura) {
    CelulaNumero(X, Y, Largura, AlturaLinha, "");
}

void RelatorioMensal::CelulasSemLinha(const double& X, const double& Y, const double& Largura,
                                      int colunas) {
    CelulaTexto(X + Largura, Y, Largura, AlturaLinha, "");
    for (int c = 2; c < colunas; ++c)
        CelulaVazia(X + c * Largura, Y, Largura);
}

} // namespace tarvo
