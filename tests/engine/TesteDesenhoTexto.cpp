// Texts drawn from the one layout: in the PDF they stand within half a
// point of where Qt's plain drawText puts them, through the shaping cache's
// restarts too, and a tile of a page painted with a moved and clipped
// painter matches the whole page.

#include "engine/Documento.h"
#include "engine/Fontes.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"
#include "support/LeitorPdf.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvo::teste {
namespace {

// The layout is the project's own (HarfBuzz on the same font files, ICU's line
// breaks); Qt rounds its advances to 1/64 of a device pixel.
constexpr double precisao = 0.5; // points

struct Texto {
    double x, y, w, h;
    std::string texto;
    int32_t horizontal, vertical;
    double tamanho;
    int32_t negrito, italico, sublinhado;
    bool multilinha = false;
};

// One page of texts: every alignment at several sizes and styles, accents,
// placeholders, a line break, spaces around a text, a text clipped to a box too small for it, one
// with glyphs from a fallback font, one with glyphs no font here has, and a
// paragraph.
std::vector<Texto> PaginaRica() {
    const char* amostras[] = {"Declaração", "Município de São João", "1.234.567,89",
                              "Página %%p de %%P"};
    std::vector<Texto> textos;
    for (int k = 0; k < 9; ++k) {
        textos.push_back({0.5 + k % 3 * 5.5, 1 + k / 3 * 1.5, 5, 1.2, amostras[k % 4], k % 3, k / 3,
                          6.0 + 2 * k, k % 2 ? -1 : 0, k % 3 == 2 ? -1 : 0, k == 4 ? -1 : 0});
    }
    textos.push_back({0, 6, 2, 0.3, "Texto longo demais para a caixa", 0, 0, 8, 0, 0, 0});
    textos.push_back({0, 7, 8, 0.6, "Preço ✓ ₹ 10", 2, 1, 10, 0, 0, 0});
    textos.push_back({0, 8, 8, 0.6, "中文 ✓ ₹", 1, 1, 10, -1, 0, 0});
    textos.push_back({0, 9, 8, 0.6, "Linha\r\nquebrada", 1, 2, 9, 0, 0, 0});
    textos.push_back({0, 10, 8, 0.6, "  Subtotal   ", 2, 1, 9, 0, 0, 0});
    textos.push_back({9, 7, 4, 3, "Valor adicionado das operações\r\npróprias, por município", 1, 1,
                      10, -1, 0, 0, true});
    return textos;
}

// More distinct texts than the renderer keeps shaped, in a grid.
std::vector<Texto> Numeros(size_t inicio, size_t quantidade) {
    std::vector<Texto> textos;
    for (size_t k = 0; k < quantidade; ++k) {
        textos.push_back(
            {k % 20 * 0.85, k / 20 * 0.45, 0.8, 0.4, std::to_string(inicio + k), 2, 1, 5, 0, 0, 0});
    }
    return textos;
}

std::vector<std::vector<Texto>> Paginas() {
    std::vector<std::vector<Texto>> paginas = {PaginaRica(), PaginaRica()};
    for (size_t inicio = 0; inicio <= Leiaute::limiteTextosMoldados; inicio += 1100) {
        paginas.push_back(Numeros(inicio, 1100));
    }
    return paginas;
}

Documento Gravar(const std::vector<std::vector<Texto>>& paginas) {
    Documento documento;
    documento.IniciarDocumento();
    for (const auto& pagina : paginas) {
        documento.NovaPagina();
        documento.Adicionar(Caixa{0.0, 0.0, 17.0, 25.7, 0, 0.1, 0, 0xFFFFFF, 1});
        for (const Texto& t : pagina) {
            const CamposTexto campos{t.x,
                                     t.y,
                                     t.w,
                                     t.h,
                                     documento.Internar(t.texto),
                                     t.horizontal,
                                     t.vertical,
                                     documento.Internar("Arial"),
                                     t.tamanho,
                                     t.negrito,
                                     t.italico,
                                     t.sublinhado,
                                     0};
            if (t.multilinha) {
                documento.Adicionar(TextoMultilinha{campos});
            } else {
                documento.Adicionar(tarvo::Texto{campos});
            }
        }
    }
    return documento;
}

// The same pages the plain way: QPainter::drawText at the baseline that the
// alignment gives with the width QFontMetricsF measures.
void GravarComDrawText(const std::string& caminho, const std::vector<std::vector<Texto>>& paginas) {
    Fontes::Registrar();
    QPdfWriter escritor(QString::fromStdString(caminho));
    escritor.setResolution(1200);
    QPageLayout folha(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    folha.setMode(QPageLayout::FullPageMode);
    escritor.setPageLayout(folha);
    QPainter painter(&escritor);
    const double porCm = 1200 / 2.54;
    for (size_t p = 0; p < paginas.size(); ++p) {
        if (p > 0) {
            escritor.newPage();
        }
        for (const Texto& t : paginas[p]) {
            QFont fonte(Fontes::Familia("Arial"));
            fonte.setPointSizeF(t.tamanho);
            fonte.setBold(t.negrito != 0);
            fonte.setItalic(t.italico != 0);
            fonte.setUnderline(t.sublinhado != 0);
            fonte.setHintingPreference(QFont::PreferNoHinting);
            painter.setFont(fonte);
            const QFontMetricsF metricas(fonte, &escritor);
            QString texto = QString::fromStdString(t.texto)
                                .replace("%%p", QString::number(p + 1))
                                .replace("%%P", QString::number(paginas.size()));
            const QRectF area((2 + t.x) * porCm, (2 + t.y) * porCm, t.w * porCm, t.h * porCm);
            if (t.multilinha) {
                painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                                 texto.replace("\r\n", "\n"));
                continue;
            }
            texto.replace("\r\n", " ");
            const double largura = metricas.horizontalAdvance(texto);
            const double altura = metricas.ascent() + metricas.descent();
            const double x = t.horizontal == 0   ? area.left()
                             : t.horizontal == 1 ? area.left() + (area.width() - largura) / 2
                                                 : area.right() - largura;
            const double base = t.vertical == 0 ? area.top() + metricas.ascent()
                                : t.vertical == 1
                                    ? area.top() + (area.height() - altura) / 2 + metricas.ascent()
                                    : area.bottom() - metricas.descent();
            painter.drawText(QPointF(x, base), texto);
        }
    }
}

TEST(DesenhoTexto, PosicoesIguaisAsDoDrawText) {
    QTemporaryDir pasta;
    const auto paginas = Paginas();
    const std::string renderizado = pasta.filePath("renderizado.pdf").toStdString();
    const std::string referencia = pasta.filePath("referencia.pdf").toStdString();
    SaidaDocumento::Pdf(Gravar(paginas), renderizado);
    GravarComDrawText(referencia, paginas);

    const PdfLido lido = LerPdf(renderizado);
    const PdfLido esperado = LerPdf(referencia);
    for (const char* palavra :
         {"Declaração", "São", "Preço", "✓", "₹", "quebrada", "Subtotal", "município", "4399"}) {
        EXPECT_FALSE(lido.Achar(palavra).empty()) << palavra;
    }
    EXPECT_EQ(lido.Achar("Página").size(), 4u);
    EXPECT_TRUE(MesmasPalavras(lido.palavras, esperado.palavras, precisao));
}

// A tiled preview paints each tile on an image of part of the sheet, with the
// painter moved to the tile's corner and clipped to it.
TEST(DesenhoTexto, LadrilhoIgualAPaginaInteira) {
    const Documento documento = Gravar({PaginaRica()});
    Renderizador renderizador(documento, QDateTime::currentDateTime());
    const QImage pagina = SaidaDocumento::Imagem(documento, renderizador, 1, 150);

    const QRect parte(100, 120, 600, 500);
    const QRect recorte = parte.adjusted(30, 40, -50, -20);
    QImage ladrilho(parte.size(), QImage::Format_RGB32);
    ladrilho.setDotsPerMeterX(pagina.dotsPerMeterX());
    ladrilho.setDotsPerMeterY(pagina.dotsPerMeterY());
    ladrilho.fill(Qt::white);
    {
        QPainter painter(&ladrilho);
        painter.translate(-parte.topLeft());
        painter.setClipRect(recorte);
        renderizador.DesenharPagina(painter, 1);
    }
    int diferentes = 0;
    int tinta = 0;
    for (int y = parte.top(); y <= parte.bottom(); ++y) {
        for (int x = parte.left(); x <= parte.right(); ++x) {
            const QRgb esperado = recorte.contains(x, y) ? pagina.pixel(x, y) : qRgb(255, 255, 255);
            diferentes += ladrilho.pixel(x - parte.left(), y - parte.top()) != esperado ? 1 : 0;
            tinta += esperado != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_EQ(diferentes, 0);
    EXPECT_GT(tinta, 2000); // texts and lines fall in the tile
}

} // namespace
} // namespace tarvo::teste
