// Opening the database: read-only files, borrowed handles, and the errors
// that reach the caller.
#include "data/ColacaoPortugues.h"
#include "data/Conexao.h"
#include "data/Recordset.h"
#include "data/TradutorJet.h"
#include "support/BancoTeste.h"
#include <RelatoriosTarvo/Erro.h>

#include "support/Erros.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using tarvo::Conexao;
using tarvo::Erro;
using tarvo::Valor;

namespace {

std::string Bytes(const std::string& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(arquivo), {});
}

using tarvo::teste::ErroDe;

// Reads through the library and checks that the file is exactly as before.
// Nothing appears beside it, but for the -wal (left empty) and -shm files
// that SQLite keeps for a WAL database.
void LerSemAlterar(const std::string& caminho, bool wal = false) {
    namespace fs = std::filesystem;
    const std::string antes = Bytes(caminho);
    const auto modificado = fs::last_write_time(caminho);
    const auto arquivos = [&] {
        std::set<std::string> nomes;
        for (const auto& entrada : fs::directory_iterator(fs::path(caminho).parent_path()))
            nomes.insert(entrada.path().string());
        if (wal) {
            nomes.erase(caminho + "-shm");
            if (fs::exists(caminho + "-wal") && fs::file_size(caminho + "-wal") == 0)
                nomes.erase(caminho + "-wal");
        }
        return nomes;
    };
    const auto quantos = arquivos();
    {
        Conexao db(caminho);
        auto rs = db.OpenRecordset("select [Código] & '. ' & Estado as Rotulo, sum(Código) "
                                   "from tblEstados group by Código, Estado order by Estado");
        EXPECT_EQ(rs->Fields("Rotulo"), Valor("41. Paraná"));
        EXPECT_EQ(ErroDe([&] {
                      db.OpenRecordset("select * from tblEstados; delete from tblEstados");
                  }).Numero(),
                  Erro::SqlNaoSuportado);
        EXPECT_EQ(arquivos(), quantos);
    }
    EXPECT_EQ(Bytes(caminho), antes);
    EXPECT_EQ(fs::last_write_time(caminho), modificado);
    EXPECT_EQ(arquivos(), quantos);
}

} // namespace

