#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace tarvo {

// A date and time as the day number counted from 30/12/1899 (day 0), the
// fraction being the time of day, as Jet stores dates.
class DataHora {
public:
    constexpr DataHora() = default;
    static constexpr DataHora DeSerial(double serial) { return DataHora(serial); }
    static DataHora DeCivil(int ano, int mes, int dia, int hora = 0, int minuto = 0,
                            int segundo = 0);
    // ISO-8601 text: "2001-03-05", "2001-03-05 14:30", "2001-03-05 14:30:00" or
    // "2001-03-05T14:30:00", seconds optionally with a fraction ("14:30:00.250"),
    // surrounding blanks (space, tab, CR, LF) allowed, years 100 to 9999 as
    // Jet dates. Anything else raises Erro 13.
    static DataHora DeTexto(std::string_view texto);

    constexpr double Serial() const { return serial_; }
    int Ano() const;
    int Mes() const;
    int Dia() const;
    int Hora() const;
    int Minuto() const;
    int Segundo() const;
    // True when the time of day, rounded to the second, is not midnight.
    bool TemHora() const;

    // The calendar parts at once. Negative serials count the day towards
    // zero and the fraction as a positive time (-1.25 is 29/12/1899 06:00);
    // the time is rounded to the nearest second, carrying into the next day.
    struct Partes {
        int ano = 1899, mes = 12, dia = 30, hora = 0, minuto = 0, segundo = 0;
    };
    Partes Civil() const;

    constexpr auto operator<=>(const DataHora&) const = default;

private:
    constexpr explicit DataHora(double s) : serial_(s) {}
    double serial_ = 0.0;
};

} // namespace tarvo
