#pragma once

#include <RelatoriosTarvo/Exportacao.h>

#include <memory>
#include <string>

struct sqlite3;

namespace tarvo {

class Conexao;

// A declaration database, as the reports read it: either a file opened here
// strictly read-only, or the host's own open SQLite connection, borrowed and
// never closed here. Nothing is ever written to it.
class TARVO_API Database {
public:
    // Opens the file read-only; it must be a regular file holding an SQLite
    // database. Raises Erro (SQLite's code and message, naming the file) when
    // it cannot be opened.
    explicit Database(const std::string& caminho);
    // Borrows the host's connection for the lifetime of this object; the
    // library's SQL functions and collation are registered on it.
    explicit Database(sqlite3* emprestado);
    ~Database();

    // Every query that runs longer than this many seconds from its start
    // stops with Erro::Interrompido; 0 (the default) sets no limit. A limit
    // takes the connection's SQLite progress handler while this object lives
    // (on a borrowed connection it is left empty afterwards).
    void DefinirTempoLimite(double segundos);

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

private:
    friend class Conexao;
    std::unique_ptr<Conexao> conexao_;
};

} // namespace tarvo
