// One report object built again and again, as the preview and the program
// do: after a build that failed or was stopped half-way, or for another
// declaration, it gives exactly the record a fresh object gives.

#include "AuxiliarRelatorios.h"

#include "common/Andamento.h"
#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioDIPAMCodigo2.h"
#include "reports/RelatorioDIPAMCodigo3.h"
#include "reports/RelatorioEntInterestad.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResImpostoDecl.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaiInterestad.h"
#include "reports/RelatorioSaidas.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace tarvo::teste {
namespace {

// The rows k (1 to 40) of declaration d that meet `onde`, with the amount
// `valor` of k in every money column: twelve months, forty states both ways,
// DIPAM code 1.1 in every municipality, 2.1 in the first twenty, 3.1 in the
// first ten. Regimes change from month to month.
void InserirMovimento(BancoTeste& banco, int d, const std::string& valor, const std::string& onde) {
    const std::string D = std::to_string(d);
    // t is the direction of the interstate rows; the other tables take t = 0.
    const std::string linhas = " FROM (SELECT k, t, " + valor +
                               " AS v FROM n, (SELECT 0 AS t UNION ALL SELECT 1) WHERE " + onde +
                               ") WHERE ";
    const std::string tabelas[][3] = {
        {"tblReferência", "k, (k + " + D + ") % 3", "t = 0 AND k <= 12"},
        {"tblEntradas", "k, v, v, v", "t = 0 AND k <= 12"},
        {"tblSaídas", "k, v, v, v, v, v, v", "t = 0 AND k <= 12"},
        {"tblDetalhesInterUFs", "t, k, v, v, v, v, v, v, v, v, v", "1"},
        {"tblDIPAM", "k, '1.1', v", "t = 0"},
        {"tblDIPAM", "k, '2.1', v", "t = 0 AND k <= 20"},
        {"tblDIPAM", "k, '3.1', v", "t = 0 AND k <= 10"},
    };
    for (const auto& [tabela, colunas, quais] : tabelas)
        banco.Executar("INSERT INTO " + tabela + " SELECT " + D + ", " + colunas + linhas + quais +
                       ";");
}

// Declaration 7, and 8 of another taxpayer with fewer rows and other
// amounts: both over two pages or more in every report that breaks pages.
// Declaration 9 is 7 with a text no amount can be in its ninth rows and a
// registration date no date can be.
const std::string& Preparar(BancoTeste& banco) {
    InserirDeclaracao(banco);
    banco.Executar("BEGIN;"
                   "CREATE TEMP TABLE n AS WITH RECURSIVE m(k) AS (SELECT 1 UNION ALL "
                   "SELECT k + 1 FROM m WHERE k < 40) SELECT k FROM m;"
                   "INSERT INTO tblContribuinte (IE, RazãoSocial, DataCadastro) VALUES "
                   "('8', 'Oito Ltda', '2002-01-31'), ('9', 'Nove Ltda', 'ontem');"
                   "INSERT INTO tblDeclaração VALUES (8, '8', 2, 2004, 0, NULL), "
                   "(9, '9', 1, 2005, 1, 'K9');"
                   "INSERT INTO tblMunicípios SELECT k, printf('Município %02d', k) FROM n;"
                   "INSERT INTO tblEstados SELECT k, printf('Estado %02d', k) FROM n;"
                   "INSERT INTO tblCódigosDIPAM VALUES ('1.1', 'Grupo um', 'Um'), "
                   "('2.1', 'Grupo dois', 'Dois'), ('3.1', 'Grupo três', 'Três');");
    InserirMovimento(banco, 7, "k", "1");
    InserirMovimento(banco, 8, "k * 2 + 0.5", "k % 4 <> 0");
    InserirMovimento(banco, 9, "CASE k WHEN 9 THEN 'nove' ELSE k END", "1");
    banco.Executar("COMMIT;");
    return banco.Caminho();
}

// Builds the report of declaration d; the registration report for the IE of
// its taxpayer.
template <class R> void ConstruirDeclaracao(R& relatorio, const Database& bd, int d) {
    if constexpr (std::is_same_v<R, RelatorioCadastro>)
        relatorio.Construir(bd, d == 7 ? "123.456.789.110" : std::to_string(d));
    else
        relatorio.Construir(bd, d);
}

template <class R> class Reconstrucao : public ::testing::Test {
protected:
    // The record of declaration d built by a fresh object.
    std::string Novo(int d) {
        R relatorio;
        ConstruirDeclaracao(relatorio, bd, d);
        return relatorio.Motor().Json();
    }
    // A build that ends half-way still lets go of every statement: the
    // database can be written again.
    void VerificarBancoLivre() {
        EXPECT_NO_THROW(banco.Executar("UPDATE tblDeclaração SET Tipo = Tipo;"));
    }

    BancoTeste banco;
    const Database bd{Preparar(banco)};
};

using Todos =
    ::testing::Types<RelatorioCadastro, RelatorioEntradas, RelatorioSaidas, RelatorioEntInterestad,
                     RelatorioSaiInterestad, RelatorioDIPAMCodigo1, RelatorioDIPAMCodigo2,
                     RelatorioDIPAMCodigo3, RelatorioResImpostoDecl, RelatorioResReceitaBruta>;
TYPED_TEST_SUITE(Reconstrucao, Todos);

TYPED_TEST(Reconstrucao, DeclaracoesSeguidasComoEmObjetosNovos) {
    const std::string sete = this->Novo(7);
    const std::string oito = this->Novo(8);
    ASSERT_NE(sete, oito);
    TypeParam relatorio;
    for (const int d : {7, 8, 7}) {
        ConstruirDeclaracao(relatorio, this->bd, d);
        EXPECT_EQ(relatorio.Motor().Json(), d == 7 ? sete : oito) << d;
    }
}

TYPED_TEST(Reconstrucao, ErroNoMeioNaoPassaParaAProxima) {
    TypeParam relatorio;
    ConstruirDeclaracao(relatorio, this->bd, 8);
    EXPECT_EQ(NumeroDoErro([&] { ConstruirDeclaracao(relatorio, this->bd, 9); }),
              Erro::TipoIncompativel);
    // It failed after laying out and summing the rows before the bad one.
    EXPECT_GE(PorPagina(relatorio.Motor().Chamadas()).size(), 2u);
    this->VerificarBancoLivre();
    ConstruirDeclaracao(relatorio, this->bd, 7);
    EXPECT_EQ(relatorio.Motor().Json(), this->Novo(7));
}

// The reports whose declarations 7 and 8 fill more than one page.
template <class R> class Interrupcao : public Reconstrucao<R> {};
using VariasPaginas =
    ::testing::Types<RelatorioEntInterestad, RelatorioSaiInterestad, RelatorioDIPAMCodigo1,
                     RelatorioDIPAMCodigo2, RelatorioDIPAMCodigo3, RelatorioResReceitaBruta>;
TYPED_TEST_SUITE(Interrupcao, VariasPaginas);

TYPED_TEST(Interrupcao, ParadaNaQuebraDePaginaNaoPassaParaAProxima) {
    TypeParam relatorio;
    for (const int d : {7, 8}) {
        // Stopped as a cancel stops it, at the first page break, with the
        // first page laid out and summed.
        Andamento parar([](const Progresso&) { return false; });
        relatorio.Motor().Acompanhar(&parar);
        EXPECT_EQ(NumeroDoErro([&] { ConstruirDeclaracao(relatorio, this->bd, d); }),
                  Erro::Interrompido);
        relatorio.Motor().Acompanhar(nullptr);
        EXPECT_EQ(PorPagina(relatorio.Motor().Chamadas()).size(), 2u);
        this->VerificarBancoLivre();
        ConstruirDeclaracao(relatorio, this->bd, d);
        EXPECT_EQ(relatorio.Motor().Json(), this->Novo(d)) << d;
    }
}

} // namespace
} // namespace tarvo::teste
