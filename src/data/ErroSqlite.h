#pragma once

struct sqlite3;

namespace tarvo {

// SQLite's failures as the library's Erro: SQLite's result code and message,
// with the origin "SQLite".
class ErroSqlite {
public:
    // Raises the connection's last error.
    [[noreturn]] static void Levantar(sqlite3* db);
    // Raises the connection's last error when rc is not SQLITE_OK.
    static void Verificar(sqlite3* db, int rc);
};

} // namespace tarvo
