#include "reports/RelatorioInterestadual.h"

#include "common/Funcoes.h"
#include <RelatoriosTarvo/Erro.h>

#include <algorithm>
#include <utility>

namespace tarvo {

namespace {
constexpr double PrimeiraLinha = 7.6;
constexpr double AlturaLinha = 0.6;
// Footer 25.0 minus the line, plus a margin for the error of the repeated
// addition of 0.6, so that the 29th line (at 24.4) stays on its page.
constexpr double LimiteLinha = 24.4001;
constexpr double Rodape = 25.0;
} // namespace

RelatorioInterestadual::RelatorioInterestadual(Configuracao configuracao, Colunas colunas)
    : RelatorioBase(std::move(configuracao)), colunas_(std::move(colunas)) {
    tamanhoCelula_ = 6.0;
    // The totals are stored in the order the sums are added, which need not be
    // the printing order: every printed column finds the total of its own sum.
    for (const std::string& coluna : colunas_.impressos) {
        const auto it = std::find(colunas_.acumulados.begin(), colunas_.acumulados.end(), coluna);
        if (it == colunas_.acumulados.end())
            throw Erro(Erro::ArgumentoInvalido, "Coluna sem total: " + coluna);
        totalDaColuna_.push_back(static_cast<std::size_t>(it - colunas_.acumulados.begin()));
    }
}

void RelatorioInterestadual::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    ConstrucaoInterestadual c;
    c.rsContribuinte = Abrir(BancoDados, ConsultaContribuinte(Declaracao));

    std::string sql =
        std::string("select distinctrow") + " [UF] & '. ' & [Estado] as UFESTADO," + " Estado,";
    for (const std::string& soma : colunas_.somas)
        sql += soma;
    sql += std::string("from") + " tblDetalhesInterUFs INNER JOIN tblEstados" +
           "  on tblDetalhesInterUFs.UF = tblEstados.Código " + "where" + colunas_.filtroTipo +
           " tblDetalhesInterUFs.Declaração = " + std::to_string(Declaracao) + " " + "group by" +
           " [UF] & '. ' & [Estado]," + " Estado " + "order by" + " Estado";
    c.rsDetalhes = Abrir(BancoDados, sql);

    IniciarDocumento();
    c.Totais.assign(colunas_.acumulados.size(), Moeda());

    if (!c.rsContribuinte->Eof()) {
        CabecalhoPagina(c, 0, 0);
        double Y = PrimeiraLinha;
        while (!c.rsDetalhes->Eof()) {
            QuebrarPaginaSeNecessario(c, Y);
            LinhaDetalhe(c, 0, Y);
            Y += AlturaLinha;
            for (std::size_t k = 0; k < c.Totais.size(); ++k)
                c.Totais[k] += Funcoes::CampoMoeda(c.rsDetalhes->Fields(colunas_.acumulados[k]));
            c.rsDetalhes->MoveNext();
        }
        QuebrarPaginaSeNecessario(c, Y);
        LinhaTotal(c, 0, Y);
        RodapePagina(0, Rodape);
    }
}

void RelatorioInterestadual::QuebrarPaginaSeNecessario(const Construcao& c, double& Y) {
    if (Y <= LimiteLinha)
        return;
    RodapePagina(0, Rodape);
    Motor().NovaPagina();
    CabecalhoPagina(c, 0, 0);
    Y = PrimeiraLinha;
}

void RelatorioInterestadual::CabecalhoPagina(const Construcao& c, const double& X,
                                             const double& Y) {
    CabecalhoPadrao(c, X, Y);
    BlocoContribuinte(c, X, Y + 3.6, false);
    Caixa(X, Y + 5.4, 17.0, 0.7);
    TextoMultilinha(X + 0.1, Y + 5.4, 16.8, 0.7, colunas_.faixa, Centro, Meio, 14, true, Verde);
    for (const Titulo& t : colunas_.titulos)
        CelulaTitulo(X + t.x, Y + t.y, t.largura, t.altura, t.texto);
}

void RelatorioInterestadual::LinhaDetalhe(const ConstrucaoInterestadual& c, const double& X,
                                          const double& Y) {
    CelulaTexto(X, Y, colunas_.larguraEstado, AlturaLinha,
                Funcoes::CampoTexto(c.rsDetalhes->Fields("UFESTADO")));
    for (std::size_t k = 0; k < colunas_.impressos.size(); ++k)
        CelulaNumero(X + colunas_.larguraEstado + k * colunas_.larguraColuna, Y,
                     colunas_.larguraColuna, AlturaLinha,
                     TextoValor(Funcoes::CampoMoeda(c.rsDetalhes->Fields(colunas_.impressos[k]))));
}

void RelatorioInterestadual::LinhaTotal(const ConstrucaoInterestadual& c, const double& X,
                                        const double& Y) {
    CelulaTextoNegrito(X, Y, colunas_.larguraEstado, AlturaLinha, "Totais");
    for (std::size_t k = 0; k < colunas_.impressos.size(); ++k)
        CelulaNumero(X + colunas_.larguraEstado + k * colunas_.larguraColuna, Y,
                     colunas_.larguraColuna, AlturaLinha, TextoValor(c.Totais[totalDaColuna_[k]]));
}

} // namespace tarvo
