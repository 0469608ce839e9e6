// PDF and page-image output, read back with poppler's tools: positions,
// alignment, wrapping, placeholders, fonts, clipping and colours.

#include "engine/MotorRelatorio.h"
#include "support/LeitorPdf.h"
#include <RelatoriosTarvo/Erro.h>

#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvo::teste {
namespace {

constexpr double tolerancia = 0.5; // points

class Pdf : public ::testing::Test {
protected:
    std::string Gravar(const MotorRelatorio& motor, const std::string& nome = "saida.pdf") {
        const std::string caminho = pasta_.filePath(QString::fromStdString(nome)).toStdString();
        motor.SalvarPdf(caminho);
        return caminho;
    }
    static void Iniciar(MotorRelatorio& motor, int32_t orientacao) {
        motor.IniciarDocumento();
        motor.DefinirTitulo("Relatório de Entradas");
        motor.DefinirOrientacao(orientacao);
        motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    }
    static void Texto(MotorRelatorio& motor, double x, double y, double w, double h,
                      const std::string& texto, int32_t horizontal, int32_t vertical,
                      double tamanho = 10, int32_t negrito = 0) {
        motor.AdicionarTexto(x, y, w, h, texto, horizontal, vertical, "Arial", tamanho, negrito, 0,
                             0, 0);
    }

