// The SQL texts that the reports send, run on a declaration database. The
// registration and group-heading lookups run through their own callers
// (RelatorioCadastro, Funcoes::CabecalhoCodigoDIPAM).
#include "data/Conexao.h"
#include "data/Recordset.h"
#include "data/TradutorJet.h"
#include "support/BancoTeste.h"
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using tarvo::Conexao;
using tarvo::Moeda;
using tarvo::Recordset;
using tarvo::Valor;

namespace {

const char* const kDados = R"(
INSERT INTO tblContribuinte (IE, RazãoSocial, CNPJ, Município, UF) VALUES
  ('123', 'Alfa Ltda', '11', 'Campinas', 'SP'), ('999', 'Outra', '22', 'Bauru', 'SP');
INSERT INTO tblDeclaração VALUES (7, '123', 1, 2023, 1, 'K7'), (8, '999', 2, 2022, 0, 'K8');
INSERT INTO tblReferência VALUES (7, 1, 0), (7, 2, 1), (8, 1, 2);
INSERT INTO tblEntradas VALUES (7, 1, 10, 20.5, '3.25'), (7, 2, 1, 2, 3), (8, 1, 9, 9, 9);
INSERT INTO tblSaídas VALUES (7, 1, 100, 200, 300, 400, 500, 600);
INSERT INTO tblEstados VALUES (35, 'São Paulo'), (25, 'Paraíba'), (41, 'Paraná'), (50, NULL);
INSERT INTO tblDetalhesInterUFs
  (Declaração, Tipo, UF, ValorContábil_1, ValorContábil_2, BaseCálculo_1, Imposto, ICMSCobradoST)
VALUES (7, 0, 35, 0.10, NULL, 1, 2, NULL), (7, 0, 35, 0.20, NULL, '1.5', NULL, NULL),
  (7, 0, 41, 5, NULL, 5, 5, NULL), (7, 0, 25, 7, NULL, 7, 7, NULL), (7, 0, 50, 1, NULL, 1, 1, NULL),
  (7, 0, 99, 1000, NULL, 1000, 1000, NULL), (7, 1, 35, 3, 4, 3, 3, 8), (8, 0, 35, 77, NULL, 77, 77, NULL);
INSERT INTO tblMunicípios VALUES (1, 'São Paulo'), (2, 'Álvares Machado'), (3, 'Bauru'), (4, 'Americana');
INSERT INTO tblCódigosDIPAM VALUES ('1.1', 'Grupo um.', 'D11'), ('1.2', 'Grupo um.', 'D12'),
  ('2.1', 'Grupo dois', 'D21'), ('3.1', 'Grupo três', 'D31'), ('3.2', 'Grupo três', 'D32');
INSERT INTO tblDIPAM VALUES (7, 1, '1.2', 100), (7, 1, '1.1', '50.5'), (7, 2, '1.1', 0.1),
  (7, 3, '1.1', 1), (7, 4, '1.2', 2), (7, 3, '2.1', 10), (7, 2, '3.1', 5), (7, 1, '3.2', 6),
  (8, 1, '1.1', 999);
)";

const std::string kContribuinteDeclaracao =
    "select * from tblContribuinte inner join tblDeclaração on tblContribuinte.IE = "
    "tblDeclaração.IE where tblDeclaração.Declaração = ";
const std::string kContribuinteDeclaracaoVirgula =
    "select tblContribuinte.*,  tblDeclaração.* from tblContribuinte,  tblDeclaração where "
    "tblContribuinte.IE = tblDeclaração.IE And tblDeclaração.Declaração = ";

const std::string kReferenciaSaidasEntradas =
    "select * from (tblReferência inner join tblSaídas on tblReferência.Ref = tblSaídas.Ref and "
    "tblReferência.Declaração = tblSaídas.Declaração) inner join tblEntradas on "
    "tblReferência.Ref = tblEntradas.Ref and tblReferência.Declaração = tblEntradas.Declaração "
    "where tblReferência.Ref = ";

std::string Interestadual(int tipo, const std::vector<std::string>& somas) {
    std::string sql = "select distinctrow [UF] & '. ' & [Estado] as UFESTADO, Estado,";
    for (size_t i = 0; i < somas.size(); ++i)
        sql += " sum(tblDetalhesInterUFs." + somas[i] + ") as Soma_" + somas[i] +
               (i + 1 < somas.size() ? "," : " ");
    return sql + "from tblDetalhesInterUFs INNER JOIN tblEstados  on tblDetalhesInterUFs.UF = " +
           "tblEstados.Código where tblDetalhesInterUFs.Tipo = " + std::to_string(tipo) +
           " and tblDetalhesInterUFs.Declaração = 7 group by [UF] & '. ' & [Estado], Estado " +
           "order by Estado";
}

