#pragma once

#include "common/DataHora.h"
#include "common/Moeda.h"

#include <cstdint>
#include <string>
#include <variant>

namespace tarvo {

// The variant value that a field read from a recordset and a plain value
// both convert to: Null, integer, double, Currency, date, boolean or text.
class Valor {
public:
    enum class Tipo { Nulo, Inteiro, Double, Moeda, Data, Logico, Texto };

    Valor() = default; // Null
    Valor(int32_t v) : v_(int64_t{v}) {}
    Valor(int64_t v) : v_(v) {}
    Valor(double v) : v_(v) {}
    Valor(tarvo::Moeda v) : v_(v) {}
    Valor(DataHora v) : v_(v) {}
    Valor(bool v) : v_(v) {}
    Valor(std::string v) : v_(std::move(v)) {}
    Valor(const char* v) : v_(std::string(v)) {}

    static Valor Nulo() { return Valor(); }

    Tipo tipo() const { return static_cast<Tipo>(v_.index()); }
    bool EhNulo() const { return tipo() == Tipo::Nulo; }

    // Accessors for the held alternative; calling the wrong one is a bug
    // in the caller (std::bad_variant_access).
    int64_t inteiro() const { return std::get<int64_t>(v_); }
    double real() const { return std::get<double>(v_); }
    tarvo::Moeda moeda() const { return std::get<tarvo::Moeda>(v_); }
    DataHora data() const { return std::get<DataHora>(v_); }
    bool logico() const { return std::get<bool>(v_); }
    const std::string& texto() const { return std::get<std::string>(v_); }

    bool operator==(const Valor&) const = default;

private:
    std::variant<std::monostate, int64_t, double, tarvo::Moeda, DataHora, bool, std::string> v_;
};

} // namespace tarvo
