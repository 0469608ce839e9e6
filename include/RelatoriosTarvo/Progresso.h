#pragma once

#include <cstdint>

namespace tarvo {

// Where a call of Relatorios stands, as its progress callback sees it: the
// report being built or written and what is done of it.
struct Progresso {
    int posicao = -1;   // the report's list position, 0 to 9
    int relatorio = 0;  // which of the selected reports, from 1
    int relatorios = 0; // how many reports the call builds
    int64_t linhas = 0; // rows read for this report so far
    int paginas = 0;    // pages laid out so far, or written while gravando
    bool gravando = false;
};

} // namespace tarvo
