#include "reports/RelatorioResReceitaBruta.h"

#include <numeric>
#include <string>

namespace tarvo {

namespace {

constexpr double PrimeiraLinha = 7.3;
// A line whose top is 15.7 still fits, even when the repeated additions leave
// Y a little above it.
constexpr double LimitePagina = 15.7001;
constexpr double PassoTotal = 0.8;

Moeda Soma(const std::array<Moeda, 5>& valores) {
    return std::accumulate(valores.begin(), valores.end(), Moeda());
}

} // namespace

RelatorioResReceitaBruta::RelatorioResReceitaBruta()
    : RelatorioMensal({"Relatório de Resumo da Receita Bruta", "Resumo da Receita Bruta", 1,
                       "Resumo da Receita Bruta", 2.9, 0.7, 14, true}) {}

void RelatorioResReceitaBruta::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstrucaoReceita c;
    c.rsContribuinte = AbrirContribuinte(BancoDados, Declaracao);
    IniciarDocumento();
    if (!c.rsContribuinte->Eof()) {
        CabecalhoPagina(c, 0, 0);
        double Y = PrimeiraLinha;
        PercorrerMeses(BancoDados,
                       "select * from tblReferência inner join tblSaídas on tblReferência.Ref = "
                       "tblSaídas.Ref and tblReferência.Declaração = tblSaídas.Declaração where "
                       "tblReferência.Ref = ",
                       Declaracao, [&](const Mes& mes) {
                           // A period is a run of months under one regime; a run of months
                           // without a row is a period of its own.
                           const std::optional<int32_t> regime =
                               MesSemLinha(mes) ? std::nullopt
                                                : std::optional<int32_t>(RegimeMes(mes));
                           if (mes.numero > 1 && regime != c.RegimeAnterior) {
                               VerificarPagina(c, Y);
                               LinhaSubtotal(c, 0, Y);
                               Y += PassoTotal;
                               c.SubtotalPeriodo = {};
                           }
                           c.RegimeAnterior = regime;
                           VerificarPagina(c, Y);
                           LinhaDetalhe(c, mes, 0, Y);
                           Y += AlturaLinha;
                           if (!MesSemLinha(mes)) {
                               const Saidas saidas = SaidasMes(mes);
                               for (std::size_t i = 0; i < saidas.size(); ++i) {
                                   c.SubtotalPeriodo[i] += saidas[i];
                                   c.TotalAnual[i] += saidas[i];
                               }
                           }
                       });
        VerificarPagina(c, Y);
        LinhaSubtotal(c, 0, Y);
        Y += PassoTotal;
        VerificarPagina(c, Y);
        LinhaTotal(c, 0, Y);
        RodapePagina(0, RodapeY());
    }
}

void RelatorioResReceitaBruta::VerificarPagina(const Construcao& c, double& Y) {
    if (Y > LimitePagina) {
        RodapePagina(0, RodapeY());
        Motor().NovaPagina();
        CabecalhoPagina(c, 0, 0);
        Y = PrimeiraLinha;
    }
}

void RelatorioResReceitaBruta::CabecalhoPagina(const Construcao& c, const double& X,
                                               const double& Y) {
    CabecalhoPadrao(c, X, Y);
    BlocoContribuinte(c, X, Y + 3.6, true);
    const double U = Coluna();
    CelulaTitulo(X, Y + 5.9, U, 1.2, "Referência\r\nMês");
    CelulaTitulo(X + U, Y + 5.9, U, 1.2, "Regime\r\nTributário");
    CelulaTitulo(X + 2 * U, Y + 5.9, 2 * U, 0.6, "Saídas Tributadas");
    CelulaTitulo(X + 2 * U, Y + 6.5, U, 0.6, "Internas");
    CelulaTitulo(X + 3 * U, Y + 6.5, U, 0.6, "Interestaduais");
    CelulaTitulo(X + 4 * U, Y + 5.9, 2 * U, 0.6, "Saídas Não Tributadas");
    CelulaTitulo(X + 4 * U, Y + 6.5, U, 0.6, "Internas");
    CelulaTitulo(X + 5 * U, Y + 6.5, U, 0.6, "Interestaduais");
    CelulaTitulo(X + 6 * U, Y + 5.9, U, 1.2, "Operações Tributadas\r\npelo ISS");
    CelulaTitulo(X + 7 * U, Y + 5.9, U, 1.2, "Receita Bruta no Mês");
    CelulaTitulo(X + 8 * U, Y + 5.9, U, 1.2, "Acumulado da\r\nReceita Bruta no Exercício");
}

