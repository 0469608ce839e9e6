// The document's one layout: characters the report font lacks come from a
// fallback font with real glyphs, wrapped texts break where Qt's own text
// layout breaks them, and find's rectangles are the boxes of the glyphs of
// the hit as the PDF has them.

#include "engine/Documento.h"
#include "engine/Fontes.h"
#include "engine/Leiaute.h"
#include "engine/LocalizadorTexto.h"
#include "engine/SaidaDocumento.h"
#include "support/LeitorPdf.h"

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QTemporaryDir>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tarvo::teste {
namespace {

struct Amostra {
    double x, y, largura, altura;
    std::string texto;
    bool multilinha = false;
    int32_t horizontal = 0;
    double tamanho = 10;
};

Documento Gravar(const std::vector<Amostra>& amostras) {
    Documento documento;
    documento.IniciarDocumento();
    documento.NovaPagina();
    for (const Amostra& a : amostras) {
        const CamposTexto campos{a.x,
                                 a.y,
                                 a.largura,
                                 a.altura,
                                 documento.Internar(a.texto),
                                 a.horizontal,
                                 0,
                                 documento.Internar("Arial"),
                                 a.tamanho,
                                 0,
                                 0,
                                 0,
                                 0};
        if (a.multilinha) {
            documento.Adicionar(TextoMultilinha{campos});
        } else {
            documento.Adicionar(Texto{campos});
        }
    }
    return documento;
}

TEST(Leiaute, CaracteresQueAFonteNaoTemVemDeOutraFonte) {
    const std::vector<Amostra> amostras = {
        {0, 0, 10, 1, "中文 ✓ ₹"},
        {0, 1, 10, 1, "— “citação” € 1º 2ª"},
        {0, 2, 10, 1, "Informações de São João"},
    };
    const Documento documento = Gravar(amostras);
    Leiaute leiaute(documento, QDateTime::currentDateTime());
    const auto pagina = leiaute.Pagina(1);
    ASSERT_EQ(pagina->textos.size(), amostras.size());
    std::vector<const FonteArquivo*> fontes;
    for (const TextoDisposto& texto : pagina->textos) {
        ASSERT_EQ(texto.linhas.size(), 1u);
        size_t glifos = 0;
        for (const CorridaGlifos& corrida : texto.linhas[0].corridas) {
            for (const uint32_t glifo : corrida.glifos) {
                EXPECT_NE(glifo, 0u)
                    << texto.texto.toStdString() << " in " << corrida.fonte->Caminho();
            }
            glifos += corrida.glifos.size();
            fontes.push_back(corrida.fonte);
        }
        // One glyph a character in these texts, each cluster on its character.
        EXPECT_EQ(glifos, static_cast<size_t>(texto.texto.size())) << texto.texto.toStdString();
    }
    // The Chinese text is drawn in another font than the report's, then
    // back in the report's for the space; the accented Portuguese in one.
    const auto& chines = pagina->textos[0].linhas[0].corridas;
    ASSERT_GE(chines.size(), 2u);
    EXPECT_NE(chines[0].fonte, chines[1].fonte);
    EXPECT_NE(chines[0].fonte->Caminho().find("Fallback"), std::string::npos)
        << chines[0].fonte->Caminho();
    EXPECT_NE(chines[1].fonte->Caminho().find("LiberationSans"), std::string::npos);
    EXPECT_EQ(pagina->textos[2].linhas[0].corridas.size(), 1u);
}

// Everything a text is drawn and found with, as text.
std::string Descricao(const TextoDisposto& texto) {
    std::string saida = texto.texto.toStdString() + "|";
    for (const LinhaDisposta& linha : texto.linhas) {
        for (const double borda : linha.bordas)
            saida += std::to_string(borda) + " ";
        for (const CorridaGlifos& corrida : linha.corridas) {
            saida += corrida.fonte->Caminho() + " " + std::to_string(corrida.tamanho) + ":";
            for (size_t g = 0; g < corrida.glifos.size(); ++g) {
                saida += std::to_string(corrida.glifos[g]) + "@" +
                         std::to_string(corrida.posicoes[g].x()) + " ";
            }
        }
        saida += "/";
    }
    return saida;
}

// A text is laid out the same whatever was laid out before it: the same
// text on every page, one line and wrapped, regular and bold, at two sizes,
// and the page number, in one order and in the other.
TEST(Leiaute, TextoIgualQualquerQueSejaOAnterior) {
    const auto documento = [](bool inverso) {
        Documento d;
        d.IniciarDocumento();
        struct Caso {
            std::string texto;
            double tamanho;
            int32_t negrito;
            bool multilinha;
        };
        std::vector<Caso> casos = {{"Valor das operações\r\npróprias", 10, 0, false},
                                   {"Valor das operações\r\npróprias", 10, 0, true},
                                   {"Ativo 1.234,56", 10, 0, false},
                                   {"Ativo 1.234,56", 10, -1, false},
                                   {"Ativo 1.234,56", 14, -1, false},
                                   {"Página %%p de %%P", 8, 0, false}};
        if (inverso)
            std::reverse(casos.begin(), casos.end());
        for (int p = 0; p < 3; ++p) {
            d.NovaPagina();
            for (const Caso& c : casos) {
                const CamposTexto campos{
                    0,         0, 4, 2, d.Internar(c.texto), 0, 0, d.Internar("Arial"), c.tamanho,
                    c.negrito, 0, 0, 0};
                if (c.multilinha)
                    d.Adicionar(TextoMultilinha{campos});
                else
                    d.Adicionar(Texto{campos});
            }
        }
        return d;
    };
    const Documento direto = documento(false);
    const Documento inverso = documento(true);
    const QDateTime momento = QDateTime::currentDateTime();
    Leiaute leiauteDireto(direto, momento);
    Leiaute leiauteInverso(inverso, momento);
    for (int p = 1; p <= 3; ++p) {
        const auto a = leiauteDireto.Pagina(p);
        const auto b = leiauteInverso.Pagina(p);
        ASSERT_EQ(a->textos.size(), 6U);
        ASSERT_EQ(b->textos.size(), 6U);
        for (size_t i = 0; i < 6; ++i)
            EXPECT_EQ(Descricao(a->textos[i]), Descricao(b->textos[5 - i])) << p << " " << i;
        EXPECT_EQ(a->textos[5].texto, QStringLiteral("Página %1 de 3").arg(p));
        EXPECT_EQ(a->textos[1].linhas.size(), 2U);
    }
}

// Qt's text layout at 1200 dpi on the same font file, as the PDF writer laid
// out wrapped texts: where each line starts.
std::vector<qsizetype> InicioLinhasQt(const QString& texto, double largura, double tamanho) {
    Fontes::Registrar();
    QImage dispositivo(1, 1, QImage::Format_RGB32);
    dispositivo.setDotsPerMeterX(qRound(1200 / 0.0254));
    dispositivo.setDotsPerMeterY(qRound(1200 / 0.0254));
    QFont fonte(QStringLiteral("Liberation Sans"));
    fonte.setPointSizeF(tamanho);
    fonte.setHintingPreference(QFont::PreferNoHinting);
    QString linhas = texto;
    linhas.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout leiaute(linhas, fonte, &dispositivo);
    QTextOption opcao;
    opcao.setWrapMode(QTextOption::WordWrap);
    leiaute.setTextOption(opcao);
    leiaute.beginLayout();
    std::vector<qsizetype> inicios;
    for (QTextLine linha = leiaute.createLine(); linha.isValid(); linha = leiaute.createLine()) {
        linha.setLineWidth(largura / 2.54 * 1200);
        inicios.push_back(linha.textStart());
    }
    leiaute.endLayout();
    return inicios;
}

TEST(Leiaute, QuebrasDeLinhaComoAsDoQt) {
    const std::vector<std::string> textos = {
        "Empresa optante do regime especial a partir de março.\nFilial de Jacareí encerrada em "
        "2002; estoque transferido para a matriz.\nContato preferencial por e-mail, às terças e "
        "quintas.",
        "Valor adicionado das operações próprias, por município de origem (DIPAM-B código 1.1)",
        "Uma palavra-extraordinariamente-comprida-que-nao-cabe e depois o resto",
        "Termina com quebra\n",
        "   Espaços   no   começo e    entre   palavras    ",
    };
    for (const double largura : {2.5, 4.0, 7.3, 12.0}) {
        std::vector<Amostra> amostras;
        for (const std::string& t : textos) {
            amostras.push_back({0, 0, largura, 20, t, true});
        }
        const Documento documento = Gravar(amostras);
        Leiaute leiaute(documento, QDateTime::currentDateTime());
        const auto pagina = leiaute.Pagina(1);
        for (const TextoDisposto& texto : pagina->textos) {
            std::vector<qsizetype> inicios;
            for (const LinhaDisposta& linha : texto.linhas) {
                inicios.push_back(linha.inicio);
            }
            EXPECT_EQ(inicios, InicioLinhasQt(texto.texto, largura, 10))
                << largura << " cm: " << texto.texto.toStdString();
        }
    }
}

TEST(Localizador, RetangulosSaoAsCaixasDosGlifosDaOcorrencia) {
    const Documento documento = Gravar({
        {1, 1, 8, 0.6, "Município de São João", false, 1, 12},
        {1, 2, 5, 3, "Valor adicionado das operações próprias por município", true, 2, 11},
        {1, 6, 1.5, 0.5, "Município longo demais", false, 0, 10},
    });
    const QTemporaryDir pasta;
    const std::string pdf = pasta.filePath("busca.pdf").toStdString();
    SaidaDocumento::Pdf(documento, pdf);
    const PdfLido lido = LerPdf(pdf);

    const LocalizadorTexto localizador(documento, QDateTime::currentDateTime());
    const auto ocorrencias = localizador.Buscar("municipio");
    ASSERT_EQ(ocorrencias.size(), 3u);
    const std::vector<Palavra> palavras = lido.Achar("Município");
    ASSERT_EQ(palavras.size(), 2u);
    const Palavra minuscula = lido.Unica("município");
    const Palavra* esperadas[] = {&palavras[0], &minuscula};
    for (int i = 0; i < 2; ++i) {
        const auto retangulos = localizador.Retangulos(ocorrencias[static_cast<size_t>(i)]);
        ASSERT_EQ(retangulos.size(), 1u);
        const QRectF r(retangulos[0].topLeft() * pontosPorCm, retangulos[0].size() * pontosPorCm);
        EXPECT_NEAR(r.left(), esperadas[i]->xMin, 0.05);
        EXPECT_NEAR(r.right(), esperadas[i]->xMax, 0.05);
        // The line's box holds the word's.
        EXPECT_LE(r.top(), esperadas[i]->yMin + 0.05);
        EXPECT_GE(r.bottom(), esperadas[i]->yMax - 0.5);
    }
    // A text clipped to its box: the highlight stops at the box's edge.
    const auto cortado = localizador.Retangulos(ocorrencias[2]);
    ASSERT_EQ(cortado.size(), 1u);
    EXPECT_NEAR(cortado[0].left(), 3.0, 1e-6);
    EXPECT_NEAR(cortado[0].right(), 4.5, 1e-6);
}

} // namespace
} // namespace tarvo::teste

