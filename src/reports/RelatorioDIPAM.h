#pragma once

#include "common/Moeda.h"
#include "reports/RelatorioBase.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarvo {

// What the three DIPAM reports share: the group's digit, the page header with
// the group's heading paragraph, the page break and the running total.
class RelatorioDIPAM : public RelatorioBase {
protected:
    RelatorioDIPAM(Configuracao configuracao, std::string codigo);

    // The rows and total of one build.
    struct ConstrucaoDIPAM : Construcao {
        std::unique_ptr<Recordset> rsDIPAM;
        Moeda Total;
    };

    // Opens the taxpayer query and then the group's query, in that order.
    static void AbrirConsultas(ConstrucaoDIPAM& c, const Database& BancoDados,
                               const int32_t& Declaracao, const std::string& consultaDIPAM);
    // The condition that keeps the rows of the group, with its SQL joint.
    std::string FiltroCodigo() const;

    // The heading paragraph is read from the database on every page.
    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y,
                         const Database& BancoDados);
    // Closes the page and opens the next one when an element placed at Y
    // would pass the limit.
    void QuebrarPaginaSeNecessario(const Construcao& c, double& Y, const double& limite,
                                   const Database& BancoDados);

    static constexpr double PrimeiraLinha = 8.2;
    static constexpr double Rodape = 25.0;

    const std::string Codigo;
};

} // namespace tarvo
