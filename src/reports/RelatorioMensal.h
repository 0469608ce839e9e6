#pragma once

#include "reports/RelatorioBase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarvo {

// What the month-by-month reports share beyond the frame: the taxpayer and
// declaration query, the walk over the twelve month queries, the reading of
// a month's row and the cells every month line starts with.
class RelatorioMensal : public RelatorioBase {
protected:
    using RelatorioBase::RelatorioBase;

    // One month of the walk: its number, 1 to 12, and its rows.
    struct Mes {
        uint8_t numero;
        const Recordset& rsMes;
    };

    // The taxpayer and declaration row.
    static std::unique_ptr<Recordset> AbrirContribuinte(const Database& BancoDados,
                                                        const int32_t& Declaracao);
    // Calls cadaMes for the months 1 to 12, each with its rows: consultaMes,
    // which ends in "where tblReferência.Ref = ", completed with the month
    // and the declaration. A month's rows are let go before the next month's
    // are read.
    static void PercorrerMeses(const Database& BancoDados, const std::string& consultaMes,
                               const int32_t& Declaracao,
                               const std::function<void(const Mes& mes)>& cadaMes);
    // The one-page month table of the entries, exits and declared tax
    // reports: the page header, a line per month from 7.1 down, the footer.
    void ConstruirTabelaMeses(const Database& BancoDados, const int32_t& Declaracao,
                              const std::string& consultaMes,
                              const std::function<void(const Mes& mes, const double& Y)>& linhaMes);
    virtual void CabecalhoPagina(const Construcao& c, const double& X, const double& Y) = 0;

    // Whether the month has no row; the readers below use its first row.
    static bool MesSemLinha(const Mes& mes);
    static int32_t RegimeMes(const Mes& mes);
    static Moeda ValorMes(const Mes& mes, const std::string& coluna);

    // Month lines are one cell high; every cell is Largura wide.
    void CelulaNomeMes(const Mes& mes, const double& X, const double& Y, const double& Largura);
    void CelulaRegimeMes(const Mes& mes, const double& X, const double& Y, const double& Largura);
    void CelulaValorMes(const Mes& mes, const double& X, const double& Y, const double& Largura,
                        const std::string& coluna);
    void CelulaVazia(const double& X, const double& Y, const double& Largura);
    // The line of a month without a row after its name: an empty regime cell
    // in column 1 and empty amount cells in columns 2 to colunas - 1.
    void CelulasSemLinha(const double& X, const double& Y, const double& Largura, int colunas);

    static constexpr double AlturaLinha = 0.6;
    // The regime whose taxed exits are not shown month by month.
    static constexpr int32_t RegimeME = 0;
};

} // namespace tarvo