RelatorioResReceitaBruta::Saidas RelatorioResReceitaBruta::SaidasMes(const Mes& mes) {
    return {ValorMes(mes, "SaídaInterna"), ValorMes(mes, "SaídaInter"),
            ValorMes(mes, "SaídaInternaNtrib"), ValorMes(mes, "SaídaInterNtrib"),
            ValorMes(mes, "TribIss")};
}

void RelatorioResReceitaBruta::LinhaDetalhe(ConstrucaoReceita& c, const Mes& mes, const double& X,
                                            const double& Y) {
    const double U = Coluna();
    CelulaNomeMes(mes, X, Y, U);
    if (MesSemLinha(mes)) {
        CelulasSemLinha(X, Y, U, 9);
        return;
    }
    CelulaRegimeMes(mes, X + U, Y, U);
    const Saidas saidas = SaidasMes(mes);
    // A micro-enterprise's taxed exits are not shown, but they are revenue all the same.
    const bool ocultarTributadas = RegimeMes(mes) == RegimeME;
    for (std::size_t i = 0; i < saidas.size(); ++i) {
        const double x = X + static_cast<double>(i + 2) * U;
        if (ocultarTributadas && i < 2)
            CelulaVazia(x, Y, U);
        else
            CelulaNumero(x, Y, U, AlturaLinha, TextoValor(saidas[i]));
    }
    const Moeda receita = Soma(saidas);
    CelulaNumero(X + 7 * U, Y, U, AlturaLinha, TextoValor(receita));
    c.AcumuladoReceita += receita;
    CelulaNumero(X + 8 * U, Y, U, AlturaLinha, TextoValor(c.AcumuladoReceita));
}

void RelatorioResReceitaBruta::LinhaSubtotal(const ConstrucaoReceita& c, const double& X,
                                             const double& Y) {
    const double U = Coluna();
    CelulaTextoNegrito(X, Y, 2 * U, AlturaLinha, "Subtotal do Período");
    // A period of months without a row has nothing to sum.
    if (!c.RegimeAnterior) {
        for (int c = 2; c <= 7; ++c)
            CelulaNumeroNegrito(X + c * U, Y, U, AlturaLinha, "");
        return;
    }
    const bool ocultarTributadas = *c.RegimeAnterior == RegimeME;
    for (std::size_t i = 0; i < c.SubtotalPeriodo.size(); ++i) {
        const double x = X + static_cast<double>(i + 2) * U;
        CelulaNumeroNegrito(x, Y, U, AlturaLinha,
                            ocultarTributadas && i < 2 ? "" : TextoValor(c.SubtotalPeriodo[i]));
    }
    CelulaNumeroNegrito(X + 7 * U, Y, U, AlturaLinha, TextoValor(Soma(c.SubtotalPeriodo)));
}

void RelatorioResReceitaBruta::LinhaTotal(const ConstrucaoReceita& c, const double& X,
                                          const double& Y) {
    const double U = Coluna();
    CelulaTextoNegrito(X, Y, 2 * U, AlturaLinha, "Total");
    for (std::size_t i = 0; i < c.TotalAnual.size(); ++i)
        CelulaNumeroNegrito(X + static_cast<double>(i + 2) * U, Y, U, AlturaLinha,
                            TextoValor(c.TotalAnual[i]));
    CelulaNumeroNegrito(X + 7 * U, Y, U, AlturaLinha, TextoValor(Soma(c.TotalAnual)));
}

} // namespace tarvo
