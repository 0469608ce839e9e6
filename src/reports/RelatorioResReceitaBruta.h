#pragma once

#include "reports/RelatorioMensal.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tarvo {

// Gross revenue month by month, with a subtotal for every run of months under
// the same tax regime, a total, and the revenue accumulated since January.
class RelatorioResReceitaBruta : public RelatorioMensal {
public:
    RelatorioResReceitaBruta();

    void Construir(const Database& BancoDados, const int32_t& Declaracao);

private:
    // The exits in column order: taxed internal, taxed interstate, untaxed
    // internal, untaxed interstate, taxed by the ISS.
    using Saidas = std::array<Moeda, 5>;

    // The sums of one build.
    struct ConstrucaoReceita : Construcao {
        Moeda AcumuladoReceita;
        Saidas SubtotalPeriodo{};
        Saidas TotalAnual{};
        // The regime of the month laid out last; empty for a month without a row.
        std::optional<int32_t> RegimeAnterior;
    };

    void CabecalhoPagina(const Construcao& c, const double& X, const double& Y) override;
    void LinhaDetalhe(ConstrucaoReceita& c, const Mes& mes, const double& X, const double& Y);
    void LinhaSubtotal(const ConstrucaoReceita& c, const double& X, const double& Y);
    void LinhaTotal(const ConstrucaoReceita& c, const double& X, const double& Y);
    // Opens a new page when a line at Y would no longer fit above the footer.
    void VerificarPagina(const Construcao& c, double& Y);
    // The five exits of the month's row.
    static Saidas SaidasMes(const Mes& mes);
    // Nine equal columns.
    double Coluna() const { return Largura() / 9; }
};

} // namespace tarvo
