#include "data/ColacaoPortugues.h"

#include "data/ErroSqlite.h"

#include <RelatoriosTarvo/Erro.h>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <memory>
#include <string>

namespace tarvo {

namespace {

int CompararSqlite(void* contexto, int tamanhoA, const void* a, int tamanhoB, const void* b) {
    const auto* colacao = static_cast<const ColacaoPortugues*>(contexto);
    return colacao->Comparar(std::string_view(static_cast<const char*>(a), tamanhoA),
                             std::string_view(static_cast<const char*>(b), tamanhoB));
}

void Destruir(void* contexto) {
    delete static_cast<ColacaoPortugues*>(contexto);
}

} // namespace

ColacaoPortugues::ColacaoPortugues() {
    UErrorCode status = U_ZERO_ERROR;
    colador_ = ucol_open("pt_BR", &status);
    if (U_FAILURE(status))
        throw Erro(status, std::string("Colação portuguesa indisponível: ") + u_errorName(status),
                   "ICU");
    ucol_setStrength(colador_, UCOL_TERTIARY);
}

ColacaoPortugues::~ColacaoPortugues() {
    ucol_close(colador_);
}

int ColacaoPortugues::Comparar(std::string_view a, std::string_view b) const {
    // A sort by municipality compares many equal names: the same bytes are
    // the same text at any strength.
    if (a == b)
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult resultado =
        ucol_strcollUTF8(colador_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) {
        // Malformed UTF-8 cannot be collated; byte order keeps the sort total.
        return a.compare(b);
    }
    return static_cast<int>(resultado);
}

void ColacaoPortugues::Registrar(sqlite3* db) {
    // Replacing a collation fails while the connection runs a statement; the
    // one already registered serves.
    sqlite3_stmt* sonda = nullptr;
    const std::string sql = std::string("SELECT 'a' < 'b' COLLATE ") + Nome;
    const int existe = sqlite3_prepare_v2(db, sql.c_str(), -1, &sonda, nullptr);
    sqlite3_finalize(sonda);
    if (existe == SQLITE_OK)
        return;
    auto colacao = std::make_unique<ColacaoPortugues>();
    // Unlike its other interfaces, SQLite does not call the destructor when
    // this registration fails: the instance stays ours until it succeeds.
    const int rc =
        sqlite3_create_collation_v2(db, Nome, SQLITE_UTF8, colacao.get(), CompararSqlite, Destruir);
    ErroSqlite::Verificar(db, rc);
    colacao.release();
}

} // namespace tarvo
