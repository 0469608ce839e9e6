#include "common/DataHora.h"

#include <RelatoriosTarvo/Erro.h>

#include <cmath>
#include <cstdint>

namespace tarvo {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DiasDeCivil(int64_t a, unsigned m, unsigned d) {
    a -= m <= 2;
    const int64_t era = (a >= 0 ? a : a - 399) / 400;
    const unsigned anoDaEra = static_cast<unsigned>(a - era * 400);
    const unsigned diaDoAno = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned diaDaEra = anoDaEra * 365 + anoDaEra / 4 - anoDaEra / 100 + diaDoAno;
    return era * 146097 + static_cast<int64_t>(diaDaEra) - 719468;
}

void CivilDeDias(int64_t z, int64_t& a, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned diaDaEra = static_cast<unsigned>(z - era * 146097);
    const unsigned anoDaEra =
        (diaDaEra - diaDaEra / 1460 + diaDaEra / 36524 - diaDaEra / 146096) / 365;
    const unsigned diaDoAno = diaDaEra - (365 * anoDaEra + anoDaEra / 4 - anoDaEra / 100);
    const unsigned mp = (5 * diaDoAno + 2) / 153;
    d = diaDoAno - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    a = static_cast<int64_t>(anoDaEra) + era * 400 + (m <= 2);
}

constexpr int64_t kDiaZero = -25569; // 30/12/1899 counted from 01/01/1970
constexpr double kSegundosDia = 86400.0;

int64_t DivPiso(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The serial of calendar day `dia` (day number) at `segundos` after midnight.
double SerialDe(int64_t dia, double segundos) {
    const double fracao = segundos / kSegundosDia;
    return dia >= 0 ? static_cast<double>(dia) + fracao : static_cast<double>(dia) - fracao;
}

bool DiasNoMes(int ano, int mes, int& dias) {
    static const int tabela[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mes < 1 || mes > 12)
        return false;
    dias = tabela[mes - 1];
    if (mes == 2 && ((ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0))
        dias = 29;
    return true;
}

[[noreturn]] void TipoIncompativel() {
    throw Erro(Erro::TipoIncompativel, "Type mismatch");
}

} // namespace

DataHora DataHora::DeCivil(int ano, int mes, int dia, int hora, int minuto, int segundo) {
    // Months, days and times out of range roll over, as DateSerial/TimeSerial do.
    const int64_t m0 = static_cast<int64_t>(mes) - 1;
    const int64_t a = ano + DivPiso(m0, 12);
    const unsigned m = static_cast<unsigned>(m0 - DivPiso(m0, 12) * 12) + 1;
    const int64_t diaNum = DiasDeCivil(a, m, 1) - kDiaZero + (static_cast<int64_t>(dia) - 1);
    const int64_t total = diaNum * 86400 + static_cast<int64_t>(hora) * 3600 +
                          static_cast<int64_t>(minuto) * 60 + segundo;
    const int64_t d = DivPiso(total, 86400);
    return DataHora(SerialDe(d, static_cast<double>(total - d * 86400)));
}

DataHora::Partes DataHora::Civil() const {
    Partes p;
    double s = serial_;
    if (!std::isfinite(s))
        s = 0.0;
    // Days beyond any calendar use are clamped to keep the arithmetic sane.
    if (s > 1e12)
        s = 1e12;
    if (s < -1e12)
        s = -1e12;
    const double inteiro = std::trunc(s);
    int64_t dia = static_cast<int64_t>(inteiro);
    int64_t segundos = std::llround(std::fabs(s - inteiro) * kSegundosDia);
    if (segundos >= 86400) {
        segundos -= 86400;
        dia += 1;
    }
    int64_t a = 0;
    unsigned m = 0, d = 0;
    CivilDeDias(dia + kDiaZero, a, m, d);
    p.ano = static_cast<int>(a);
    p.mes = static_cast<int>(m);
    p.dia = static_cast<int>(d);
    p.hora = static_cast<int>(segundos / 3600);
    p.minuto = static_cast<int>(segundos / 60 % 60);
    p.segundo = static_cast<int>(segundos % 60);
    return p;
}

int DataHora::Ano() const {
    return Civil().ano;
}
int DataHora::Mes() const {
    return Civil().mes;
}
int DataHora::Dia() const {
    return Civil().dia;
}
int DataHora::Hora() const {
    return Civil().hora;
}
int DataHora::Minuto() const {
    return Civil().minuto;
}
int DataHora::Segundo() const {
    return Civil().segundo;
}

bool DataHora::TemHora() const {
    const Partes p = Civil();
    return p.hora != 0 || p.minuto != 0 || p.segundo != 0;
}

DataHora DataHora::DeTexto(std::string_view texto) {
    auto branco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!texto.empty() && branco(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && branco(texto.back()))
        texto.remove_suffix(1);

    size_t i = 0;
    auto numero = [&](size_t digitos, int& saida) {
        if (i + digitos > texto.size())
            return false;
        int v = 0;
        for (size_t k = 0; k < digitos; ++k) {
            const char c = texto[i + k];
            if (c < '0' || c > '9')
                return false;
            v = v * 10 + (c - '0');
        }
        i += digitos;
        saida = v;
        return true;
    };
    auto literal = [&](char c) {
        if (i < texto.size() && texto[i] == c) {
            ++i;
            return true;
        }
        return false;
    };

    int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
    double fracao = 0.0;
    if (!numero(4, ano) || !literal('-') || !numero(2, mes) || !literal('-') || !numero(2, dia))
        TipoIncompativel();
    int diasMes = 0;
    if (ano < 100 || !DiasNoMes(ano, mes, diasMes) || dia < 1 || dia > diasMes)
        TipoIncompativel();
    if (i < texto.size()) {
        if (!literal(' ') && !literal('T'))
            TipoIncompativel();
        if (!numero(2, hora) || !literal(':') || !numero(2, minuto))
            TipoIncompativel();
        if (literal(':')) {
            if (!numero(2, segundo))
                TipoIncompativel();
            if (literal('.')) {
                double escala = 0.1;
                size_t inicio = i;
                while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9') {
                    fracao += (texto[i] - '0') * escala;
                    escala /= 10;
                    ++i;
                }
                if (i == inicio)
                    TipoIncompativel();
            }
        }
        if (i != texto.size() || hora > 23 || minuto > 59 || segundo > 59)
            TipoIncompativel();
    }
    const int64_t diaNum =
        DiasDeCivil(ano, static_cast<unsigned>(mes), static_cast<unsigned>(dia)) - kDiaZero;
    const double segundos = hora * 3600.0 + minuto * 60.0 + segundo + fracao;
    return DataHora(SerialDe(diaNum, segundos));
}

} // namespace tarvo
