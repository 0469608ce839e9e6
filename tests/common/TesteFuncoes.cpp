#include "common/Funcoes.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include "common/AmbienteRegional.h"
#include "support/BancoTeste.h"
#include "support/Erros.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using tarvo::Database;
using tarvo::DataHora;
using tarvo::Erro;
using tarvo::Funcoes;
using tarvo::Moeda;
using tarvo::Valor;
using tarvo::teste::AmbienteRegional;
using tarvo::teste::NumeroDoErro;

TEST(Funcoes, NuloDaOValorPadraoDeCadaLeitor) {
    const Valor nulo;
    EXPECT_EQ(Funcoes::CampoTexto(nulo), "");
    EXPECT_EQ(Funcoes::CampoLong(nulo), 0);
    EXPECT_EQ(Funcoes::CampoMoeda(nulo), Moeda());
    EXPECT_EQ(Funcoes::CampoData(nulo).Serial(), 0.0);
    EXPECT_FALSE(Funcoes::CampoLogico(nulo));
}

TEST(Funcoes, CampoTexto) {
    AmbienteRegional ambiente("C.UTF-8");
    const std::pair<Valor, const char*> casos[] = {
        {Valor(""), ""},
        {Valor("Razão Social Ltda."), "Razão Social Ltda."},
        {Valor(int32_t{42}), "42"},
        {Valor(int64_t{-1234567890123}), "-1234567890123"},
        {Valor(100.0), "100"},
        {Valor(-2.5), "-2.5"},
        {Valor(1.0 / 3.0), "0.333333333333333"}, // 15 significant digits
        {Valor(2.0 / 3.0), "0.666666666666667"},
        {Valor(0.1 + 0.2), "0.3"},
        {Valor(123456789012345.0), "123456789012345"},
        {Valor(1e15), "1E+15"},
        {Valor(0.0001), "0.0001"},
        {Valor(1.5e-7), "1.5E-07"},
        {Valor(Moeda::DeTexto("1234.5")), "1234.5"},
        {Valor(Moeda::DeInteiro(3)), "3"},
        {Valor(true), "True"},
        {Valor(false), "False"},
        {Valor(DataHora::DeCivil(2001, 3, 5)), "05/03/2001"},
        {Valor(DataHora::DeCivil(2001, 3, 5, 14, 30, 5)), "05/03/2001 14:30:05"},
        {Valor(DataHora::DeSerial(0.5)), "12:00:00"},
    };
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(Funcoes::CampoTexto(valor), esperado);

    AmbienteRegional brasil("pt_BR.UTF-8");
    EXPECT_EQ(Funcoes::CampoTexto(Valor(1234567.25)), "1234567,25");
    EXPECT_EQ(Funcoes::CampoTexto(Valor(-1.5e-7)), "-1,5E-07");
    EXPECT_EQ(Funcoes::CampoTexto(Valor(Moeda::DeTexto("1234.5"))), "1234,5");
}

TEST(Funcoes, CampoLongArredondaMeioParaPar) {
    const std::pair<Valor, int32_t> casos[] = {
        {Valor(2.5), 2},
        {Valor(3.5), 4},
        {Valor(-2.5), -2},
        {Valor(2.5001), 3},
        {Valor(Moeda::DeTexto("2.5")), 2},
        {Valor(Moeda::DeTexto("-3.5")), -4},
        {Valor("2.5"), 2},
        {Valor("2.50000000000000001"), 3}, // exact decimal, not the nearest double
        {Valor(" -7 "), -7},
        {Valor("1e3"), 1000},
        {Valor(true), -1},
        {Valor(DataHora::DeCivil(2001, 3, 5, 14, 30, 0)), 36956},
        {Valor(int64_t{2147483647}), 2147483647},
        {Valor(-2147483648.0), std::numeric_limits<int32_t>::min()},
        {Valor("-2147483648"), std::numeric_limits<int32_t>::min()},
    };
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(Funcoes::CampoLong(valor), esperado) << Funcoes::CampoTexto(valor);

    for (const char* texto : {"", "abc", "12abc", "1,5"})
        EXPECT_EQ(NumeroDoErro([&] { Funcoes::CampoLong(Valor(texto)); }), 13) << texto;
    const Valor fora[] = {Valor(int64_t{2147483648LL}), Valor(2147483647.5),
                          Valor(-2147483648.6),         Valor(std::nan("")),
                          Valor("2147483648"),          Valor(Moeda::DeInteiro(3000000000LL))};
    for (const Valor& valor : fora)
        EXPECT_EQ(NumeroDoErro([&] { Funcoes::CampoLong(valor); }), 6);
}

