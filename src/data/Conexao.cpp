#include "data/Conexao.h"

#include <RelatoriosTarvo/Database.h>

#include "common/CaminhoResolvido.h"
#include "data/ColacaoPortugues.h"
#include "data/ErroSqlite.h"
#include "data/FuncoesSqlite.h"
#include "data/Recordset.h"
#include "data/VigilanciaConsultas.h"
#include <RelatoriosTarvo/Erro.h>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <thread>

namespace tarvo {

namespace {

constexpr int kEsperaBloqueioMs = 5000;

[[noreturn]] void ErroDoArquivo(sqlite3* db, const std::string& caminho) {
    // The path first: SQLite's message may be long enough to be shortened.
    throw Erro(sqlite3_errcode(db), caminho + ": " + sqlite3_errmsg(db), TARVO_ORIGEM_SQLITE);
}

void Preparar(sqlite3* db) {
    FuncoesSqlite::Registrar(db);
    ColacaoPortugues::Registrar(db);
}

[[noreturn]] void NaoAbre(const std::string& caminho, const std::string& motivo) {
    throw Erro(SQLITE_CANTOPEN, caminho + ": unable to open database file (" + motivo + ")",
               TARVO_ORIGEM_SQLITE);
}

// Checks that the path is a readable regular file and tells whether it is a
// WAL database whose log is gone. Opened without blocking, so that a FIFO
// cannot hang the probe.
bool WalSemLog(const std::string& caminho) {
    const int descritor = ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descritor < 0)
        NaoAbre(caminho, std::strerror(errno));
    struct stat info {};
    const bool ok = ::fstat(descritor, &info) == 0;
    const int erro = errno;
    std::array<char, 20> cabecalho{};
    const bool lido = ok && S_ISREG(info.st_mode) &&
                      ::pread(descritor, cabecalho.data(), cabecalho.size(), 0) ==
                          static_cast<ssize_t>(cabecalho.size());
    ::close(descritor);
    if (!ok)
        NaoAbre(caminho, std::strerror(erro));
    if (!S_ISREG(info.st_mode))
        NaoAbre(caminho, CaminhoResolvido::Tipo(info.st_mode));
    const bool wal =
        lido &&
        std::string_view(cabecalho.data(), 16) == std::string_view("SQLite format 3\0", 16) &&
        cabecalho[18] == 2 && cabecalho[19] == 2;
    return wal && !std::filesystem::exists(caminho + "-wal");
}

// A read-only connection to a WAL database needs its -shm file, which SQLite
// creates next to it (the database itself never changes). Only where the
// folder cannot take that file, and no writer is active (no -wal file), is
// the database opened as immutable: nobody can be writing to it there.
std::string NomeParaAbrir(const std::string& caminho, int& opcoes) {
    if (!WalSemLog(caminho))
        return caminho;
    const std::filesystem::path pasta = std::filesystem::path(caminho).parent_path();
    if (::access(pasta.empty() ? "." : pasta.c_str(), W_OK) == 0)
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

// The tables the reports read, in the order of the schema.
constexpr std::array<const char*, 10> kTabelas = {
    "tblContribuinte",     "tblDeclaração", "tblReferência", "tblEntradas",   "tblSaídas",
    "tblDetalhesInterUFs", "tblEstados",    "tblDIPAM",      "tblMunicípios", "tblCódigosDIPAM"};

// A file SQLite opens is not yet a declaration: an empty file is an empty
// database. Refused here, naming the file and the first table missing (a
// view of that name does as well), rather than at some report's query. Names
// compare as SQLite resolves them in a query, ignoring ASCII case only.
void ExigirTabelas(sqlite3* db, const std::string& caminho) {
    sqlite3_stmt* preparado = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT 1 FROM sqlite_schema WHERE type IN ('table', 'view') AND "
                           "name = ?1 COLLATE NOCASE",
                           -1, &preparado, nullptr) != SQLITE_OK)
        ErroDoArquivo(db, caminho);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> consulta(preparado,
                                                                              sqlite3_finalize);
    for (const char* tabela : kTabelas) {
        sqlite3_reset(consulta.get());
        sqlite3_bind_text(consulta.get(), 1, tabela, -1, SQLITE_STATIC);
        const int rc = sqlite3_step(consulta.get());
        if (rc == SQLITE_DONE)
            throw Erro(Erro::TabelaNaoEncontrada,
                       caminho + ": não é um banco de declarações: falta a tabela " + tabela);
        if (rc != SQLITE_ROW)
            ErroDoArquivo(db, caminho);
    }
}

} // namespace

void Conexao::FecharConexao::operator()(sqlite3* db) const {
    // Waits for recordsets that outlive the database before really closing.
    sqlite3_close_v2(db);
}