    QTemporaryDir pasta_;
};

class PdfOrientacao : public Pdf, public ::testing::WithParamInterface<int32_t> {};

TEST_P(PdfOrientacao, TextosNasPosicoesEAlinhamentos) {
    const bool paisagem = GetParam() == 1;
    const double w = paisagem ? 25.7 : 17.0; // usable area
    const double h = paisagem ? 17.0 : 25.7;
    MotorRelatorio motor;
    Iniciar(motor, GetParam());
    Texto(motor, 0, 0, w, 1, "Esquerda", 0, 0);
    Texto(motor, 0, 0, w, 1, "Direita", 2, 0);
    Texto(motor, 0, 2, w, 2, "Centro", 1, 1);
    Texto(motor, 1, 5, 4, 2, "Fundo", 0, 2);
    Texto(motor, w - 5, h - 1, 5, 1, "Canto", 2, 2);
    const PdfLido pdf = LerPdf(Gravar(motor));

    ASSERT_EQ(pdf.paginas.size(), 1u);
    EXPECT_NEAR(pdf.paginas[0].largura, (paisagem ? 29.7 : 21.0) * pontosPorCm, tolerancia);
    EXPECT_NEAR(pdf.paginas[0].altura, (paisagem ? 21.0 : 29.7) * pontosPorCm, tolerancia);

    const Palavra esquerda = pdf.Unica("Esquerda");
    EXPECT_NEAR(esquerda.xMin, margem, tolerancia);
    EXPECT_NEAR(esquerda.yMin, margem, tolerancia);
    const Palavra direita = pdf.Unica("Direita");
    EXPECT_NEAR(direita.xMax, margem + w * pontosPorCm, tolerancia);
    EXPECT_NEAR(direita.yMin, margem, tolerancia);
    const Palavra centro = pdf.Unica("Centro");
    EXPECT_NEAR((centro.xMin + centro.xMax) / 2, margem + w / 2 * pontosPorCm, tolerancia);
    EXPECT_NEAR((centro.yMin + centro.yMax) / 2, margem + 3 * pontosPorCm, tolerancia);
    const Palavra fundo = pdf.Unica("Fundo");
    EXPECT_NEAR(fundo.xMin, margem + 1 * pontosPorCm, tolerancia);
    EXPECT_NEAR(fundo.yMax, margem + 7 * pontosPorCm, tolerancia);
    const Palavra canto = pdf.Unica("Canto");
    EXPECT_NEAR(canto.xMax, margem + w * pontosPorCm, tolerancia);
    EXPECT_NEAR(canto.yMax, margem + h * pontosPorCm, tolerancia);
}

INSTANTIATE_TEST_SUITE_P(RetratoEPaisagem, PdfOrientacao, ::testing::Values(0, 1));

// Text widths on paper are the widths the Liberation metrics give, so the
// layouts made for Arial fit; both faces are embedded and the title is set.
TEST_F(Pdf, FontesEmbutidasComSuasMetricasETitulo) {
    MotorRelatorio motor;
    Iniciar(motor, 0);
    Texto(motor, 0, 0, 17, 1, "Declaração", 0, 0, 8);
    Texto(motor, 0, 2, 17, 1, "Secretaria", 0, 0, 14, -1);
    const std::string caminho = Gravar(motor);
    const PdfLido pdf = LerPdf(caminho);
    const auto largura = [](const char* arquivo, const QString& texto, double pontos) {
        const QRawFont fonte(QStringLiteral("/usr/share/fonts/truetype/liberation2/") + arquivo,
                             pontos, QFont::PreferNoHinting);
        double total = 0;
        for (const QPointF& avanco :
             fonte.advancesForGlyphIndexes(fonte.glyphIndexesForString(texto))) {
            total += avanco.x();
        }
        return total;
    };
    const Palavra declaracao = pdf.Unica("Declaração");
    EXPECT_NEAR(declaracao.xMax - declaracao.xMin,
                largura("LiberationSans-Regular.ttf", QStringLiteral("Declaração"), 8), 0.05);
    const Palavra secretaria = pdf.Unica("Secretaria");
    EXPECT_NEAR(secretaria.xMax - secretaria.xMin,
                largura("LiberationSans-Bold.ttf", QStringLiteral("Secretaria"), 14), 0.05);
    const std::string fontes = Executar("pdffonts", {caminho});
    int liberation = 0;
    for (const QString& linha : QString::fromStdString(fontes).split('\n')) {
        if (linha.contains("LiberationSans")) {
            ++liberation;
            // Embedded, and mapped to Unicode so the text can be extracted.
            const QRegularExpression emb(R"(\s+yes\s+(yes|no)\s+yes\s+\d+\s+\d+\s*$)");
            EXPECT_TRUE(linha.contains(emb)) << linha.toStdString();
        }
    }
    EXPECT_EQ(liberation, 2) << fontes;
    EXPECT_NE(Executar("pdfinfo", {caminho}).find("Relatório de Entradas"), std::string::npos);
}

TEST_F(Pdf, MultilinhaQuebraEmCrLfEAjustaALargura) {
    MotorRelatorio motor;
    Iniciar(motor, 0);
    motor.AdicionarTextoMultilinha(0, 0, 4, 5,
                                   "Primeira\r\nSegunda linha comprida que precisa quebrar", 0, 0,
                                   "Arial", 10, 0, 0, 0, 0);
    motor.AdicionarTextoMultilinha(6, 0, 3, 1, "Referência\r\nMês", 1, 0, "Arial", 6, -1, 0, 0, 0);
    const PdfLido pdf = LerPdf(Gravar(motor));

    const Palavra primeira = pdf.Unica("Primeira");
    const Palavra segunda = pdf.Unica("Segunda");
    const Palavra quebrar = pdf.Unica("quebrar");
    EXPECT_NEAR(primeira.xMin, margem, tolerancia);
    EXPECT_NEAR(segunda.xMin, margem, tolerancia);
    EXPECT_GT(segunda.yMin, primeira.yMax - tolerancia);
    EXPECT_GT(quebrar.yMin, segunda.yMax - tolerancia); // wrapped onto a later line
    for (const Palavra& p : pdf.palavras) {
        if (p.xMin < margem + 5 * pontosPorCm) {
            EXPECT_LE(p.xMax, margem + 4 * pontosPorCm + tolerancia) << p.texto;
        }
    }
    const double centro = margem + 7.5 * pontosPorCm;
    const Palavra referencia = pdf.Unica("Referência");
    const Palavra mes = pdf.Unica("Mês");
    EXPECT_NEAR((referencia.xMin + referencia.xMax) / 2, centro, tolerancia);
    EXPECT_NEAR((mes.xMin + mes.xMax) / 2, centro, tolerancia);
    EXPECT_NEAR(referencia.yMin, margem, tolerancia);
    EXPECT_GT(mes.yMin, referencia.yMax - tolerancia);
}

TEST_F(Pdf, MarcadoresSubstituidosEmCadaPagina) {
    MotorRelatorio motor;
    Iniciar(motor, 1);
    for (int pagina = 1; pagina <= 3; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        Texto(motor, 0, 16.4, 25.7 / 3, 0.3, "%%D", 0, 1, 6);
        Texto(motor, 25.7 / 3, 16.4, 25.7 / 3, 0.3, "%%H", 1, 1, 6);
        Texto(motor, 2 * 25.7 / 3, 16.4, 25.7 / 3, 0.3, "Página %%p de %%P", 2, 1, 6);
    }
    const std::string texto = TextoPdf(Gravar(motor));
    for (const char* rodape : {"Página 1 de 3", "Página 2 de 3", "Página 3 de 3"}) {
        EXPECT_NE(texto.find(rodape), std::string::npos) << rodape;
    }
    const QString lido = QString::fromStdString(texto);
    EXPECT_EQ(lido.count(QRegularExpression(R"(\b\d\d/\d\d/\d{4}\b)")), 3);
    EXPECT_EQ(lido.count(QRegularExpression(R"(\b\d\d:\d\d:\d\d\b)")), 3);
    EXPECT_EQ(texto.find("%%"), std::string::npos);
}

TEST_F(Pdf, DocumentoVazioEArquivoQueNaoSeGrava) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    // A PDF has at least one page: an empty document is one blank sheet.
    const QString info = QString::fromStdString(Executar("pdfinfo", {Gravar(motor)}));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1\n)"))) << info.toStdString();
    try {
        motor.SalvarPdf("/nao/existe/saida.pdf");
        FAIL() << "no error";
    } catch (const Erro& erro) {
        EXPECT_EQ(erro.Numero(), Erro::GravacaoArquivo);
        EXPECT_NE(erro.Descricao().find("/nao/existe/saida.pdf"), std::string::npos);
    }
    EXPECT_THROW(motor.RenderizarPagina(1, 96), Erro);
}