std::string Dipam(char codigo) {
    const std::string filtro = std::string(" Left(tblDIPAM.CódDIPAM, 1) = '") + codigo + "' And";
    if (codigo == '3')
        return "select tblDIPAM.*, tblCódigosDIPAM.* from tblDIPAM,  tblCódigosDIPAM where "
               "tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código And " +
               filtro + " tblDIPAM.Declaração = 7";
    return "select tblDIPAM.*, tblMunicípios.*, tblCódigosDIPAM.* from tblDIPAM,  tblMunicípios,  "
           "tblCódigosDIPAM where tblDIPAM.Município = tblMunicípios.CódMunicípio And "
           "tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código And " +
           filtro + " tblDIPAM.Declaração = 7 order by tblMunicípios.Município, tblDIPAM.CódDIPAM";
}

class Consultas : public ::testing::Test {
protected:
    Consultas() { banco.Executar(kDados); }

    // Every row's values of the named columns, one vector per row.
    std::vector<std::vector<Valor>> Linhas(const std::string& sql,
                                           const std::vector<std::string>& colunas) {
        std::vector<std::vector<Valor>> linhas;
        for (auto rs = db.OpenRecordset(sql, 8); !rs->Eof(); rs->MoveNext()) {
            std::vector<Valor> linha;
            for (const std::string& coluna : colunas)
                linha.push_back(rs->Fields(coluna));
            linhas.push_back(linha);
        }
        return linhas;
    }

    tarvo::teste::BancoTeste banco;
    Conexao db{banco.Caminho()};
};

Moeda M(int64_t dezMilesimos) {
    return Moeda::DeDezMilesimos(dezMilesimos);
}

} // namespace

TEST_F(Consultas, ContribuinteEDeclaracaoNasDuasFormasDeJuncao) {
    for (const std::string& inicio : {kContribuinteDeclaracao, kContribuinteDeclaracaoVirgula}) {
        auto rs = db.OpenRecordset(inicio + "7");
        ASSERT_FALSE(rs->Eof());
        EXPECT_EQ(rs->Fields("tblContribuinte.IE"), Valor("123"));
        EXPECT_EQ(rs->Fields("RazãoSocial"), Valor("Alfa Ltda"));
        EXPECT_EQ(rs->Fields("Exercício"), Valor(int64_t{2023}));
        EXPECT_EQ(rs->Fields("ChaveInterna"), Valor("K7"));
        EXPECT_EQ(rs->FieldCount(), 24);
        rs->MoveNext();
        EXPECT_TRUE(rs->Eof());
        EXPECT_TRUE(db.OpenRecordset(inicio + "6")->Eof());
    }
}

TEST_F(Consultas, MesesDeEntradasSaidasEDaJuncaoTripla) {
    const std::string ref = " and tblReferência.Declaração = 7";
    const std::string entradas =
        "select * from tblReferência inner join tblEntradas on tblReferência.Ref = tblEntradas.Ref "
        "and tblReferência.Declaração = tblEntradas.Declaração where tblReferência.Ref = ";
    const std::string saidas =
        "select * from tblReferência inner join tblSaídas on tblReferência.Ref = tblSaídas.Ref and "
        "tblReferência.Declaração = tblSaídas.Declaração where tblReferência.Ref = ";
    const std::string& tripla = kReferenciaSaidasEntradas;

    EXPECT_EQ(
        Linhas(entradas + "1" + ref, {"RegTrib", "EntradaInterna", "EntradaInter", "ImpAquisição"}),
        (std::vector<std::vector<Valor>>{{int64_t{0}, int64_t{10}, 20.5, 3.25}}));
    EXPECT_EQ(Linhas(entradas + "2" + ref, {"RegTrib"}).size(), 1u);
    EXPECT_EQ(
        Linhas(saidas + "1" + ref, {"RegTrib", "SaídaInterna", "ImpDevido", "TribIss"}),
        (std::vector<std::vector<Valor>>{{int64_t{0}, int64_t{100}, int64_t{600}, int64_t{500}}}));
    EXPECT_TRUE(Linhas(saidas + "2" + ref, {}).empty());
    EXPECT_EQ(Linhas(tripla + "1" + ref, {"RegTrib", "ImpAquisição", "ImpDevido", "SaídaInter"}),
              (std::vector<std::vector<Valor>>{{int64_t{0}, 3.25, int64_t{600}, int64_t{200}}}));
    // Month 2 has entries but no exits: the inner join leaves nothing.
    EXPECT_TRUE(Linhas(tripla + "2" + ref, {}).empty());

    auto rs = db.OpenRecordset(tripla + "1" + ref);
    EXPECT_EQ(rs->FieldCount(), 16);
    EXPECT_EQ(rs->FieldName(0), "Declaração");
    EXPECT_EQ(rs->FieldName(3), "Declaração");
}

