#pragma once

#include <cups/cups.h>

#include <string>
#include <vector>

namespace tarvo {

// What CUPS tells of its destinations through libcups's public API, for the
// print dialog and the job: the list (the default first) with each
// printer's state, and the options a printer offers for a job (paper,
// two-sided printing, colour, quality, output bin) with its defaults. A
// destination is named as CUPS names it ("Fila", or "Fila/instância" for an
// lpoptions instance); "" is the default one, which honours CUPS_SERVER,
// LPDEST, PRINTER and lpoptions.
class ImpressorasCups {
public:
    struct Situacao {
        std::string nome;
        bool padrao = false;
        int estado = IPP_PSTATE_IDLE;
        bool aceita = true;
        // printer-state-reasons, without "none".
        std::vector<std::string> motivos;
        std::string descricao; // printer-info
        std::string local;     // printer-location
    };

    // Every destination, CUPS's default first and the others in CUPS's
    // order; empty when there is none or no scheduler answers.
    static std::vector<Situacao> Listar();
    // The default destination's name; "" for none.
    static std::string Padrao();
    // The name of the destination `nome` means; Erro::SemImpressora when
    // there is none, or none of that name.
    static std::string Verificar(const std::string& nome);
    // Within `destinos`, the destination `nome` means; Erro::SemImpressora
    // as Verificar.
    static cups_dest_t* Procurar(cups_dest_t* destinos, int quantos, const std::string& nome);

    // The printer's own message on its state (printer-state-message); ""
    // when it has none or the scheduler does not answer.
    static std::string Mensagem(const std::string& nome);
    // The state for a person: "Pronta", "Imprimindo" or "Parada", with the
    // printer's message or the reasons CUPS gives, and whether it refuses
    // jobs ("Parada: Tampa aberta; não aceita trabalhos").
    static std::string Descrever(const Situacao& situacao, const std::string& mensagem);

    struct Escolha {
        std::string valor; // as the job's option takes it ("iso_a4_210x297mm", "5")
        std::string rotulo;
    };
    struct Opcao {
        std::string nome; // the IPP attribute ("media", "sides", …)
        std::string rotulo;
        std::vector<Escolha> escolhas;
        std::string padrao; // one of the escolhas' valor
    };
    // The options of the destination that offer a choice (two values or
    // more), in a fixed order; the default is the user's lpoptions one,
    // else the printer's. The pages' orientation is not among them: each
    // page of the job carries its own. Erro::SemImpressora when the
    // destination cannot be asked.
    static std::vector<Opcao> Opcoes(const std::string& nome);
};

} // namespace tarvo
