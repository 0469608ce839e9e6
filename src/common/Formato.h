#pragma once

#include "common/DataHora.h"
#include "common/Moeda.h"

#include <cstdint>
#include <string>

namespace tarvo {

// The value formats the reports print, with the separators of the process's
// regional settings (LC_ALL, then LC_NUMERIC, then LANG; "C", "POSIX" and an
// unset locale use the en_US separators). The separators come from ICU's
// locale data by the locale's name, not from the C library, so they are right
// even where the locale was never generated on the machine.
class Formato {
public:
    struct Separadores {
        std::string decimal;
        std::string milhar;
    };

    // "#,##0.00": digit grouping, two decimals, rounded half away from zero,
    // computed from the integer amount, never through a double.
    static std::string Valor(const Moeda& valor);
    // The same with separators read beforehand: a report reads them once per
    // build instead of once per amount.
    static std::string Valor(const Moeda& valor, const Separadores& separadores);
    // "0000": at least four digits (7 -> "0007", -7 -> "-0007").
    static std::string Ano(const int32_t& ano);
    // "dd/mm/yyyy".
    static std::string Data(const DataHora& data);

    // The separators of the current regional settings, read from the
    // environment on each call.
    static Separadores SeparadoresRegionais();
    // Whether ICU has the data of a locale name as the regional settings give
    // it ("pt_BR", "pt_BR.UTF-8", "de_DE@euro", "C"): a name it knows nothing
    // of would silently fall back to ICU's root data.
    static bool LocalidadeConhecida(const std::string& nome);
};

} // namespace tarvo
