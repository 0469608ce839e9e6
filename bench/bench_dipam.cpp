// The DIPAM code-1 report of large generated declarations: pages, time and
// peak memory of the build alone and of the build written as PDF.
//
//   bench_dipam                     1,000, 10,000 and 100,000 rows
//   bench_dipam LINHAS...           the given sizes
//   bench_dipam --gerar LINHAS BANCO  only writes the declaration (for profiling)
//   bench_dipam --medir BANCO MODO  one measurement in this process (MODO
//                                   "construir" or "pdf"); the runs above start
//                                   one process per size and mode, so that the
//                                   peak memory is that size's own.

#include "engine/MotorRelatorio.h"
#include "entry/AplicacaoQt.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <malloc.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point desde) {
    return std::chrono::duration<double>(Relogio::now() - desde).count();
}

// CPU time of the process, which the load of other processes leaves alone.
double SegundosCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double PicoMemoriaMB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024.0;
}

class Sqlite {
public:
    explicit Sqlite(const std::string& caminho) {
        if (sqlite3_open(caminho.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("não abriu " + caminho);
    }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    void Executar(const std::string& sql) {
        char* erro = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &erro) != SQLITE_OK) {
            const std::string mensagem = erro ? erro : "?";
            sqlite3_free(erro);
            throw std::runtime_error(mensagem);
        }
    }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A declaration with `linhas` code-1 rows over 300 municipalities, and a
// tenth as many code-2 rows that the report leaves out.
void Gerar(const std::string& caminho, int linhas) {
    Sqlite banco(caminho);
    std::ifstream arquivo(TARVO_ESQUEMA_SQL);
    std::stringstream esquema;
    esquema << arquivo.rdbuf();
    banco.Executar(esquema.str());
    banco.Executar("BEGIN");
    banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial, CNPJ, CNAE) VALUES "
                   "('123.456.789.110', 'Comércio de Peças Ávila Ltda', '12.345.678/0001-90', "
                   "'4530-7/03');");
    banco.Executar("INSERT INTO tblDeclaração VALUES (1, '123.456.789.110', 1, 2003, 1, "
                   "'ABCD-1234');");

    std::vector<std::string> codigos;
    for (int k = 1; k <= 12; ++k) {
        const std::string codigo = (k < 10 ? "1.0" : "1.") + std::to_string(k);
        codigos.push_back(codigo);
        banco.Executar("INSERT INTO tblCódigosDIPAM VALUES ('" + codigo +
                       "', 'Valor adicionado das operações próprias, por município.', "
                       "'Descrição do código " +
                       codigo + "');");
    }
    banco.Executar("INSERT INTO tblCódigosDIPAM VALUES ('2.01', 'Serviços.', 'Transporte');");

    const char* prefixos[] = {"São",      "Santa",    "Vila",     "Porto",        "Campo",
                              "Ribeirão", "Águas de", "Barra do", "Bom Jesus de", "Nova"};
    const char* nucleos[] = {"Alegre", "Lindóia", "Pedra", "Preto",   "Verde",
                             "Ávila",  "Ouro",    "Itaú",  "Jacareí", "Piraí"};
    const char* sufixos[] = {"", " do Sul", " Paulista"};
    int municipios = 0;
    for (const char* p : prefixos)
        for (const char* n : nucleos)
            for (const char* s : sufixos)
                banco.Executar("INSERT INTO tblMunicípios VALUES (" + std::to_string(++municipios) +
                               ", '" + p + " " + n + s + "');");

    sqlite3_stmt* inserir = nullptr;
    sqlite3_prepare_v2(banco.Handle(), "INSERT INTO tblDIPAM VALUES (1, ?, ?, ?)", -1, &inserir,
                       nullptr);
    std::mt19937 aleatorio(42);
    std::uniform_int_distribution<int> municipio(1, municipios);
    std::uniform_int_distribution<int> codigo(0, static_cast<int>(codigos.size()) - 1);
    std::uniform_int_distribution<int> centavos(1, 99'999'999);
    for (int k = 0; k < linhas + linhas / 10; ++k) {
        const std::string cod = k < linhas ? codigos[codigo(aleatorio)] : "2.01";
        sqlite3_bind_int(inserir, 1, municipio(aleatorio));
        sqlite3_bind_text(inserir, 2, cod.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(inserir, 3, centavos(aleatorio) / 100.0);
        sqlite3_step(inserir);
        sqlite3_reset(inserir);
    }
    sqlite3_finalize(inserir);
    banco.Executar("COMMIT");
}

