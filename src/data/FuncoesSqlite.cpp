#include "data/FuncoesSqlite.h"

#include "data/ErroSqlite.h"

#include "common/Funcoes.h"
#include "common/Moeda.h"
#include "common/TextoUtf8.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace tarvo {

namespace {

constexpr std::string_view kPrefixoErro = "\x1ftarvo:";

void ResultadoErro(sqlite3_context* ctx, const Erro& erro) {
    const std::string mensagem =
        std::string(kPrefixoErro) + std::to_string(erro.Numero()) + ":" + erro.Descricao();
    sqlite3_result_error(ctx, mensagem.c_str(), static_cast<int>(mensagem.size()));
}

// Jet's text of a value: integers as their digits, reals as their shortest
// text, text and blobs as their bytes.
void AcrescentarTexto(std::string& destino, sqlite3_value* valor) {
    switch (sqlite3_value_type(valor)) {
    case SQLITE_INTEGER: {
        char buffer[24];
        const auto fim =
            std::to_chars(buffer, buffer + sizeof buffer, sqlite3_value_int64(valor)).ptr;
        destino.append(buffer, fim);
        break;
    }
    case SQLITE_FLOAT: {
        char buffer[32];
        const auto fim =
            std::to_chars(buffer, buffer + sizeof buffer, sqlite3_value_double(valor)).ptr;
        destino.append(buffer, fim);
        break;
    }
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_value_blob(valor);
        if (bytes != nullptr)
            destino.append(static_cast<const char*>(bytes), sqlite3_value_bytes(valor));
        break;
    }
    default: {
        const unsigned char* texto = sqlite3_value_text(valor);
        if (texto != nullptr)
            destino.append(reinterpret_cast<const char*>(texto), sqlite3_value_bytes(valor));
        break;
    }
    }
}

// a & b & ...: Null counts as empty text; Null only when every operand is Null.
void FuncaoConcatenar(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string resultado;
    bool algum = false;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            continue;
        algum = true;
        AcrescentarTexto(resultado, argv[i]);
    }
    if (!algum) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_text(ctx, resultado.data(), static_cast<int>(resultado.size()),
                        SQLITE_TRANSIENT);
}

// The character count of Left, rounded half to even as Jet converts it.
int64_t Contagem(sqlite3_value* valor) {
    double numero = 0.0;
    switch (sqlite3_value_type(valor)) {
    case SQLITE_NULL:
        throw Erro(Erro::UsoInvalidoDeNulo, "Invalid use of Null");
    case SQLITE_INTEGER:
        numero = static_cast<double>(sqlite3_value_int64(valor));
        break;
    case SQLITE_FLOAT:
        numero = sqlite3_value_double(valor);
        break;
    default: {
        const std::string_view texto(reinterpret_cast<const char*>(sqlite3_value_text(valor)),
                                     sqlite3_value_bytes(valor));
        numero = Moeda::DeTexto(texto).ParaDouble();
        break;
    }
    }
    numero = std::nearbyint(numero);
    if (numero < 0)
        throw Erro(Erro::ChamadaInvalida, "Invalid procedure call or argument");
    if (numero > 2147483647.0)
        throw Erro(Erro::Overflow, "Overflow");
    return static_cast<int64_t>(numero);
}

// Left(texto, n): the first n characters (not bytes); Null stays Null.
void FuncaoEsquerda(sqlite3_context* ctx, int, sqlite3_value** argv) {
    try {
        const int64_t n = Contagem(argv[1]);
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
        std::string texto;
        AcrescentarTexto(texto, argv[0]);
        size_t fim = 0;
        for (int64_t lidos = 0; lidos < n && fim < texto.size(); ++lidos) {
            ++fim;
            while (fim < texto.size() && (static_cast<unsigned char>(texto[fim]) & 0xC0) == 0x80)
                ++fim;
        }
        sqlite3_result_text(ctx, texto.data(), static_cast<int>(fim), SQLITE_TRANSIENT);
    } catch (const Erro& erro) {
        ResultadoErro(ctx, erro);
    }
}

// The running state of a money sum, in memory that SQLite zero-fills.
struct EstadoSoma {
    int64_t dezMilesimos;
    bool algum;
};

Moeda MoedaDeValor(sqlite3_value* valor) {
    switch (sqlite3_value_type(valor)) {
    case SQLITE_INTEGER:
        return Moeda::DeInteiro(sqlite3_value_int64(valor));
    case SQLITE_FLOAT:
        return Moeda::DeDouble(sqlite3_value_double(valor));
    case SQLITE_BLOB:
        return Moeda::DeTexto(std::string_view(static_cast<const char*>(sqlite3_value_blob(valor)),
                                               sqlite3_value_bytes(valor)));
    default:
        return Moeda::DeTexto(std::string_view(
            reinterpret_cast<const char*>(sqlite3_value_text(valor)), sqlite3_value_bytes(valor)));
    }
}

