#pragma once

#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

namespace tarvo::teste {

// The number of the tarvo::Erro the call raises (every error carries a
// description), or 0 when it raises none.
template <class F> long NumeroDoErro(F&& funcao) {
    try {
        funcao();
    } catch (const Erro& erro) {
        EXPECT_FALSE(erro.Descricao().empty());
        return erro.Numero();
    }
    return 0;
}

// The tarvo::Erro the call raises, or Erro(0, "nenhum erro") when it raises
// none.
template <class F> Erro ErroDe(F&& funcao) {
    try {
        funcao();
    } catch (const Erro& erro) {
        return erro;
    }
    return Erro(0, "nenhum erro");
}

} // namespace tarvo::teste
