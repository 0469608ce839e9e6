// Files on a real full filesystem: a small tmpfs that the test mounts (as
// root) and fills to several levels before writing a PDF and a JSON record.
// Whatever the level, a file is either complete or absent with the reason,
// and an older file of the same name survives a failed write.

#include "engine/MotorRelatorio.h"
#include "support/LeitorPdf.h"
#include <RelatoriosTarvo/Erro.h>

#include <QJsonDocument>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace tarvo::teste {
namespace {

namespace fs = std::filesystem;

std::string Ler(const fs::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(arquivo), {});
}

// A tmpfs of 64 KB mounted on a folder of its own, unmounted at the end.
class SistemaPequeno {
public:
    SistemaPequeno() {
        char modelo[] = "/tmp/tarvo-cheio-XXXXXX";
        if (mkdtemp(modelo) == nullptr)
            return;
        pasta_ = modelo;
        montado_ = ::mount("tmpfs", modelo, "tmpfs", 0, "size=64k") == 0;
    }
    ~SistemaPequeno() {
        if (montado_)
            ::umount2(pasta_.c_str(), MNT_DETACH);
        if (!pasta_.empty())
            fs::remove_all(pasta_);
    }
    bool Montado() const { return montado_; }
    const fs::path& Pasta() const { return pasta_; }

private:
    fs::path pasta_;
    bool montado_ = false;
};

// About 90 KB of PDF and 300 KB of JSON: more than the filesystem holds.
void Preencher(MotorRelatorio& motor) {
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Saídas");
    for (int pagina = 0; pagina < 8; ++pagina) {
        if (pagina > 0)
            motor.NovaPagina();
        for (int linha = 0; linha < 40; ++linha) {
            motor.AdicionarCaixa(0, linha * 0.6, 17, 0.6, 0, 0.1, 0, 0xFFFFFF, 1);
            motor.AdicionarTexto(0.1, linha * 0.6, 16.8, 0.6,
                                 "Linha " + std::to_string(pagina * 100 + linha) + " ação", 0, 1,
                                 "Arial", 8, 0, 0, 0, 0);
        }
    }
}

TEST(Gravacao, DiscoCheioNaoDeixaArquivoPelaMetade) {
    if (geteuid() != 0)
        GTEST_SKIP() << "Mounting the small tmpfs needs root";
    const SistemaPequeno sistema;
    if (!sistema.Montado())
        GTEST_SKIP() << "This machine does not let the test mount a tmpfs";
    MotorRelatorio motor;
    Preencher(motor);
    const fs::path pdf = sistema.Pasta() / "03-RelatorioSaidas.pdf";
    const fs::path json = sistema.Pasta() / "03-RelatorioSaidas.json";
    const fs::path enchimento = sistema.Pasta() / "enchimento";
    const std::string antigo = "versão anterior";

    int falhas = 0;
    for (const int kb : {0, 8, 24, 40, 48, 56, 62}) {
        for (const fs::path& destino : {pdf, json}) {
            for (const fs::path& arquivo : {enchimento, pdf, json})
                fs::remove(arquivo);
            std::ofstream(destino) << antigo;
            std::ofstream(enchimento) << std::string(static_cast<size_t>(kb) * 1024, 'x');
            try {
                if (destino == pdf)
                    motor.SalvarPdf(pdf.string());
                else
                    motor.SalvarJson(json.string());
                // Written: complete.
                if (destino == pdf)
                    EXPECT_EQ(LerPdf(pdf.string()).paginas.size(), 8u) << kb << " KB";
                else
                    EXPECT_FALSE(
                        QJsonDocument::fromJson(QByteArray::fromStdString(Ler(json))).isNull())
                        << kb << " KB";
            } catch (const Erro& erro) {
                ++falhas;
                EXPECT_EQ(erro.Numero(), Erro::GravacaoArquivo);
                EXPECT_NE(erro.Descricao().find(destino.string()), std::string::npos);
                EXPECT_NE(erro.Descricao().find("No space left on device"), std::string::npos)
                    << erro.Descricao();
                EXPECT_EQ(Ler(destino), antigo) << kb << " KB";
            }
            // No temporary left behind, whatever happened.
            std::set<std::string> nomes;
            for (const auto& entrada : fs::directory_iterator(sistema.Pasta()))
                nomes.insert(entrada.path().filename().string());
            EXPECT_EQ(nomes, (std::set<std::string>{"enchimento", destino.filename().string()}));
        }
    }
    // At 8 KB the files fit no more; at 0 KB the PDF does.
    EXPECT_GE(falhas, 10);
}

} // namespace
} // namespace tarvo::teste
