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
                         [this](const Mes& mes, const double& Y) { LinhaMes(mes, 0, Y); });
}

void RelatorioSaidas::CabecalhoPagina(const Construcao& c, const double& X, const double& Y) {
    CabecalhoPadrao(c, X, Y);
    BlocoContribuinte(c, X, Y + 3.6, true);
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

void RelatorioSaidas::LinhaMes(const Mes& mes, const double& X, const double& Y) {
    const double C = Coluna();
    CelulaNomeMes(mes, X, Y, C);
    if (MesSemLinha(mes)) {
        CelulasSemLinha(X, Y, C, 8);
        return;
    }
    CelulaRegimeMes(mes, X + C, Y, C);
    // A micro-enterprise does not declare its taxed exits and tax month by month.
    if (RegimeMes(mes) == RegimeME) {
        CelulaVazia(X + 2 * C, Y, C);
        CelulaVazia(X + 3 * C, Y, C);
        CelulaVazia(X + 4 * C, Y, C);
    } else {
        CelulaValorMes(mes, X + 2 * C, Y, C, "SaídaInterna");
        CelulaValorMes(mes, X + 3 * C, Y, C, "SaídaInter");
        CelulaValorMes(mes, X + 4 * C, Y, C, "ImpDevido");
    }
    CelulaValorMes(mes, X + 5 * C, Y, C, "SaídaInternaNtrib");
    CelulaValorMes(mes, X + 6 * C, Y, C, "SaídaInterNtrib");
    CelulaValorMes(mes, X + 7 * C, Y, C, "TribIss");
}

} // namespace tarvo
