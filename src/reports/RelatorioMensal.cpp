#include "reports/RelatorioMensal.h"

#include "common/Funcoes.h"

namespace tarvo {

std::unique_ptr<Recordset> RelatorioMensal::AbrirContribuinte(const Database& BancoDados,
                                                              const int32_t& Declaracao) {
    return Abrir(BancoDados, "select * from tblContribuinte inner join tblDeclaração on "
                             "tblContribuinte.IE = tblDeclaração.IE where "
                             "tblDeclaração.Declaração = " +
                                 std::to_string(Declaracao));
}

void RelatorioMensal::PercorrerMeses(const Database& BancoDados, const std::string& consultaMes,
                                     const int32_t& Declaracao,
                                     const std::function<void(const Mes& mes)>& cadaMes) {
    for (uint8_t MesAtual = 1; MesAtual <= 12; ++MesAtual) {
        const std::unique_ptr<Recordset> rsMes =
            Abrir(BancoDados, consultaMes + std::to_string(static_cast<int>(MesAtual)) +
                                  " and tblReferência.Declaração = " + std::to_string(Declaracao));
        cadaMes({MesAtual, *rsMes});
    }
}

void RelatorioMensal::ConstruirTabelaMeses(
    const Database& BancoDados, const int32_t& Declaracao, const std::string& consultaMes,
    const std::function<void(const Mes& mes, const double& Y)>& linhaMes) {
    const Construcao c{AbrirContribuinte(BancoDados, Declaracao)};
    IniciarDocumento();
    if (c.rsContribuinte->Eof())
        return;
    CabecalhoPagina(c, 0, 0);
    // Twelve lines always fit on the page.
    double Y = 7.1;
    PercorrerMeses(BancoDados, consultaMes, Declaracao, [&](const Mes& mes) {
        linhaMes(mes, Y);
        Y += AlturaLinha;
    });
    RodapePagina(0, RodapeY());
}

bool RelatorioMensal::MesSemLinha(const Mes& mes) {
    return mes.rsMes.Eof();
}

int32_t RelatorioMensal::RegimeMes(const Mes& mes) {
    return Funcoes::CampoLong(mes.rsMes.Fields("RegTrib"));
}

Moeda RelatorioMensal::ValorMes(const Mes& mes, const std::string& coluna) {
    return Funcoes::CampoMoeda(mes.rsMes.Fields(coluna));
}

void RelatorioMensal::CelulaNomeMes(const Mes& mes, const double& X, const double& Y,
                                    const double& Largura) {
    CelulaTexto(X, Y, Largura, AlturaLinha, Funcoes::NomeDoMes(mes.numero));
}

void RelatorioMensal::CelulaRegimeMes(const Mes& mes, const double& X, const double& Y,
                                      const double& Largura) {
    CelulaTexto(X, Y, Largura, AlturaLinha, TextoRegime(RegimeMes(mes)));
}

void RelatorioMensal::CelulaValorMes(const Mes& mes, const double& X, const double& Y,
                                     const double& Largura, const std::string& coluna) {
    CelulaNumero(X, Y, Largura, AlturaLinha, TextoValor(ValorMes(mes, coluna)));
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
