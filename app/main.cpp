// relatorios-tarvo: the reports of a declaration database from the command
// line, through the selection dialog or exported without any window. It uses
// the library's public API only, as any host would.
#include "LinhaComando.h"

#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>
#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <locale.h>
#include <malloc.h>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace {

constexpr int SaidaErro = 1;
constexpr int SaidaUso = 2;

// The signal that asked the work under way to stop, and whether there is
// such work: outside it nothing is being written, so a signal ends the
// program at once.
volatile std::sig_atomic_t sinalRecebido = 0;
volatile std::sig_atomic_t trabalhando = 0;

extern "C" void AoSinal(int sinal) {
    if (trabalhando && sinalRecebido == 0) {
        sinalRecebido = sinal;
        return;
    }
    // A second signal does not wait: the temporaries have no names, so
    // nothing is left behind.
    _exit(128 + sinal);
}

void InstalarSinais() {
    struct sigaction acao {};
    acao.sa_handler = AoSinal;
    sigemptyset(&acao.sa_mask);
    for (const int sinal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sinal, &acao, nullptr);
}

// Marks the library's work, during which a signal stops it cleanly.
class Trabalho {
public:
    Trabalho() { trabalhando = 1; }
    ~Trabalho() { trabalhando = 0; }
    Trabalho(const Trabalho&) = delete;
    Trabalho& operator=(const Trabalho&) = delete;
};

// One line on a terminal's standard error that tells which report is under
// way, rewritten at most ten times a second and cleared at the end.
class LinhaAndamento {
public:
    explicit LinhaAndamento(bool ativa) : ativa_(ativa) {}
    ~LinhaAndamento() { Limpar(); }
    LinhaAndamento(const LinhaAndamento&) = delete;
    LinhaAndamento& operator=(const LinhaAndamento&) = delete;

    void Mostrar(const tarvo::Progresso& progresso) {
        const auto agora = std::chrono::steady_clock::now();
        if (!ativa_ || (progresso.posicao == posicao_ && progresso.gravando == gravando_ &&
                        agora - ultima_ < std::chrono::milliseconds(100)))
            return;
        posicao_ = progresso.posicao;
        gravando_ = progresso.gravando;
        ultima_ = agora;
        // Appended piece by piece: GCC 12 warns wrongly of an overlap in
        // "[" + std::to_string(…) when optimising.
        std::string linha = "[";
        linha += std::to_string(progresso.relatorio);
        linha += '/';
        linha += std::to_string(progresso.relatorios);
        linha += "] ";
        linha += tarvo::Relatorios::TextoLista(progresso.posicao);
        if (linha.size() > 60)
            linha = linha.substr(0, 57) + "...";
        linha += progresso.gravando ? ": gravando, página " : ": ";
        linha += std::to_string(progresso.paginas) + (progresso.gravando       ? ""
                                                      : progresso.paginas == 1 ? " página"
                                                                               : " páginas");
        std::cerr << "\r\033[K" << linha << std::flush;
        escrita_ = true;
    }
    void Limpar() {
        if (escrita_)
            std::cerr << "\r\033[K" << std::flush;
        escrita_ = false;
    }

private:
    const bool ativa_;
    bool escrita_ = false;
    int posicao_ = -1;
    bool gravando_ = false;
    std::chrono::steady_clock::time_point ultima_;
};

// "erro N: descrição", with SQLite's codes told apart from the library's own.
void MostrarErro(const tarvo::Erro& erro) {
    std::cerr << "erro " << erro.Numero() << (erro.DoSqlite() ? " (SQLite)" : "") << ": "
              << erro.Descricao() << "\n";
}

// A mistake in the arguments: one line that points to --help.
int ErroDeUso(const std::string& erro) {
    std::cerr << "relatorios-tarvo: " << erro
              << " (use \"relatorios-tarvo --help\" para ver as opções)\n";
    return SaidaUso;
}

// The value for LC_ALL that gives the amounts the separators of a locale:
// the name itself when the C library knows it, or else the name with
// ".UTF-8" (Debian generates "pt_BR.UTF-8", not "pt_BR"); a name only ICU
// knows still sets the separators, which the library takes from ICU. Nothing
// when the name is unknown.
std::optional<std::string> Localidade(const std::string& nome) {
    for (const std::string& candidata : {nome, nome + ".UTF-8"}) {
        const std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> local(
            newlocale(LC_ALL_MASK, candidata.c_str(), nullptr), freelocale);
        if (local)
            return candidata;
    }
    if (tarvo::Relatorios::LocalidadeConhecida(nome))
        return nome;
    return std::nullopt;
}

// The database and declaration of the run: the options', or what the user
// picked in the dialogs.
struct Alvo {
    std::string banco;
    std::optional<std::string> ie;
    std::optional<int32_t> declaracao;
};

