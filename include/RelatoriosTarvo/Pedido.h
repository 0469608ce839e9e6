#pragma once

#include <RelatoriosTarvo/Progresso.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tarvo {

class Database;

// One request to the reports: which database, taxpayer, declaration and
// reports, and who watches the work. The registration report is built from
// the IE, the nine others from the declaration; bit i of the mask selects
// list position i (bits 10 to 31 are ignored).
struct Pedido {
    // Borrowed for the call; it must outlive it.
    const Database* BancoDados = nullptr;
    std::string IE;
    int32_t Declaracao = 0;
    int32_t Mascara = 0;
    // Called while the reports are built and written; returning false stops
    // the call with Erro::Interrompido. Empty for none.
    std::function<bool(const Progresso&)> Acompanhamento;
    // The printer, as CUPS names it, of the reports printed without the
    // print dialog (Imprimir, and the selection dialog's Imprimir in
    // Executar); empty for CUPS's default one. Erro::SemImpressora when
    // there is no printer of that name.
    std::string Impressora;
};

} // namespace tarvo
