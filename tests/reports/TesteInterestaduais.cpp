// The interstate entries and exits reports: one line per state, totals, and
// the pages they spread over.

#include "AuxiliarRelatorios.h"

#include "reports/RelatorioEntInterestad.h"
#include "reports/RelatorioSaiInterestad.h"
#include <RelatoriosTarvo/Database.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace tarvo::teste {
namespace {

void InserirEstado(BancoTeste& banco, int codigo, const std::string& nome) {
    banco.Executar("INSERT INTO tblEstados VALUES (" + std::to_string(codigo) + ", '" + nome +
                   "');");
}

// A detail row with the amount v in every money column (the _2 columns
// get v2).
void InserirDetalhe(BancoTeste& banco, int tipo, int uf, const std::string& v,
                    const std::string& v2, int declaracao = 7) {
    banco.Executar("INSERT INTO tblDetalhesInterUFs VALUES (" + std::to_string(declaracao) + ", " +
                   std::to_string(tipo) + ", " + std::to_string(uf) + ", " + v + ", " + v2 + ", " +
                   v + ", " + v2 + ", " + v + ", " + v + ", " + v + ", " + v + ", " + v + ");");
}

// The texts of the table line whose cells start at Y, left to right.
std::vector<std::string> Linha(const std::vector<Chamada>& pagina, double Y) {
    std::vector<std::pair<double, std::string>> celulas;
    for (const auto& c : Filtrar(pagina, "AdicionarTexto"))
        if (std::abs(Num(c.args[1]) - Y) < 1e-6 && Num(c.args[3]) == 0.6)
            celulas.emplace_back(Num(c.args[0]), Str(c.args[4]));
    std::sort(celulas.begin(), celulas.end());
    std::vector<std::string> textos;
    for (const auto& [x, texto] : celulas)
        textos.push_back(texto);
    return textos;
}

template <class R> constexpr bool Entradas = std::is_same_v<R, RelatorioEntInterestad>;
// Money columns of the report.
template <class R> constexpr std::size_t Colunas = Entradas<R> ? 6 : 7;

template <class R> class Interestaduais : public ::testing::Test {};
using Relatorios = ::testing::Types<RelatorioEntInterestad, RelatorioSaiInterestad>;
TYPED_TEST_SUITE(Interestaduais, Relatorios);

// Rows of the other direction, of other declarations and of unknown states
// never count; 29 lines fill a page.
TYPED_TEST(Interestaduais, TotaisEPaginas) {
    for (int estados : {0, 29, 30}) {
        BancoTeste banco;
        InserirDeclaracao(banco);
        const int tipo = Entradas<TypeParam> ? 0 : 1;
        banco.Executar("BEGIN;");
        InserirEstado(banco, 99, "Ostrana");
        InserirDetalhe(banco, 1 - tipo, 99, "5", "5");
        InserirDetalhe(banco, tipo, 99, "5", "5", 8);
        InserirDetalhe(banco, tipo, 98, "5", "5");
        for (int uf = 10; uf < 10 + estados; ++uf) {
            InserirEstado(banco, uf, "Estado " + std::to_string(uf));
            InserirDetalhe(banco, tipo, uf, "1", "1");
        }
        banco.Executar("COMMIT;");
        const auto paginas = PorPagina(Construir<TypeParam>(banco));

        ASSERT_EQ(paginas.size(), estados ? 3u : 2u) << estados;
        if (estados) {
            EXPECT_EQ(Linha(paginas[1], 24.4)[0], "38. Estado 38");
        }
        std::vector<std::string> totais(Colunas<TypeParam> + 1, std::to_string(estados) + ".00");
        totais[0] = "Totais";
        EXPECT_EQ(Linha(paginas.back(), estados == 30 ? 8.2 : 7.6), totais);
        for (std::size_t p = 1; p < paginas.size(); ++p)
            EXPECT_EQ(Textos(paginas[p], "Página %%p de %%P").size(), 1u);
    }
}

TEST(RelatorioEntInterestad, SomaPorEstadoEOrdenaPeloNome) {
    BancoTeste banco;
    InserirDeclaracao(banco);
    InserirEstado(banco, 41, "Paraná");
    InserirEstado(banco, 15, "Pará");
    InserirEstado(banco, 25, "Paraíba");
    InserirEstado(banco, 16, "amapá");
    InserirEstado(banco, 12, "Acre");
    for (int uf : {41, 15, 25, 16, 12})
        InserirDetalhe(banco, 0, uf, "1000.5", "7");
    InserirDetalhe(banco, 0, 41, "2", "7");
    InserirDetalhe(banco, 0, 41, "NULL", "7");
    const auto pagina = PorPagina(Construir<RelatorioEntInterestad>(banco))[1];

    std::vector<std::string> estados;
    for (int k = 0; k < 6; ++k)
        estados.push_back(Linha(pagina, 7.6 + k * 0.6)[0]);
    EXPECT_EQ(estados, (std::vector<std::string>{"12. Acre", "16. amapá", "15. Pará", "25. Paraíba",
                                                 "41. Paraná", "Totais"}));
    EXPECT_EQ(Linha(pagina, 7.6 + 4 * 0.6),
              (std::vector<std::string>{"41. Paraná", "1,002.50", "1,002.50", "1,002.50",
                                        "1,002.50", "1,002.50", "1,002.50"}));
    EXPECT_EQ(Linha(pagina, 7.6 + 5 * 0.6)[6], "5,004.50");
}

TEST(RelatorioSaiInterestad, CadaValorECadaTotalNaSuaColuna) {
    BancoTeste banco;
    InserirDeclaracao(banco);
    InserirEstado(banco, 35, "Ostrana");
    InserirEstado(banco, 33, "Quintara");
    InserirDetalhe(banco, 1, 35, "NULL", "12");
    banco.Executar("INSERT INTO tblDetalhesInterUFs (Declaração, Tipo, UF, ValorContábil_1, "
                   "ValorContábil_2, BaseCálculo_1, BaseCálculo_2, Imposto, Outras, "
                   "ICMSCobradoST) VALUES (7, 1, 33, 1, 2, 3, 4, 5, 6, 7);");
    const auto pagina = PorPagina(Construir<RelatorioSaiInterestad>(banco))[1];

    using V = std::vector<std::string>;
    EXPECT_EQ(Linha(pagina, 7.6),
              (V{"35. Ostrana", "0.00", "12.00", "0.00", "12.00", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(Linha(pagina, 8.2),
              (V{"33. Quintara", "1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00"}));
    EXPECT_EQ(Linha(pagina, 8.8),
              (V{"Totais", "1.00", "14.00", "3.00", "16.00", "5.00", "6.00", "7.00"}));
    // "Não Contribuinte" heads the column of the _2 amounts.
    EXPECT_NEAR(Num(Textos(pagina, "Não Contribuinte")[0].args[0]),
                Num(Textos(pagina, "12.00")[0].args[0]), 1e-9);
}

} // namespace
} // namespace tarvo::teste
