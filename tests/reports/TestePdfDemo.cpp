// The PDFs of whole reports against the engine's own page images: poppler's
// rendering of every page of the demo's reports, and of pages of a
// 700-page declaration, agrees with the page image at 100 dpi; and a reader
// that follows the tags gets a report's title (one heading a report) and
// then its rows, once, with the repeated page headers and the footers left
// out as artifacts.

#include "AuxiliarRelatorios.h"

#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaiInterestad.h"
#include "support/LeitorPdf.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace tarvo::teste {
namespace {

constexpr int dpi = 100;

// The share of pixels of the two grey images, over the part they share,
// that the other image matches within a quarter of the grey scale at the
// same place or one pixel away: two rasterizers put a hairline or a glyph's
// edge on neighbouring pixels, a missing or misplaced element differs.
double Concordancia(const QImage& a, const QImage& b) {
    const int w = std::min(a.width(), b.width());
    const int h = std::min(a.height(), b.height());
    const auto perto = [w, h](const QImage& i, const QImage& o, int x, int y) {
        const int cinza = i.constScanLine(y)[x];
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = x + dx;
                const int py = y + dy;
                if (px >= 0 && py >= 0 && px < w && py < h &&
                    std::abs(o.constScanLine(py)[px] - cinza) <= 64)
                    return true;
            }
        }
        return false;
    };
    size_t iguais = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            iguais += perto(a, b, x, y) && perto(b, a, x, y) ? 1 : 0;
    }
    return double(iguais) / (double(w) * double(h));
}

// Poppler's rendering of `paginas` against the engine's images of them.
void CompararImagens(MotorRelatorio& motor, const std::string& pdf, const std::vector<int>& paginas,
                     const std::string& nome) {
    const QTemporaryDir pasta;
    for (const int pagina : paginas) {
        const std::string prefixo = pasta.filePath("p").toStdString();
        Executar("pdftoppm", {"-r", std::to_string(dpi), "-gray", "-singlefile", "-f",
                              std::to_string(pagina), "-l", std::to_string(pagina), pdf, prefixo});
        const QImage lida(QString::fromStdString(prefixo + ".pgm"));
        ASSERT_FALSE(lida.isNull()) << nome << " página " << pagina;
        const QImage propria =
            motor.RenderizarPagina(pagina, dpi).convertToFormat(QImage::Format_Grayscale8);
        EXPECT_LE(std::abs(lida.width() - propria.width()), 1);
        EXPECT_LE(std::abs(lida.height() - propria.height()), 1);
        EXPECT_GE(Concordancia(lida.convertToFormat(QImage::Format_Grayscale8), propria), 0.995)
            << nome << " página " << pagina;
    }
}

std::string Ler(const std::string& caminho) {
    std::ifstream arquivo(caminho);
    std::stringstream texto;
    texto << arquivo.rdbuf();
    return texto.str();
}

// The texts of the structure tree in reading order, each with the tag
// that holds it ("H1 DIPAM - Código 1", "TD 1.1"), as pypdf reads them.
std::vector<std::string> Estrutura(const std::string& pdf) {
    const QStringList linhas =
        QString::fromStdString(
            Executar("/usr/bin/python3", {TARVO_FONTE_DIR "/tests/support/estrutura_pdf.py", pdf}))
            .split('\n', Qt::SkipEmptyParts);
    std::vector<std::string> lidos;
    for (const QString& linha : linhas)
        lidos.push_back(linha.trimmed().toStdString());
    return lidos;
}

template <class R> void CompararDemo(const Database& banco, const std::string& nome) {
    R relatorio;
    if constexpr (std::is_same_v<R, RelatorioCadastro>)
        relatorio.Construir(banco, "110.042.490.114");
    else
        relatorio.Construir(banco, 1);
    MotorRelatorio& motor = relatorio.Motor();
    const QTemporaryDir pasta;
    const std::string pdf = pasta.filePath("r.pdf").toStdString();
    motor.SalvarPdf(pdf);
    std::vector<int> paginas;
    for (int p = 1; p <= motor.NumeroPaginas(); ++p)
        paginas.push_back(p);
    CompararImagens(motor, pdf, paginas, nome);
    // Each report's header title heads its tags, once.
    const std::vector<std::string> lidos = Estrutura(pdf);
    EXPECT_EQ(std::count_if(lidos.begin(), lidos.end(),
                            [](const std::string& l) { return l.rfind("H1 ", 0) == 0; }),
              1)
        << nome;
}

