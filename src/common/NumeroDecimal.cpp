#include "common/NumeroDecimal.h"

#include <charconv>
#include <system_error>

namespace tarvo {

namespace {

bool EhBranco(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool EhDigito(char c) {
    return c >= '0' && c <= '9';
}

// Exponents beyond this only decide between zero and overflow, for any text
// shorter than it: the digits of a text cannot shift the value back.
constexpr int64_t kExpoenteMaximo = 1'000'000'000'000'000;

} // namespace

bool NumeroDecimal::Analisar(std::string_view texto, NumeroDecimal& saida) {
    size_t i = 0;
    size_t fim = texto.size();
    while (i < fim && EhBranco(texto[i]))
        ++i;
    while (fim > i && EhBranco(texto[fim - 1]))
        --fim;

    NumeroDecimal n;
    if (i < fim && (texto[i] == '+' || texto[i] == '-')) {
        n.negativo_ = texto[i] == '-';
        ++i;
    }
    std::string digitos;
    int64_t casasDecimais = 0;
    while (i < fim && EhDigito(texto[i]))
        digitos.push_back(texto[i++]);
    if (i < fim && texto[i] == '.') {
        ++i;
        while (i < fim && EhDigito(texto[i])) {
            digitos.push_back(texto[i++]);
            ++casasDecimais;
        }
    }
    if (digitos.empty())
        return false;

    int64_t expoente = 0;
    if (i < fim && (texto[i] == 'e' || texto[i] == 'E')) {
        ++i;
        bool expoenteNegativo = false;
        if (i < fim && (texto[i] == '+' || texto[i] == '-'))
            expoenteNegativo = texto[i++] == '-';
        if (i >= fim || !EhDigito(texto[i]))
            return false;
        for (; i < fim && EhDigito(texto[i]); ++i) {
            if (expoente < kExpoenteMaximo)
                expoente = expoente * 10 + (texto[i] - '0');
        }
        if (expoenteNegativo)
            expoente = -expoente;
    }
    if (i != fim)
        return false;

    // Leading zeros go; trailing zeros move into the exponent.
    const size_t primeiro = digitos.find_first_not_of('0');
    if (primeiro != std::string::npos) {
        const size_t ultimo = digitos.find_last_not_of('0');
        n.digitos_ = digitos.substr(primeiro, ultimo + 1 - primeiro);
        n.expoente_ = expoente - casasDecimais + static_cast<int64_t>(digitos.size() - 1 - ultimo);
    }
    saida = std::move(n);
    return true;
}

NumeroDecimal NumeroDecimal::DeDouble(double valor) {
    char buffer[64];
    const auto [fim, erro] =
        std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::scientific);
    NumeroDecimal n;
    if (erro == std::errc())
        Analisar(std::string_view(buffer, static_cast<size_t>(fim - buffer)), n);
    return n;
}

bool NumeroDecimal::ArredondarMeioPar(int casas, uint64_t limite, uint64_t& magnitude) const {
    magnitude = 0;
    if (digitos_.empty())
        return true;
    const int64_t total = static_cast<int64_t>(digitos_.size());
    const int64_t escala = expoente_ + casas; // |value| * 10^casas = digitos_ * 10^escala
    // The digits that stay in the integer part, and the zeros that follow them.
    const int64_t inteiros = escala >= 0 ? total : total + escala;
    const int64_t zeros = escala >= 0 ? escala : 0;
    if (inteiros + zeros > 40) // digits_ has no leading zero: far beyond 64 bits
        return false;

    unsigned __int128 acumulado = 0;
    for (int64_t k = 0; k < inteiros; ++k) {
        acumulado = acumulado * 10 + static_cast<unsigned>(digitos_[k] - '0');
        if (acumulado > limite)
            return false;
    }
    for (int64_t k = 0; k < zeros; ++k) {
        acumulado *= 10;
        if (acumulado > limite)
            return false;
    }
    if (inteiros >= 0 && inteiros < total) {
        // Dropped digits: digitos_[inteiros..]. Without trailing zeros, a first
        // dropped 5 followed by nothing is exactly one half. When inteiros < 0
        // the dropped part is below one tenth and rounds down.
        const int primeiro = digitos_[inteiros] - '0';
        const bool haMais = inteiros + 1 < total;
        if (primeiro > 5 || (primeiro == 5 && (haMais || acumulado % 2 == 1))) {
            acumulado += 1;
            if (acumulado > limite)
                return false;
        }
    }
    magnitude = static_cast<uint64_t>(acumulado);
    return true;
}

} // namespace tarvo
