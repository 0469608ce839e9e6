#include "common/TextoUtf8.h"

#include <algorithm>
#include <cstdint>

namespace tarvo {

size_t TextoUtf8::Sequencia(std::string_view texto, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(texto[k]); };
    const unsigned char c = byte(i);
    size_t n = 0;
    uint32_t ponto = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        ponto = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        ponto = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        ponto = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > texto.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        ponto = (ponto << 6) | (byte(i + k) & 0x3F);
    }
    const bool curtoDemais = (n == 3 && ponto < 0x800) || (n == 4 && ponto < 0x10000);
    const bool substituto = ponto >= 0xD800 && ponto <= 0xDFFF;
    if (curtoDemais || substituto || ponto > 0x10FFFF)
        return 0;
    return n;
}

namespace {

constexpr std::string_view kReticencias = "\xE2\x80\xA6";

// The text as one line, stopping once it would pass `limite` bytes; tells
// whether anything was left out.
bool Linha(std::string_view texto, size_t limite, std::string& saida) {
    static constexpr std::string_view substituto = "\xEF\xBF\xBD";
    bool espaco = false;
    size_t i = 0;
    while (i < texto.size()) {
        const unsigned char c = static_cast<unsigned char>(texto[i]);
        if (c <= 0x20 || c == 0x7F) {
            espaco = !saida.empty();
            ++i;
            continue;
        }
        std::string_view caractere = texto.substr(i, 1);
        size_t avanco = 1;
        if (c >= 0x80) {
            const size_t n = TextoUtf8::Sequencia(texto, i);
            caractere = n == 0 ? substituto : texto.substr(i, n);
            avanco = n == 0 ? 1 : n;
        }
        if (saida.size() + (espaco ? 1 : 0) + caractere.size() > limite)
            return true;
        if (espaco)
            saida += ' ';
        espaco = false;
        saida += caractere;
        i += avanco;
    }
    return false;
}

bool Continuacao(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string TextoUtf8::UmaLinha(std::string_view texto, size_t limite, Corte corte) {
    std::string linha;
    if (corte == Corte::NoFim) {
        linha.reserve(std::min(texto.size(), limite) + kReticencias.size());
        if (Linha(texto, limite, linha))
            linha += kReticencias;
        return linha;
    }
    linha.reserve(texto.size());
    Linha(texto, std::string_view::npos, linha);
    if (linha.size() <= limite)
        return linha;
    // Half of the room for each end; the line is valid UTF-8 by now, so a
    // character boundary is wherever no continuation byte stands.
    size_t inicio = limite - limite / 2;
    while (inicio > 0 && Continuacao(linha[inicio]))
        --inicio;
    size_t fim = linha.size() - limite / 2;
    while (fim < linha.size() && Continuacao(linha[fim]))
        ++fim;
    return linha.substr(0, inicio) + std::string(kReticencias) + linha.substr(fim);
}

} // namespace tarvo
