// The month-by-month reports: entries, exits, declared tax and gross revenue.

#include "AuxiliarRelatorios.h"
#include "common/AmbienteRegional.h"

#include "common/Funcoes.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResImpostoDecl.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaidas.h"
#include <RelatoriosTarvo/Database.h>

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo::teste {
namespace {

const std::string SemCelula = "<sem célula>";
using Linha = std::vector<std::string>;

// The texts of the 8-point cells whose top is Y, by column of the landscape
// table of `colunas` equal columns.
Linha Celulas(const std::vector<Chamada>& chamadas, double y, int colunas) {
    const double U = 25.7 / colunas;
    Linha linha(colunas, SemCelula);
    for (const auto& c : Filtrar(chamadas, "AdicionarTexto")) {
        if (Num(c.args[8]) != 8 || std::abs(Num(c.args[1]) - y) > 1e-6)
            continue;
        const double posicao = (Num(c.args[0]) - 0.1) / U;
        const long coluna = std::lround(posicao);
        EXPECT_NEAR(posicao, coluna, 1e-9) << Str(c.args[4]);
        if (coluna >= 0 && coluna < colunas)
            linha[coluna] = Str(c.args[4]);
    }
    return linha;
}

Linha Vazia(const std::string& primeira, int colunas) {
    Linha linha(colunas, "");
    linha[0] = primeira;
    return linha;
}

Linha Soma(const std::string& rotulo, const Linha& valores) {
    Linha linha = {rotulo, SemCelula};
    linha.insert(linha.end(), valores.begin(), valores.end());
    linha.push_back(SemCelula);
    return linha;
}

// A row of declaration 7. tblReferência: RegTrib; tblEntradas: EntradaInterna,
// EntradaInter, ImpAquisição; tblSaídas: SaídaInterna, SaídaInter,
// SaídaInternaNtrib, SaídaInterNtrib, TribIss, ImpDevido.
void Inserir(BancoTeste& banco, const std::string& tabela, int ref, const std::string& valores) {
    banco.Executar("INSERT INTO " + tabela + " VALUES (7, " + std::to_string(ref) + ", " + valores +
                   ");");
}

class Mensais : public ::testing::Test {
protected:
    Mensais() { InserirDeclaracao(banco); }
    AmbienteRegional regiao{"en_US.UTF-8"};
    BancoTeste banco;
};

// Twelve month lines with the names only, the footer at 16.3, one page.
template <class R>
std::vector<Chamada> VerificarAnoVazio(BancoTeste& banco, int colunas, double primeiraLinha,
                                       std::size_t titulos) {
    const auto chamadas = Construir<R>(banco);
    for (uint8_t mes = 1; mes <= 12; ++mes)
        EXPECT_EQ(Celulas(chamadas, primeiraLinha + 0.6 * (mes - 1), colunas),
                  Vazia(Funcoes::NomeDoMes(mes), colunas))
            << int(mes);
    EXPECT_EQ(PorPagina(chamadas).size(), 2u);
    EXPECT_NEAR(Num(Textos(chamadas, "%%D").at(0).args[1]), 16.7, 1e-9);
    // The title and the column captions.
    EXPECT_EQ(Filtrar(chamadas, "AdicionarTextoMultilinha").size(), 1 + titulos);
    EXPECT_EQ(Textos(chamadas, "Referência\r\nMês").size(), 1u);
    return chamadas;
}

TEST_F(Mensais, AnoSemLinhas) {
    // Regimes in tblReferência alone make no line; another declaration's rows count for nothing.
    for (int mes = 1; mes <= 12; ++mes)
        Inserir(banco, "tblReferência", mes, "1");
    banco.Executar("INSERT INTO tblReferência VALUES (8, 1, 1); INSERT INTO tblEntradas VALUES "
                   "(8, 1, 1, 1, 1); INSERT INTO tblSaídas VALUES (8, 1, 1, 1, 1, 1, 1, 1);");
    VerificarAnoVazio<RelatorioEntradas>(banco, 5, 7.1, 6);
    VerificarAnoVazio<RelatorioSaidas>(banco, 8, 7.1, 10);
    VerificarAnoVazio<RelatorioResImpostoDecl>(banco, 8, 7.1, 9);
    const auto receita = VerificarAnoVazio<RelatorioResReceitaBruta>(banco, 9, 7.3, 11);
    EXPECT_EQ(Celulas(receita, 14.5, 9), Soma("Subtotal do Período", Linha(6, "")));
    EXPECT_EQ(Celulas(receita, 15.3, 9), Soma("Total", Linha(6, "0.00")));
}

TEST_F(Mensais, EntradasPorMesERegimesSemTexto) {
    Inserir(banco, "tblReferência", 3, "NULL");
    Inserir(banco, "tblEntradas", 3, "1234.5, NULL, -1234.5");
    Inserir(banco, "tblReferência", 5, "2");
    Inserir(banco, "tblEntradas", 5, "1, 2, 3");
    Inserir(banco, "tblReferência", 7, "3");
    Inserir(banco, "tblEntradas", 7, "0, 0, 0.004");
    const Linha marco = {"Março", "ME", "1,234.50", "0.00", "-1,234.50"};
    const auto chamadas = Construir<RelatorioEntradas>(banco);
    EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * 2, 5), marco);
    EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * 4, 5),
              Linha({"Maio", "EPP-B", "1.00", "2.00", "3.00"}));
    EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * 6, 5), Linha({"Julho", "", "0.00", "0.00", "0.00"}));
    for (uint8_t mes : {1, 2, 4, 12})
        EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * (mes - 1), 5), Vazia(Funcoes::NomeDoMes(mes), 5));

    const AmbienteRegional brasil("pt_BR.UTF-8");
    const Linha marcoBrasil = {"Março", "ME", "1.234,50", "0,00", "-1.234,50"};
    EXPECT_EQ(Celulas(Construir<RelatorioEntradas>(banco), 7.1 + 0.6 * 2, 5), marcoBrasil);
}