// One measurement: prints its part of the table's row, without the newline.
// Times are CPU seconds.
int Medir(const std::string& caminho, const std::string& modo) {
    const auto aplicacao = tarvo::AplicacaoQt::Garantir(tarvo::AplicacaoQt::Uso::Arquivos);
    const tarvo::Database banco(caminho);
    tarvo::RelatorioDIPAMCodigo1 relatorio;
    const double antesConstruir = SegundosCpu();
    relatorio.Construir(banco, 1);
    const double construir = SegundosCpu() - antesConstruir;

    double pdf = 0;
    if (modo == "pdf") {
        const double antesPdf = SegundosCpu();
        relatorio.Motor().SalvarPdf(caminho + ".pdf");
        pdf = SegundosCpu() - antesPdf;
    }
    std::printf("%7d  %-9s %9.3f %7.3f %9.1f %9.1f", relatorio.Motor().NumeroPaginas(),
                modo.c_str(), construir, pdf, PicoMemoriaMB(),
                relatorio.Motor().BytesDocumento() / 1048576.0);
    std::fflush(stdout);
    return EXIT_SUCCESS;
}

// Runs one measurement in a child process; gives its wall and CPU seconds.
std::pair<double, double> MedirEmProcesso(const std::string& caminho, const std::string& modo) {
    const auto inicio = Relogio::now();
    const pid_t filho = fork();
    if (filho == 0) {
        execl("/proc/self/exe", "bench_dipam", "--medir", caminho.c_str(), modo.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int estado = 0;
    rusage uso{};
    wait4(filho, &estado, 0, &uso);
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
        throw std::runtime_error("a medição falhou");
    const double cpu = uso.ru_utime.tv_sec + uso.ru_utime.tv_usec / 1e6 + uso.ru_stime.tv_sec +
                       uso.ru_stime.tv_usec / 1e6;
    return {Segundos(inicio), cpu};
}

} // namespace

int main(int argc, char** argv) {
    // The allocator thresholds of the command-line program.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    try {
        const std::vector<std::string> argumentos(argv + 1, argv + argc);
        if (argumentos.size() == 3 && argumentos[0] == "--medir")
            return Medir(argumentos[1], argumentos[2]);
        if (argumentos.size() == 3 && argumentos[0] == "--gerar") {
            Gerar(argumentos[2], std::stoi(argumentos[1]));
            return EXIT_SUCCESS;
        }

        std::vector<int> tamanhos = {1'000, 10'000, 100'000};
        if (!argumentos.empty()) {
            tamanhos.clear();
            for (const std::string& a : argumentos)
                tamanhos.push_back(std::stoi(a));
        }
        char modelo[] = "/tmp/bench-dipam-XXXXXX";
        const std::filesystem::path pasta = mkdtemp(modelo);
        // Qt wants a private runtime folder; the temporary one is.
        setenv("XDG_RUNTIME_DIR", pasta.c_str(), 0);

        std::printf("DIPAM código 1. construir: consultas e leiaute, sem desenho; pdf: gravação;\n"
                    "processo: a execução inteira (CPU e relógio); pico: ru_maxrss; reg.: o\n"
                    "registro do documento no motor. Tempos de fase em segundos de CPU.\n\n");
        std::printf("%7s %7s  %-9s %9s %7s %9s %9s %8s %8s\n", "linhas", "páginas", "modo",
                    "construir", "pdf", "pico (MB)", "reg. (MB)", "proc.CPU", "proc.rel");
        for (const int linhas : tamanhos) {
            const std::string banco = (pasta / ("dipam-" + std::to_string(linhas) + ".db"));
            Gerar(banco, linhas);
            for (const char* modo : {"construir", "pdf"}) {
                std::printf("%7d ", linhas);
                std::fflush(stdout);
                const auto [relogio, cpu] = MedirEmProcesso(banco, modo);
                std::printf(" %8.3f %8.3f\n", cpu, relogio);
            }
        }
        std::filesystem::remove_all(pasta);
        return EXIT_SUCCESS;
    } catch (const tarvo::Erro& erro) {
        std::cerr << "Erro " << erro.Numero() << ": " << erro.Descricao() << "\n";
    } catch (const std::exception& erro) {
        std::cerr << erro.what() << "\n";
    }
    return EXIT_FAILURE;
}
