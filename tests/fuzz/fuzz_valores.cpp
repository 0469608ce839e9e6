// fuzz_valores: the number and date readers and the amount format against
// references written here the plain way, on decimal digit strings, with no
// binary arithmetic on the values. Each input is read whole as text by
// NumeroDecimal::Analisar, Moeda::DeTexto and DataHora::DeTexto; its first
// byte gives the decimal places and the next eight the limit for
// NumeroDecimal::ArredondarMeioPar; its first eight bytes are also a double
// for Moeda::DeDouble. Every amount read is then formatted with "#,##0.00".
#include <RelatoriosTarvo/Erro.h>

#include "common/DataHora.h"
#include "common/Formato.h"
#include "common/Moeda.h"
#include "common/NumeroDecimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Falha(const std::string& descricao, std::string_view entrada) {
    std::fprintf(stderr, "fuzz_valores: %s\nentrada: \"%.*s\"\n", descricao.c_str(),
                 static_cast<int>(entrada.size()), entrada.data());
    std::abort();
}

bool Digito(char c) {
    return c >= '0' && c <= '9';
}

// ---- Reference decimal numbers -------------------------------------------

// value = digitos * 10^expoente, digitos a plain string of decimal digits.
// The text without the blanks around it; false when nothing else is left.
bool Aparar(std::string_view& t, std::string_view brancos) {
    const size_t inicio = t.find_first_not_of(brancos);
    if (inicio == std::string_view::npos)
        return false;
    t = t.substr(inicio, t.find_last_not_of(brancos) + 1 - inicio);
    return true;
}

struct Decimal {
    bool negativo = false;
    std::string digitos;
    int64_t expoente = 0;
};

// "[blanks][+|-]digits[.digits][(e|E)[+|-]digits][blanks]", at least one
// mantissa digit; blanks are the C locale's white space.
std::optional<Decimal> LerDecimal(std::string_view t) {
    if (!Aparar(t, " \t\n\r\f\v"))
        return std::nullopt;
    Decimal d;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        d.negativo = t[i++] == '-';
    int64_t casas = 0;
    while (i < t.size() && Digito(t[i]))
        d.digitos += t[i++];
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && Digito(t[i])) {
            d.digitos += t[i++];
            ++casas;
        }
    }
    if (d.digitos.empty())
        return std::nullopt;
    int64_t expoente = 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negativo = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            negativo = t[i++] == '-';
        if (i == t.size() || !Digito(t[i]))
            return std::nullopt;
        // Inputs are far shorter than a billion characters, so any exponent
        // from a billion on gives the same value as a billion: zero or too
        // large.
        for (; i < t.size() && Digito(t[i]); ++i)
            expoente = std::min<int64_t>(expoente * 10 + (t[i] - '0'), 1'000'000'000);
        if (negativo)
            expoente = -expoente;
    }
    if (i != t.size())
        return std::nullopt;
    d.expoente = expoente - casas;
    return d;
}

std::string SemZerosAEsquerda(const std::string& digitos) {
    const size_t primeiro = digitos.find_first_not_of('0');
    return primeiro == std::string::npos ? "0" : digitos.substr(primeiro);
}

// Adds one to a string of decimal digits.
std::string MaisUm(std::string digitos) {
    for (size_t k = digitos.size(); k-- > 0;) {
        if (digitos[k] != '9') {
            ++digitos[k];
            return digitos;
        }
        digitos[k] = '0';
    }
    return "1" + digitos;
}

// a <= b for digit strings without leading zeros.
bool NaoMaior(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a <= b;
}

