#include "common/Funcoes.h"

#include "common/Formato.h"
#include "common/NumeroDecimal.h"
#include "common/TextoUtf8.h"
#include "data/Conexao.h"
#include "data/Recordset.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

namespace tarvo {

namespace {

[[noreturn]] void Estouro() {
    throw Erro(Erro::Overflow, "Overflow");
}
[[noreturn]] void TipoIncompativel() {
    throw Erro(Erro::TipoIncompativel, "Type mismatch");
}

// The Jet date range: 01/01/0100 to 31/12/9999 23:59:59.
constexpr double kSerialMinimo = -657434.0;
constexpr double kSerialMaximo = 2958466.0; // exclusive

std::string DoisDigitos(int v) {
    std::string s(2, '0');
    s[0] = static_cast<char>('0' + v / 10 % 10);
    s[1] = static_cast<char>('0' + v % 10);
    return s;
}

// The standard double-to-string conversion: up to 15 significant digits,
// no trailing zeros, scientific notation ("1.5E+15", "1E-05") outside
// 0.0001 <= |x| < 1E15, with the regional decimal separator.
std::string TextoDeDouble(double x, const std::string& separador) {
    if (std::isnan(x))
        return "NaN";
    if (std::isinf(x))
        return x > 0 ? "Infinity" : "-Infinity";
    if (x == 0.0)
        return "0";
    char buffer[64];
    auto [fim, erro] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    if (erro != std::errc())
        return "0";
    // buffer: "-d.dddddddddddddde+XX"
    std::string_view texto(buffer, static_cast<size_t>(fim - buffer));
    const bool negativo = texto.front() == '-';
    if (negativo)
        texto.remove_prefix(1);
    const size_t posE = texto.find('e');
    std::string digitos;
    for (char c : texto.substr(0, posE))
        if (c != '.')
            digitos.push_back(c);
    int expoente = 0;
    std::string_view exp = texto.substr(posE + 1);
    if (!exp.empty() && exp.front() == '+')
        exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), expoente);
    while (digitos.size() > 1 && digitos.back() == '0')
        digitos.pop_back();

    std::string saida = negativo ? "-" : "";
    if (expoente >= 15 || expoente < -4) {
        saida += digitos[0];
        if (digitos.size() > 1) {
            saida += separador;
            saida.append(digitos, 1, std::string::npos);
        }
        saida += 'E';
        saida += expoente < 0 ? '-' : '+';
        const int absExp = expoente < 0 ? -expoente : expoente;
        if (absExp < 10)
            saida += '0';
        saida += std::to_string(absExp);
    } else if (expoente >= 0) {
        const size_t inteiros = static_cast<size_t>(expoente) + 1;
        if (digitos.size() <= inteiros) {
            saida += digitos;
            saida.append(inteiros - digitos.size(), '0');
        } else {
            saida.append(digitos, 0, inteiros);
            saida += separador;
            saida.append(digitos, inteiros, std::string::npos);
        }
    } else {
        saida += '0';
        saida += separador;
        saida.append(static_cast<size_t>(-expoente - 1), '0');
        saida += digitos;
    }
    return saida;
}

int32_t LongDeDouble(double x) {
    if (!std::isfinite(x))
        Estouro();
    double piso = std::floor(x);
    const double resto = x - piso;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(piso, 2.0) != 0.0))
        piso += 1.0;
    if (piso < -2147483648.0 || piso > 2147483647.0)
        Estouro();
    return static_cast<int32_t>(piso);
}

int32_t LongDeInteiro(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        Estouro();
    return static_cast<int32_t>(v);
}