TEST_F(Mensais, SaidasTributadasEmBrancoNoRegimeME) {
    const char* regimes[] = {"0", "NULL", "1", "5"};
    for (int mes = 1; mes <= 4; ++mes) {
        Inserir(banco, "tblReferência", mes, regimes[mes - 1]);
        Inserir(banco, "tblSaídas", mes, "1, 2, 3, 4, 5, 6");
    }
    Inserir(banco, "tblReferência", 5, "1"); // no exits row
    const auto chamadas = Construir<RelatorioSaidas>(banco);
    const Linha me = {"", "ME", "", "", "", "3.00", "4.00", "5.00"};
    const Linha todas = {"", "EPP-A", "1.00", "2.00", "6.00", "3.00", "4.00", "5.00"};
    const Linha esperadas[] = {me, me, todas, todas, Vazia("", 8)};
    for (uint8_t mes = 1; mes <= 5; ++mes) {
        Linha esperada = esperadas[mes - 1];
        esperada[0] = Funcoes::NomeDoMes(mes);
        if (mes == 4)
            esperada[1] = "";
        EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * (mes - 1), 8), esperada);
    }
}

TEST_F(Mensais, ImpostoDevidoNoMesSomaAquisicaoEOperacoesProprias) {
    const char* regimes[] = {"1", "0", "3"};
    for (int mes = 1; mes <= 3; ++mes) {
        Inserir(banco, "tblReferência", mes, regimes[mes - 1]);
        Inserir(banco, "tblEntradas", mes, "999, 10, 1234.50");
        Inserir(banco, "tblSaídas", mes, "1, 2, 3, 4, 5, 100.25");
    }
    // A month needs both rows.
    Inserir(banco, "tblReferência", 4, "1");
    Inserir(banco, "tblSaídas", 4, "1, 2, 3, 4, 5, 6");
    Inserir(banco, "tblReferência", 5, "1");
    Inserir(banco, "tblEntradas", 5, "1, 2, 3");
    const auto chamadas = Construir<RelatorioResImpostoDecl>(banco);
    const Linha esperadas[] = {
        {"Janeiro", "EPP-A", "10.00", "1,234.50", "1.00", "2.00", "100.25", "1,334.75"},
        {"Fevereiro", "ME", "10.00", "1,234.50", "", "", "", "1,334.75"},
        {"Março", "", "10.00", "1,234.50", "1.00", "2.00", "100.25", "1,334.75"},
        Vazia("Abril", 8),
        Vazia("Maio", 8),
    };
    for (int mes = 1; mes <= 5; ++mes)
        EXPECT_EQ(Celulas(chamadas, 7.1 + 0.6 * (mes - 1), 8), esperadas[mes - 1]);
}

