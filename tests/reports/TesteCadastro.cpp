// The registration report, and through it and the entries report the parts
// of the frame every report shares: set-up, page header and taxpayer block.

#include "AuxiliarRelatorios.h"

#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioEntradas.h"
#include <RelatoriosTarvo/Database.h>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace tarvo::teste {
namespace {

const std::vector<std::string> SoPreparacao = {"IniciarDocumento",      "DefinirTitulo",
                                               "DefinirTituloResumido", "DefinirIcone",
                                               "DefinirOrientacao",     "DefinirMargens"};

std::vector<Chamada> Cadastro(const BancoTeste& banco, const std::string& IE) {
    const Database bd(banco.Caminho());
    RelatorioCadastro relatorio;
    relatorio.Construir(bd, IE);
    return relatorio.Motor().Chamadas();
}

std::vector<std::string> Operacoes(const std::vector<Chamada>& chamadas) {
    std::vector<std::string> ops;
    for (const auto& c : chamadas)
        ops.push_back(c.op);
    return ops;
}

// Index of the text call of a box's label; the box comes right before it and
// the value right after it.
std::size_t Rotulo(const std::vector<Chamada>& chamadas, const std::string& rotulo) {
    for (std::size_t i = 1; i + 1 < chamadas.size(); ++i)
        if (chamadas[i].op == "AdicionarTexto" && Str(chamadas[i].args[4]) == rotulo)
            return i;
    ADD_FAILURE() << "sem a caixa " << rotulo;
    return 0;
}

std::string ValorDaCaixa(const std::vector<Chamada>& chamadas, const std::string& rotulo) {
    return Str(chamadas[Rotulo(chamadas, rotulo) + 1].args[4]);
}

// The declaration key or its replacement at the top right of the page.
std::vector<std::string> Identificacoes(const std::vector<Chamada>& chamadas) {
    std::vector<std::string> textos;
    for (const auto& c : Filtrar(chamadas, "AdicionarTexto"))
        if (Num(c.args[0]) == 0 && Num(c.args[1]) == 0 && Long(c.args[5]) == 2)
            textos.push_back(Str(c.args[4]));
    return textos;
}

void InserirContribuinte(BancoTeste& banco, const std::string& IE, const std::string& razao,
                         const std::string& data) {
    banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial, DataCadastro) VALUES ('" + IE +
                   "', '" + razao + "', " + data + ");");
}

TEST(RelatorioCadastro, DezoitoCaixasQueFechamALargura) {
    BancoTeste banco;
    InserirContribuinte(banco, "111", "Ávila Ltda", "'2001-03-05'");
    const auto chamadas = Cadastro(banco, "111");

    // The header shows no declaration key: this report does not read the declaration.
    EXPECT_TRUE(Identificacoes(chamadas).empty());
    EXPECT_EQ(Textos(chamadas, "Declaração do Vantiro").size(), 1u);
    EXPECT_EQ(Filtrar(chamadas, "NovaPagina").size(), 0u);
    EXPECT_EQ(Filtrar(chamadas, "AdicionarCaixa").size(), 1u + 18u);

    // Label, X, Y and width of the boxes in drawing order; all 0.6 high but
    // the remarks. Rows are filled to the right edge at 17.0.
    // clang-format off
    const std::tuple<std::string, double, double, double> caixas[] = {
        {"Razão Social", 0, 4.2, 17}, {"Inscrição Estadual", 0, 4.8, 4.25},
        {"CNPJ", 4.25, 4.8, 4.25}, {"CNAE", 8.5, 4.8, 4.25},
        {"Data do Cadastramento", 12.75, 4.8, 4.25}, {"Local", 0, 5.4, 8.5},
        {"Número", 8.5, 5.4, 2.125}, {"Complemento", 10.625, 5.4, 6.375},
        {"Bairro", 0, 6.0, 8.5}, {"Município", 8.5, 6.0, 8.5}, {"CEP", 0, 6.6, 4.25},
        {"UF", 4.25, 6.6, 1.0625}, {"Telefone", 5.3125, 6.6, 5.3125},
        {"FAX", 10.625, 6.6, 6.375}, {"e-mail", 0, 7.2, 8.5}, {"Home Page", 8.5, 7.2, 8.5},
        {"Contato", 0, 7.8, 17}, {"Observação", 0, 8.4, 17}};
    // clang-format on
    int bordaDireita = 0;
    for (const auto& [rotulo, x, y, largura] : caixas) {
        const auto& caixa = chamadas[Rotulo(chamadas, rotulo) - 1];
        ASSERT_EQ(caixa.op, "AdicionarCaixa") << rotulo;
        EXPECT_NEAR(Num(caixa.args[0]), x, 1e-9) << rotulo;
        EXPECT_NEAR(Num(caixa.args[1]), y, 1e-9) << rotulo;
        EXPECT_NEAR(Num(caixa.args[2]), largura, 1e-9) << rotulo;
        EXPECT_NEAR(Num(caixa.args[3]), rotulo == "Observação" ? 16.4 : 0.6, 1e-9) << rotulo;
        bordaDireita += std::abs(Num(caixa.args[0]) + Num(caixa.args[2]) - 17.0) < 1e-9;
    }
    EXPECT_EQ(bordaDireita, 8);
    EXPECT_EQ(ValorDaCaixa(chamadas, "Razão Social"), "Ávila Ltda");
    EXPECT_EQ(ValorDaCaixa(chamadas, "Data do Cadastramento"), "05/03/2001");
    EXPECT_EQ(ValorDaCaixa(chamadas, "CNPJ"), "");
    // The remarks wrap inside their box.
    EXPECT_EQ(chamadas[Rotulo(chamadas, "Observação") + 1].op, "AdicionarTextoMultilinha");
}

