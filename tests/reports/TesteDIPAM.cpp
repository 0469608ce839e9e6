// The three DIPAM reports: lines per municipality with subtotals (codes 1
// and 2), blocks (code 3), the total, and the header repeated on every page.

#include "AuxiliarRelatorios.h"

#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioDIPAMCodigo2.h"
#include "reports/RelatorioDIPAMCodigo3.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace tarvo::teste {
namespace {

// The first code of each group carries the group's heading.
void InserirCodigos(BancoTeste& banco) {
    banco.Executar("INSERT INTO tblCódigosDIPAM VALUES ('1.1', 'Grupo um.', 'Um'), "
                   "('1.2', 'Outro', 'Um dois'), ('2.1', 'Grupo dois..', 'Dois'), "
                   "('2.2', NULL, 'Dois dois'), ('3.1', 'Grupo três', 'Descrição três');");
}

void InserirDIPAM(BancoTeste& banco, int municipio, const std::string& codigo,
                  const std::string& valor, int declaracao = 7) {
    banco.Executar("INSERT INTO tblDIPAM VALUES (" + std::to_string(declaracao) + ", " +
                   std::to_string(municipio) + ", '" + codigo + "', " + valor + ");");
}

// The body lines of a page (codes 1 and 2): the texts of each line joined by
// "|", with the top of the line.
std::vector<std::pair<double, std::string>> Linhas(const std::vector<Chamada>& pagina) {
    std::vector<std::pair<double, std::string>> linhas;
    for (const auto& c : Filtrar(pagina, "AdicionarTexto")) {
        // Rounded so that tops compare exactly with the literals of the tests.
        const double y = std::round((Num(c.args[1]) - 0.05) * 1000) / 1000;
        if (y < 8.1 || Num(c.args[3]) != 0.5)
            continue;
        if (linhas.empty() || std::abs(linhas.back().first - y) > 1e-6)
            linhas.emplace_back(y, Str(c.args[4]));
        else
            linhas.back().second += "|" + Str(c.args[4]);
    }
    return linhas;
}

TEST(RelatorioDIPAMCodigo2, SubtotalPorNomeDeMunicipioETotal) {
    BancoTeste banco;
    InserirDeclaracao(banco);
    InserirCodigos(banco);
    banco.Executar("INSERT INTO tblMunicípios VALUES (1, 'Campinas'), (2, 'Bauru'), "
                   "(3, 'Campinas'), (4, 'Assis');");
    InserirDIPAM(banco, 1, "2.2", "5");
    InserirDIPAM(banco, 2, "2.2", "2");
    InserirDIPAM(banco, 2, "2.1", "1.5");
    InserirDIPAM(banco, 3, "2.1", "10");
    InserirDIPAM(banco, 4, "1.1", "100");
    InserirDIPAM(banco, 4, "2.1", "100", 8);
    const auto pagina = PorPagina(Construir<RelatorioDIPAMCodigo2>(banco))[1];

    using L = std::vector<std::pair<double, std::string>>;
    EXPECT_EQ(Linhas(pagina), (L{{8.2, "Bauru|2.1||1.50"},
                                 {8.8, "Bauru|2.2||2.00"},
                                 {9.4, "Subtotal|3.50"},
                                 {10.0, "Campinas|2.1||10.00"},
                                 {10.6, "Campinas|2.2||5.00"},
                                 {11.2, "Subtotal|15.00"},
                                 {11.8, "Total|18.50"}}));
    // The group's heading loses one trailing full stop.
    EXPECT_EQ(Textos(pagina, "Grupo dois.").size(), 1u);
}

TEST(RelatorioDIPAMCodigo1, VinteEOitoLinhasPorPagina) {
    using L = std::vector<std::pair<double, std::string>>;
    const std::vector<std::pair<int, L>> casos = {
        {0, {{8.2, "Total|0.00"}}},
        {27, {{8.2, "Total|27.00"}}},
        {28, {{8.2, "Subtotal|28.00"}, {8.8, "Total|28.00"}}},
    };
    for (const auto& [linhas, ultimaPagina] : casos) {
        BancoTeste banco;
        InserirDeclaracao(banco);
        InserirCodigos(banco);
        banco.Executar("INSERT INTO tblMunicípios VALUES (1, 'Assis');");
        banco.Executar("BEGIN;");
        for (int k = 0; k < linhas; ++k)
            InserirDIPAM(banco, 1, "1.1", "1");
        banco.Executar("COMMIT;");
        const auto paginas = PorPagina(Construir<RelatorioDIPAMCodigo1>(banco));

        ASSERT_EQ(paginas.size(), linhas ? 3u : 2u);
        if (linhas) {
            const auto primeira = Linhas(paginas[1]);
            ASSERT_EQ(primeira.size(), 28u);
            EXPECT_EQ(primeira.back().first, 24.4);
        }
        EXPECT_EQ(Linhas(paginas.back()), ultimaPagina);
        for (std::size_t p = 1; p < paginas.size(); ++p) {
            EXPECT_EQ(Textos(paginas[p], "Grupo um").size(), 1u);
            EXPECT_EQ(Textos(paginas[p], "Página %%p de %%P").size(), 1u);
        }
    }
}

TEST(RelatorioDIPAMCodigo1, BuildQueFalhaNaoPrendeOBanco) {
    BancoTeste banco;
    InserirDeclaracao(banco);
    InserirCodigos(banco);
    banco.Executar("INSERT INTO tblMunicípios VALUES (1, 'Assis');");
    InserirDIPAM(banco, 1, "1.1", "1");
    InserirDIPAM(banco, 1, "1.2", "'abc'");
    const Database bd(banco.Caminho());
    RelatorioDIPAMCodigo1 relatorio;
    EXPECT_THROW(relatorio.Construir(bd, 7), Erro);
    // No statement is left open on the database: it can be written again.
    EXPECT_NO_THROW(banco.Executar("DELETE FROM tblDIPAM;"));
}

TEST(RelatorioDIPAMCodigo3, SeteBlocosPorPaginaESemPaginaVazia) {
    struct Caso {
        int linhas;
        std::vector<std::size_t> blocos; // per page
        double yTotal;
        std::string total;
    };
    for (const Caso& caso :
         {Caso{0, {0}, 8.2, "0.00"}, Caso{7, {7}, 24.3, "8,641.50"},
          Caso{8, {7, 1}, 10.5, "9,876.00"}, Caso{14, {7, 7}, 24.3, "17,283.00"}}) {
        BancoTeste banco;
        InserirDeclaracao(banco);
        InserirCodigos(banco);
        banco.Executar("BEGIN;");
        InserirDIPAM(banco, 1, "1.1", "5");
        InserirDIPAM(banco, 1, "3.1", "5", 8);
        for (int k = 0; k < caso.linhas; ++k)
            InserirDIPAM(banco, 1, "3.1", "1234.5");
        banco.Executar("COMMIT;");
        const auto paginas = PorPagina(Construir<RelatorioDIPAMCodigo3>(banco));

        ASSERT_EQ(paginas.size(), caso.blocos.size() + 1) << caso.linhas;
        for (std::size_t p = 0; p < caso.blocos.size(); ++p) {
            const auto blocos = Textos(paginas[p + 1], "Descrição três");
            ASSERT_EQ(blocos.size(), caso.blocos[p]);
            if (!blocos.empty()) {
                EXPECT_NEAR(Num(blocos.back().args[1]), 8.6 + (blocos.size() - 1) * 2.3, 1e-9);
            }
            EXPECT_EQ(Textos(paginas[p + 1], "Grupo três").size(), 1u);
        }
        const auto total = Textos(paginas.back(), "Total");
        ASSERT_EQ(total.size(), 1u);
        EXPECT_NEAR(Num(total[0].args[1]), caso.yTotal + 0.05, 1e-9);
        EXPECT_EQ(Textos(paginas.back(), caso.total).size(), 1u);
    }
}

} // namespace
} // namespace tarvo::teste