// |d| * 10^casas rounded half to even; nothing when above limite.
std::optional<uint64_t> Arredondar(const Decimal& d, int casas, uint64_t limite) {
    const std::string digitos = SemZerosAEsquerda(d.digitos);
    if (digitos == "0")
        return 0;
    const int64_t escala = d.expoente + casas;
    std::string inteiro;
    if (escala >= 0) {
        if (static_cast<int64_t>(digitos.size()) + escala > 25)
            return std::nullopt;
        inteiro = digitos + std::string(static_cast<size_t>(escala), '0');
    } else {
        // The digits left of the point, and the first digit dropped with
        // whether any other dropped digit is not zero.
        const int64_t ficam = static_cast<int64_t>(digitos.size()) + escala;
        inteiro = ficam > 0 ? digitos.substr(0, static_cast<size_t>(ficam)) : "0";
        const char primeiro = ficam >= 0 ? digitos[static_cast<size_t>(ficam)] : '0';
        const std::string resto = ficam >= 0 ? digitos.substr(static_cast<size_t>(ficam) + 1) : "";
        const bool maisQueZero = resto.find_first_not_of('0') != std::string::npos;
        const bool impar = (inteiro.back() - '0') % 2 == 1;
        if (primeiro > '5' || (primeiro == '5' && (maisQueZero || impar)))
            inteiro = MaisUm(inteiro);
        inteiro = SemZerosAEsquerda(inteiro);
    }
    if (!NaoMaior(inteiro, std::to_string(limite)))
        return std::nullopt;
    return std::stoull(inteiro);
}

constexpr uint64_t kMaximo = 9223372036854775807ULL;

// The amount in ten-thousandths, nothing on overflow.
std::optional<int64_t> MoedaDe(const Decimal& d) {
    const std::optional<uint64_t> m = Arredondar(d, 4, d.negativo ? kMaximo + 1 : kMaximo);
    if (!m)
        return std::nullopt;
    if (!d.negativo)
        return static_cast<int64_t>(*m);
    return *m == kMaximo + 1 ? INT64_MIN : -static_cast<int64_t>(*m);
}

// "#,##0.00" of an amount in ten-thousandths, half away from zero.
std::string FormatoDe(int64_t dezMilesimos, const tarvo::Formato::Separadores& sep) {
    const bool negativo = dezMilesimos < 0;
    std::string digitos =
        negativo ? std::to_string(dezMilesimos).substr(1) : std::to_string(dezMilesimos);
    digitos = std::string(digitos.size() < 5 ? 5 - digitos.size() : 0, '0') + digitos;
    // The digits down to the hundredths, rounded up from half a hundredth.
    std::string centesimos = digitos.substr(0, digitos.size() - 2);
    if (digitos.substr(digitos.size() - 2) >= "50")
        centesimos = MaisUm(centesimos);
    const std::string inteiro = SemZerosAEsquerda(centesimos.substr(0, centesimos.size() - 2));
    std::string texto;
    for (size_t k = 0; k < inteiro.size(); ++k) {
        if (k != 0 && (inteiro.size() - k) % 3 == 0)
            texto += sep.milhar;
        texto += inteiro[k];
    }
    texto += sep.decimal + centesimos.substr(centesimos.size() - 2);
    const bool zero = centesimos.find_first_not_of('0') == std::string::npos;
    return (negativo && !zero ? "-" : "") + texto;
}

long NumeroDoErro(auto&& funcao) {
    try {
        funcao();
    } catch (const tarvo::Erro& erro) {
        return erro.Numero();
    }
    return 0;
}

void ConferirFormato(int64_t dezMilesimos, std::string_view entrada) {
    const tarvo::Moeda m = tarvo::Moeda::DeDezMilesimos(dezMilesimos);
    for (const tarvo::Formato::Separadores& sep :
         {tarvo::Formato::Separadores{".", ","}, tarvo::Formato::Separadores{",", "."},
          tarvo::Formato::Separadores{"\u066b", "\u066c"}}) {
        const std::string obtido = tarvo::Formato::Valor(m, sep);
        const std::string esperado = FormatoDe(dezMilesimos, sep);
        if (obtido != esperado)
            Falha("Formato::Valor(" + std::to_string(dezMilesimos) + ") = " + obtido +
                      ", esperado " + esperado,
                  entrada);
    }
    if (tarvo::Moeda::DeTexto(m.ParaTextoInvariante()) != m)
        Falha("ParaTextoInvariante não volta ao mesmo valor: " + m.ParaTextoInvariante(), entrada);
}

