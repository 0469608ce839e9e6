// The preview of a long report scrolled from its first page to its last, a
// screenful at a time: time per screen and per page, and peak memory.
//
//   bench_previa [BANCO] [--zoom PORCENTAGEM] [--escala FATOR]
//
// BANCO is a declaration written by "bench_dipam --gerar LINHAS BANCO"; its
// report 6 (DIPAM código 1) is previewed. Without it, one of 20,000 rows
// (728 pages) is generated with the bench_dipam beside this program. The
// defaults are 400% on a screen of scale 2 (QT_SCALE_FACTOR), in a window of
// 720 by 960 logical pixels, on Qt's offscreen platform.

#include "engine/MotorRelatorio.h"
#include "engine/VistaPaginas.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QScrollBar>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

double PicoMemoriaMB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024.0;
}

double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

std::string GerarBanco() {
    const std::filesystem::path programa = std::filesystem::read_symlink("/proc/self/exe");
    const std::string banco = "/tmp/bench-previa-" + std::to_string(getpid()) + ".db";
    const std::string comando =
        (programa.parent_path() / "bench_dipam").string() + " --gerar 20000 " + banco;
    if (std::system(comando.c_str()) != 0)
        throw std::runtime_error("não foi possível gerar a declaração: " + comando);
    return banco;
}

} // namespace

int main(int argc, char** argv) {
    std::string banco;
    std::string zoom = "400";
    std::string escala = "2";
    for (int i = 1; i < argc; ++i) {
        const std::string argumento = argv[i];
        if (argumento == "--zoom" && i + 1 < argc)
            zoom = argv[++i];
        else if (argumento == "--escala" && i + 1 < argc)
            escala = argv[++i];
        else
            banco = argumento;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_SCALE_FACTOR", escala.c_str(), 1);
    const bool temporario = banco.empty();
    try {
        if (temporario)
            banco = GerarBanco();
        QApplication aplicacao(argc, argv);
        tarvo::RelatorioDIPAMCodigo1 relatorio;
        relatorio.Construir(tarvo::Database(banco), 1);
        const int paginas = relatorio.Motor().NumeroPaginas();
        const double antes = PicoMemoriaMB();

        const auto abrir = std::chrono::steady_clock::now();
        relatorio.Motor().ExibirDocumento();
        QWidget* janela = relatorio.Motor().Janela();
        janela->resize(720, 960);
        auto* vista = janela->findChild<tarvo::VistaPaginas*>();
        vista->DefinirZoom(std::stod(zoom) / 100.0);
        vista->viewport()->repaint();
        const double primeira = Segundos(abrir);

        // A screenful at a time, each painted before the next, with the
        // tiles ahead rendered in between as the event loop would.
        QScrollBar* barra = vista->verticalScrollBar();
        int telas = 0;
        const auto rolar = std::chrono::steady_clock::now();
        while (true) {
            QApplication::processEvents();
            if (barra->value() >= barra->maximum())
                break;
            barra->setValue(barra->value() + barra->pageStep());
            vista->viewport()->repaint();
            ++telas;
        }
        const double total = Segundos(rolar);

        std::printf("Visualização de %d páginas (DIPAM código 1) a %s%%, escala %s, janela de "
                    "720 x 960:\n",
                    paginas, zoom.c_str(), escala.c_str());
        std::printf("  primeira tela:          %.3f s\n", primeira);
        std::printf("  rolagem até o fim:      %.1f s, %d telas (%.1f ms por tela, %.1f ms por "
                    "página)\n",
                    total, telas, 1000 * total / std::max(telas, 1),
                    1000 * total / std::max(paginas, 1));
        std::printf("  resolução das páginas:  %d ppp\n", vista->Dpi());
        std::printf("  pico de memória:        %.0f MB (%.0f MB antes de abrir a visualização)\n",
                    PicoMemoriaMB(), antes);
    } catch (const tarvo::Erro& erro) {
        std::cerr << "Erro " << erro.Numero() << ": " << erro.Descricao() << "\n";
        return EXIT_FAILURE;
    } catch (const std::exception& erro) {
        std::cerr << erro.what() << "\n";
        return EXIT_FAILURE;
    }
    if (temporario)
        std::filesystem::remove(banco);
    return EXIT_SUCCESS;
}
