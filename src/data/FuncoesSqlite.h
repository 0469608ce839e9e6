#pragma once

#include <RelatoriosTarvo/Erro.h>

#include <optional>

struct sqlite3;

namespace tarvo {

// The SQL functions that translated Jet text calls: the & operator, Left and
// the exact money sum, tarvo_soma(valor, campo, tabelas), whose last two
// arguments name the field in its errors. They are stateless, so registering them on a borrowed
// connection leaves nothing behind that depends on this library's objects.
class FuncoesSqlite {
public:
    static constexpr const char* Concatenar = "tarvo_concat";
    static constexpr const char* Esquerda = "tarvo_esquerda";
    static constexpr const char* Soma = "tarvo_soma";

    // SQLite's failure raises its Erro.
    static void Registrar(sqlite3* db);

    // SQLite only carries a message out of a function; the functions encode
    // the library's Erro in it, and this gives it back (nothing for any
    // other message).
    static std::optional<Erro> ErroDaMensagem(const char* mensagem);
};

} // namespace tarvo
