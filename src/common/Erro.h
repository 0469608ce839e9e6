#pragma once

#include <exception>
#include <string>

namespace tarvo {

// The one exception type of the library: a number, a description and the
// source that raised it. Database errors keep SQLite's code and message;
// conversions use the numbers users know from the platform (6, 13, 3265).
class Erro : public std::exception {
public:
    Erro(long numero, std::string descricao, std::string origem = "RelatoriosTarvo");

    long Numero() const noexcept { return numero_; }
    const std::string& Descricao() const noexcept { return descricao_; }
    const std::string& Origem() const noexcept { return origem_; }
    const char* what() const noexcept override { return descricao_.c_str(); }

    // Numbers raised by the library itself.
    static constexpr long Overflow = 6;              // "Overflow"
    static constexpr long TipoIncompativel = 13;     // "Type mismatch"
    static constexpr long FormularioJaExibido = 400; // "Form already displayed; can't show modally"
    static constexpr long ArgumentoInvalido = 3001;  // "Invalid argument."
    static constexpr long ItemNaoEncontrado = 3265;  // "Item not found in this collection."
    static constexpr long ObjetoInvalido = 3420;     // "Object invalid or no longer set."
    static constexpr long SqlNaoSuportado = 31001;   // Jet text the translator does not know
    static constexpr long GravacaoArquivo = 31101;   // a PDF, PNG or JSON file cannot be written
    static constexpr long FiguraInvalida = 31102;    // a picture cannot be drawn
    static constexpr long SemImpressora = 31103;     // no printer available
    static constexpr long FalhaImpressao = 31104;    // the printer refused the job
    static constexpr long FalhaInterface = 31201;    // the Qt application cannot be created

private:
    long numero_;
    std::string descricao_;
    std::string origem_;
};

} // namespace tarvo
