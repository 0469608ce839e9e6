// Text selected by dragging over pages, as a reader selects it: row by row
// in reading order, across pages, copied as the page shows it.

#include "engine/Documento.h"
#include "engine/Leiaute.h"
#include "engine/LocalizadorTexto.h"
#include "engine/SelecaoTexto.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarvo::teste {
namespace {

// Two pages of a table: a title, then rows of municipality, code and
// amount, the amount right-aligned.
std::shared_ptr<Documento> Tabela() {
    auto documento = std::make_shared<Documento>();
    documento->IniciarDocumento();
    const auto Celula = [&](double x, double y, double w, const std::string& texto, int32_t h) {
        documento->Adicionar(Texto{CamposTexto{x, y, w, 0.5, documento->Internar(texto), h, 1,
                                               documento->Internar("Arial"), 9, 0, 0, 0, 0}});
    };
    for (int pagina = 1; pagina <= 2; ++pagina) {
        documento->NovaPagina();
        Celula(0, 0, 17, "DIPAM - Código 1", 1);
        for (int linha = 1; linha <= 3; ++linha) {
            const double y = 1 + linha * 0.5;
            Celula(0, y, 8, "Município " + std::to_string(pagina) + "." + std::to_string(linha), 0);
            Celula(8, y, 2, "1." + std::to_string(linha), 2);
            Celula(10, y, 7, std::to_string(linha) + ".015,16", 2);
        }
    }
    return documento;
}

// Centimetres on the sheet of the middle of row `linha` (0 the title) at x.
QPointF Ponto(int linha, double x) {
    return QPointF(2 + x, 2 + (linha == 0 ? 0 : 1 + linha * 0.5) + 0.25);
}

TEST(SelecaoTexto, ArrastarCopiarComoAPaginaMostra) {
    const auto documento = Tabela();
    const auto leiaute = std::make_shared<Leiaute>(*documento, QDateTime::currentDateTime());
    SelecaoTexto selecao(leiaute);
    EXPECT_TRUE(selecao.Vazia());

    // From the start of row 1 to the end of row 2's code: whole cells up
    // to where the drag stops.
    selecao.Iniciar(1, Ponto(1, 0));
    selecao.Estender(1, Ponto(2, 10.0));
    EXPECT_EQ(selecao.Texto().toStdString(), "Município 1.1\t1.1\t1.015,16\nMunicípio 1.2\t1.2");
    // Dragged the other way, the same text.
    selecao.Iniciar(1, Ponto(2, 10.0));
    selecao.Estender(1, Ponto(1, 0));
    EXPECT_EQ(selecao.Texto().toStdString(), "Município 1.1\t1.1\t1.015,16\nMunicípio 1.2\t1.2");

    // Across pages: from row 3 of page 1 to the title of page 2.
    selecao.Iniciar(1, Ponto(3, 0));
    selecao.Estender(2, Ponto(0, 17));
    EXPECT_EQ(selecao.Texto().toStdString(), "Município 1.3\t1.3\t3.015,16\nDIPAM - Código 1");
    EXPECT_EQ(selecao.Retangulos(1).size(), 3u);
    EXPECT_EQ(selecao.Retangulos(2).size(), 1u);

    // The whole page; nothing on the other.
    selecao.SelecionarPagina(2);
    EXPECT_EQ(selecao.Texto().toStdString(), "DIPAM - Código 1\n"
                                             "Município 2.1\t1.1\t1.015,16\n"
                                             "Município 2.2\t1.2\t2.015,16\n"
                                             "Município 2.3\t1.3\t3.015,16");
    EXPECT_TRUE(selecao.Retangulos(1).empty());
    selecao.Limpar();
    EXPECT_TRUE(selecao.Vazia());
}

// A word selected from its first letter's middle to its last letter's is
// highlighted exactly where find highlights the same word.
TEST(SelecaoTexto, DestaqueSobreOsGlifosComoODaBusca) {
    const auto documento = Tabela();
    const auto leiaute = std::make_shared<Leiaute>(*documento, QDateTime::currentDateTime());
    const LocalizadorTexto localizador(leiaute);
    const auto ocorrencias = localizador.Buscar("Município 2.2");
    ASSERT_EQ(ocorrencias.size(), 1u);
    const auto esperado = localizador.Retangulos(ocorrencias[0]);
    ASSERT_EQ(esperado.size(), 1u);

    SelecaoTexto selecao(leiaute);
    const QRectF& r = esperado[0];
    selecao.Iniciar(2, QPointF(r.left() + 0.01, r.center().y()));
    selecao.Estender(2, QPointF(r.right() - 0.01, r.center().y()));
    EXPECT_EQ(selecao.Texto().toStdString(), "Município 2.2");
    const auto destaque = selecao.Retangulos(2);
    ASSERT_EQ(destaque.size(), 1u);
    EXPECT_NEAR(destaque[0].left(), r.left(), 1e-9);
    EXPECT_NEAR(destaque[0].right(), r.right(), 1e-9);
    EXPECT_NEAR(destaque[0].top(), r.top(), 1e-9);
    EXPECT_NEAR(destaque[0].bottom(), r.bottom(), 1e-9);
}

} // namespace
} // namespace tarvo::teste