TEST(Conexao, ArquivoFicaIntacto) {
    tarvo::teste::BancoTeste banco;
    banco.Executar("INSERT INTO tblEstados VALUES (35, 'São Paulo'), (41, 'Paraná')");
    LerSemAlterar(banco.Caminho());

    // A WAL database, in a folder and under a name that need escaping in a URI.
    char modelo[] = "/tmp/tarvo-wal-XXXXXX";
    ASSERT_NE(mkdtemp(modelo), nullptr);
    const std::string caminho = std::string(modelo) + "/a?b%c#.db";
    sqlite3* escritor = nullptr;
    ASSERT_EQ(sqlite3_open(caminho.c_str(), &escritor), SQLITE_OK);
    const std::string esquema = Bytes(TARVO_ESQUEMA_SQL);
    ASSERT_EQ(sqlite3_exec(escritor,
                           ("PRAGMA journal_mode=WAL;" + esquema +
                            "INSERT INTO tblEstados VALUES (35, 'São Paulo'), (41, 'Paraná')")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(escritor);
    LerSemAlterar(caminho, true);
    std::filesystem::remove_all(modelo);
}

TEST(Conexao, ConexaoEmprestadaContinuaDoAnfitriao) {
    tarvo::teste::BancoTeste banco;
    banco.Executar("INSERT INTO tblEstados VALUES (12, 'Acre'), (11, 'Rondônia')");
    sqlite3* anfitriao = nullptr;
    ASSERT_EQ(sqlite3_open(banco.Caminho().c_str(), &anfitriao), SQLITE_OK);
    // The host is in the middle of its own query while the library is used
    // twice on its connection.
    sqlite3_stmt* doAnfitriao = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(anfitriao, "SELECT * FROM tblEstados", -1, &doAnfitriao, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(doAnfitriao), SQLITE_ROW);
    for (int vez = 0; vez < 2; ++vez) {
        const Conexao db(anfitriao);
        auto rs = db.OpenRecordset("select Estado & '' from tblEstados order by Estado desc");
        EXPECT_EQ(rs->Fields(0), Valor("Rondônia"));
    }
    sqlite3_finalize(doAnfitriao);
    // Still open and writable for the host, with no statement left behind.
    EXPECT_EQ(sqlite3_exec(anfitriao, "INSERT INTO tblEstados VALUES (13, 'Amazonas')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_close(anfitriao), SQLITE_OK);
}

TEST(Conexao, ErrosChegamAoChamador) {
    tarvo::teste::BancoTeste banco;
    const Conexao db(banco.Caminho());

    const Erro tabela = ErroDe([&] { db.OpenRecordset("select * from tblX"); });
    EXPECT_EQ(tabela.Numero(), SQLITE_ERROR);
    EXPECT_EQ(tabela.Descricao(), "no such table: tblX");
    EXPECT_EQ(tabela.Origem(), "SQLite");
    EXPECT_EQ(ErroDe([&] { db.OpenRecordset("select Nada from tblEstados"); }).Descricao(),
              "no such column: Nada");
    // An unescaped quote breaks the text, as the unmended reports would.
    EXPECT_EQ(ErroDe([&] {
                  db.OpenRecordset("select * from tblContribuinte where IE = 'x'y'");
              }).Numero(),
              Erro::SqlNaoSuportado);
    EXPECT_EQ(ErroDe([&] { db.OpenRecordset("select * from tblEstados", 4); }).Numero(),
              Erro::ArgumentoInvalido);

    // What the translator does not know is refused, naming the token (a
    // function under a bracketed name too); so is a null character, where
    // SQLite would stop reading.
    using namespace std::string_literals;
    for (const std::string& sql : std::vector<std::string>{
             "select * from tblEstados where Estado like 'A*'",
             "select Mid(Estado, 2) from tblEstados", "select [upper](Estado) from tblEstados",
             "select * from [pragma_table_info]('tblEstados')",
             "select * from tblEstados where Código = #1/1/2000#",
             "update tblEstados set Estado = 'x'", "select Estado & from tblEstados",
             "select (Estado from t", "select * from tblEstados where Estado = 'a\0' or 1 = 1"s}) {
        const Erro erro = ErroDe([&] { db.OpenRecordset(sql); });
        EXPECT_EQ(erro.Numero(), Erro::SqlNaoSuportado) << sql << ": " << erro.Descricao();
    }
    // A point after a number stays a token of its own, for SQLite to refuse.
    EXPECT_EQ(ErroDe([&] {
                  db.OpenRecordset("select * from tblEstados where Código = 1 . and Estado = ''");
              }).Descricao(),
              "near \".\": syntax error");
    // A comment marker is two minus signs, never a comment that hides the rest.
    EXPECT_EQ(ErroDe([&] {
                  db.OpenRecordset("select * from tblEstados where Código = 1 -- x");
              }).Descricao(),
              "no such column: x");
    EXPECT_NE(ErroDe([&] { db.OpenRecordset("select Mid(Estado, 2) from tblEstados"); })
                  .Descricao()
                  .find("Mid"),
              std::string::npos);
}

// Only a regular file that holds a database is opened; anything else fails
// at once, naming the path in one line.
TEST(Conexao, ArquivosQueNaoSaoBancos) {
    namespace fs = std::filesystem;
    tarvo::teste::BancoTeste banco;
    const fs::path pasta = fs::path(banco.Caminho()).parent_path();
    const std::string fifo = (pasta / "fifo.db").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& caminho :
         {std::string("/tmp/nao-existe-tarvo/banco.db"), fifo, pasta.string()}) {
        const Erro erro = ErroDe([&] { Conexao{caminho}; }); // a FIFO must not block
        EXPECT_EQ(erro.Numero(), SQLITE_CANTOPEN) << caminho;
        EXPECT_EQ(erro.Descricao().rfind(caminho + ": unable to open database file (", 0), 0u)
            << erro.Descricao();
    }
    EXPECT_FALSE(fs::exists("/tmp/nao-existe-tarvo"));

    // A damaged schema: SQLite quotes it, over several lines and raw bytes.
    banco.Executar("PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = 'CREATE TABLE "
                   "tblContribuinte (IE TEXT,\n  \x01 ' || char(9) || '" +
                   std::string(2000, '#') +
                   "' WHERE name = 'tblContribuinte'; PRAGMA writable_schema = OFF;");
    const Erro esquema = ErroDe([&] { Conexao{banco.Caminho()}; });
    EXPECT_EQ(esquema.Numero(), SQLITE_CORRUPT);
    EXPECT_EQ(esquema.Descricao().rfind(
                  banco.Caminho() + ": malformed database schema (tblContribuinte)", 0),
              0u)
        << esquema.Descricao();
    EXPECT_LE(esquema.Descricao().size(), 603u);
    for (const char c : esquema.Descricao())
        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << esquema.Descricao();
}

// SQLite opens an empty file, or any database, as well as a declaration: the
// ten tables are required at once, the first missing one named, and nothing
// is written or left beside the file on the way. A borrowed connection is
// the host's to vouch for.
TEST(Conexao, ArquivoSemAsTabelasDaDeclaracao) {
    namespace fs = std::filesystem;
    tarvo::teste::BancoTeste banco;
    const fs::path pasta = fs::path(banco.Caminho()).parent_path();
    const std::string vazio = (pasta / "vazio.db").string();
    std::ofstream(vazio).close();
    const auto listagem = [&] {
        std::set<std::string> nomes;
        for (const auto& entrada : fs::directory_iterator(pasta))
            nomes.insert(entrada.path().string());
        return nomes;
    };
    const auto falta = [&](const std::string& caminho) {
        const auto antes = listagem();
        const std::string bytes = Bytes(caminho);
        const Erro erro = ErroDe([&] { Conexao{caminho}; });
        EXPECT_EQ(erro.Origem(), TARVO_ORIGEM_BIBLIOTECA);
        EXPECT_EQ(Bytes(caminho), bytes);
        EXPECT_EQ(listagem(), antes);
        return std::to_string(erro.Numero()) + " " + erro.Descricao();
    };
    EXPECT_EQ(falta(vazio),
              "3078 " + vazio + ": não é um banco de declarações: falta a tabela tblContribuinte");

    // The first missing in the order of the schema; a view stands for a
    // table, and names are found whatever their ASCII case.
    banco.Executar("DROP TABLE tblMunicípios; DROP TABLE tblDIPAM;"
                   "CREATE VIEW tblDIPAM AS SELECT 1 AS Valor;"
                   "DROP TABLE tblEstados; CREATE TABLE TBLESTADOS (Código, Estado);");
    EXPECT_EQ(falta(banco.Caminho()),
              "3078 " + banco.Caminho() +
                  ": não é um banco de declarações: falta a tabela tblMunicípios");
    banco.Executar("CREATE TABLE tblMunicípios (CódMunicípio, Município)");
    EXPECT_NO_THROW(Conexao{banco.Caminho()});

    sqlite3* anfitriao = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &anfitriao), SQLITE_OK);
    EXPECT_NO_THROW(Conexao{anfitriao});
    sqlite3_close(anfitriao);
}

TEST(Conexao, TextosEnormesOuAninhadosDemaisSaoRecusados) {
    tarvo::teste::BancoTeste banco;
    const Conexao db(banco.Caminho());
    const auto aninhado = [](size_t niveis) {
        return "select " + std::string(niveis, '(') + "Código" + std::string(niveis, ')') +
               " from tblEstados";
    };
    EXPECT_NO_THROW(tarvo::TradutorJet::Traduzir(aninhado(tarvo::TradutorJet::ProfundidadeMaxima)));
    for (const size_t niveis : {tarvo::TradutorJet::ProfundidadeMaxima + 1, size_t{20000}}) {
        const Erro erro = ErroDe([&] { db.OpenRecordset(aninhado(niveis)); });
        EXPECT_EQ(erro.Numero(), Erro::SqlNaoSuportado) << niveis;
        EXPECT_EQ(erro.Descricao(),
                  "Parênteses aninhados demais na instrução SQL (mais de 200 níveis)");
    }

    // A megabyte of conditions, flat or in nested groups: the translator
    // takes every condition; SQLite refuses the expression as too large, with
    // its own error.
    const std::string inicio = "select * from tblEstados where Código = 1";
    std::string plano = inicio;
    std::string grupos = inicio;
    const std::string grupo = " or " + std::string(20, '(') + "Código = 1" + std::string(20, ')');
    size_t condicoes = 1;
    while (plano.size() < (size_t{1} << 20)) {
        plano += " or Código = 1";
        ++condicoes;
    }
    while (grupos.size() < (size_t{1} << 20))
        grupos += grupo;
    const std::string sql = tarvo::TradutorJet::Traduzir(plano).sql;
    size_t iguais = 0;
    for (size_t k = sql.find("`Código` = 1"); k != std::string::npos;
         k = sql.find("`Código` = 1", k + 1))
        ++iguais;
    EXPECT_EQ(iguais, condicoes);
    const Erro erro = ErroDe([&] { db.OpenRecordset(grupos); });
    EXPECT_EQ(erro.Origem(), "SQLite") << erro.Descricao();
}

// A sort too long for memory goes to temporary files in runs, which SQLite
// sorts and merges on other cores: the order is still the Portuguese
// collation's, row for row.
TEST(Conexao, OrdenacaoLongaNaOrdemPortuguesa) {
    tarvo::teste::BancoTeste banco;
    // 150,000 names in spellings that sort otherwise by bytes (accents,
    // case), each with a number: megabytes to sort.
    banco.Executar("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
                   "149999) INSERT INTO tblMunicípios (CódMunicípio, Município) SELECT i, "
                   "(CASE i % 8 WHEN 0 THEN 'São Paulo' WHEN 1 THEN 'Sao Paulo' WHEN 2 THEN "
                   "'sao paulo' WHEN 3 THEN 'Álvares Machado' WHEN 4 THEN 'Alvares Machado' "
                   "WHEN 5 THEN 'Ébano' WHEN 6 THEN 'Ézio' ELSE 'Zé Doca' END) || ' ' || "
                   "((i * 7919) % 1000) FROM n");
    const Conexao db(banco.Caminho());
    auto rs = db.OpenRecordset("select Município from tblMunicípios order by Município");
    const tarvo::ColacaoPortugues colacao;
    std::string anterior;
    size_t linhas = 0;
    size_t foraDeOrdem = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        std::string nome = rs->Fields("Município").texto();
        if (linhas > 0 && colacao.Comparar(anterior, nome) > 0)
            ++foraDeOrdem;
        anterior = std::move(nome);
        ++linhas;
    }
    EXPECT_EQ(linhas, 150000U);
    EXPECT_EQ(foraDeOrdem, 0U);
}
