#include "data/Database.h"

#include "common/Erro.h"
#include "data/ColacaoPortugues.h"
#include "data/FuncoesSqlite.h"
#include "data/Recordset.h"
#include "data/TradutorJet.h"

#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
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

// A WAL database whose log is gone was closed cleanly by its last writer.
// Opened read-only, SQLite would still create the log and shared-memory
// files next to it (and could not remove them); as immutable it creates
// nothing. Otherwise the file is opened as it is.
std::string NomeParaAbrir(const std::string& caminho, int& opcoes) {
    std::ifstream arquivo(caminho, std::ios::binary);
    std::array<char, 20> cabecalho{};
    if (!arquivo.read(cabecalho.data(), cabecalho.size()))
        return caminho;
    const bool wal =
        std::string_view(cabecalho.data(), 16) == std::string_view("SQLite format 3\0", 16) &&
        cabecalho[18] == 2 && cabecalho[19] == 2;
    if (!wal || std::filesystem::exists(caminho + "-wal"))
        return caminho;
    std::string uri = "file:";
    for (const char c : caminho) {
        if (c == '%' || c == '?' || c == '#') {
            constexpr char kHex[] = "0123456789ABCDEF";
            uri += '%';
            uri += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            uri += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
            uri += c;
        }
    }
    opcoes |= SQLITE_OPEN_URI;
    return uri + "?immutable=1";
}

} // namespace

void Database::FecharConexao::operator()(sqlite3* db) const {
    // Waits for recordsets that outlive the database before really closing.
    sqlite3_close_v2(db);
}

Database::Database(const std::string& caminho) {
    int opcoes = SQLITE_OPEN_READONLY;
    const std::string nome = NomeParaAbrir(caminho, opcoes);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(nome.c_str(), &db, opcoes, nullptr);
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
