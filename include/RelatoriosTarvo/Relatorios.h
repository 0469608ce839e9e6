#pragma once

#include <RelatoriosTarvo/Exportacao.h>
#include <RelatoriosTarvo/Pedido.h>
#include <RelatoriosTarvo/Progresso.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

class Database;

// A declaration the user picked: the database file and the declaration's
// number, with its taxpayer's state registration (IE).
struct DeclaracaoEscolhida {
    std::string Banco;
    int32_t Declaracao = 0;
    std::string IE;
};

// The library's way in: one object holds the ten reports of a declaration, in
// list order, with their documents and preview windows. Executar lets the
// user pick reports in a modal dialog and previews or prints them; Exportar
// writes them as files without any window. Errors pass on as tarvo::Erro.
//
// The dialog, previews and printing need a Qt application on the calling
// thread: a host that runs Qt keeps its own; for any other host the library
// creates one when first needed and keeps it while a Relatorios object lives.
// Exportar needs none.
class TARVO_API Relatorios {
public:
    static constexpr int Quantidade = 10;

    // Called while the reports of a call are built and written: at the start
    // of each report, every few hundred rows, every page laid out or
    // written, and every tenth of a second of a long query. Returning false
    // stops the call: SQLite's query is interrupted, nothing more is
    // written, and the call raises Erro::Interrompido ("interrompido pelo
    // usuário"); files written before stay. Called on the calling thread.
    using Acompanhamento = std::function<bool(const Progresso&)>;

    Relatorios();
    ~Relatorios();
    Relatorios(const Relatorios&) = delete;
    Relatorios& operator=(const Relatorios&) = delete;

    // Closes the previews of the last call, shows the dialog with bit i of
    // OpcoesSelecionadas pre-selecting list position i, then builds every
    // selected report in list order and previews or prints it. Preview
    // windows stay open after the call and are served by the host's event
    // loop (or by AguardarJanelas). Reports already handed out when an error
    // comes stay as they are.
    void Executar(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                  const int32_t& OpcoesSelecionadas);
    // The same for one request, its mask pre-selecting, its callback
    // watching the builds and its Impressora (if any) taking what the
    // dialog's Imprimir prints.
    void Executar(const Pedido& pedido);

    // Without any window: builds the reports of mask bits 0 to 9 in list order
    // (the registration report from the IE, the nine others from the
    // declaration) and writes PastaPdf/NN-Classe.pdf and PastaJson/NN-Classe.json;
    // an empty folder name skips that output, a missing folder is created.
    // Each file appears whole or not at all. Returns the files written; on an
    // error the files already written stay.
    std::vector<std::string> Exportar(const Database& BancoDados, const std::string& IE,
                                      const int32_t& Declaracao, const int32_t& Mascara,
                                      const std::string& PastaPdf, const std::string& PastaJson);
    // The same, and ArquivoPdfUnico: every selected report in list order in
    // one PDF, each with its own orientation and page numbering, a bookmark
    // per report titled with its list text, and the declaration's properties
    // (title, subject, creator, date). Every report is built once for all
    // the files; an empty name skips that output.
    std::vector<std::string> Exportar(const Database& BancoDados, const std::string& IE,
                                      const int32_t& Declaracao, const int32_t& Mascara,
                                      const std::string& PastaPdf, const std::string& PastaJson,
                                      const std::string& ArquivoPdfUnico);
    // The same for one request.
    std::vector<std::string> Exportar(const Pedido& pedido, const std::string& PastaPdf,
                                      const std::string& PastaJson,
                                      const std::string& ArquivoPdfUnico = "");
    // Only the one PDF of the selected reports. For all the Exportar calls,
    // "-" as ArquivoPdfUnico is the standard output (refused when it is a
    // terminal); "./-" names a file called "-".
    void ExportarPdfUnico(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& Mascara,
                          const std::string& ArquivoPdfUnico);

    // Without the dialog: builds the reports of mask bits 0 to 9 in list
    // order and shows their previews, cascaded with the first in front; the
    // previews of an earlier call are closed first. Returns once they are
    // shown, like Executar: the host's event loop (or AguardarJanelas)
    // serves them.
    void Visualizar(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                    const int32_t& Mascara);
    void Visualizar(const Pedido& pedido);

    // Without any window: builds the reports of mask bits 0 to 9 in list
    // order and prints each on the default printer, or on the request's
    // Impressora. Erro::SemImpressora when there is no such printer, said
    // before anything is built; reports printed before an error stay
    // printed.
    void Imprimir(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                  const int32_t& Mascara);
    void Imprimir(const Pedido& pedido);

    // The callback of the calls that follow without a Pedido (Executar,
    // Exportar, Visualizar, Imprimir); an empty one removes it.
    void DefinirAcompanhamento(Acompanhamento acompanhamento);

    // Raises Erro::GravacaoArquivo naming both when two of the files an
    // Exportar with these arguments would write are one file (by any spelling
    // or link), or when one of them exists and is not a regular file (a
    // folder, device, FIFO or socket). Exportar makes these checks itself,
    // and also refuses to write over the database or its -wal, -journal and
    // -shm files, before it builds anything.
    static void VerificarDestinos(const int32_t& Mascara, const std::string& PastaPdf,
                                  const std::string& PastaJson, const std::string& ArquivoPdfUnico);

    // Runs the Qt event loop until the last preview window of this object is
    // closed; returns at once when none is open.
    void AguardarJanelas();

    // For a user without a terminal: asks for the declaration database in a
    // file dialog (unless Banco names the file), then, when the file holds
    // more than one declaration, for the declaration in a list (number,
    // taxpayer, IE, year); a file with one is taken as it is. A file that
    // cannot be opened as a declaration database, or that holds none, is
    // told in a message and the file dialog asks again. Nothing when the
    // user cancels. Raises Erro::FalhaInterface when a dialog is needed and
    // there is no display; then a Banco that cannot be used raises its own
    // error. The Qt application stays for this object's calls that follow.
    std::optional<DeclaracaoEscolhida> EscolherDeclaracao(const std::string& Banco = "");

    // The state registration of the taxpayer of a declaration; nothing when
    // the declaration is not in the database.
    static std::optional<std::string> IEDaDeclaracao(const Database& BancoDados,
                                                     const int32_t& Declaracao);
    // One sentence, in Portuguese, on what a build with these arguments would
    // leave blank or out: a declaration or taxpayer that is not in the
    // database, a mask that selects no report. Empty when nothing.
    static std::string Aviso(const Database& BancoDados, const std::string& IE,
                             const int32_t& Declaracao, const int32_t& Mascara);

    // The text of list position 0 to 9 ("1 - Cadastro do Contribuinte").
    static std::string TextoLista(int posicao);
    // The class of the report at a list position ("RelatorioCadastro").
    static std::string NomeClasse(int posicao);
    // "06-RelatorioDIPAMCodigo1.pdf" for position 5 and "pdf".
    static std::string NomeArquivo(int posicao, const std::string& extensao);

    // Whether amounts can follow the regional settings of this locale name
    // (as LC_ALL, LC_NUMERIC or LANG give it): "pt_BR", "pt_BR.UTF-8", "de"
    // and "C" are known, "xx" is not. The separators come from ICU's data,
    // so a locale need not be generated on the machine.
    static bool LocalidadeConhecida(const std::string& Nome);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tarvo
