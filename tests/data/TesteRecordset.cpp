// Reading recordsets: names, values, states, and the translated Jet
// expressions (money sums, &, Left, Portuguese order).
#include "data/Conexao.h"
#include "data/Recordset.h"
#include "support/BancoTeste.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tarvo::Conexao;
using tarvo::Erro;
using tarvo::Moeda;
using tarvo::Valor;

using tarvo::teste::NumeroDoErro;

namespace {

class Leitura : public ::testing::Test {
protected:
    // The first row's value of the first column.
    Valor Primeiro(const std::string& sql) {
        auto rs = db.OpenRecordset(sql);
        return rs->Eof() ? Valor("<eof>") : rs->Fields(0);
    }

    std::vector<Valor> Coluna(const std::string& sql) {
        std::vector<Valor> valores;
        for (auto rs = db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
            valores.push_back(rs->Fields(0));
        return valores;
    }

    tarvo::teste::BancoTeste banco;
    Conexao db{banco.Caminho()};
};

} // namespace

TEST_F(Leitura, CamposPorNomeSemCaixaEQualificados) {
    banco.Executar("INSERT INTO tblDIPAM VALUES (1, 10, '1.1', 5); "
                   "INSERT INTO tblMunicípios VALUES (10, 'Campinas')");
    auto rs = db.OpenRecordset("select * from tblDIPAM inner join tblMunicípios on "
                               "tblDIPAM.Município = tblMunicípios.CódMunicípio");
    EXPECT_EQ(rs->Fields("CÓDDIPAM"), Valor("1.1"));
    EXPECT_EQ(rs->Fields("códdipam"), Valor("1.1"));
    EXPECT_EQ(rs->Fields("TBLMUNICÍPIOS.MUNICÍPIO"), Valor("Campinas"));
    EXPECT_EQ(rs->Fields("tblDIPAM.Município"), Valor(int64_t{10}));
    for (const char* nome : {"Município", "Inexistente", "tblEstados.Município", "tblDIPAM.", ""})
        EXPECT_EQ(NumeroDoErro([&] { rs->Fields(nome); }), 3265) << nome;
    EXPECT_EQ(NumeroDoErro([&] { rs->Fields(6); }), 3265);
    EXPECT_EQ(rs->Fields(5), Valor("Campinas"));
}

TEST_F(Leitura, TiposDeValor) {
    banco.Executar("INSERT INTO tblContribuinte (IE, CNPJ, CNAE, Observação, Bairro) "
                   "VALUES ('1', 42, 1.5, X'41C3A9', NULL)");
    auto rs = db.OpenRecordset("select CNPJ, CNAE, Observação, Bairro, [IE] & 2.5 & Bairro as X, "
                               "Bairro & Bairro as Y from tblContribuinte");
    // TEXT affinity turns the numbers into text, as the host stores them.
    EXPECT_EQ(rs->Fields("CNPJ"), Valor("42"));
    EXPECT_EQ(rs->Fields("CNAE"), Valor("1.5"));
    EXPECT_EQ(rs->Fields("Observação"), Valor("Aé")); // blob bytes
    EXPECT_TRUE(rs->Fields("Bairro").EhNulo());
    EXPECT_EQ(rs->Fields("X"), Valor("12.5"));
    EXPECT_TRUE(rs->Fields("Y").EhNulo());
    EXPECT_EQ(Primeiro("select Left(Observação, 1) & '|' & Left('São Paulo', 3) & Left(1234, 2) "
                       "from tblContribuinte"),
              Valor("A|São12"));
}

TEST_F(Leitura, FimEFechamento) {
    banco.Executar("INSERT INTO tblEstados VALUES (1, 'Acre')");
    auto rs = db.OpenRecordset("select Estado from tblEstados");
    ASSERT_FALSE(rs->Eof());
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(NumeroDoErro([&] { rs->Fields("Estado"); }), 3021);
    EXPECT_EQ(NumeroDoErro([&] { rs->MoveNext(); }), 3021);
    EXPECT_EQ(NumeroDoErro([&] { rs->Fields("Nada"); }), 3265);
    rs->Close();
    EXPECT_EQ(NumeroDoErro([&] { rs->Eof(); }), 3420);
    EXPECT_EQ(NumeroDoErro([&] { rs->Fields(0); }), 3420);
    EXPECT_EQ(NumeroDoErro([&] { rs->Close(); }), 3420);
}

TEST_F(Leitura, SomasDeMoedaExatas) {
    std::string linhas;
    for (int i = 0; i < 10; ++i)
        linhas += "(1, 1, '1', 0.10),";
    banco.Executar("INSERT INTO tblDIPAM VALUES " + linhas +
                   "(2, 1, '1', 899999999999.99), (2, 1, '1', 0.01), (2, 1, '1', NULL),"
                   "(3, 1, '1', 900000000000000), (3, 1, '1', 900000000000000),"
                   "(4, 1, '1', NULL), (5, 1, '1', 5), (5, 1, '1', CAST('2.5' AS BLOB)),"
                   "(8, 1, '1', 10);"
                   "INSERT INTO tblContribuinte (IE, CNPJ, RazãoSocial) VALUES "
                   "('1', '1.25', 'Alfa'), ('2', ' -0.25 ', 'Beta'), ('3', '1000000000000', ''),"
                   "('4', '0.0001', '')");
    const auto soma = [&](int declaracao) {
        return Primeiro("select sum(Valor) as Total from tblDIPAM where Declaração = " +
                        std::to_string(declaracao));
    };
    EXPECT_EQ(soma(1), Valor(Moeda::DeDezMilesimos(10000)));
    EXPECT_EQ(soma(2), Valor(Moeda::DeDezMilesimos(9000000000000000)));
    EXPECT_EQ(NumeroDoErro([&] { soma(3); }), 6);
    EXPECT_TRUE(soma(4).EhNulo());
    EXPECT_TRUE(soma(6).EhNulo()); // no rows at all
    EXPECT_EQ(soma(5), Valor(Moeda::DeDezMilesimos(75000)));
    // Decimal text sums exactly; text that is no number is a type mismatch.
    EXPECT_EQ(Primeiro("select sum(CNPJ) from tblContribuinte where IE < '3'"),
              Valor(Moeda::DeDezMilesimos(10000)));
    EXPECT_EQ(Primeiro("select sum(CNPJ) from tblContribuinte where IE > '2'"),
              Valor(Moeda::DeDezMilesimos(10000000000000001)));
    EXPECT_EQ(NumeroDoErro([&] { Primeiro("select sum(RazãoSocial) from tblContribuinte"); }), 13);

    auto rs = db.OpenRecordset("select Declaração, sum(tblDIPAM.Valor), sum(Valor + 1) "
                               "from tblDIPAM where Declaração < 3 group by Declaração");
    EXPECT_EQ(rs->FieldName(1), "SumOfValor");
    EXPECT_EQ(rs->FieldName(2), "Expr1000");
    EXPECT_EQ(rs->Fields("sumofvalor"), Valor(Moeda::DeDezMilesimos(10000)));
    EXPECT_EQ(rs->Fields(2), Valor(Moeda::DeDezMilesimos(110000)));
    // Sums still sort as numbers.
    EXPECT_EQ(Coluna("select Declaração, sum(Valor) as S from tblDIPAM where Declaração <> 3 "
                     "group by Declaração order by S desc"),
              (std::vector<Valor>{int64_t{2}, int64_t{8}, int64_t{5}, int64_t{1}, int64_t{4}}));
}

// A value a sum cannot take is named as the field readers name it: the
// column, its table (or the tables of its SELECT) and the value.
TEST_F(Leitura, SomaDizOCampoQueNaoEMoeda) {
    banco.Executar("INSERT INTO tblReferência VALUES (1, 1, 1);"
                   "INSERT INTO tblEntradas VALUES (1, 1, '2001-03-05', X'0102', 1);"
                   "INSERT INTO tblDIPAM VALUES (3, 1, '1', 900000000000000), "
                   "(3, 1, '1', 900000000000000);"
                   "INSERT INTO tblEstados VALUES (1, 'Acre')");
    const auto descricao = [&](const std::string& sql) {
        try {
            Coluna(sql);
        } catch (const Erro& erro) {
            return std::to_string(erro.Numero()) + " " + erro.Descricao();
        }
        return std::string("nenhum erro");
    };
    const std::string juncao = " from tblReferência inner join tblEntradas on tblReferência.Ref "
                               "= tblEntradas.Ref";
    EXPECT_EQ(descricao("select sum(EntradaInterna) as S from tblEntradas"),
              "13 Type mismatch: EntradaInterna (tblEntradas) = \"2001-03-05\"");
    EXPECT_EQ(descricao("select sum(EntradaInterna)" + juncao),
              "13 Type mismatch: EntradaInterna (tblReferência, tblEntradas) = \"2001-03-05\"");
    EXPECT_EQ(descricao("select tblReferência.Ref, sum([tblEntradas].EntradaInter)" + juncao +
                        " group by tblReferência.Ref"),
              "13 Type mismatch: EntradaInter (tblEntradas) = X'0102'");
    // An expression is named as written, quotes and all.
    EXPECT_EQ(descricao("select sum([EntradaInterna] & '''')" + juncao),
              "13 Type mismatch: [EntradaInterna] & '''' (tblReferência, tblEntradas) = "
              "\"2001-03-05'\"");
    EXPECT_EQ(descricao("select Estado from tblEstados where Código < (select sum(EntradaInter) "
                        "from tblEntradas)"),
              "13 Type mismatch: EntradaInter (tblEntradas) = X'0102'");
    EXPECT_EQ(descricao("select sum(Valor) from tblDIPAM"), "6 Overflow: Sum(Valor) (tblDIPAM)");
    for (const char* sql :
         {"select sum(distinct Valor) from tblDIPAM", "select sum() from tblDIPAM"})
        EXPECT_EQ(NumeroDoErro([&] { Coluna(sql); }), Erro::SqlNaoSuportado) << sql;
}

TEST_F(Leitura, OrdemPortuguesaDoTexto) {
    banco.Executar("INSERT INTO tblEstados VALUES (1, 'Paraná'), (2, 'Paraíba'), (3, 'Acre'), "
                   "(4, 'acre'), (5, 'Álvares Machado'), (6, NULL), (7, 'Bahia'), (8, 'Amapá')");
    EXPECT_EQ(Coluna("select Estado from tblEstados order by Estado"),
              (std::vector<Valor>{Valor(), "acre", "Acre", "Álvares Machado", "Amapá", "Bahia",
                                  "Paraíba", "Paraná"}));
    EXPECT_EQ(Coluna("select Código from tblEstados where Estado is not null "
                     "order by Left(Estado, 1) desc, 1 desc"),
              (std::vector<Valor>{int64_t{2}, int64_t{1}, int64_t{7}, int64_t{5}, int64_t{8},
                                  int64_t{3}, int64_t{4}}));
}
