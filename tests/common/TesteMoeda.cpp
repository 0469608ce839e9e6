#include "common/Moeda.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using tarvo::Erro;
using tarvo::Moeda;

using tarvo::teste::NumeroDoErro;

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

} // namespace

TEST(Moeda, DeDoubleArredondaOTextoMaisCurtoMeioParaPar) {
    const std::pair<double, int64_t> casos[] = {
        {0.1, 1000},        {1234.56, 12345600}, {-1234.56, -12345600},
        {-0.0, 0},          {2.00005, 20000},    {2.00015, 20002},
        {-2.00005, -20000}, {0.00005, 0},        {0.000051, 1},
        {1.23456, 12346},   {1e-300, 0},         {922337203685477.0, 9223372036854770000LL},
    };
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(Moeda::DeDouble(valor).DezMilesimos(), esperado) << valor;

    for (double fora : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e15, -1e300})
        EXPECT_EQ(NumeroDoErro([&] { Moeda::DeDouble(fora); }), 6) << fora;
}

TEST(Moeda, DeTexto) {
    const std::pair<const char*, int64_t> casos[] = {
        {"1234.5", 12345000},
        {"-0.10", -1000},
        {"1e3", 10000000},
        {"1.5E-2", 150},
        {"\t+.5\n", 5000},
        {" 5. ", 50000},
        {"0e999999999999", 0},
        {"1e-999999999999", 0},
        {"1.23455", 12346}, // half to even
        {"1.23445", 12344},
        {"1.234450000001", 12345},
        {"-1.23455", -12346},
        {"922337203685477.58074", kMax},
        {"-922337203685477.5808", kMin},
    };
    for (const auto& [texto, esperado] : casos)
        EXPECT_EQ(Moeda::DeTexto(texto).DezMilesimos(), esperado) << texto;

    for (const char* texto :
         {"", " ", "abc", "1.2.3", "1e", "+-1", "1 2", "0x10", ".", "1,5", "R$ 10", "NaN", "inf"})
        EXPECT_EQ(NumeroDoErro([&] { Moeda::DeTexto(texto); }), 13) << '"' << texto << '"';
    for (const char* texto : {"922337203685477.5808", "-922337203685477.5809", "1e20",
                              "1e99999999999", "123456789012345678901234567890"})
        EXPECT_EQ(NumeroDoErro([&] { Moeda::DeTexto(texto); }), 6) << texto;
    // A megabyte of decimals does not outweigh an exponent of ten million.
    EXPECT_EQ(
        NumeroDoErro([] { Moeda::DeTexto("0." + std::string(1'000'001, '0') + "1e10000000"); }), 6);
}

TEST(Moeda, TextoInvarianteEDouble) {
    EXPECT_EQ(Moeda::DeDezMilesimos(12345000).ParaTextoInvariante(), "1234.5");
    EXPECT_EQ(Moeda::DeDezMilesimos(-30000).ParaTextoInvariante(), "-3");
    EXPECT_EQ(Moeda::DeDezMilesimos(1010).ParaTextoInvariante(), "0.101");
    EXPECT_EQ(Moeda::DeDezMilesimos(-1).ParaTextoInvariante(), "-0.0001");
    EXPECT_EQ(Moeda().ParaTextoInvariante(), "0");
    EXPECT_EQ(Moeda::DeDezMilesimos(kMin).ParaTextoInvariante(), "-922337203685477.5808");
    EXPECT_EQ(Moeda::DeTexto("0.1").ParaDouble(), 0.1);
    EXPECT_EQ(Moeda::DeDezMilesimos(kMax).ParaDouble(), 922337203685477.5807);
}

TEST(Moeda, ContasExatasQueEstouramNoLimite) {
    Moeda soma;
    for (int i = 0; i < 10; ++i)
        soma += Moeda::DeDouble(0.1);
    EXPECT_EQ(soma, Moeda::DeInteiro(1));
    soma -= Moeda::DeInteiro(3);
    EXPECT_EQ(soma.DezMilesimos(), -20000);
    EXPECT_EQ((-soma).DezMilesimos(), 20000);

    const Moeda maximo = Moeda::DeDezMilesimos(kMax);
    const Moeda minimo = Moeda::DeDezMilesimos(kMin);
    const Moeda um = Moeda::DeDezMilesimos(1);
    EXPECT_EQ((maximo + minimo).DezMilesimos(), -1);
    EXPECT_EQ(NumeroDoErro([&] { (void)(maximo + um); }), 6);
    EXPECT_EQ(NumeroDoErro([&] { (void)(minimo - um); }), 6);
    EXPECT_EQ(NumeroDoErro([&] { (void)(-minimo); }), 6);
    EXPECT_EQ(NumeroDoErro([] { Moeda::DeInteiro(922337203685478); }), 6);
    try {
        Moeda m = maximo;
        m += um;
        FAIL();
    } catch (const Erro& e) {
        EXPECT_EQ(e.Descricao(), "Overflow");
    }
}
