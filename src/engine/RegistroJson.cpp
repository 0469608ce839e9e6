#include "engine/RegistroJson.h"

#include "common/TextoUtf8.h"
#include "engine/Documento.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace tarvo {

namespace {

// A JSON string; bytes that are not UTF-8 become U+FFFD so the output is
// always valid JSON.
void EscreverTexto(std::string& saida, std::string_view texto) {
    saida += '"';
    size_t i = 0;
    while (i < texto.size()) {
        const unsigned char c = static_cast<unsigned char>(texto[i]);
        if (c >= 0x80) {
            const size_t n = TextoUtf8::Sequencia(texto, i);
            if (n == 0) {
                saida += "\\ufffd";
                ++i;
            } else {
                saida.append(texto.substr(i, n));
                i += n;
            }
            continue;
        }
        switch (c) {
        case '"':
            saida += "\\\"";
            break;
        case '\\':
            saida += "\\\\";
            break;
        case '\r':
            saida += "\\r";
            break;
        case '\n':
            saida += "\\n";
            break;
        case '\t':
            saida += "\\t";
            break;
        case '\b':
            saida += "\\b";
            break;
        case '\f':
            saida += "\\f";
            break;
        default:
            if (c < 0x20) {
                const char* hex = "0123456789abcdef";
                saida += "\\u00";
                saida += hex[c >> 4];
                saida += hex[c & 0xF];
            } else {
                saida += static_cast<char>(c);
            }
        }
        ++i;
    }
    saida += '"';
}

// The shortest text that reads back to the same double. A whole number keeps
// a ".0" ("2.0", as other JSON writers print a double), so that readers can
// tell a Double argument from a Long one.
void EscreverDouble(std::string& saida, double valor) {
    char buffer[32];
    const auto resultado = std::to_chars(buffer, buffer + sizeof buffer, valor);
    saida.append(buffer, resultado.ptr);
    if (std::find_if(buffer, resultado.ptr, [](char c) { return c == '.' || c == 'e'; }) ==
        resultado.ptr)
        saida += ".0";
}

} // namespace

std::string RegistroJson::Escrever(const Documento& documento) {
    std::string json = "{\"chamadas\": [";
    bool primeira = true;
    documento.Reproduzir([&](const ChamadaGravada& chamada) {
        json += primeira ? "{\"op\": \"" : ", {\"op\": \"";
        primeira = false;
        json += Documento::NomeOperacao(chamada.op);
        json += "\", \"args\": [";
        for (size_t i = 0; i < chamada.quantidade; ++i) {
            if (i > 0) {
                json += ", ";
            }
            const ValorGravado& valor = chamada.args[i];
            if (const auto* d = std::get_if<double>(&valor)) {
                EscreverDouble(json, *d);
            } else if (const auto* l = std::get_if<int32_t>(&valor)) {
                json += std::to_string(*l);
            } else if (const auto* s = std::get_if<std::string_view>(&valor)) {
                EscreverTexto(json, *s);
            } else {
                EscreverTexto(json, std::get<const Figura*>(valor)->Nome());
            }
        }
        json += "]}";
    });
    json += "]}";
    return json;
}

} // namespace tarvo