// The amount read by the library, or the error number, against the reference.
void ConferirMoeda(const std::string& nome, const std::optional<Decimal>& d, auto&& ler,
                   std::string_view entrada) {
    int64_t obtido = 0;
    const long erro = NumeroDoErro([&] { obtido = ler().DezMilesimos(); });
    const long erroEsperado = !d             ? tarvo::Erro::TipoIncompativel
                              : !MoedaDe(*d) ? tarvo::Erro::Overflow
                                             : 0;
    if (erro != erroEsperado)
        Falha(nome + ": erro " + std::to_string(erro) + ", esperado " +
                  std::to_string(erroEsperado),
              entrada);
    if (erro == 0 && obtido != *MoedaDe(*d))
        Falha(nome + " = " + std::to_string(obtido) + ", esperado " + std::to_string(*MoedaDe(*d)),
              entrada);
    if (erro == 0)
        ConferirFormato(obtido, entrada);
}

// ---- Reference dates ------------------------------------------------------

struct Civil {
    int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
    bool operator==(const Civil&) const = default;
};

int DiasNoMes(int ano, int mes) {
    const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    const int dias[] = {31, bissexto ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return dias[mes - 1];
}

Civil UmSegundoDepois(Civil c) {
    if (++c.segundo < 60)
        return c;
    c.segundo = 0;
    if (++c.minuto < 60)
        return c;
    c.minuto = 0;
    if (++c.hora < 24)
        return c;
    c.hora = 0;
    if (++c.dia <= DiasNoMes(c.ano, c.mes))
        return c;
    c.dia = 1;
    if (++c.mes <= 12)
        return c;
    c.mes = 1;
    ++c.ano;
    return c;
}

// The date and time of ISO text "yyyy-mm-dd[( |T)hh:mm[:ss[.f...]]]" within
// " \t\r\n" blanks, years 100 to 9999; the seconds rounded to the nearest,
// and when the fraction is too near one half for a double to tell (the
// serial holds the time to some 1e-5 s at year 9999), either rounding.
struct DataEsperada {
    Civil abaixo;
    std::optional<Civil> acima;
};

std::optional<DataEsperada> LerData(std::string_view t) {
    if (!Aparar(t, " \t\r\n"))
        return std::nullopt;
    const auto numero = [&](size_t posicao, size_t digitos, int& saida) {
        if (posicao + digitos > t.size())
            return false;
        saida = 0;
        for (size_t k = posicao; k < posicao + digitos; ++k) {
            if (!Digito(t[k]))
                return false;
            saida = saida * 10 + (t[k] - '0');
        }
        return true;
    };
    const auto em = [&](size_t posicao, std::string_view caracteres) {
        return posicao < t.size() && caracteres.find(t[posicao]) != std::string_view::npos;
    };
    Civil c;
    if (!numero(0, 4, c.ano) || !em(4, "-") || !numero(5, 2, c.mes) || !em(7, "-") ||
        !numero(8, 2, c.dia))
        return std::nullopt;
    if (c.ano < 100 || c.mes < 1 || c.mes > 12 || c.dia < 1 || c.dia > DiasNoMes(c.ano, c.mes))
        return std::nullopt;
    std::string fracao;
    if (t.size() > 10) {
        if (!em(10, " T") || !numero(11, 2, c.hora) || !em(13, ":") || !numero(14, 2, c.minuto))
            return std::nullopt;
        if (t.size() > 16) {
            if (!em(16, ":") || !numero(17, 2, c.segundo))
                return std::nullopt;
            if (t.size() > 19) {
                if (!em(19, ".") || t.size() == 20)
                    return std::nullopt;
                fracao = t.substr(20);
                if (fracao.find_first_not_of("0123456789") != std::string::npos)
                    return std::nullopt;
            }
        }
        if (c.hora > 23 || c.minuto > 59 || c.segundo > 59)
            return std::nullopt;
    }
    fracao += "0000";
    if (fracao.compare(0, 4, "4999") == 0 || fracao.compare(0, 4, "5000") == 0)
        return DataEsperada{c, UmSegundoDepois(c)};
    return DataEsperada{fracao[0] >= '5' ? UmSegundoDepois(c) : c, std::nullopt};
}

void ConferirData(std::string_view entrada) {
    const std::optional<DataEsperada> esperada = LerData(entrada);
    tarvo::DataHora::Partes p;
    const long erro = NumeroDoErro([&] { p = tarvo::DataHora::DeTexto(entrada).Civil(); });
    if (erro != (esperada ? 0 : tarvo::Erro::TipoIncompativel))
        Falha("DataHora::DeTexto: erro " + std::to_string(erro), entrada);
    if (!esperada)
        return;
    const Civil obtida{p.ano, p.mes, p.dia, p.hora, p.minuto, p.segundo};
    if (obtida != esperada->abaixo && (!esperada->acima || obtida != *esperada->acima)) {
        char texto[80];
        std::snprintf(texto, sizeof texto, "%04d-%02d-%02d %02d:%02d:%02d", obtida.ano, obtida.mes,
                      obtida.dia, obtida.hora, obtida.minuto, obtida.segundo);
        Falha(std::string("DataHora::DeTexto deu ") + texto, entrada);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view entrada(reinterpret_cast<const char*>(dados), tamanho);
    const std::optional<Decimal> decimal = LerDecimal(entrada);

    tarvo::NumeroDecimal lido;
    if (tarvo::NumeroDecimal::Analisar(entrada, lido) != decimal.has_value())
        Falha("NumeroDecimal::Analisar discorda da gramática", entrada);
    if (decimal) {
        const int casas = tamanho > 0 ? static_cast<int>(dados[0] % 41) - 20 : 0;
        uint64_t limite = UINT64_MAX;
        if (tamanho >= 9)
            std::memcpy(&limite, dados + 1, sizeof limite);
        for (const uint64_t l : {limite, uint64_t{UINT64_MAX}}) {
            uint64_t obtido = 0;
            const bool cabe = lido.ArredondarMeioPar(casas, l, obtido);
            const std::optional<uint64_t> esperado = Arredondar(*decimal, casas, l);
            if (cabe != esperado.has_value() || (cabe && obtido != *esperado))
                Falha("ArredondarMeioPar(" + std::to_string(casas) + ", " + std::to_string(l) +
                          ") = " + (cabe ? std::to_string(obtido) : "estouro"),
                      entrada);
        }
    }

    ConferirMoeda(
        "Moeda::DeTexto", decimal, [&] { return tarvo::Moeda::DeTexto(entrada); }, entrada);

    if (tamanho >= sizeof(double)) {
        double valor = 0;
        std::memcpy(&valor, dados, sizeof valor);
        std::optional<Decimal> d;
        if (std::isfinite(valor)) {
            // The shortest text that reads back to the same double.
            char texto[64];
            const auto fim = std::to_chars(texto, texto + sizeof texto, valor).ptr;
            d = LerDecimal(std::string_view(texto, static_cast<size_t>(fim - texto)));
            if (!d)
                Falha("to_chars deu um texto que não é número", entrada);
        } else {
            d = Decimal{false, "1", 100}; // NaN and infinities overflow
        }
        ConferirMoeda(
            "Moeda::DeDouble", d, [&] { return tarvo::Moeda::DeDouble(valor); }, entrada);
    }

    ConferirData(entrada);
    return 0;
}
