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
    const Liberacao liberacao({&rsContribuinte, &rsMes});
    AbrirContribuinte(BancoDados, Declaracao);
    IniciarDocumento();
    SubtotalPeriodo = {};
    TotalAnual = {};
    AcumuladoReceita = Moeda();
    RegimeAnterior.reset();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        double Y = PrimeiraLinha;
        PercorrerMeses(BancoDados,
                       "select * from tblReferência inner join tblSaídas on tblReferência.Ref = "
                       "tblSaídas.Ref and tblReferência.Declaração = tblSaídas.Declaração where "
                       "tblReferência.Ref = ",
                       Declaracao, [&] {
                           // A period is a run of months under one regime; a run of months
                           // without a row is a period of its own.
                           const std::optional<int32_t> regime =
                               MesSemLinha() ? std::nullopt : std::optional<int32_t>(RegimeMes());
                           if (MesAtual > 1 && regime != RegimeAnterior) {
                               VerificarPagina(Y);
                               LinhaSubtotal(0, Y);
                               Y += PassoTotal;
                               SubtotalPeriodo = {};
                           }
                           RegimeAnterior = regime;
                           VerificarPagina(Y);
                           LinhaDetalhe(0, Y);
                           Y += AlturaLinha;
                           if (!MesSemLinha()) {
                               const Saidas saidas = SaidasMes();
                               for (std::size_t i = 0; i < saidas.size(); ++i) {
                                   SubtotalPeriodo[i] += saidas[i];
                                   TotalAnual[i] += saidas[i];
                               }
                           }
                       });
        VerificarPagina(Y);
        LinhaSubtotal(0, Y);
        Y += PassoTotal;
        VerificarPagina(Y);
        LinhaTotal(0, Y);
        RodapePagina(0, RodapeY());
    }
}

void RelatorioResReceitaBruta::VerificarPagina(double& Y) {
    if (Y > LimitePagina) {
        RodapePagina(0, RodapeY());
        Motor().NovaPagina();
        CabecalhoPagina(0, 0);
        Y = PrimeiraLinha;
    }
}

void RelatorioResReceitaBruta::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
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

RelatorioResReceitaBruta::Saidas RelatorioResReceitaBruta::SaidasMes() const {
    return {ValorMes("SaídaInterna"), ValorMes("SaídaInter"), ValorMes("SaídaInternaNtrib"),
            ValorMes("SaídaInterNtrib"), ValorMes("TribIss")};
}

void RelatorioResReceitaBruta::LinhaDetalhe(const double& X, const double& Y) {
    const double U = Coluna();
    CelulaNomeMes(X, Y, U);
    if (MesSemLinha()) {
        CelulasSemLinha(X, Y, U, 9);
        return;
    }
    CelulaRegimeMes(X + U, Y, U);
    const Saidas saidas = SaidasMes();
    // A micro-enterprise's taxed exits are not shown, but they are revenue all the same.
    const bool ocultarTributadas = RegimeMes() == RegimeME;
    for (std::size_t i = 0; i < saidas.size(); ++i) {
        const double x = X + static_cast<double>(i + 2) * U;
        if (ocultarTributadas && i < 2)
            CelulaVazia(x, Y, U);
        else
            CelulaNumero(x, Y, U, AlturaLinha, TextoValor(saidas[i]));
    }
    const Moeda receita = Soma(saidas);
    CelulaNumero(X + 7 * U, Y, U, AlturaLinha, TextoValor(receita));
    AcumuladoReceita += receita;
    CelulaNumero(X + 8 * U, Y, U, AlturaLinha, TextoValor(AcumuladoReceita));
}

void RelatorioResReceitaBruta::LinhaSubtotal(const double& X, const double& Y) {
    const double U = Coluna();
    CelulaTextoNegrito(X, Y, 2 * U, AlturaLinha, "Subtotal do Período");
    // A period of months without a row has nothing to sum.
    if (!RegimeAnterior) {
        for (int c = 2; c <= 7; ++c)
            CelulaNumeroNegrito(X + c * U, Y, U, AlturaLinha, "");
        return;
    }
    const bool ocultarTributadas = *RegimeAnterior == RegimeME;
    for (std::size_t i = 0; i < SubtotalPeriodo.size(); ++i) {
        const double x = X + static_cast<double>(i + 2) * U;
        CelulaNumeroNegrito(x, Y, U, AlturaLinha,
                            ocultarTributadas && i < 2 ? "" : TextoValor(SubtotalPeriodo[i]));
    }
    CelulaNumeroNegrito(X + 7 * U, Y, U, AlturaLinha, TextoValor(Soma(SubtotalPeriodo)));
}

void RelatorioResReceitaBruta::LinhaTotal(const double& X, const double& Y) {
    const double U = Coluna();
    CelulaTextoNegrito(X, Y, 2 * U, AlturaLinha, "Total");
    for (std::size_t i = 0; i < TotalAnual.size(); ++i)
        CelulaNumeroNegrito(X + static_cast<double>(i + 2) * U, Y, U, AlturaLinha,
                            TextoValor(TotalAnual[i]));
    CelulaNumeroNegrito(X + 7 * U, Y, U, AlturaLinha, TextoValor(Soma(TotalAnual)));
}

} // namespace tarvo