TEST(Funcoes, CampoMoeda) {
    EXPECT_EQ(Funcoes::CampoMoeda(Valor(0.1)).DezMilesimos(), 1000);
    EXPECT_EQ(Funcoes::CampoMoeda(Valor(int32_t{5})).DezMilesimos(), 50000);
    EXPECT_EQ(Funcoes::CampoMoeda(Valor(" -1234.56 ")).DezMilesimos(), -12345600);
    EXPECT_EQ(Funcoes::CampoMoeda(Valor(true)).DezMilesimos(), -10000);
    EXPECT_EQ(NumeroDoErro([] { Funcoes::CampoMoeda(Valor("abc")); }), 13);
    EXPECT_EQ(NumeroDoErro([] { Funcoes::CampoMoeda(Valor("1e20")); }), 6);
    EXPECT_EQ(NumeroDoErro([] { Funcoes::CampoMoeda(Valor(1e20)); }), 6);
}

TEST(Funcoes, CampoData) {
    const DataHora dia = DataHora::DeCivil(2001, 3, 5);
    EXPECT_EQ(Funcoes::CampoData(Valor(dia)), dia);
    EXPECT_EQ(Funcoes::CampoData(Valor(int32_t{36955})), dia);
    EXPECT_EQ(Funcoes::CampoData(Valor("2001-03-05")), dia);
    EXPECT_EQ(Funcoes::CampoData(Valor(36955.5)), DataHora::DeCivil(2001, 3, 5, 12, 0, 0));
    EXPECT_EQ(Funcoes::CampoData(Valor(-657434.5)), DataHora::DeCivil(100, 1, 1, 12, 0, 0));
    EXPECT_EQ(Funcoes::CampoData(Valor(true)).Serial(), -1.0);
    EXPECT_EQ(NumeroDoErro([] { Funcoes::CampoData(Valor("05/03/2001")); }), 13);
    for (double fora : {2958466.0, -657435.0, 1e10, HUGE_VAL})
        EXPECT_EQ(NumeroDoErro([&] { Funcoes::CampoData(Valor(fora)); }), 6) << fora;
}

TEST(Funcoes, CampoLogico) {
    const Valor verdadeiros[] = {
        Valor(int32_t{5}), Valor(-1.0),     Valor(Moeda::DeDezMilesimos(1)),
        Valor("True"),     Valor(" tRuE "), Valor("Verdadeiro"),
        Valor("-1"),       Valor("0.5")};
    for (const Valor& valor : verdadeiros)
        EXPECT_TRUE(Funcoes::CampoLogico(valor)) << Funcoes::CampoTexto(valor);
    const Valor falsos[] = {Valor(int32_t{0}), Valor(0.0),     Valor(Moeda()), Valor(false),
                            Valor("FALSE"),    Valor("falso"), Valor("0"),     Valor("0.0")};
    for (const Valor& valor : falsos)
        EXPECT_FALSE(Funcoes::CampoLogico(valor)) << Funcoes::CampoTexto(valor);
    for (const char* texto : {"", "sim", "yes", "truex"})
        EXPECT_EQ(NumeroDoErro([&] { Funcoes::CampoLogico(Valor(texto)); }), 13) << texto;
}

TEST(Funcoes, NomeDoMes) {
    const std::pair<int, const char*> casos[] = {
        {1, "Janeiro"}, {3, "Março"}, {12, "Dezembro"}, {0, ""}, {13, ""}};
    for (const auto& [mes, nome] : casos)
        EXPECT_EQ(Funcoes::NomeDoMes(mes), nome) << mes;
}

// Each code group starts with its own character, so every lookup finds at
// most one row whatever order the database returns.
TEST(Funcoes, CabecalhoCodigoDIPAM) {
    tarvo::teste::BancoTeste banco;
    banco.Executar("INSERT INTO tblCódigosDIPAM (Código, Cabeçalho) VALUES "
                   "('1', 'Valores do grupo 1.'), ('2', 'Reticências..'), ('3', NULL), "
                   "('4', ''), ('5', '.'), ('6', 'Ponto. No meio'), "
                   "('70', 'Código 70.'), ('8.2', 'Código 8.2'), ('''x', 'Apóstrofo.');");
    const Database db(banco.Caminho());
    const std::pair<const char*, const char*> casos[] = {
        {"1", "Valores do grupo 1"}, // one trailing stop goes
        {"2", "Reticências."},       // only one
        {"3", ""},                   // Null
        {"4", ""},
        {"5", ""},
        {"6", "Ponto. No meio"},
        {"7", "Código 70"}, // only the first character of the code is compared
        {"8", "Código 8.2"},
        {"9", ""}, // no row
        // A quote is compared as a character, never run as SQL.
        {"'", "Apóstrofo"},
        {"1' or '1'='1", ""},
        {"'; DROP TABLE tblCódigosDIPAM; --", ""},
    };
    for (const auto& [codigo, esperado] : casos)
        EXPECT_EQ(Funcoes::CabecalhoCodigoDIPAM(db, codigo), esperado) << codigo;

    // A database error reaches the caller.
    banco.Executar("ALTER TABLE tblCódigosDIPAM DROP COLUMN Cabeçalho;");
    EXPECT_EQ(NumeroDoErro([&] { Funcoes::CabecalhoCodigoDIPAM(Database(banco.Caminho()), "1"); }),
              1);
}
