#include "common/Moeda.h"

#include "common/NumeroDecimal.h"
#include <RelatoriosTarvo/Erro.h>

#include <charconv>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

[[noreturn]] void Estouro() {
    throw Erro(Erro::Overflow, "Overflow");
}

constexpr uint64_t kMaximoPositivo = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
constexpr uint64_t kMaximoNegativo = kMaximoPositivo + 1; // |INT64_MIN|

Moeda DeDecimal(const NumeroDecimal& d) {
    uint64_t magnitude = 0;
    const uint64_t limite = d.Negativo() ? kMaximoNegativo : kMaximoPositivo;
    if (!d.ArredondarMeioPar(4, limite, magnitude))
        Estouro();
    if (!d.Negativo())
        return Moeda::DeDezMilesimos(static_cast<int64_t>(magnitude));
    if (magnitude == kMaximoNegativo)
        return Moeda::DeDezMilesimos(std::numeric_limits<int64_t>::min());
    return Moeda::DeDezMilesimos(-static_cast<int64_t>(magnitude));
}

} // namespace

Moeda Moeda::DeInteiro(int64_t valor) {
    int64_t resultado = 0;
    if (__builtin_mul_overflow(valor, int64_t{10000}, &resultado))
        Estouro();
    return Moeda(resultado);
}

Moeda Moeda::DeDouble(double valor) {
    if (!std::isfinite(valor))
        Estouro();
    return DeDecimal(NumeroDecimal::DeDouble(valor));
}

Moeda Moeda::DeTexto(std::string_view texto) {
    NumeroDecimal d;
    if (!NumeroDecimal::Analisar(texto, d))
        throw Erro(Erro::TipoIncompativel, "Type mismatch");
    return DeDecimal(d);
}

double Moeda::ParaDouble() const {
    // Through the exact decimal text, so the result is the double nearest to
    // the amount even beyond 2^53 ten-thousandths.
    const std::string texto = ParaTextoInvariante();
    double resultado = 0.0;
    std::from_chars(texto.data(), texto.data() + texto.size(), resultado);
    return resultado;
}

std::string Moeda::ParaTextoInvariante() const {
    const bool negativo = valor_ < 0;
    const uint64_t magnitude =
        negativo ? 0 - static_cast<uint64_t>(valor_) : static_cast<uint64_t>(valor_);
    std::string texto = std::to_string(magnitude / 10000);
    uint64_t fracao = magnitude % 10000;
    if (fracao != 0) {
        std::string casas(4, '0');
        for (int k = 3; k >= 0; --k) {
            casas[k] = static_cast<char>('0' + fracao % 10);
            fracao /= 10;
        }
        while (!casas.empty() && casas.back() == '0')
            casas.pop_back();
        texto += '.';
        texto += casas;
    }
    if (negativo)
        texto.insert(texto.begin(), '-');
    return texto;
}

Moeda Moeda::operator+(const Moeda& outra) const {
    int64_t resultado = 0;
    if (__builtin_add_overflow(valor_, outra.valor_, &resultado))
        Estouro();
    return Moeda(resultado);
}

Moeda Moeda::operator-(const Moeda& outra) const {
    int64_t resultado = 0;
    if (__builtin_sub_overflow(valor_, outra.valor_, &resultado))
        Estouro();
    return Moeda(resultado);
}

Moeda Moeda::operator-() const {
    if (valor_ == std::numeric_limits<int64_t>::min())
        Estouro();
    return Moeda(-valor_);
}

Moeda& Moeda::operator+=(const Moeda& outra) {
    *this = *this + outra;
    return *this;
}

Moeda& Moeda::operator-=(const Moeda& outra) {
    *this = *this - outra;
    return *this;
}

} // namespace tarvo