// A value as a field reader's error quotes it: numbers as the reports would
// show them; a blob, whose bytes are rarely text, in SQL's notation.
std::string ValorParaMensagem(sqlite3_value* valor) {
    constexpr size_t kTamanhoValor = 60;
    std::string texto;
    switch (sqlite3_value_type(valor)) {
    case SQLITE_INTEGER:
        texto = Funcoes::CampoTexto(Valor(static_cast<int64_t>(sqlite3_value_int64(valor))));
        break;
    case SQLITE_FLOAT:
        texto = Funcoes::CampoTexto(Valor(sqlite3_value_double(valor)));
        break;
    case SQLITE_BLOB: {
        constexpr char kHex[] = "0123456789ABCDEF";
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_value_blob(valor));
        const size_t tamanho = static_cast<size_t>(sqlite3_value_bytes(valor));
        texto = "X'";
        for (size_t i = 0; i < tamanho && texto.size() <= kTamanhoValor; ++i) {
            texto += kHex[bytes[i] >> 4];
            texto += kHex[bytes[i] & 0xF];
        }
        return TextoUtf8::UmaLinha(texto + "'", kTamanhoValor, TextoUtf8::Corte::NoFim);
    }
    default:
        AcrescentarTexto(texto, valor);
        break;
    }
    // Appended, not "\"" + …: GCC 12 warns wrongly of an overlap there.
    std::string citado = "\"";
    citado += TextoUtf8::UmaLinha(texto, kTamanhoValor, TextoUtf8::Corte::NoFim);
    citado += '"';
    return citado;
}

std::string Texto(sqlite3_value* valor) {
    std::string texto;
    AcrescentarTexto(texto, valor);
    return texto;
}

// tarvo_soma(valor, campo, tabelas): the field and tables name a value that
// is no amount as the field readers do, "Type mismatch: EntradaInterna
// (tblEntradas) = \"2001-03-05\"", and a total out of range by its sum.
void PassoSoma(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    auto* estado = static_cast<EstadoSoma*>(sqlite3_aggregate_context(ctx, sizeof(EstadoSoma)));
    if (estado == nullptr) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const auto onde = [&] {
        const std::string tabelas = Texto(argv[2]);
        return tabelas.empty() ? std::string() : " (" + tabelas + ")";
    };
    Moeda valor;
    try {
        valor = MoedaDeValor(argv[0]);
    } catch (const Erro& erro) {
        ResultadoErro(ctx, Erro(erro.Numero(), erro.Descricao() + ": " + Texto(argv[1]) + onde() +
                                                   " = " + ValorParaMensagem(argv[0])));
        return;
    }
    try {
        estado->dezMilesimos = (Moeda::DeDezMilesimos(estado->dezMilesimos) + valor).DezMilesimos();
        estado->algum = true;
    } catch (const Erro& erro) {
        ResultadoErro(
            ctx, Erro(erro.Numero(), erro.Descricao() + ": Sum(" + Texto(argv[1]) + ")" + onde()));
    }
}

// The exact amount, as a real when that reads back to the same amount (so
// that the sum still sorts and compares as a number in SQL), otherwise as
// decimal text. The recordset reads either back as Moeda.
void FinalSoma(sqlite3_context* ctx) {
    const auto* estado = static_cast<EstadoSoma*>(sqlite3_aggregate_context(ctx, 0));
    if (estado == nullptr || !estado->algum) {
        sqlite3_result_null(ctx);
        return;
    }
    const Moeda total = Moeda::DeDezMilesimos(estado->dezMilesimos);
    constexpr int64_t kLimiteExato = int64_t{1} << 53;
    if (total.DezMilesimos() > -kLimiteExato && total.DezMilesimos() < kLimiteExato) {
        const double real = total.ParaDouble();
        if (Moeda::DeDouble(real) == total) {
            sqlite3_result_double(ctx, real);
            return;
        }
    }
    const std::string texto = total.ParaTextoInvariante();
    sqlite3_result_text(ctx, texto.data(), static_cast<int>(texto.size()), SQLITE_TRANSIENT);
}

// Whether SQL text compiles on the connection (the functions it calls exist).
bool Compila(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    sqlite3_finalize(stmt);
    return rc == SQLITE_OK;
}

} // namespace

void FuncoesSqlite::Registrar(sqlite3* db) {
    // Replacing a function fails while the connection runs a statement (the
    // host's, or an earlier recordset's); one registration serves them all.
    if (Compila(db, std::string("SELECT ") + Concatenar + "(NULL), " + Esquerda + "(NULL, 0), " +
                        Soma + "(0, '', '')"))
        return;
    const int opcoes = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    ErroSqlite::Verificar(db,
                          sqlite3_create_function_v2(db, Concatenar, -1, opcoes, nullptr,
                                                     FuncaoConcatenar, nullptr, nullptr, nullptr));
    ErroSqlite::Verificar(db,
                          sqlite3_create_function_v2(db, Esquerda, 2, opcoes, nullptr,
                                                     FuncaoEsquerda, nullptr, nullptr, nullptr));
    ErroSqlite::Verificar(db, sqlite3_create_function_v2(db, Soma, 3, opcoes, nullptr, nullptr,
                                                         PassoSoma, FinalSoma, nullptr));
}

std::optional<Erro> FuncoesSqlite::ErroDaMensagem(const char* mensagem) {
    if (mensagem == nullptr)
        return std::nullopt;
    const std::string_view texto(mensagem);
    if (texto.substr(0, kPrefixoErro.size()) != kPrefixoErro)
        return std::nullopt;
    const std::string_view resto = texto.substr(kPrefixoErro.size());
    long numero = 0;
    const auto [fim, ec] = std::from_chars(resto.data(), resto.data() + resto.size(), numero);
    if (ec != std::errc() || fim == resto.data() + resto.size() || *fim != ':')
        return std::nullopt;
    return Erro(numero, std::string(fim + 1, resto.data() + resto.size()));
}

} // namespace tarvo
