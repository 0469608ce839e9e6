#pragma once

#include "entry/frmEscolhaDeclaracao.h"
#include <RelatoriosTarvo/Relatorios.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

class ConjuntoRelatorios;
class Database;

// How a user without a terminal reaches a declaration: the database file in
// a file dialog, then the declaration in a list when the file holds more
// than one. Behind Relatorios::EscolherDeclaracao.
class EscolhaDeclaracao {
public:
    // `conjunto` keeps the Qt application of the dialogs for the calls that
    // follow; it is asked for one only when a dialog is to be shown.
    static std::optional<DeclaracaoEscolhida> Escolher(ConjuntoRelatorios& conjunto,
                                                       const std::string& banco);
};

} // namespace tarvo
