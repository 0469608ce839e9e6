#include "data/ErroSqlite.h"

#include <RelatoriosTarvo/Erro.h>

#include <sqlite3.h>

namespace tarvo {

void ErroSqlite::Levantar(sqlite3* db) {
    throw Erro(sqlite3_errcode(db), sqlite3_errmsg(db), TARVO_ORIGEM_SQLITE);
}

void ErroSqlite::Verificar(sqlite3* db, int rc) {
    if (rc != SQLITE_OK)
        Levantar(db);
}

} // namespace tarvo
