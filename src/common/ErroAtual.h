#pragma once

#include <RelatoriosTarvo/Erro.h>

namespace tarvo {

// The one way every entry point (the C interface, the preview's actions,
// the dialog) turns whatever was thrown into the library's error: an Erro
// as it is, a lack of memory as Erro::SemMemoria, anything else as
// Erro::Interno with its text. Call it inside a catch block.
class ErroAtual {
public:
    static Erro Capturar() noexcept;
};

} // namespace tarvo
