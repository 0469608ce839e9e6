#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvo {

// A decimal number taken apart as sign, digits and power of ten, so that text
// and doubles can be rounded at a decimal place exactly (no binary detour).
// Used by the Currency and Long conversions.
class NumeroDecimal {
public:
    // Reads "[blanks][+|-]digits[.digits][(e|E)[+|-]digits][blanks]" with at
    // least one mantissa digit on either side of the point. False otherwise.
    static bool Analisar(std::string_view texto, NumeroDecimal& saida);
    // The shortest decimal text that reads back to the same finite double.
    static NumeroDecimal DeDouble(double valor);

    bool Negativo() const { return negativo_; }
    bool Zero() const { return digitos_.empty(); }

    // |value| * 10^casas rounded to an integer, half to even. False when the
    // result would exceed limite.
    bool ArredondarMeioPar(int casas, uint64_t limite, uint64_t& magnitude) const;

private:
    bool negativo_ = false;
    std::string digitos_;  // no leading or trailing zeros; empty for zero
    int64_t expoente_ = 0; // value = digitos_ * 10^expoente_
};

} // namespace tarvo
