#include "common/Formato.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ures.h>

#include <cstdlib>

namespace tarvo {

namespace {

// The locale name of the regional settings: LC_ALL, LC_NUMERIC, LANG, the
// first that is set and not empty.
std::string NomeRegional() {
    for (const char* variavel : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* valor = std::getenv(variavel);
        if (valor != nullptr && *valor != '\0')
            return valor;
    }
    return {};
}

// "pt_BR.UTF-8@x" -> "pt_BR"; the C and POSIX locales (and none) -> "en_US".
std::string NomeIcu(std::string nome) {
    const size_t corte = nome.find_first_of(".@");
    if (corte != std::string::npos)
        nome.resize(corte);
    if (nome.empty() || nome == "C" || nome == "POSIX")
        return "en_US";
    return nome;
}

Formato::Separadores SeparadoresIcu(const std::string& nome) {
    Formato::Separadores s{".", ","};
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale local(nome.c_str());
    if (local.isBogus())
        return s;
    const icu::DecimalFormatSymbols simbolos(local, status);
    if (U_FAILURE(status))
        return s;
    std::string decimal, milhar;
    simbolos.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol).toUTF8String(decimal);
    simbolos.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol).toUTF8String(milhar);
    if (!decimal.empty())
        s.decimal = decimal;
    s.milhar = milhar;
    return s;
}

std::string Preenchido(uint64_t valor, size_t largura) {
    const std::string digitos = std::to_string(valor);
    if (digitos.size() >= largura)
        return digitos;
    std::string texto(largura - digitos.size(), '0');
    texto += digitos;
    return texto;
}

} // namespace

Formato::Separadores Formato::SeparadoresRegionais() {
    return SeparadoresIcu(NomeIcu(NomeRegional()));
}

bool Formato::LocalidadeConhecida(const std::string& nome) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::LocalUResourceBundlePointer dados(
        ures_open(nullptr, NomeIcu(nome).c_str(), &status));
    // A region ICU lacks falls back to its language ("pt_XX" to "pt"), which
    // has the separators; only the root means the name is unknown.
    return U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING;
}

std::string Formato::Valor(const Moeda& valor) {
    return Valor(valor, SeparadoresRegionais());
}

std::string Formato::Valor(const Moeda& valor, const Separadores& sep) {
    const int64_t v = valor.DezMilesimos();
    const bool negativo = v < 0;
    const uint64_t magnitude = negativo ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    // Hundredths, half away from zero.
    uint64_t centesimos = magnitude / 100;
    if (magnitude % 100 >= 50)
        ++centesimos;

    const std::string inteiro = std::to_string(centesimos / 100);
    std::string texto;
    if (negativo && centesimos != 0)
        texto += '-';
    for (size_t k = 0; k < inteiro.size(); ++k) {
        if (k != 0 && (inteiro.size() - k) % 3 == 0)
            texto += sep.milhar;
        texto += inteiro[k];
    }
    texto += sep.decimal;
    texto += Preenchido(centesimos % 100, 2);
    return texto;
}

std::string Formato::Ano(const int32_t& ano) {
    const bool negativo = ano < 0;
    const uint64_t magnitude = negativo ? 0 - static_cast<uint64_t>(static_cast<int64_t>(ano))
                                        : static_cast<uint64_t>(ano);
    std::string texto = negativo ? "-" : "";
    texto += Preenchido(magnitude, 4);
    return texto;
}

std::string Formato::Data(const DataHora& data) {
    const DataHora::Partes p = data.Civil();
    const std::string ano = Ano(p.ano);
    return Preenchido(static_cast<uint64_t>(p.dia), 2) + "/" +
           Preenchido(static_cast<uint64_t>(p.mes), 2) + "/" + ano;
}

} // namespace tarvo
