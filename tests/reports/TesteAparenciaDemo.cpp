// The ten reports of the demo declaration look as they looked when these
// references were taken: every word of each PDF in its place (poppler's word
// boxes, within half a point, so on the same lines) and every page image
// close to the stored one. A change of
// the engine's text layout or drawing that moves or loses anything shows
// here. TARVO_GERAR_REFERENCIAS=1 writes the references instead (only when
// a change of the reports' look is meant).

#include "AuxiliarRelatorios.h"

#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioDIPAMCodigo2.h"
#include "reports/RelatorioDIPAMCodigo3.h"
#include "reports/RelatorioEntInterestad.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResImpostoDecl.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaiInterestad.h"
#include "reports/RelatorioSaidas.h"
#include "support/LeitorPdf.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <type_traits>

namespace tarvo::teste {
namespace {

const std::string pastaReferencias = TARVO_FONTE_DIR "/tests/reports/referencias/";
constexpr int dpiImagem = 50;

bool Gerar() {
    const char* valor = std::getenv("TARVO_GERAR_REFERENCIAS");
    return valor != nullptr && std::string(valor) == "1";
}

std::string Ler(const std::string& caminho) {
    std::ifstream arquivo(caminho);
    std::stringstream texto;
    texto << arquivo.rdbuf();
    return texto.str();
}

// The date and time of the footer change from run to run.
bool Variavel(const std::string& palavra) {
    static const QRegularExpression momento(R"(^\d\d/\d\d/\d\d\d\d$|^\d\d:\d\d(:\d\d)?$)");
    return momento.match(QString::fromStdString(palavra)).hasMatch();
}

std::vector<Palavra> Palavras(const std::string& pdf) {
    std::vector<Palavra> palavras;
    for (const Palavra& p : LerPdf(pdf).palavras) {
        if (!Variavel(p.texto)) {
            palavras.push_back(p);
        }
    }
    return palavras;
}

void GravarPalavras(const std::vector<Palavra>& palavras, const std::string& caminho) {
    std::ofstream arquivo(caminho);
    arquivo.precision(3);
    arquivo << std::fixed;
    for (const Palavra& p : palavras) {
        arquivo << p.pagina << '\t' << p.xMin << '\t' << p.yMin << '\t' << p.xMax << '\t' << p.yMax
                << '\t' << p.texto << '\n';
    }
}

std::vector<Palavra> LerPalavras(const std::string& caminho) {
    std::vector<Palavra> palavras;
    std::istringstream linhas(Ler(caminho));
    std::string linha;
    while (std::getline(linhas, linha)) {
        std::istringstream campos(linha);
        Palavra p{};
        campos >> p.pagina >> p.xMin >> p.yMin >> p.xMax >> p.yMax;
        campos.ignore(1);
        std::getline(campos, p.texto);
        palavras.push_back(p);
    }
    return palavras;
}

// Each grey the mean of its 3×3 neighbourhood: a glyph drawn a fraction of
// a pixel away then differs little, a missing or misplaced one a lot.
std::vector<int> Suavizada(const QImage& imagem) {
    const int w = imagem.width();
    const int h = imagem.height();
    std::vector<int> media(static_cast<size_t>(w) * static_cast<size_t>(h), 255);
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            int soma = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                const uchar* linha = imagem.constScanLine(y + dy);
                soma += linha[x - 1] + linha[x] + linha[x + 1];
            }
            media[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                soma / 9;
        }
    }
    return media;
}

// The share of pixels whose smoothed grey differs by more than a quarter,
// outside the footer's date and time (the bottom strip of the page).
double Diferentes(const QImage& a, const QImage& b) {
    const std::vector<int> sa = Suavizada(a);
    const std::vector<int> sb = Suavizada(b);
    const size_t limite =
        static_cast<size_t>(a.width()) * static_cast<size_t>(a.height() * 93 / 100);
    size_t diferentes = 0;
    for (size_t i = 0; i < limite; ++i) {
        diferentes += std::abs(sa[i] - sb[i]) > 64 ? 1 : 0;
    }
    return double(diferentes) / double(limite);
}

template <class R> void Comparar(const Database& banco, const std::string& nome) {
    R relatorio;
    if constexpr (std::is_same_v<R, RelatorioCadastro>) {
        relatorio.Construir(banco, "110.042.490.114");
    } else {
        relatorio.Construir(banco, 1);
    }
    MotorRelatorio& motor = relatorio.Motor();
    const QTemporaryDir pasta;
    const std::string pdf = pasta.filePath("r.pdf").toStdString();
    motor.SalvarPdf(pdf);
    const std::vector<Palavra> palavras = Palavras(pdf);
    const std::string arquivoPalavras = pastaReferencias + nome + ".palavras";
    if (Gerar()) {
        GravarPalavras(palavras, arquivoPalavras);
    }
    const std::vector<Palavra> esperadas = LerPalavras(arquivoPalavras);
    EXPECT_TRUE(MesmasPalavras(palavras, esperadas, 0.5)) << nome;

    for (int pagina = 1; pagina <= motor.NumeroPaginas(); ++pagina) {
        const QImage imagem =
            motor.RenderizarPagina(pagina, dpiImagem).convertToFormat(QImage::Format_Grayscale8);
        const std::string arquivo = pastaReferencias + nome + "-" + std::to_string(pagina) + ".png";
        if (Gerar()) {
            imagem.save(QString::fromStdString(arquivo));
        }
        const QImage esperada(QString::fromStdString(arquivo));
        ASSERT_EQ(imagem.size(), esperada.size()) << arquivo;
        EXPECT_LT(Diferentes(imagem, esperada.convertToFormat(QImage::Format_Grayscale8)), 0.003)
            << arquivo;
    }
}

TEST(AparenciaDemo, PalavrasEImagensComoAsReferencias) {
    BancoTeste demo;
    demo.Executar(Ler(TARVO_FONTE_DIR "/demo/demo.sql"));
    const Database banco(demo.Caminho());
    Comparar<RelatorioCadastro>(banco, "01-cadastro");
    Comparar<RelatorioEntradas>(banco, "02-entradas");
    Comparar<RelatorioSaidas>(banco, "03-saidas");
    Comparar<RelatorioEntInterestad>(banco, "04-entradas-interestaduais");
    Comparar<RelatorioSaiInterestad>(banco, "05-saidas-interestaduais");
    Comparar<RelatorioDIPAMCodigo1>(banco, "06-dipam-1");
    Comparar<RelatorioDIPAMCodigo2>(banco, "07-dipam-2");
    Comparar<RelatorioDIPAMCodigo3>(banco, "08-dipam-3");
    Comparar<RelatorioResImpostoDecl>(banco, "09-resumo-imposto");
    Comparar<RelatorioResReceitaBruta>(banco, "10-resumo-receita");
}

} // namespace
} // namespace tarvo::teste
