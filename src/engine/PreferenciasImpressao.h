#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

// What the print dialog remembers between runs, in the user's Qt settings
// (organisation "RelatoriosTarvo", under XDG_CONFIG_HOME): the last printer
// printed on, and the options last chosen for each printer. They only
// preselect the dialog; printing without it keeps to the printer asked for.
// Settings that cannot be read or written are left aside without a word: a
// preference is a convenience, and printing must not fail for its sake.
class PreferenciasImpressao {
public:
    using Propriedades = std::vector<std::pair<std::string, std::string>>;

    // "" when none was remembered.
    static std::string UltimaImpressora();
    // The options chosen for `impressora`, as CUPS names them.
    static Propriedades Opcoes(const std::string& impressora);
    // Remembers `impressora` as the last one, with its options; without
    // them (CUPS could not say what the printer offers) those remembered
    // before stay.
    static void Guardar(const std::string& impressora,
                        const std::optional<Propriedades>& propriedades);
};

} // namespace tarvo
