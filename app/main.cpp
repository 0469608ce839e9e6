// relatorios-tarvo: the reports of a declaration database from the command
// line, through the selection dialog or exported without any window. It uses
// the library's public API only, as any host would.
#include "LinhaComando.h"

#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>
#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <cstdlib>
#include <iostream>
#include <malloc.h>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int SaidaErro = 1;
constexpr int SaidaUso = 2;

// "erro N: descrição", with SQLite's codes told apart from the library's own.
void MostrarErro(const tarvo::Erro& erro) {
    std::cerr << "erro " << erro.Numero() << (erro.DoSqlite() ? " (SQLite)" : "") << ": "
              << erro.Descricao() << "\n";
}

int Executar(const tarvo::LinhaComando& opcoes, const tarvo::Database& banco) {
    std::string ie;
    if (opcoes.ie)
        ie = *opcoes.ie;
    else if (opcoes.declaracao)
        ie = tarvo::Relatorios::IEDaDeclaracao(banco, *opcoes.declaracao).value_or("");
    const int32_t declaracao = opcoes.declaracao.value_or(0);

    // In the dialog the user picks the reports: any of them may come out blank.
    const int32_t verificados = opcoes.Exportacao() || opcoes.Direto() ? opcoes.Mascara() : -1;
    const std::string aviso = tarvo::Relatorios::Aviso(banco, ie, declaracao, verificados);
    if (!aviso.empty())
        std::cerr << "aviso: " << aviso << "\n";

    tarvo::Relatorios relatorios;
    if (opcoes.Exportacao()) {
        relatorios.Exportar(banco, ie, declaracao, opcoes.Mascara(), opcoes.pastaPdf,
                            opcoes.pastaJson, opcoes.arquivoPdfUnico);
        return EXIT_SUCCESS;
    }
    if (opcoes.imprimir) {
        relatorios.Imprimir(banco, ie, declaracao, opcoes.Mascara());
        return EXIT_SUCCESS;
    }
    if (opcoes.visualizar)
        relatorios.Visualizar(banco, ie, declaracao, opcoes.Mascara());
    else
        relatorios.Executar(banco, ie, declaracao, opcoes.Mascara());
    // The previews live on until the user closes the last of them.
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

    const tarvo::LinhaComando opcoes =
        tarvo::LinhaComando::Interpretar(std::vector<std::string>(argv + 1, argv + argc));
    if (!opcoes.erro.empty()) {
        std::cerr << "relatorios-tarvo: " << opcoes.erro
                  << " (use \"relatorios-tarvo --help\" para ver as opções)\n";
        return SaidaUso;
    }
    if (opcoes.ajuda) {
        std::cout << tarvo::LinhaComando::TextoAjuda();
        return EXIT_SUCCESS;
    }
    if (opcoes.versao) {
        std::cout << "relatorios-tarvo " << tarvo_relatorios_versao() << "\n";
        return EXIT_SUCCESS;
    }
    // Exporting and printing directly need no display, even where there is one.
    if (opcoes.Exportacao() || opcoes.imprimir)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);

    std::unique_ptr<tarvo::Database> banco;
    try {
        banco = std::make_unique<tarvo::Database>(opcoes.banco);
    } catch (const tarvo::Erro& erro) {
        // The file given is missing, unreadable or no database: the user's
        // argument is wrong, as with a bad option.
        MostrarErro(erro);
        return SaidaUso;
    }
    try {
        return Executar(opcoes, *banco);
    } catch (const tarvo::Erro& erro) {
        MostrarErro(erro);
    } catch (const std::bad_alloc&) {
        MostrarErro(tarvo::Erro(tarvo::Erro::SemMemoria, "Out of memory"));
    } catch (const std::exception& erro) {
        MostrarErro(
            tarvo::Erro(tarvo::Erro::Interno, std::string("Internal error: ") + erro.what()));
    }
    return SaidaErro;
}
