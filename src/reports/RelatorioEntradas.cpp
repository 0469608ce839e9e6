#include "reports/RelatorioEntradas.h"

#include <string>

namespace tarvo {

RelatorioEntradas::RelatorioEntradas()
    : RelatorioMensal({"Relatório de Entradas", "Entradas", 1, "Entradas", 2.9, 0.7, 14, true}) {}

void RelatorioEntradas::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstruirTabelaMeses(BancoDados, Declaracao,
                         "select * from tblReferência inner join tblEntradas on tblReferência.Ref "
                         "= tblEntradas.Ref and tblReferência.Declaração = tblEntradas.Declaração "
                         "where tblReferência.Ref = ",
                         [this](const Mes& mes, const double& Y) { LinhaMes(mes, 0, Y); });
}

void RelatorioEntradas::CabecalhoPagina(const Construcao& c, const double& X, const double& Y) {
    CabecalhoPadrao(c, X, Y);
    BlocoContribuinte(c, X, Y + 3.6, true);
    const double C = Coluna();
    CelulaTitulo(X, Y + 5.9, C, 1.2, "Referência\r\nMês");
    CelulaTitulo(X + C, Y + 5.9, C, 1.2, "Regime\r\nTributário");
    CelulaTitulo(X + 2 * C, Y + 5.9, 2 * C, 0.6, "Entradas");
    CelulaTitulo(X + 2 * C, Y + 6.5, C, 0.6, "Internas");
    CelulaTitulo(X + 3 * C, Y + 6.5, C, 0.6, "Interestaduais");
    CelulaTitulo(X + 4 * C, Y + 5.9, C, 1.2, "Valor do Imposto pelas\r\nAquisições Interestaduais");
}

void RelatorioEntradas::LinhaMes(const Mes& mes, const double& X, const double& Y) {
    const double C = Coluna();
    CelulaNomeMes(mes, X, Y, C);
    if (MesSemLinha(mes)) {
        CelulasSemLinha(X, Y, C, 5);
        return;
    }
    CelulaRegimeMes(mes, X + C, Y, C);
    CelulaValorMes(mes, X + 2 * C, Y, C, "EntradaInterna");
    CelulaValorMes(mes, X + 3 * C, Y, C, "EntradaInter");
    CelulaValorMes(mes, X + 4 * C, Y, C, "ImpAquisição");
}

} // namespace tarvo
