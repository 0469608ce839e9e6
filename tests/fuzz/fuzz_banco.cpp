// fuzz_banco: a declaration database file made of the input's bytes, opened
// by path and exported whole: the ten reports as PDF and JSON, offscreen.
// As for a host without Qt, the library creates its Qt application for each
// input and removes it after, so that inputs do not depend on each other.
// Any tarvo::Erro is an accepted outcome (a damaged file, values out of
// range); crashes, hangs and sanitizer reports are findings, and so is any
// change to the file or any file left beside it.
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Falha(const std::string& descricao) {
    std::fprintf(stderr, "fuzz_banco: %s\n", descricao.c_str());
    std::abort();
}

// A folder of its own for one input, removed with everything in it.
class PastaTemporaria {
public:
    PastaTemporaria() {
        std::string modelo = (fs::temp_directory_path() / "tarvo-fuzz-XXXXXX").string();
        if (mkdtemp(modelo.data()) == nullptr)
            Falha("mkdtemp falhou");
        caminho_ = modelo;
    }
    ~PastaTemporaria() {
        std::error_code erro;
        fs::remove_all(caminho_, erro);
    }
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;

    const fs::path& Caminho() const { return caminho_; }

private:
    fs::path caminho_;
};

std::string Bytes(const fs::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(arquivo), {});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const PastaTemporaria pasta;
    const fs::path banco = pasta.Caminho() / "declaracao.db";
    const fs::path saida = pasta.Caminho() / "saida";
    const std::string conteudo(reinterpret_cast<const char*>(dados), tamanho);
    {
        std::ofstream arquivo(banco, std::ios::binary);
        arquivo << conteudo;
        if (!arquivo.flush())
            Falha("não foi possível gravar " + banco.string());
    }
    try {
        const tarvo::Database bancoDados(banco.string());
        tarvo::Relatorios relatorios;
        relatorios.Exportar(bancoDados, "110.042.490.114", 1, 1023, saida.string(), saida.string(),
                            (saida / "todos.pdf").string());
    } catch (const tarvo::Erro&) {
    }
    if (Bytes(banco) != conteudo)
        Falha("o banco foi alterado");
    // A database marked as WAL gets the -shm file SQLite keeps beside it and
    // an empty -wal; nothing else may appear.
    for (const fs::directory_entry& entrada : fs::directory_iterator(pasta.Caminho())) {
        const fs::path& caminho = entrada.path();
        const bool wal =
            caminho.string() == banco.string() + "-shm" ||
            (caminho.string() == banco.string() + "-wal" && fs::file_size(caminho) == 0);
        if (caminho != banco && caminho != saida && !wal)
            Falha("arquivo deixado junto ao banco: " + caminho.string());
    }
    return 0;
}
