// Where a file the library writes really lands, on a real folder: links are
// followed and kept, only regular files are replaced, permission bits carry
// over without the special ones, and no temporary is ever left behind.

#include "common/ArquivoAtomico.h"
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace tarvo {
namespace {

namespace fs = std::filesystem;

std::string Ler(const fs::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(arquivo), {});
}

mode_t Modo(const fs::path& caminho) {
    struct stat info {};
    EXPECT_EQ(::lstat(caminho.c_str(), &info), 0) << caminho;
    return info.st_mode;
}

class TesteArquivoAtomico : public ::testing::Test {
protected:
    TesteArquivoAtomico() {
        char modelo[] = "/tmp/tarvo-arquivo-XXXXXX";
        pasta_ = ::mkdtemp(modelo);
    }
    ~TesteArquivoAtomico() override { fs::remove_all(pasta_); }

    fs::path Em(const std::string& nome) const { return pasta_ / nome; }
    std::set<std::string> Nomes() const {
        std::set<std::string> nomes;
        for (const auto& entrada : fs::directory_iterator(pasta_))
            nomes.insert(entrada.path().filename().string());
        return nomes;
    }
    // The description of the error writing `caminho` raises; "" when none.
    static std::string Recusa(const fs::path& caminho,
                              const std::vector<std::string>& protegidos = {}) {
        try {
            ArquivoAtomico::Gravar(caminho.string(), "novo", protegidos);
        } catch (const Erro& erro) {
            EXPECT_EQ(erro.Numero(), Erro::GravacaoArquivo);
            return erro.Descricao();
        }
        return "";
    }

    fs::path pasta_;
};

TEST_F(TesteArquivoAtomico, LigacoesLevamAoAlvoQueESubstituidoEFica) {
    // A chain of two links, one relative and one absolute, to an existing file.
    std::ofstream(Em("alvo.pdf")) << "velho";
    fs::create_symlink(Em("alvo.pdf"), Em("meio"));
    fs::create_symlink("meio", Em("ligacao.pdf"));
    ArquivoAtomico::Gravar(Em("ligacao.pdf").string(), "novo");
    EXPECT_EQ(Ler(Em("alvo.pdf")), "novo");
    EXPECT_TRUE(fs::is_symlink(Em("ligacao.pdf")));
    EXPECT_TRUE(fs::is_symlink(Em("meio")));

    // A dangling link makes its target.
    fs::create_symlink("sub/criado.pdf", Em("pendente"));
    fs::create_directory(Em("sub"));
    ArquivoAtomico::Gravar(Em("pendente").string(), "novo");
    EXPECT_EQ(Ler(Em("sub/criado.pdf")), "novo");
    EXPECT_TRUE(fs::is_symlink(Em("pendente")));

    // A loop is an error, not a hang.
    fs::create_symlink("laco2", Em("laco1"));
    fs::create_symlink("laco1", Em("laco2"));
    EXPECT_NE(Recusa(Em("laco1")).find("Too many levels of symbolic links"), std::string::npos);
    EXPECT_EQ(Nomes(), (std::set<std::string>{"alvo.pdf", "meio", "ligacao.pdf", "pendente", "sub",
                                              "laco1", "laco2"}));
}

TEST_F(TesteArquivoAtomico, SoArquivosComunsSaoSubstituidos) {
    fs::create_directory(Em("pasta"));
    ::mkfifo(Em("fila").c_str(), 0644);
    fs::create_symlink(Em("fila"), Em("para-fila"));
    fs::create_symlink("/proc/self/fd/0", Em("entrada"));
    EXPECT_NE(Recusa(Em("pasta")).find("não é um arquivo comum: é uma pasta"), std::string::npos);
    EXPECT_NE(Recusa(Em("fila")).find("é um pipe (FIFO)"), std::string::npos);
    EXPECT_NE(Recusa(Em("para-fila")).find("é um pipe (FIFO)"), std::string::npos);
    EXPECT_NE(Recusa(Em("pasta") / ".").find("é uma pasta"), std::string::npos);
    if (::isatty(0)) {
        EXPECT_NE(Recusa(Em("entrada")).find("é um dispositivo"), std::string::npos);
    }
    EXPECT_TRUE(S_ISFIFO(Modo(Em("fila"))));
    EXPECT_TRUE(fs::is_directory(Em("pasta")));
    EXPECT_NE(Recusa(Em("pasta/")).find("o caminho não tem nome de arquivo"), std::string::npos);

    if (geteuid() != 0)
        GTEST_SKIP() << "Making a device with mknod needs root";
    // A copy of /dev/null of the test's own.
    ASSERT_EQ(::mknod(Em("nulo").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_NE(Recusa(Em("nulo")).find("é um dispositivo"), std::string::npos);
    EXPECT_TRUE(S_ISCHR(Modo(Em("nulo"))));
}

TEST_F(TesteArquivoAtomico, PermissoesSemBitsEspeciaisENomesLongos) {
    std::ofstream(Em("programa")) << "velho";
    ::chmod(Em("programa").c_str(), 04755);
    fs::create_symlink("programa", Em("ligacao"));
    ArquivoAtomico::Gravar(Em("ligacao").string(), "novo");
    EXPECT_EQ(Modo(Em("programa")) & 07777, 0755u);

    const mode_t anterior = ::umask(027);
    ArquivoAtomico::Gravar(Em("novo.pdf").string(), "novo");
    ::umask(anterior);
    EXPECT_EQ(Modo(Em("novo.pdf")) & 07777, 0640u);

    // The longest name a folder takes.
    const std::string longo = std::string(251, 'n') + ".pdf";
    ArquivoAtomico::Gravar(Em(longo).string(), "novo");
    EXPECT_EQ(Ler(Em(longo)), "novo");
    EXPECT_NE(Recusa(Em(longo + "x")).find("File name too long"), std::string::npos);
    EXPECT_EQ(Nomes(), (std::set<std::string>{"programa", "ligacao", "novo.pdf", longo}));
}

TEST_F(TesteArquivoAtomico, ArquivosProtegidosPorQualquerGrafia) {
    std::ofstream(Em("banco.db")) << "banco";
    fs::create_directory(Em("p"));
    fs::create_hard_link(Em("banco.db"), Em("p/outro-nome"));
    fs::create_symlink("../banco.db", Em("p/ligacao"));
    const std::vector<std::string> protegidos = {Em("banco.db"), Em("banco.db-wal")};
    for (const fs::path& caminho :
         {Em("p/../banco.db"), Em("p/outro-nome"), Em("p/ligacao"), Em("./banco.db-wal")}) {
        EXPECT_NE(
            Recusa(caminho, protegidos).find("é o mesmo arquivo que \"" + Em("banco.db").string()),
            std::string::npos)
            << caminho;
    }
    EXPECT_EQ(Ler(Em("banco.db")), "banco");
    EXPECT_FALSE(fs::exists(Em("banco.db-wal")));

    // Relative to the working folder, as a user types it.
    const fs::path antes = fs::current_path();
    fs::current_path(Em("p"));
    EXPECT_NE(Recusa("../banco.db", protegidos), "");
    fs::current_path(antes);
    EXPECT_EQ(Recusa(Em("banco.pdf"), protegidos), "");
}

} // namespace
} // namespace tarvo
