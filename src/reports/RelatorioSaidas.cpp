#include "reports/RelatorioSaidas.h"

#include <string>

namespace tarvo {

RelatorioSaidas::RelatorioSaidas()
    : RelatorioMensal({"Relatório de Saídas", "Saídas", 1, "Saídas", 2.9, 0.7, 14, true}) {}

void RelatorioSaidas::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstruirTabelaMeses(BancoDados, Declaracao,
                         "select * from tblReferência inner join tblSaídas on tblReferência.Ref = "
                         "tblSaídas.Ref and tblReferência.Declaração = tblSaídas.Declaração where "
                         "tblReferência.Ref = ",
                         [this](const double& Y) { LinhaMes(0, Y); });
}

void RelatorioSaidas::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
    const double C = Coluna();
    CelulaTitulo(X, Y + 5.9, C, 1.2, "Referência\r\nMês");
    CelulaTitulo(X + C, Y + 5.9, C, 1.2, "Regime\r\nTributário");
    CelulaTitulo(X + 2 * C, Y + 5.9, 2 * C, 0.6, "Saídas Tributadas");
    CelulaTitulo(X + 2 * C, Y + 6.5, C, 0.6, "Internas");
    CelulaTitulo(X + 3 * C, Y + 6.5, C, 0.6, "Interestaduais");
    CelulaTitulo(X + 4 * C, Y + 5.9, C, 1.2, "Valor do\r\nImposto Devido");
    CelulaTitulo(X + 5 * C, Y + 5.9, 2 * C, 0.6, "Saídas Não Tributadas");
    CelulaTitulo(X + 5 * C, Y + 6.5, C, 0.6, "Internas");
    CelulaTitulo(X + 6 * C, Y + 6.5, C, 0.6, "Interestaduais");
    CelulaTitulo(X + 7 * C, Y + 5.9, C, 1.2, "Operações Tributadas\r\npelo ISS");
}

void RelatorioSaidas::LinhaMes(const double& X, const double& Y) {
    const double C = Coluna();
    CelulaNomeMes(X, Y, C);
    if (MesSemLinha()) {
        CelulasSemLinha(X, Y, C, 8);
        return;
    }
    CelulaRegimeMes(X + C, Y, C);
    // A micro-enterprise does not declare its taxed exits and tax month by month.
    if (RegimeMes() == RegimeME) {
        CelulaVazia(X + 2 * C, Y, C);
        CelulaVazia(X + 3 * C, Y, C);
        CelulaVazia(X + 4 * C, Y, C);
    } else {
        CelulaValorMes(X + 2 * C, Y, C, "SaídaInterna");
        CelulaValorMes(X + 3 * C, Y, C, "SaídaInter");
        CelulaValorMes(X + 4 * C, Y, C, "ImpDevido");
    }
    CelulaValorMes(X + 5 * C, Y, C, "SaídaInternaNtrib");
    CelulaValorMes(X + 6 * C, Y, C, "SaídaInterNtrib");
    CelulaValorMes(X + 7 * C, Y, C, "TribIss");
}

} // namespace tarvo
