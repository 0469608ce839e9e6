// fuzz_tradutor: arbitrary text through the Jet translator and into SQLite,
// on an in-memory declaration database (the real schema and the demo
// declaration) with the library's functions and collation registered.
//
// Outcomes accepted: the translator raises Erro 31001; SQLite refuses the
// translated text at preparation (a grammar or name error); or the statement
// runs, raising at most an Erro of the library's functions or SQLite's.
// Aborts on anything else:
// - the translator raises any other error number;
// - a prepared statement that is not exactly one read-only statement, or
//   that has host parameters;
// - SQLite authorising anything but reading tables and calling the library's
//   three functions: every other function (SQLite's own, table-valued ones),
//   pragma, attach or write would be a meaning the translator let through
//   (see Autorizar);
// - a tokenizer error ("unrecognized token"): the translator writes every
//   token itself, quoted, so SQLite must always recognise them;
// - any change to the database, by the change count or its bytes.
// A SQLite *syntax* error is not a finding: the translator checks words and
// symbols, not the grammar, and "select 1 + from t" reaches SQLite as
// "SELECT 1 + FROM `t`", which SQLite refuses with its own message. The
// grammar is SQLite's to check; what the translator guarantees is that
// whatever SQLite accepts is built from known tokens only.
//
// The reports' own texts (corpus files named relatorio-*) must translate,
// prepare and run; they are checked once at start.
#include <RelatoriosTarvo/Erro.h>

#include "data/Conexao.h"
#include "data/FuncoesSqlite.h"
#include "data/Recordset.h"
#include "data/TradutorJet.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Falha(const std::string& descricao, std::string_view entrada) {
    std::fprintf(stderr, "fuzz_tradutor: %s\nentrada: %.*s\n", descricao.c_str(),
                 static_cast<int>(entrada.size()), entrada.data());
    std::abort();
}

std::string Ler(const std::string& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    std::stringstream texto;
    texto << arquivo.rdbuf();
    if (!arquivo)
        Falha("não foi possível ler " + caminho, "");
    return texto.str();
}

// Only reading tables and calling the library's functions is allowed. A
// table name may also be one of the virtual tables SQLite provides read-only
// (json_each, pragma_table_info); setting one up, SQLite asks to update the
// schema table's columns although it writes nothing, which the comparison of
// the database's bytes confirms after every input.
int Autorizar(void*, int acao, const char* a, const char* b, const char*, const char*) {
    const std::string_view tabela = a != nullptr ? a : "";
    const std::string_view funcao = acao == SQLITE_FUNCTION && b != nullptr ? b : "";
    if (acao == SQLITE_SELECT || acao == SQLITE_READ ||
        (acao == SQLITE_UPDATE && tabela == "sqlite_master") ||
        funcao == tarvo::FuncoesSqlite::Concatenar || funcao == tarvo::FuncoesSqlite::Esquerda ||
        funcao == tarvo::FuncoesSqlite::Soma)
        return SQLITE_OK;
    std::fprintf(stderr, "fuzz_tradutor: ação %d autorizada (%s, %s)\n", acao, a ? a : "",
                 b ? b : "");
    std::abort();
}

// A long-running statement (a cross join sorted) is cut short.
int Interromper(void* contador) {
    return ++*static_cast<int*>(contador) > 2000;
}

// The in-memory database, built once per process: the engine's memory
// file system lets its bytes be compared after every input at no cost.
class Ambiente {
public:
    Ambiente() {
        if (sqlite3_open_v2("file:fuzz_tradutor?vfs=memdb", &db_,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                            nullptr) != SQLITE_OK)
            Falha("banco em memória não abriu", "");
        const std::string sql = Ler(TARVO_ESQUEMA_SQL) + Ler(TARVO_DEMO_SQL);
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Falha(std::string("esquema ou demonstração falhou: ") + sqlite3_errmsg(db_), "");
        imagem_ = Imagem();
        banco_ = std::make_unique<tarvo::Conexao>(db_);
        sqlite3_set_authorizer(db_, Autorizar, nullptr);
        sqlite3_progress_handler(db_, 500, Interromper, &passos_);
    }
    ~Ambiente() {
        banco_.reset();
        sqlite3_close(db_);
    }
    Ambiente(const Ambiente&) = delete;
    Ambiente& operator=(const Ambiente&) = delete;

