// relatorios-tarvo: the reports of a declaration database from the command
// line, through the selection dialog or exported without any window.
#include "LinhaComando.h"

#include "common/Erro.h"
#include "common/Funcoes.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "engine/MotorRelatorio.h"
#include "entry/AplicacaoQt.h"
#include "entry/ExportadorRelatorios.h"
#include "entry/Relatorios.h"
#include "entry/relatorios_tarvo.h"
#include "reports/RelatorioBase.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int SaidaErro = 1;
constexpr int SaidaUso = 2;

// The taxpayer of a declaration, for the registration report when no IE is
// given; "" when the declaration is not there.
std::string IEDaDeclaracao(const tarvo::Database& banco, int32_t declaracao) {
    const std::unique_ptr<tarvo::Recordset> registro = banco.OpenRecordset(
        "select IE from tblDeclaração where Declaração = " + std::to_string(declaracao));
    return registro->Eof() ? std::string() : tarvo::Funcoes::CampoTexto(registro->Fields("IE"));
}

bool AlgumaJanelaAberta(const tarvo::Relatorios& relatorios) {
    for (int i = 0; i < tarvo::Relatorios::Quantidade; ++i) {
        if (relatorios.Relatorio(i).Motor().JanelaVisivel())
            return true;
    }
    return false;
}

int Executar(const tarvo::LinhaComando& opcoes, const tarvo::Database& banco) {
    std::string ie;
    if (opcoes.ie)
        ie = *opcoes.ie;
    else if (opcoes.declaracao)
        ie = IEDaDeclaracao(banco, *opcoes.declaracao);
    const int32_t declaracao = opcoes.declaracao.value_or(0);

    tarvo::Relatorios relatorios;
    if (opcoes.Exportacao()) {
        tarvo::ExportadorRelatorios(relatorios)
            .Exportar(banco, ie, declaracao, opcoes.Mascara(), opcoes.pastaPdf, opcoes.pastaJson);
        return EXIT_SUCCESS;
    }
    relatorios.Executar(banco, ie, declaracao, opcoes.Mascara());
    // The previews live on until the user closes the last of them.
    if (!AlgumaJanelaAberta(relatorios))
        return EXIT_SUCCESS;
    return QApplication::exec();
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
        std::cerr << "relatorios-tarvo: " << opcoes.erro << "\n"
                  << "Use \"relatorios-tarvo --help\" para ver as opções.\n";
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

    // Exporting needs no display; the dialog does, and Qt would abort
    // without one.
    if (opcoes.Exportacao()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    } else if (!tarvo::AplicacaoQt::TelaDisponivel()) {
        std::cerr << "relatorios-tarvo: nenhuma tela disponível para o diálogo de relatórios "
                     "(defina DISPLAY, ou exporte com --pdf ou --json)\n";
        return SaidaErro;
    }
    // Qt sees the program's name only: the other arguments are ours.
    int argcQt = 1;
    QApplication aplicacao(argcQt, argv);
    std::unique_ptr<tarvo::Database> banco;
    try {
        banco = std::make_unique<tarvo::Database>(opcoes.banco);
    } catch (const tarvo::Erro& erro) {
        // The file given is missing, unreadable or no database: the user's
        // argument is wrong, as with a bad option.
        std::cerr << "erro " << erro.Numero() << ": " << erro.Descricao() << "\n";
        return SaidaUso;
    }
    try {
        return Executar(opcoes, *banco);
    } catch (const tarvo::Erro& erro) {
        std::cerr << "erro " << erro.Numero() << ": " << erro.Descricao() << "\n";
        return SaidaErro;
    } catch (const std::bad_alloc&) {
        std::cerr << "erro 7: Out of memory\n";
        return SaidaErro;
    } catch (const std::exception& erro) {
        std::cerr << "erro 51: Internal error: " << erro.what() << "\n";
        return SaidaErro;
    }
}