namespace tarvo::teste {
namespace {

TEST(Localizador, ValoresQualquerQueSejaOAgrupamento) {
    const Documento documento = Gravar({
        {0, 0, 8, 0.6, "Total 1.015,16"},
        {0, 1, 8, 0.6, "25,826.56 em 2003"},
        {0, 2, 8, 0.6, "Ref. 1015 de 1 015"},
    });
    const LocalizadorTexto localizador(documento, QDateTime::currentDateTime());
    const auto Trechos = [&](const char* termo) {
        std::vector<std::tuple<size_t, qsizetype, qsizetype>> trechos;
        for (const auto& o : localizador.Buscar(QString::fromUtf8(termo))) {
            trechos.emplace_back(o.elemento, o.inicio, o.tamanho);
        }
        return trechos;
    };
    using T = std::vector<std::tuple<size_t, qsizetype, qsizetype>>;
    EXPECT_EQ(Trechos("1015,16"), (T{{0, 6, 8}}));
    EXPECT_EQ(Trechos("1.015,16"), (T{{0, 6, 8}}));
    EXPECT_EQ(Trechos("25826"), (T{{1, 0, 6}}));
    EXPECT_EQ(Trechos("1015"), (T{{0, 6, 5}, {2, 5, 4}, {2, 13, 5}}));
    // Not grouping: a year, a decimal part of two digits.
    EXPECT_EQ(Trechos("200"), (T{{1, 13, 3}}));
    EXPECT_TRUE(Trechos("101516").empty());
}

} // namespace
} // namespace tarvo::teste