TEST_F(Mensais, ReceitaBrutaComRegimesAlternados) {
    // Odd months "ME" (January through a Null regime), even months "EPP-A".
    for (int mes = 1; mes <= 12; ++mes) {
        Inserir(banco, "tblReferência", mes, mes == 1 ? "NULL" : mes % 2 ? "0" : "1");
        Inserir(banco, "tblSaídas", mes, "100, 20, 3, 4, 5, 999");
    }
    const auto paginas = PorPagina(Construir<RelatorioResReceitaBruta>(banco));
    ASSERT_EQ(paginas.size(), 3u);
    const auto subtotalME = Soma("Subtotal do Período", {"", "", "3.00", "4.00", "5.00", "132.00"});
    EXPECT_EQ(Celulas(paginas[1], 7.3, 9),
              Linha({"Janeiro", "ME", "", "", "3.00", "4.00", "5.00", "132.00", "132.00"}));
    EXPECT_EQ(Celulas(paginas[1], 7.9, 9), subtotalME);
    EXPECT_EQ(Celulas(paginas[1], 8.7, 9)[8], "264.00");
    EXPECT_EQ(Celulas(paginas[1], 15.7, 9)[0], "Julho");
    EXPECT_EQ(Celulas(paginas[1], 15.7, 9)[8], "924.00");
    // The subtotal after July no longer fits and opens the second page.
    EXPECT_EQ(Celulas(paginas[2], 7.3, 9), subtotalME);
    EXPECT_EQ(Celulas(paginas[2], 8.1, 9)[0], "Agosto");
    EXPECT_EQ(Celulas(paginas[2], 14.3, 9),
              Soma("Subtotal do Período", {"100.00", "20.00", "3.00", "4.00", "5.00", "132.00"}));
    EXPECT_EQ(Celulas(paginas[2], 15.1, 9),
              Soma("Total", {"1,200.00", "240.00", "36.00", "48.00", "60.00", "1,584.00"}));
    for (std::size_t p = 1; p <= 2; ++p) {
        EXPECT_EQ(Textos(paginas[p], "ABCD-1234").size(), 1u);
        EXPECT_EQ(Textos(paginas[p], "Acumulado da\r\nReceita Bruta no Exercício").size(), 1u);
        EXPECT_EQ(Textos(paginas[p], "%%D").size(), 1u);
    }
}

TEST_F(Mensais, ReceitaBrutaComMesesSemLinhaComoPeriodo) {
    // A stored regime of -1 is a regime like any other, not a month without a row.
    for (const std::string regime : {"1", "-1"}) {
        BancoTeste outro;
        InserirDeclaracao(outro);
        for (int mes = 7; mes <= 12; ++mes) {
            Inserir(outro, "tblReferência", mes, regime);
            Inserir(outro, "tblSaídas", mes, "100, 20, 3, 4, 5, 999");
        }
        const auto paginas = PorPagina(Construir<RelatorioResReceitaBruta>(outro));
        ASSERT_EQ(paginas.size(), 3u);
        EXPECT_EQ(Celulas(paginas[1], 10.3, 9), Vazia("Junho", 9));
        EXPECT_EQ(Celulas(paginas[1], 10.9, 9), Soma("Subtotal do Período", Linha(6, "")));
        EXPECT_EQ(Celulas(paginas[1], 11.7, 9),
                  Linha({"Julho", regime == "1" ? "EPP-A" : "", "100.00", "20.00", "3.00", "4.00",
                         "5.00", "132.00", "132.00"}));
        const Linha semestre = {"600.00", "120.00", "18.00", "24.00", "30.00", "792.00"};
        EXPECT_EQ(Celulas(paginas[1], 15.3, 9), Soma("Subtotal do Período", semestre));
        EXPECT_EQ(Celulas(paginas[2], 7.3, 9), Soma("Total", semestre));
    }
}

} // namespace
} // namespace tarvo::teste
