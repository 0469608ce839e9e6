#include "data/Database.h"

#include "common/Erro.h"
#include "data/ColacaoPortugues.h"
#include "data/FuncoesSqlite.h"
#include "data/Recordset.h"
#include "data/TradutorJet.h"

#include <sqlite3.h>

#include <string_view>

namespace tarvo {

namespace {

constexpr int kEsperaBloqueioMs = 5000;

[[noreturn]] void ErroSqlite(sqlite3* db) {
    throw Erro(sqlite3_errcode(db), sqlite3_errmsg(db), "SQLite");
}

void Preparar(sqlite3* db) {
    FuncoesSqlite::Registrar(db);
    ColacaoPortugues::Registrar(db);
}

} // namespace

void Database::FecharConexao::operator()(sqlite3* db) const {
    // Waits for recordsets that outlive the database before really closing.
    sqlite3_close_v2(db);
}

Database::Database(const std::string& caminho) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(caminho.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    proprio_.reset(db);
    if (rc != SQLITE_OK) {
        if (db == nullptr)
            throw Erro(rc, sqlite3_errstr(rc), "SQLite");
        ErroSqlite(db);
    }
    db_ = db;
    sqlite3_busy_timeout(db_, kEsperaBloqueioMs);
    Preparar(db_);
}

Database::Database(sqlite3* emprestado) : db_(emprestado) {
    if (db_ == nullptr)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    Preparar(db_);
}

Database::~Database() = default;

std::unique_ptr<Recordset> Database::OpenRecordset(const std::string& sql,
                                                   const int32_t& tipo) const {
    if (tipo != dbOpenForwardOnly)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    const TradutorJet::Consulta consulta = TradutorJet::Traduzir(sql);

    sqlite3_stmt* preparado = nullptr;
    const char* resto = nullptr;
    const int rc = sqlite3_prepare_v2(db_, consulta.sql.c_str(),
                                      static_cast<int>(consulta.sql.size()), &preparado, &resto);
    std::unique_ptr<sqlite3_stmt, Recordset::FinalizarComando> comando(preparado);
    if (rc != SQLITE_OK)
        ErroSqlite(db_);
    // The translator never emits a second statement or anything that writes;
    // checked again here because the database must stay untouched.
    const std::string_view sobra(resto, consulta.sql.c_str() + consulta.sql.size() - resto);
    if (comando == nullptr || sobra.find_first_not_of(" \t\r\n") != std::string_view::npos ||
        !sqlite3_stmt_readonly(comando.get()))
        throw Erro(Erro::SqlNaoSuportado, "Instrução SQL não suportada: " + sql);
    return std::unique_ptr<Recordset>(new Recordset(std::move(comando), consulta.colunasMoeda));
}

std::string Database::DobrarAspas(const std::string& texto) {
    std::string saida;
    saida.reserve(texto.size());
    for (const char c : texto) {
        saida += c;
        if (c == '\'')
            saida += '\'';
    }
    return saida;
}

} // namespace tarvo
