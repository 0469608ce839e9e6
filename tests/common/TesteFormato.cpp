#include "common/Formato.h"

#include "common/AmbienteRegional.h"

#include <gtest/gtest.h>

#include <limits>

using tarvo::DataHora;
using tarvo::Formato;
using tarvo::Moeda;
using tarvo::teste::AmbienteRegional;

namespace {

std::string V(const char* texto) {
    return Formato::Valor(Moeda::DeTexto(texto));
}

} // namespace

TEST(Formato, ValorEmPortuguesArredondandoParaLongeDoZero) {
    AmbienteRegional ambiente("pt_BR.UTF-8");
    const std::pair<const char*, const char*> casos[] = {
        {"1234.5", "1.234,50"},
        {"-1234.5", "-1.234,50"},
        {"0", "0,00"},
        {"999.99", "999,99"},
        {"1234567.891", "1.234.567,89"},
        {"0.125", "0,13"},
        {"2.345", "2,35"},
        {"-2.345", "-2,35"},
        {"2.3449", "2,34"},
        {"999.995", "1.000,00"},
        {"-0.004", "0,00"},
        {"-0.0049", "0,00"},
        {"-0.005", "-0,01"},
    };
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(V(valor), esperado) << valor;
    EXPECT_EQ(Formato::Valor(Moeda::DeDezMilesimos(std::numeric_limits<int64_t>::min())),
              "-922.337.203.685.477,58");
}

TEST(Formato, SeparadoresDaPrimeiraVariavelRegionalNaoVazia) {
    for (const char* nome : {"en_US.UTF-8", "C", "C.UTF-8", "POSIX", ""}) {
        AmbienteRegional ambiente(nome, nullptr, nullptr);
        EXPECT_EQ(V("-1234567.125"), "-1,234,567.13") << nome;
    }
    {
        AmbienteRegional ambiente("", "pt_BR.UTF-8", "en_US.UTF-8");
        EXPECT_EQ(V("1234.5"), "1.234,50");
    }
    {
        AmbienteRegional ambiente(nullptr, nullptr, "pt_BR");
        EXPECT_EQ(V("1234.5"), "1.234,50");
    }
    {
        AmbienteRegional ambiente("en_US.UTF-8", "pt_BR.UTF-8", "pt_BR.UTF-8");
        EXPECT_EQ(V("1234.5"), "1,234.50");
    }
    AmbienteRegional ambiente("de_DE.UTF-8@euro");
    const Formato::Separadores s = Formato::SeparadoresRegionais();
    EXPECT_EQ(s.decimal, ",");
    EXPECT_EQ(s.milhar, ".");
}

TEST(Formato, AnoEData) {
    EXPECT_EQ(Formato::Ano(7), "0007");
    EXPECT_EQ(Formato::Ano(2004), "2004");
    EXPECT_EQ(Formato::Ano(12345), "12345");
    EXPECT_EQ(Formato::Ano(-7), "-0007");
    EXPECT_EQ(Formato::Data(DataHora()), "30/12/1899");
    EXPECT_EQ(Formato::Data(DataHora::DeCivil(2001, 3, 5, 23, 59, 59)), "05/03/2001");
    EXPECT_EQ(Formato::Data(DataHora::DeSerial(-1.25)), "29/12/1899");
}