TEST_F(Consultas, InterestaduaisSomamPorEstadoEmOrdemDeNome) {
    const auto entradas = Linhas(
        Interestadual(0, {"ValorContábil_1", "BaseCálculo_1", "Imposto", "Outras",
                          "PetróleoEnergia", "OutrosProdutos"}),
        {"UFESTADO", "Soma_ValorContábil_1", "Soma_BaseCálculo_1", "Soma_Imposto", "Soma_Outras"});
    // A state without a name still has its label and sorts first; UF 99 has
    // no state and drops out; other declarations and exits never count.
    const std::vector<std::vector<Valor>> esperado = {
        {"50. ", M(10000), M(10000), M(10000), Valor()},
        {"25. Paraíba", M(70000), M(70000), M(70000), Valor()},
        {"41. Paraná", M(50000), M(50000), M(50000), Valor()},
        {"35. São Paulo", M(3000), M(25000), M(20000), Valor()}};
    EXPECT_EQ(entradas, esperado);

    const auto saidas =
        Linhas(Interestadual(1, {"ValorContábil_2", "ValorContábil_1", "BaseCálculo_2",
                                 "BaseCálculo_1", "Imposto", "Outras", "ICMSCobradoST"}),
               {"UFESTADO", "Soma_ValorContábil_2", "Soma_ICMSCobradoST"});
    EXPECT_EQ(saidas, (std::vector<std::vector<Valor>>{{"35. São Paulo", M(40000), M(80000)}}));
}

TEST_F(Consultas, DipamPorGrupoDeCodigo) {
    // Municipalities in Portuguese order, then codes; names read qualified.
    EXPECT_EQ(Linhas(Dipam('1'), {"tblMunicípios.Município", "CódDIPAM", "Valor"}),
              (std::vector<std::vector<Valor>>{{"Álvares Machado", "1.1", 0.1},
                                               {"Americana", "1.2", int64_t{2}},
                                               {"Bauru", "1.1", int64_t{1}},
                                               {"São Paulo", "1.1", 50.5},
                                               {"São Paulo", "1.2", int64_t{100}}}));
    EXPECT_EQ(Linhas(Dipam('2'), {"tblMunicípios.Município", "CódDIPAM", "Valor"}),
              (std::vector<std::vector<Valor>>{{"Bauru", "2.1", int64_t{10}}}));
    auto codigo3 = Linhas(Dipam('3'), {"CódDIPAM", "Descrição", "Valor"});
    std::sort(codigo3.begin(), codigo3.end(),
              [](const auto& a, const auto& b) { return a[0].texto() < b[0].texto(); });
    EXPECT_EQ(codigo3, (std::vector<std::vector<Valor>>{{"3.1", "D31", int64_t{5}},
                                                        {"3.2", "D32", int64_t{6}}}));

    // A number written with a bare point before the next clause.
    std::string comPonto = Dipam('2');
    comPonto.replace(comPonto.find("= 7 order"), 3, "= 7.");
    EXPECT_EQ(Linhas(comPonto, {"CódDIPAM"}), (std::vector<std::vector<Valor>>{{"2.1"}}));

    auto rs = db.OpenRecordset(Dipam('1'));
    EXPECT_THROW(rs->Fields("Município"), tarvo::Erro); // in tblDIPAM and tblMunicípios
    EXPECT_EQ(rs->Fields("tblDIPAM.Município"), Valor(int64_t{2}));
}

TEST(Tradutor, TabelasDaOrigemComoEscritas) {
    using Nomes = std::vector<std::string>;
    const auto tabelas = [](const std::string& sql) {
        return tarvo::TradutorJet::Traduzir(sql).tabelas;
    };
    const Nomes contribuinte = {"tblContribuinte", "tblDeclaração"};
    EXPECT_EQ(tabelas(kContribuinteDeclaracao + "7"), contribuinte);
    EXPECT_EQ(tabelas(kContribuinteDeclaracaoVirgula + "7"), contribuinte);
    EXPECT_EQ(tabelas(kReferenciaSaidasEntradas + "1"),
              (Nomes{"tblReferência", "tblSaídas", "tblEntradas"}));
    EXPECT_EQ(tabelas(Interestadual(0, {"Imposto"})), (Nomes{"tblDetalhesInterUFs", "tblEstados"}));
    EXPECT_EQ(tabelas(Dipam('1')), (Nomes{"tblDIPAM", "tblMunicípios", "tblCódigosDIPAM"}));
    EXPECT_EQ(tabelas(Dipam('3')), (Nomes{"tblDIPAM", "tblCódigosDIPAM"}));
    // Brackets go; the tables of a subquery are not the statement's.
    EXPECT_EQ(tabelas("select Estado from [tblEstados] where Código = "
                      "(select sum(Município) from tblDIPAM)"),
              (Nomes{"tblEstados"}));
}
