#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tarvo::teste {

// Sets the regional-settings variables for the life of the object and puts
// the previous values back afterwards. A null pointer unsets the variable.
class AmbienteRegional {
public:
    explicit AmbienteRegional(const char* lcAll, const char* lcNumeric = nullptr,
                              const char* lang = nullptr) {
        Definir("LC_ALL", lcAll, antigoLcAll_);
        Definir("LC_NUMERIC", lcNumeric, antigoLcNumeric_);
        Definir("LANG", lang, antigoLang_);
    }
    ~AmbienteRegional() {
        Restaurar("LC_ALL", antigoLcAll_);
        Restaurar("LC_NUMERIC", antigoLcNumeric_);
        Restaurar("LANG", antigoLang_);
    }
    AmbienteRegional(const AmbienteRegional&) = delete;
    AmbienteRegional& operator=(const AmbienteRegional&) = delete;

private:
    static void Definir(const char* nome, const char* valor, std::optional<std::string>& antigo) {
        if (const char* atual = std::getenv(nome))
            antigo = atual;
        if (valor)
            setenv(nome, valor, 1);
        else
            unsetenv(nome);
    }
    static void Restaurar(const char* nome, const std::optional<std::string>& antigo) {
        if (antigo)
            setenv(nome, antigo->c_str(), 1);
        else
            unsetenv(nome);
    }
    std::optional<std::string> antigoLcAll_, antigoLcNumeric_, antigoLang_;
};

} // namespace tarvo::teste
