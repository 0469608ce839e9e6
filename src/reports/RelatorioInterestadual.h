#pragma once

#include "common/Moeda.h"
#include "reports/RelatorioBase.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarvo {

// The design the interstate entries and exits share: one line per state with
// the sums of the declaration's rows of one direction, a totals line, over as
// many portrait pages as the states need. The two reports differ only in
// their columns, which they hand in as data.
class RelatorioInterestadual : public RelatorioBase {
public:
    void Construir(const Database& BancoDados, const int32_t& Declaracao);

protected:
    // A column heading, placed relative to the header's origin.
    struct Titulo {
        std::string texto;
        double x;
        double y;
        double largura;
        double altura;
    };

    struct Colunas {
        std::string filtroTipo;              // the direction piece of the query
        std::vector<std::string> somas;      // the sum pieces of the query, in order
        std::vector<std::string> acumulados; // sums added to the totals, in storage order
        std::vector<std::string> impressos;  // sums printed, left to right
        double larguraEstado;                // width of the state column
        double larguraColuna;                // width of each money column
        std::string faixa;                   // the band above the headings
        std::vector<Titulo> titulos;
    };

    RelatorioInterestadual(Configuracao configuracao, Colunas colunas);

private:
    // The rows and sums of one build.
    struct ConstrucaoInterestadual : Construcao {
        std::unique_ptr<Recordset> rsDetalhes;
        std::vector<Moeda> Totais; // in the storage order of colunas_.acumulados
    };

    // Closes the page and opens the next one when a line at Y would not fit.
    void QuebrarPaginaSeNecessario(const Construcao& c, double& Y);
    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y);
    void LinhaDetalhe(const ConstrucaoInterestadual& c, const double& X, const double& Y);
    void LinhaTotal(const ConstrucaoInterestadual& c, const double& X, const double& Y);

    const Colunas colunas_;
    // For each printed column, the index of the total that sums it.
    std::vector<std::size_t> totalDaColuna_;
};

} // namespace tarvo
