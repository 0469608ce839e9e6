#include "reports/RelatorioResImpostoDecl.h"

#include <string>

namespace tarvo {

RelatorioResImpostoDecl::RelatorioResImpostoDecl()
    : RelatorioMensal({"Relatório de Resumo do Imposto Declarado", "Resumo do Imposto Declarado", 1,
                       "Resumo do Imposto Declarado", 2.9, 0.7, 14, true}) {}

void RelatorioResImpostoDecl::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    // A month needs both its exits and its entries row to have a line with values.
    ConstruirTabelaMeses(BancoDados, Declaracao,
                         "select * from (tblReferência inner join tblSaídas on tblReferência.Ref = "
                         "tblSaídas.Ref and tblReferência.Declaração = tblSaídas.Declaração) inner "
                         "join tblEntradas on tblReferência.Ref = tblEntradas.Ref and "
                         "tblReferência.Declaração = tblEntradas.Declaração where "
                         "tblReferência.Ref = ",
                         [this](const Mes& mes, const double& Y) { LinhaMes(mes, 0, Y); });
}

void RelatorioResImpostoDecl::CabecalhoPagina(const Construcao& c, const double& X,
                                              const double& Y) {
    CabecalhoPadrao(c, X, Y);
    BlocoContribuinte(c, X, Y + 3.6, true);
    const double U = Coluna();
    CelulaTitulo(X, Y + 5.9, U, 1.2, "Referência\r\nMês");
    CelulaTitulo(X + U, Y + 5.9, U, 1.2, "Regime\r\nTributário");
    CelulaTitulo(X + 2 * U, Y + 5.9, U, 1.2, "Entradas\r\nInterestaduais");
    CelulaTitulo(X + 3 * U, Y + 5.9, U, 1.2, "Imposto Devido pelas\r\nAquisições Interestaduais");
    CelulaTitulo(X + 4 * U, Y + 5.9, 2 * U, 0.6, "Saídas Tributadas");
    CelulaTitulo(X + 4 * U, Y + 6.5, U, 0.6, "Internas");
    CelulaTitulo(X + 5 * U, Y + 6.5, U, 0.6, "Interestaduais");
    CelulaTitulo(X + 6 * U, Y + 5.9, U, 1.2, "Imposto Devido pelas\r\nOperações Próprias");
    CelulaTitulo(X + 7 * U, Y + 5.9, U, 1.2, "Imposto Devido no Mês");
}

void RelatorioResImpostoDecl::LinhaMes(const Mes& mes, const double& X, const double& Y) {
    const double U = Coluna();
    CelulaNomeMes(mes, X, Y, U);
    if (MesSemLinha(mes)) {
        CelulasSemLinha(X, Y, U, 8);
        return;
    }
    CelulaRegimeMes(mes, X + U, Y, U);
    CelulaValorMes(mes, X + 2 * U, Y, U, "EntradaInter");
    CelulaValorMes(mes, X + 3 * U, Y, U, "ImpAquisição");
    // A micro-enterprise does not declare its taxed exits and own tax month by
    // month, but the tax due in the month still counts them.
    if (RegimeMes(mes) == RegimeME) {
        CelulaVazia(X + 4 * U, Y, U);
        CelulaVazia(X + 5 * U, Y, U);
        CelulaVazia(X + 6 * U, Y, U);
    } else {
        CelulaValorMes(mes, X + 4 * U, Y, U, "SaídaInterna");
        CelulaValorMes(mes, X + 5 * U, Y, U, "SaídaInter");
        CelulaValorMes(mes, X + 6 * U, Y, U, "ImpDevido");
    }
    CelulaNumero(X + 7 * U, Y, U, AlturaLinha,
                 TextoValor(ValorMes(mes, "ImpAquisição") + ValorMes(mes, "ImpDevido")));
}

} // namespace tarvo