const Conexao& Conexao::De(const Database& banco) {
    return *banco.conexao_;
}

Conexao::Conexao(const std::string& caminho) {
    int opcoes = SQLITE_OPEN_READONLY;
    const std::string nome = NomeParaAbrir(caminho, opcoes);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(nome.c_str(), &db, opcoes, nullptr);
    proprio_.reset(db);
    if (rc != SQLITE_OK) {
        if (db == nullptr)
            throw Erro(rc, caminho + ": " + sqlite3_errstr(rc), TARVO_ORIGEM_SQLITE);
        ErroDoArquivo(db, caminho);
    }
    db_ = db;
    vigilancia_ = std::make_shared<VigilanciaConsultas>(db_);
    sqlite3_busy_timeout(db_, kEsperaBloqueioMs);
    // Reading the schema now makes a file that is no database, or a damaged
    // one, fail here, naming the file, rather than at some report's query.
    if (sqlite3_exec(db_, "SELECT 1 FROM sqlite_schema LIMIT 1", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        ErroDoArquivo(db_, caminho);
    ExigirTabelas(db_, caminho);
    // A long report's sort (a hundred thousand DIPAM rows by municipality)
    // goes to temporary files in runs, which SQLite sorts and merges on other
    // cores when its connection allows it. A borrowed connection keeps the
    // host's setting.
    const unsigned nucleos = std::thread::hardware_concurrency();
    sqlite3_limit(db_, SQLITE_LIMIT_WORKER_THREADS,
                  nucleos > 1 ? static_cast<int>(std::min(nucleos - 1, 4U)) : 0);
    Preparar(db_);
}

Conexao::Conexao(sqlite3* emprestado) : db_(emprestado) {
    if (db_ == nullptr)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    vigilancia_ = std::make_shared<VigilanciaConsultas>(db_);
    Preparar(db_);
}

// A borrowed connection gets its progress handler back.
Conexao::~Conexao() {
    if (vigilancia_)
        vigilancia_->Soltar();
}

std::vector<std::string> Conexao::Arquivos() const {
    std::vector<std::string> arquivos;
    for (int i = 0; const char* esquema = sqlite3_db_name(db_, i); ++i) {
        const char* arquivo = sqlite3_db_filename(db_, esquema);
        if (arquivo == nullptr || *arquivo == '\0')
            continue;
        for (const char* sufixo : {"", "-wal", "-journal", "-shm"})
            arquivos.push_back(std::string(arquivo) + sufixo);
    }
    return arquivos;
}

std::unique_ptr<Recordset> Conexao::OpenRecordset(const std::string& sql,
                                                  const int32_t& tipo) const {
    if (tipo != dbOpenForwardOnly)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    const std::shared_ptr<const TradutorJet::Consulta> traducao = Traducao(sql);
    const TradutorJet::Consulta& consulta = *traducao;

    sqlite3_stmt* preparado = nullptr;
    const char* resto = nullptr;
    const int rc = sqlite3_prepare_v2(db_, consulta.sql.c_str(),
                                      static_cast<int>(consulta.sql.size()), &preparado, &resto);
    std::unique_ptr<sqlite3_stmt, Recordset::FinalizarComando> comando(preparado);
    if (rc != SQLITE_OK)
        ErroSqlite::Levantar(db_);
    // The translator never emits a second statement or anything that writes;
    // checked again here because the database must stay untouched.
    const std::string_view sobra(resto, consulta.sql.c_str() + consulta.sql.size() - resto);
    if (comando == nullptr || sobra.find_first_not_of(" \t\r\n") != std::string_view::npos ||
        !sqlite3_stmt_readonly(comando.get()))
        throw Erro(Erro::SqlNaoSuportado, "Instrução SQL não suportada: " + sql);
    return std::unique_ptr<Recordset>(
        new Recordset(std::move(comando), consulta.colunasMoeda, consulta.tabelas, vigilancia_));
}

std::shared_ptr<const TradutorJet::Consulta> Conexao::Traducao(const std::string& sql) const {
    // Texts with values written into them differ call to call: the store is
    // emptied now and then so that it stays small.
    constexpr size_t maximo = 256;
    {
        const std::lock_guard<std::mutex> trava(travaTraducoes_);
        if (const auto achada = traducoes_.find(sql); achada != traducoes_.end())
            return achada->second;
    }
    auto traducao = std::make_shared<const TradutorJet::Consulta>(TradutorJet::Traduzir(sql));
    const std::lock_guard<std::mutex> trava(travaTraducoes_);
    if (traducoes_.size() >= maximo)
        traducoes_.clear();
    traducoes_.emplace(sql, traducao);
    return traducao;
}

std::string Conexao::DobrarAspas(const std::string& texto) {
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