// The raster output: colours, pictures stretched to their rectangle, box
// outlines, and texts clipped to their rectangles.
TEST(Imagem, CoresFigurasEContornos) {
    QImage vermelho(8, 8, QImage::Format_RGB32);
    vermelho.fill(Qt::red);
    const Figura figura("imgBrasaoOstranaColorido", vermelho);
    MotorRelatorio motor;
    motor.IniciarDocumento();
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    motor.AdicionarRetangulo(0, 0.5, 10, 0.5, -1, 0x808000, 0x808000, 1);
    motor.AdicionarImagem(0, 2, 4, 2, figura, 0);
    motor.AdicionarCaixa(5, 2, 4, 2, 0, 0.1, 0, 0xFFFFFF, 1);
    motor.AdicionarTexto(0, 6, 2, 0.6, "WWWWWWWWWWWWWWWWWWWW", 0, 1, "Arial", 20, 0, 0, 0, 0xFF);
    motor.AdicionarTextoMultilinha(0, 9, 3, 0.5, "muitas palavras em muitas linhas cortadas", 0, 0,
                                   "Arial", 12, 0, 0, 0, 0);
    const double dpi = 254; // 100 pixels a centimetre
    const QImage pagina = motor.RenderizarPagina(1, dpi);
    ASSERT_EQ(pagina.size(), QSize(2100, 2970));
    const auto pixel = [&](double xCm, double yCm) {
        return pagina.pixelColor(qRound((2 + xCm) * 100), qRound((2 + yCm) * 100)).rgb();
    };
    EXPECT_EQ(pixel(5, 0.75), qRgb(0, 128, 128));
    for (const auto& [x, y] : {std::pair{0.05, 2.05}, {3.95, 3.95}, {2.0, 3.0}}) {
        EXPECT_EQ(pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
    }
    EXPECT_EQ(pixel(7, 2), qRgb(0, 0, 0));       // outline
    EXPECT_EQ(pixel(7, 3), qRgb(255, 255, 255)); // inside
    const auto pintados = [&](double x0, double y0, double x1, double y1) {
        int n = 0;
        for (int y = qRound((2 + y0) * 100); y < qRound((2 + y1) * 100); ++y) {
            for (int x = qRound((2 + x0) * 100); x < qRound((2 + x1) * 100); ++x) {
                n += pagina.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(pintados(0, 6, 2, 6.6), 500);
    EXPECT_EQ(pintados(2.02, 5.5, 10, 7), 0); // the line does not spill to the right
    EXPECT_GT(pintados(0, 9, 3, 9.5), 200);
    EXPECT_EQ(pintados(0, 9.52, 4, 12), 0); // nor the paragraph below its box
}

} // namespace
} // namespace tarvo::teste
