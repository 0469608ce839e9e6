#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvo {

// Currency: a 64-bit fixed-point amount with four decimals, held as an
// integer count of ten-thousandths. Every operation is exact; leaving the
// range raises Erro 6 "Overflow".
class Moeda {
public:
    constexpr Moeda() = default;

    static constexpr Moeda DeDezMilesimos(int64_t dezMilesimos) { return Moeda(dezMilesimos); }
    static Moeda DeInteiro(int64_t valor);
    // Rounds half to even at the fourth decimal (of the shortest decimal text
    // that reads back to the same double). NaN, infinities and values out of
    // range raise Erro 6.
    static Moeda DeDouble(double valor);
    // Decimal text ("1234.5", "-0.10", "1e3", " 12 "); half to even at the fourth
    // decimal. Text that is not a number raises Erro 13, too large a value Erro 6.
    static Moeda DeTexto(std::string_view texto);

    constexpr int64_t DezMilesimos() const { return valor_; }
    double ParaDouble() const;
    // Invariant decimal text without trailing zeros ("1234.5", "-3", "0.0001").
    std::string ParaTextoInvariante() const;

    Moeda operator+(const Moeda& outra) const;
    Moeda operator-(const Moeda& outra) const;
    Moeda operator-() const;
    Moeda& operator+=(const Moeda& outra);
    Moeda& operator-=(const Moeda& outra);

    constexpr auto operator<=>(const Moeda&) const = default;

private:
    constexpr explicit Moeda(int64_t v) : valor_(v) {}
    int64_t valor_ = 0;
};

} // namespace tarvo