DataHora DataDeSerial(double serial) {
    // Negative serials keep their day towards zero, so -657434.5 is still 01/01/0100.
    if (!std::isfinite(serial) || serial <= kSerialMinimo - 1.0 || serial >= kSerialMaximo)
        Estouro();
    return DataHora::DeSerial(serial);
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Reads a field with `conversao`; a conversion error gets the field's name,
// table and value added, so that the user can find the row to correct.
template <class Resultado>
Resultado Converter(const Campo& campo, Resultado (*conversao)(const Valor&)) {
    try {
        return conversao(campo);
    } catch (const Erro& erro) {
        if (campo.Name().empty())
            throw;
        std::string descricao = erro.Descricao() + ": " + campo.Name();
        if (!campo.SourceTable().empty())
            descricao += " (" + campo.SourceTable() + ")";
        descricao += " = \"" +
                     TextoUtf8::UmaLinha(Funcoes::CampoTexto(campo), 60, TextoUtf8::Corte::NoFim) +
                     "\"";
        throw Erro(erro.Numero(), descricao, erro.Origem());
    }
}

} // namespace

std::string Funcoes::CampoTexto(const Campo& Campo) {
    switch (Campo.tipo()) {
    case Valor::Tipo::Nulo:
        return {};
    case Valor::Tipo::Inteiro:
        return std::to_string(Campo.inteiro());
    case Valor::Tipo::Double:
        return TextoDeDouble(Campo.real(), Formato::SeparadoresRegionais().decimal);
    case Valor::Tipo::Moeda: {
        std::string texto = Campo.moeda().ParaTextoInvariante();
        const size_t ponto = texto.find('.');
        if (ponto != std::string::npos)
            texto.replace(ponto, 1, Formato::SeparadoresRegionais().decimal);
        return texto;
    }
    case Valor::Tipo::Data: {
        // The date where there is one, the time where there is one; a bare
        // time (day 30/12/1899) and midnight itself show as the time alone.
        const DataHora d = Campo.data();
        const DataHora::Partes p = d.Civil();
        const bool temData = !(p.ano == 1899 && p.mes == 12 && p.dia == 30);
        const bool temHora = p.hora != 0 || p.minuto != 0 || p.segundo != 0;
        std::string texto = temData ? Formato::Data(d) : std::string();
        if (temHora || !temData) {
            if (temData)
                texto += ' ';
            texto +=
                DoisDigitos(p.hora) + ":" + DoisDigitos(p.minuto) + ":" + DoisDigitos(p.segundo);
        }
        return texto;
    }
    case Valor::Tipo::Logico:
        return Campo.logico() ? "True" : "False";
    case Valor::Tipo::Texto:
        return Campo.texto();
    }
    return {};
}

namespace {

int32_t LongDe(const Valor& Campo) {
    switch (Campo.tipo()) {
    case Valor::Tipo::Nulo:
        return 0;
    case Valor::Tipo::Inteiro:
        return LongDeInteiro(Campo.inteiro());
    case Valor::Tipo::Double:
        return LongDeDouble(Campo.real());
    case Valor::Tipo::Moeda: {
        const int64_t v = Campo.moeda().DezMilesimos();
        const bool negativo = v < 0;
        const uint64_t magnitude =
            negativo ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        uint64_t q = magnitude / 10000;
        const uint64_t r = magnitude % 10000;
        if (r > 5000 || (r == 5000 && q % 2 == 1))
            ++q;
        if (negativo ? q > 2147483648ULL : q > 2147483647ULL)
            Estouro();
        return negativo ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
    }
    case Valor::Tipo::Data:
        return LongDeDouble(Campo.data().Serial());
    case Valor::Tipo::Logico:
        return Campo.logico() ? -1 : 0;
    case Valor::Tipo::Texto: {
        NumeroDecimal d;
        if (!NumeroDecimal::Analisar(Campo.texto(), d))
            TipoIncompativel();
        uint64_t magnitude = 0;
        if (!d.ArredondarMeioPar(0, d.Negativo() ? 2147483648ULL : 2147483647ULL, magnitude))
            Estouro();
        return d.Negativo() ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                            : static_cast<int32_t>(magnitude);
    }
    }
    return 0;
}

} // namespace

namespace {

Moeda MoedaDe(const Valor& Campo) {
    switch (Campo.tipo()) {
    case Valor::Tipo::Nulo:
        return Moeda();
    case Valor::Tipo::Inteiro:
        return Moeda::DeInteiro(Campo.inteiro());
    case Valor::Tipo::Double:
        return Moeda::DeDouble(Campo.real());
    case Valor::Tipo::Moeda:
        return Campo.moeda();
    case Valor::Tipo::Data:
        return Moeda::DeDouble(Campo.data().Serial());
    case Valor::Tipo::Logico:
        return Campo.logico() ? Moeda::DeInteiro(-1) : Moeda();
    case Valor::Tipo::Texto:
        return Moeda::DeTexto(Campo.texto());
    }
    return Moeda();
}

} // namespace

