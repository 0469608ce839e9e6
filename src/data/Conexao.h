#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/TradutorJet.h"

struct sqlite3;

namespace tarvo {

class Database;
class Recordset;
class VigilanciaConsultas;

// The connection behind a Database: either opened here from a file, strictly
// read-only, or borrowed from the host as an open sqlite3 handle that is
// never closed here. Either way the library's SQL functions and the
// Portuguese collation are registered on the connection; nothing is written.
class Conexao {
public:
    // The connection of a public Database.
    static const Conexao& De(const Database& banco);

    // Opens the file read-only (it must exist; nothing is created next to it)
    // and waits up to five seconds for a writer's lock. SQLite's failure
    // raises its Erro.
    explicit Conexao(const std::string& caminho);
    explicit Conexao(sqlite3* emprestado);
    ~Conexao();

    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    // Opens a forward-only recordset (type 8, the only one supported; any
    // other raises Erro 3001) from Jet-dialect SQL text, translated for SQLite.
    // SQLite's errors pass on with its own code and message.
    std::unique_ptr<Recordset> OpenRecordset(const std::string& sql, const int32_t& tipo = 8) const;

    sqlite3* Handle() const { return db_; }

    // What watches this connection's queries (time limit, progress).
    VigilanciaConsultas& Vigilancia() const { return *vigilancia_; }

    // The files of the database and its companions (-wal, -journal, -shm),
    // for every attached database that has a file: nothing the library
    // writes may land on them.
    std::vector<std::string> Arquivos() const;

    // The text with every single quote doubled, to be put between single
    // quotes in SQL text as one literal.
    static std::string DobrarAspas(const std::string& texto);

    static constexpr int32_t dbOpenForwardOnly = 8;

private:
    struct FecharConexao {
        void operator()(sqlite3* db) const;
    };

    // The translation of `sql`, made once: a report sends the same text for
    // every page.
    std::shared_ptr<const TradutorJet::Consulta> Traducao(const std::string& sql) const;

    std::unique_ptr<sqlite3, FecharConexao> proprio_;
    sqlite3* db_ = nullptr;
    std::shared_ptr<VigilanciaConsultas> vigilancia_;
    mutable std::mutex travaTraducoes_;
    mutable std::unordered_map<std::string, std::shared_ptr<const TradutorJet::Consulta>>
        traducoes_;
};

} // namespace tarvo