TEST(PdfDemo, PaginasComoAsImagensDoMotor) {
    BancoTeste demo;
    demo.Executar(Ler(TARVO_FONTE_DIR "/demo/demo.sql"));
    const Database banco(demo.Caminho());
    CompararDemo<RelatorioCadastro>(banco, "cadastro");
    CompararDemo<RelatorioEntradas>(banco, "entradas");
    CompararDemo<RelatorioSaiInterestad>(banco, "saídas interestaduais");
    CompararDemo<RelatorioDIPAMCodigo1>(banco, "DIPAM 1");
    CompararDemo<RelatorioResReceitaBruta>(banco, "receita bruta");
}

// A declaration of `linhas` DIPAM code-1 rows over 300 municipalities.
void GerarDipam(BancoTeste& banco, int linhas) {
    InserirDeclaracao(banco);
    banco.Executar("INSERT INTO tblCódigosDIPAM VALUES ('1.1', 'Grupo um.', 'Um'), "
                   "('1.2', 'Grupo um.', 'Dois');"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                   "INSERT INTO tblMunicípios SELECT i, 'Município ' || i FROM n;"
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                   std::to_string(linhas) +
                   ") INSERT INTO tblDIPAM SELECT 7, i % 300 + 1, '1.' || (i % 2 + 1), "
                   "(i * 37 % 100000) / 100.0 FROM n;");
}

TEST(PdfDemo, SetecentasPaginas) {
    BancoTeste banco;
    GerarDipam(banco, 19600);
    const Database bd(banco.Caminho());
    RelatorioDIPAMCodigo1 relatorio;
    relatorio.Construir(bd, 7);
    MotorRelatorio& motor = relatorio.Motor();
    const int total = motor.NumeroPaginas();
    ASSERT_GE(total, 700);
    const QTemporaryDir pasta;
    const std::string pdf = pasta.filePath("r.pdf").toStdString();
    motor.SalvarPdf(pdf);
    EXPECT_NE(Executar("qpdf", {"--check", pdf}).find("No syntax or stream encoding errors"),
              std::string::npos);
    EXPECT_TRUE(QString::fromStdString(Executar("pdfinfo", {pdf}))
                    .contains(QRegularExpression("Pages:\\s+" + QString::number(total) + "\n")));
    const std::vector<int> amostra = {1, 2, total / 2, total - 1, total};
    CompararImagens(motor, pdf, amostra, "DIPAM grande");
    // Every page carries its own content: its number is on it, whichever
    // core laid it out and compressed it.
    const QStringList paginas = QString::fromStdString(Executar("pdftotext", {pdf, "-"}))
                                    .split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(paginas.size(), total);
    for (int pagina = 1; pagina <= total; ++pagina) {
        EXPECT_TRUE(
            paginas[pagina - 1].contains(QStringLiteral("Página %1 de %2").arg(pagina).arg(total)))
            << pagina;
    }
}

// Tags, on a report of some thirty pages: the page header once, the title
// as the heading, the rows in the order the pages show them, no footer.
TEST(PdfDemo, EtiquetasNaOrdemDeLeitura) {
    BancoTeste banco;
    GerarDipam(banco, 900);
    const Database bd(banco.Caminho());
    RelatorioDIPAMCodigo1 relatorio;
    relatorio.Construir(bd, 7);
    MotorRelatorio& motor = relatorio.Motor();
    ASSERT_GT(motor.NumeroPaginas(), 20);
    const QTemporaryDir pasta;
    const std::string pdf = pasta.filePath("r.pdf").toStdString();
    motor.SalvarPdf(pdf);

    const std::vector<std::string> lidos = Estrutura(pdf);
    const auto contar = [&lidos](const std::string& texto) {
        return std::count(lidos.begin(), lidos.end(), texto);
    };
    EXPECT_EQ(contar("P Governo do Estado de Ostrana"), 1);
    EXPECT_EQ(contar("H1 DIPAM - Código 1"), 1);
    for (const std::string& lido : lidos)
        EXPECT_EQ(lido.find("Página"), std::string::npos) << lido;
    std::vector<std::string> municipios;
    for (const std::string& lido : lidos) {
        if (lido.rfind("TD Município ", 0) == 0 &&
            (municipios.empty() || municipios.back() != lido))
            municipios.push_back(lido);
    }
    // As the pages show them: the word "Município" and its number.
    const PdfLido lido = LerPdf(pdf);
    std::vector<std::string> naPagina;
    for (size_t i = 0; i + 1 < lido.palavras.size(); ++i) {
        const Palavra& p = lido.palavras[i];
        if (p.texto != "Município" || p.xMin > margem + 10)
            continue;
        const std::string nome = "TD Município " + lido.palavras[i + 1].texto;
        if (naPagina.empty() || naPagina.back() != nome)
            naPagina.push_back(nome);
    }
    EXPECT_EQ(municipios.size(), 300u);
    EXPECT_EQ(municipios, naPagina);
}

} // namespace
} // namespace tarvo::teste
