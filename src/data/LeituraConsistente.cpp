#include "data/LeituraConsistente.h"

#include "data/Conexao.h"
#include "data/ErroSqlite.h"

#include <sqlite3.h>

namespace tarvo {

namespace {

void Executar(sqlite3* db, const char* sql) {
    ErroSqlite::Verificar(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

} // namespace

LeituraConsistente::LeituraConsistente(const Database& banco) : db_(Conexao::De(banco).Handle()) {
    // The snapshot is taken by the first query and held until the end.
    if (sqlite3_get_autocommit(db_) != 0) {
        Executar(db_, "BEGIN DEFERRED");
        iniciada_ = true;
    }
}

LeituraConsistente::~LeituraConsistente() {
    // Nothing was written, so COMMIT and ROLLBACK end it alike; COMMIT leaves
    // any statement the host keeps running untouched.
    if (iniciada_ && sqlite3_get_autocommit(db_) == 0 &&
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void LeituraConsistente::Terminar() {
    if (!iniciada_)
        return;
    iniciada_ = false;
    if (sqlite3_get_autocommit(db_) == 0)
        Executar(db_, "COMMIT");
}

} // namespace tarvo