TEST(RelatorioCadastro, DataDoCadastramento) {
    BancoTeste banco;
    InserirContribuinte(banco, "dia", "A", "36955"); // the day number of 5 March 2001
    InserirContribuinte(banco, "nulo", "B", "NULL");
    EXPECT_EQ(ValorDaCaixa(Cadastro(banco, "dia"), "Data do Cadastramento"), "05/03/2001");
    // Never the zero date.
    EXPECT_EQ(ValorDaCaixa(Cadastro(banco, "nulo"), "Data do Cadastramento"), "");
}

TEST(RelatorioCadastro, IEQueNaoEncontraNinguemDaDocumentoVazio) {
    BancoTeste banco;
    InserirContribuinte(banco, "x''y", "Aspas", "NULL");
    InserirContribuinte(banco, "outro", "Outro", "NULL");
    EXPECT_EQ(Operacoes(Cadastro(banco, "inexistente")), SoPreparacao);

    // A quote in the IE is part of the value, never of the statement.
    const auto comAspas = Cadastro(banco, "x'y");
    EXPECT_EQ(ValorDaCaixa(comAspas, "Razão Social"), "Aspas");
    EXPECT_EQ(ValorDaCaixa(comAspas, "Inscrição Estadual"), "x'y");
    EXPECT_EQ(Operacoes(Cadastro(banco, "' or '1'='1")), SoPreparacao);
}

TEST(MolduraRelatorio, IdentificacaoDaDeclaracao) {
    const struct {
        std::string consistente, chave, esperado;
    } casos[] = {
        {"0", "'ABCD-1234'", "Declaração Não Consistida"},
        {"NULL", "'ABCD-1234'", "Declaração Não Consistida"},
        {"1", "'ABCD-1234'", "ABCD-1234"},
        {"1", "NULL", ""},
    };
    for (const auto& caso : casos) {
        BancoTeste banco;
        InserirDeclaracao(banco, 7, caso.consistente);
        banco.Executar("UPDATE tblDeclaração SET ChaveInterna = " + caso.chave + ";");
        EXPECT_EQ(Identificacoes(Construir<RelatorioEntradas>(banco)),
                  std::vector<std::string>{caso.esperado})
            << caso.consistente << " " << caso.chave;
    }
}

TEST(MolduraRelatorio, TipoEExercicioDaDeclaracao) {
    const std::pair<std::string, std::string> tipos[] = {{"1", "Normal"},   {"2", "Substitutiva"},
                                                         {"3", "Coligida"}, {"0", ""},
                                                         {"4", ""},         {"NULL", ""}};
    for (const auto& [tipo, texto] : tipos) {
        BancoTeste banco;
        InserirDeclaracao(banco);
        banco.Executar("UPDATE tblDeclaração SET Tipo = " + tipo + ", Exercício = 7;");
        const auto chamadas = Construir<RelatorioEntradas>(banco);
        EXPECT_EQ(ValorDaCaixa(chamadas, "Tipo da Declaração"), texto) << tipo;
        EXPECT_EQ(ValorDaCaixa(chamadas, "Exercício"), "0007");
        EXPECT_EQ(ValorDaCaixa(chamadas, "Inscrição Estadual"), "123.456.789.110");
    }
}

} // namespace
} // namespace tarvo::teste
