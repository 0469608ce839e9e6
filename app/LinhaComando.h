#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// The options of relatorios-tarvo, read from its arguments. A mistake in the
// arguments is reported in `erro`, not thrown: it is the user's, not the
// library's.
class LinhaComando {
public:
    static LinhaComando Interpretar(const std::vector<std::string>& argumentos);
    static std::string TextoAjuda();

    // Export without any dialog when a PDF or JSON output is given.
    bool Exportacao() const {
        return !pastaPdf.empty() || !pastaJson.empty() || !arquivoPdfUnico.empty();
    }
    // Without the dialog: previews (--visualizar) or prints (--imprimir).
    bool Direto() const { return visualizar || imprimir; }
    // The dialog without a declaration given: the user picks the database
    // (when none was given) and the declaration in dialogs first.
    bool Escolha() const { return !Exportacao() && !Direto() && !declaracao; }
    // The mask given, or every report when exporting, previewing or printing
    // directly, and none in the dialog.
    int32_t Mascara() const;

    bool ajuda = false;
    bool versao = false;
    std::string banco;
    std::optional<std::string> ie;
    std::optional<int32_t> declaracao;
    std::optional<int32_t> selecao;
    std::string pastaPdf;
    std::string pastaJson;
    std::string arquivoPdfUnico;
    bool visualizar = false;
    bool imprimir = false;
    bool silencioso = false;
    // The printer, as CUPS names it, instead of the default one: for
    // --imprimir and the dialog's Imprimir.
    std::string impressora;
    // Seconds a query may run; 0 for no limit.
    double tempoLimite = 0;
    // The locale whose separators the amounts take, instead of the
    // environment's.
    std::string localidade;
    std::string erro;
};

} // namespace tarvo