    const tarvo::Conexao& Banco() const { return *banco_; }

    // Runs one input; true when it was translated and prepared.
    bool Executar(std::string_view entrada) {
        tarvo::TradutorJet::Consulta consulta;
        try {
            consulta = tarvo::TradutorJet::Traduzir(entrada);
        } catch (const tarvo::Erro& erro) {
            if (erro.Numero() != tarvo::Erro::SqlNaoSuportado || erro.Descricao().empty())
                Falha("erro inesperado do tradutor: " + std::to_string(erro.Numero()) + " " +
                          erro.Descricao(),
                      entrada);
            return false;
        }
        const int alteracoes = sqlite3_total_changes(db_);
        const bool preparado = Preparar(consulta.sql, entrada);
        // The same text through the library's own path, reading every field.
        passos_ = 0;
        try {
            auto rs = banco_->OpenRecordset(std::string(entrada));
            for (int linha = 0; linha < 100 && !rs->Eof(); ++linha, rs->MoveNext()) {
                for (int i = 0; i < rs->FieldCount(); ++i)
                    rs->Fields(i);
            }
        } catch (const tarvo::Erro&) {
        }
        if (sqlite3_total_changes(db_) != alteracoes || Imagem() != imagem_)
            Falha("o banco foi alterado", entrada);
        return preparado;
    }

private:
    bool Preparar(const std::string& sql, std::string_view entrada) {
        sqlite3_stmt* stmt = nullptr;
        const char* resto = nullptr;
        passos_ = 0;
        const int rc =
            sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &resto);
        if (rc != SQLITE_OK) {
            const std::string mensagem = sqlite3_errmsg(db_);
            sqlite3_finalize(stmt);
            // The message starts so; a name in another message may hold the words.
            if (mensagem.rfind("unrecognized token:", 0) == 0)
                Falha("SQLite não reconheceu um símbolo da tradução: " + mensagem + "\n" + sql,
                      entrada);
            return false;
        }
        const std::string_view sobra(resto, sql.c_str() + sql.size() - resto);
        if (stmt == nullptr || sobra.find_first_not_of(" \t\r\n") != std::string_view::npos ||
            !sqlite3_stmt_readonly(stmt) || sqlite3_bind_parameter_count(stmt) != 0) {
            sqlite3_finalize(stmt);
            Falha("tradução não é uma única consulta só de leitura: " + sql, entrada);
        }
        passos_ = 0;
        for (int linha = 0; linha < 100 && sqlite3_step(stmt) == SQLITE_ROW; ++linha) {
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                sqlite3_column_text(stmt, i);
        }
        sqlite3_finalize(stmt);
        return true;
    }

    std::string Imagem() const {
        sqlite3_int64 tamanho = 0;
        const unsigned char* bytes =
            sqlite3_serialize(db_, "main", &tamanho, SQLITE_SERIALIZE_NOCOPY);
        if (bytes == nullptr)
            Falha("o banco em memória não se deixa ler", "");
        return std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(tamanho));
    }

    sqlite3* db_ = nullptr;
    std::unique_ptr<tarvo::Conexao> banco_;
    std::string imagem_;
    int passos_ = 0;
};

Ambiente& AmbienteDoProcesso() {
    static Ambiente ambiente;
    return ambiente;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Ambiente& ambiente = AmbienteDoProcesso();
    int relatorios = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(TARVO_SEMENTES)) {
        const std::string nome = entrada.path().filename().string();
        if (nome.rfind("relatorio-", 0) != 0)
            continue;
        ++relatorios;
        const std::string sql = Ler(entrada.path().string());
        if (!ambiente.Executar(sql))
            Falha("texto de relatório recusado (" + nome + ")", sql);
        try {
            ambiente.Banco().OpenRecordset(sql);
        } catch (const tarvo::Erro& erro) {
            Falha("texto de relatório falhou (" + nome + "): " + erro.Descricao(), sql);
        }
    }
    if (relatorios == 0)
        Falha(std::string("nenhum texto de relatório em ") + TARVO_SEMENTES, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    AmbienteDoProcesso().Executar(std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    return 0;
}