namespace {

DataHora DataDe(const Valor& Campo) {
    switch (Campo.tipo()) {
    case Valor::Tipo::Nulo:
        return DataHora();
    case Valor::Tipo::Inteiro:
        return DataDeSerial(static_cast<double>(Campo.inteiro()));
    case Valor::Tipo::Double:
        return DataDeSerial(Campo.real());
    case Valor::Tipo::Moeda:
        return DataDeSerial(Campo.moeda().ParaDouble());
    case Valor::Tipo::Data:
        return Campo.data();
    case Valor::Tipo::Logico:
        return DataHora::DeSerial(Campo.logico() ? -1.0 : 0.0);
    case Valor::Tipo::Texto:
        return DataHora::DeTexto(Campo.texto());
    }
    return DataHora();
}

} // namespace

namespace {

bool LogicoDe(const Valor& Campo) {
    switch (Campo.tipo()) {
    case Valor::Tipo::Nulo:
        return false;
    case Valor::Tipo::Inteiro:
        return Campo.inteiro() != 0;
    case Valor::Tipo::Double:
        return Campo.real() != 0.0;
    case Valor::Tipo::Moeda:
        return Campo.moeda().DezMilesimos() != 0;
    case Valor::Tipo::Data:
        return Campo.data().Serial() != 0.0;
    case Valor::Tipo::Logico:
        return Campo.logico();
    case Valor::Tipo::Texto: {
        std::string_view t = Campo.texto();
        auto branco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        while (!t.empty() && branco(t.front()))
            t.remove_prefix(1);
        while (!t.empty() && branco(t.back()))
            t.remove_suffix(1);
        if (IguaisSemCaixa(t, "true") || IguaisSemCaixa(t, "verdadeiro"))
            return true;
        if (IguaisSemCaixa(t, "false") || IguaisSemCaixa(t, "falso"))
            return false;
        NumeroDecimal d;
        if (!NumeroDecimal::Analisar(t, d))
            TipoIncompativel();
        return !d.Zero();
    }
    }
    return false;
}

} // namespace

int32_t Funcoes::CampoLong(const Campo& Campo) {
    return Converter(Campo, LongDe);
}

Moeda Funcoes::CampoMoeda(const Campo& Campo) {
    return Converter(Campo, MoedaDe);
}

DataHora Funcoes::CampoData(const Campo& Campo) {
    return Converter(Campo, DataDe);
}

bool Funcoes::CampoLogico(const Campo& Campo) {
    return Converter(Campo, LogicoDe);
}

std::string Funcoes::NomeDoMes(const uint8_t& Mes) {
    static const char* const nomes[] = {"Janeiro",  "Fevereiro", "Março",    "Abril",
                                        "Maio",     "Junho",     "Julho",    "Agosto",
                                        "Setembro", "Outubro",   "Novembro", "Dezembro"};
    if (Mes < 1 || Mes > 12)
        return {};
    return nomes[Mes - 1];
}

std::string Funcoes::CabecalhoCodigoDIPAM(const Database& BancoDados, const std::string& Codigo) {
    const std::string sql = std::string("select") + " Cabeçalho " + "from" + " tblCódigosDIPAM " +
                            "where" + " Left(tblCódigosDIPAM.Código, 1) = '" +
                            Conexao::DobrarAspas(Codigo) + "'";
    std::unique_ptr<Recordset> rs =
        Conexao::De(BancoDados).OpenRecordset(sql, Conexao::dbOpenForwardOnly);
    std::string resultado;
    if (!rs->Eof())
        resultado = CampoTexto(rs->Fields(0));
    if (!resultado.empty() && resultado.back() == '.')
        resultado.pop_back();
    rs->Close();
    rs.reset();
    return resultado;
}

} // namespace tarvo
