#include <RelatoriosTarvo/Erro.h>

#include "common/TextoUtf8.h"

#include <cstring>
#include <utility>

namespace tarvo {

namespace {
// Long enough for any message of the library with a quoted SQL text or path;
// a damaged schema quoted by SQLite, or a path of thousands of bytes, loses
// its middle here, so that the reason at the end stays.
constexpr size_t kTamanhoMaximo = 600;
} // namespace

// Descriptions end up on one line of a log or a terminal, whatever SQLite or
// the system quoted into them.
Erro::Erro(long numero, std::string descricao, std::string origem)
    : numero_(numero),
      descricao_(TextoUtf8::UmaLinha(descricao, kTamanhoMaximo, TextoUtf8::Corte::NoMeio)),
      origem_(std::move(origem)) {}

long Erro::Numero() const noexcept {
    return numero_;
}

const std::string& Erro::Descricao() const noexcept {
    return descricao_;
}

const std::string& Erro::Origem() const noexcept {
    return origem_;
}

const char* Erro::what() const noexcept {
    return descricao_.c_str();
}

bool Erro::DoSqlite() const noexcept {
    return origem_ == TARVO_ORIGEM_SQLITE;
}

} // namespace tarvo