int Executar(const tarvo::LinhaComando& opcoes, const Alvo& alvo, const tarvo::Database& banco,
             tarvo::Relatorios& relatorios, LinhaAndamento& andamento) {
    std::string ie;
    if (alvo.ie)
        ie = *alvo.ie;
    else if (alvo.declaracao)
        ie = tarvo::Relatorios::IEDaDeclaracao(banco, *alvo.declaracao).value_or("");
    const int32_t declaracao = alvo.declaracao.value_or(0);

    // In the dialog the user picks the reports: any of them may come out blank.
    const int32_t verificados = opcoes.Exportacao() || opcoes.Direto() ? opcoes.Mascara() : -1;
    const std::string aviso = tarvo::Relatorios::Aviso(banco, ie, declaracao, verificados);
    if (!aviso.empty() && !opcoes.silencioso)
        std::cerr << "aviso: " << aviso << "\n";

    const tarvo::Pedido pedido{&banco,
                               ie,
                               declaracao,
                               opcoes.Mascara(),
                               [&andamento](const tarvo::Progresso& progresso) {
                                   andamento.Mostrar(progresso);
                                   return sinalRecebido == 0;
                               },
                               opcoes.impressora};
    {
        const Trabalho trabalho;
        if (opcoes.Exportacao()) {
            relatorios.Exportar(pedido, opcoes.pastaPdf, opcoes.pastaJson, opcoes.arquivoPdfUnico);
            return EXIT_SUCCESS;
        }
        if (opcoes.imprimir) {
            relatorios.Imprimir(pedido);
            return EXIT_SUCCESS;
        }
        if (opcoes.visualizar)
            relatorios.Visualizar(pedido);
        else
            relatorios.Executar(pedido);
    }
    andamento.Limpar();
    // The previews live on until the user closes the last of them; a signal
    // now simply ends the program.
    relatorios.AguardarJanelas();
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    // Qt's PDF writer takes and frees its large compression buffers on every
    // page; with glibc's default thresholds each round trip goes back to the
    // kernel, which costs about a quarter of the export time. This program
    // owns its process, so it keeps them instead.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    InstalarSinais();

    const tarvo::LinhaComando opcoes =
        tarvo::LinhaComando::Interpretar(std::vector<std::string>(argv + 1, argv + argc));
    if (!opcoes.erro.empty())
        return ErroDeUso(opcoes.erro);
    if (opcoes.ajuda) {
        std::cout << tarvo::LinhaComando::TextoAjuda();
        return EXIT_SUCCESS;
    }
    if (opcoes.versao) {
        std::cout << "relatorios-tarvo " << tarvo_relatorios_versao() << "\n";
        return EXIT_SUCCESS;
    }
    // The library reads the separators from the environment, LC_ALL first.
    if (!opcoes.localidade.empty()) {
        const std::optional<std::string> localidade = Localidade(opcoes.localidade);
        if (!localidade)
            return ErroDeUso("localidade desconhecida em --localidade: \"" + opcoes.localidade +
                             "\"");
        setenv("LC_ALL", localidade->c_str(), 1);
    }
    // Exporting and printing directly need no display, even where there is one.
    if (opcoes.Exportacao() || opcoes.imprimir)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);

    Alvo alvo{opcoes.banco, opcoes.ie, opcoes.declaracao};
    // Declared first so that it goes last, after the reports and their windows.
    std::unique_ptr<tarvo::Database> banco;
    tarvo::Relatorios relatorios;
    if (opcoes.Escolha()) {
        try {
            const std::optional<tarvo::DeclaracaoEscolhida> escolhida =
                relatorios.EscolherDeclaracao(opcoes.banco);
            if (!escolhida)
                return EXIT_SUCCESS;
            alvo.banco = escolhida->Banco;
            alvo.declaracao = escolhida->Declaracao;
            if (!alvo.ie)
                alvo.ie = escolhida->IE;
        } catch (const tarvo::Erro& erro) {
            if (erro.Numero() == tarvo::Erro::FalhaInterface && opcoes.banco.empty())
                return ErroDeUso("falta --banco ARQUIVO (não há tela para perguntar pelo banco "
                                 "de dados)");
            MostrarErro(erro);
            // No display, or the file given cannot be used, as below.
            return erro.Numero() == tarvo::Erro::FalhaInterface ? SaidaErro : SaidaUso;
        }
    }
    try {
        // Outputs that clash with each other, or that are no files, are
        // mistakes in the options, found before anything is opened.
        if (opcoes.Exportacao())
            tarvo::Relatorios::VerificarDestinos(opcoes.Mascara(), opcoes.pastaPdf,
                                                 opcoes.pastaJson, opcoes.arquivoPdfUnico);
        // The file given is missing, unreadable or no database: the user's
        // argument is wrong, as with a bad option.
        banco = std::make_unique<tarvo::Database>(alvo.banco);
        banco->DefinirTempoLimite(opcoes.tempoLimite);
    } catch (const tarvo::Erro& erro) {
        MostrarErro(erro);
        return SaidaUso;
    }
    LinhaAndamento andamento(!opcoes.silencioso && isatty(STDERR_FILENO));
    try {
        return Executar(opcoes, alvo, *banco, relatorios, andamento);
    } catch (const tarvo::Erro& erro) {
        andamento.Limpar();
        MostrarErro(erro);
        if (erro.Numero() == tarvo::Erro::Interrompido && sinalRecebido != 0)
            return 128 + sinalRecebido;
    } catch (const std::bad_alloc&) {
        andamento.Limpar();
        MostrarErro(tarvo::Erro(tarvo::Erro::SemMemoria, "Out of memory"));
    } catch (const std::exception& erro) {
        andamento.Limpar();
        MostrarErro(
            tarvo::Erro(tarvo::Erro::Interno, std::string("Internal error: ") + erro.what()));
    }
    return SaidaErro;
}
