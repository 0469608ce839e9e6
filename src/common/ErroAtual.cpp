#include "common/ErroAtual.h"

#include <exception>
#include <new>
#include <string>

namespace tarvo {

Erro ErroAtual::Capturar() noexcept {
    try {
        try {
            throw;
        } catch (const Erro& erro) {
            return erro;
        } catch (const std::bad_alloc&) {
            return Erro(Erro::SemMemoria, "Out of memory");
        } catch (const std::exception& excecao) {
            return Erro(Erro::Interno, std::string("Internal error: ") + excecao.what());
        } catch (...) {
            return Erro(Erro::Interno, "Internal error");
        }
    } catch (...) {
        // Building the error itself ran out of memory.
        return Erro(Erro::SemMemoria, "");
    }
}

} // namespace tarvo
