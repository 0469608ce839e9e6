// The record of a document: calls in order, pages, JSON, compactness and the
// rejection of arguments that cannot be drawn.

#include "engine/MotorRelatorio.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Erro.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <limits>

namespace tarvo {
namespace {

using teste::NumeroDoErro;

QImage Quadrado(QColor cor) {
    QImage imagem(8, 8, QImage::Format_RGB32);
    imagem.fill(cor);
    return imagem;
}

TEST(Registro, JsonDeUmaSequenciaCurta) {
    const Figura icone("imgIconeR", Quadrado(Qt::blue));
    MotorRelatorio motor;
    EXPECT_EQ(motor.Json(), R"({"chamadas": []})");
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.DefinirIcone(icone);
    motor.DefinirOrientacao(1);
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    motor.AdicionarRetangulo(0.0, 0.5, 25.7, 0.1, -1, 0x808000, 0x808000, 1);
    motor.AdicionarTextoMultilinha(0.1, 2.9, 25.5, 0.7, "Referência\r\nMês \"1\" \\ \t", 1, 1,
                                   "Arial", 14.0, -1, 0, 0, 0x808000);
    motor.NovaPagina();
    motor.AdicionarCaixa(0.0, 3.6, 25.7 / 3, 0.6, 0, 0.1, 0, 0xFFFFFF, 1);
    EXPECT_EQ(
        motor.Json(),
        R"({"chamadas": [{"op": "IniciarDocumento", "args": []}, )"
        R"({"op": "DefinirTitulo", "args": ["Relatório de Entradas"]}, )"
        R"({"op": "DefinirIcone", "args": ["imgIconeR"]}, )"
        R"({"op": "DefinirOrientacao", "args": [1]}, )"
        R"({"op": "DefinirMargens", "args": [2.0, 2.0, 2.0, 2.0]}, )"
        R"({"op": "AdicionarRetangulo", "args": [0.0, 0.5, 25.7, 0.1, -1, 8421376, 8421376, 1]}, )"
        R"({"op": "AdicionarTextoMultilinha", "args": [0.1, 2.9, 25.5, 0.7, )"
        R"("Referência\r\nMês \"1\" \\ \t", 1, 1, "Arial", 14.0, -1, 0, 0, 8421376]}, )"
        R"({"op": "NovaPagina", "args": []}, )"
        R"({"op": "AdicionarCaixa", "args": [0.0, 3.6, 8.566666666666666, 0.6, 0, 0.1, 0, )"
        R"(16777215, 1]}]})");
}

TEST(Registro, Paginas) {
    MotorRelatorio motor;
    EXPECT_EQ(motor.NumeroPaginas(), 0);
    motor.IniciarDocumento();
    motor.DefinirTitulo("T");
    motor.NovaPagina(); // before any element: nothing to close
    EXPECT_EQ(motor.NumeroPaginas(), 0);
    motor.AdicionarRetangulo(0, 0, 1, 1, -1, 0, 0, 1);
    EXPECT_EQ(motor.NumeroPaginas(), 1);
    motor.NovaPagina();
    EXPECT_EQ(motor.NumeroPaginas(), 2);
    motor.AdicionarRetangulo(0, 0, 1, 1, -1, 0, 0, 1);
    motor.NovaPagina();
    motor.NovaPagina();
    EXPECT_EQ(motor.NumeroPaginas(), 4);
    EXPECT_EQ(motor.Chamadas().size(), 8u);

    motor.IniciarDocumento();
    EXPECT_EQ(motor.NumeroPaginas(), 0);
    EXPECT_EQ(motor.Json(), R"({"chamadas": [{"op": "IniciarDocumento", "args": []}]})");
}

TEST(Registro, ArgumentosQueNaoSePodemDesenhar) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    const Figura vazia("imgBrasaoOstranaColorido", QImage());
    EXPECT_EQ(NumeroDoErro([&] { motor.AdicionarImagem(0, 0, 1, 1, vazia, 0); }),
              Erro::FiguraInvalida);
    EXPECT_EQ(NumeroDoErro([&] { motor.DefinirIcone(vazia); }), Erro::FiguraInvalida);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(NumeroDoErro([&] { motor.AdicionarCaixa(nan, 0, 1, 1, 0, 0.1, 0, 0, 1); }),
              Erro::ArgumentoInvalido);
    EXPECT_EQ(
        NumeroDoErro([&] { motor.AdicionarTexto(0, 0, 1, 1, "x", 3, 0, "Arial", 8, 0, 0, 0, 0); }),
        Erro::ArgumentoInvalido);
    EXPECT_EQ(
        NumeroDoErro([&] { motor.AdicionarTexto(0, 0, 1, 1, "x", 0, 0, "Arial", 0, 0, 0, 0, 0); }),
        Erro::ArgumentoInvalido);
    EXPECT_EQ(NumeroDoErro([&] { motor.DefinirOrientacao(2); }), Erro::ArgumentoInvalido);
    EXPECT_EQ(NumeroDoErro([&] { motor.DefinirMargens(2, -1, 2, 2); }), Erro::ArgumentoInvalido);
    // A refused call leaves no trace in the document.
    EXPECT_EQ(motor.Chamadas().size(), 1u);
}

// A page like the reports': a header, then 14 rows of 5 cells, each a box and
// a text with its own amount.
void PaginaTipica(MotorRelatorio& motor, int pagina) {
    motor.AdicionarRetangulo(0, 0.5, 25.7, 0.1, -1, 0x808000, 0x808000, 1);
    motor.AdicionarTexto(0, 0, 25.7, 0.3, "Declaração do Vantiro", 0, 0, "Arial", 8, 0, 0, 0, 0);
    motor.AdicionarTexto(0, 0.85, 13.7, 0.7, "Governo do Estado de Ostrana", 1, 1, "Arial", 14, -1,
                         0, 0, 0xFF);
    for (int linha = 0; linha < 14; ++linha) {
        for (int coluna = 0; coluna < 5; ++coluna) {
            const double x = coluna * 5.14;
            const double y = 7.6 + linha * 0.6;
            motor.AdicionarCaixa(x, y, 5.14, 0.6, 0, 0.1, 0, 0xFFFFFF, 1);
            motor.AdicionarTexto(x + 0.1, y, 4.94, 0.6,
                                 std::to_string(pagina * 1000 + linha * 10 + coluna) + ",00", 2, 1,
                                 "Arial", 8, 0, 0, 0, 0);
        }
    }
    motor.AdicionarTexto(2 * 25.7 / 3, 16.7, 25.7 / 3, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6,
                         0, 0, 0, 0);
}

TEST(Registro, MilharesDePaginasCustamPoucosKilobytesCada) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    const int paginas = 3000;
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        PaginaTipica(motor, pagina);
    }
    EXPECT_EQ(motor.NumeroPaginas(), paginas);
    // The spare capacity of the growing buffers included; texts, pictures,
    // rectangles and styles are stored once, elements naming them by index.
    EXPECT_LT(motor.BytesDocumento() / paginas, 6u * 1024);
}

// Many distinct values (indexes of three bytes), awkward doubles and bytes
// that are not UTF-8 read back the same, and the JSON stays valid.
TEST(Registro, ValoresQuaisquerVoltamIguais) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    const int quantidade = 40000;
    const auto valor = [](int i) { return i % 2 == 0 ? i * 0.001 : -25.7 / i; };
    for (int i = 0; i < quantidade; ++i) {
        motor.AdicionarTexto(valor(i), 0, 1, 1, std::to_string(i) + "\x01\xff\xc3", 0, 0, "Arial",
                             8, 0, 0, 0, i);
    }
    const std::vector<Chamada> chamadas = motor.Chamadas();
    const QJsonArray json = QJsonDocument::fromJson(QByteArray::fromStdString(motor.Json()))
                                .object()["chamadas"]
                                .toArray();
    ASSERT_EQ(chamadas.size(), quantidade + 1u);
    ASSERT_EQ(json.size(), quantidade + 1);
    // Every value, since a lookup that confused two values would show on
    // whichever pair happened to meet in the table.
    int diferentes = 0;
    for (int i = 0; i < quantidade; ++i) {
        const Chamada& chamada = chamadas[static_cast<size_t>(i) + 1];
        diferentes +=
            std::get<double>(chamada.args[0]) != valor(i) ||
            std::get<std::string>(chamada.args[4]) != std::to_string(i) + "\x01\xff\xc3" ||
            std::get<int32_t>(chamada.args[12]) != i;
    }
    EXPECT_EQ(diferentes, 0);
    for (const int i : {0, 127, 128, 16383, 16384, quantidade - 1}) {
        const QJsonArray args = json[i + 1].toObject()["args"].toArray();
        EXPECT_EQ(args[0].toDouble(), valor(i));
        EXPECT_EQ(args[4].toString(), QString::number(i) + QString::fromUtf8("\x01\uFFFD\uFFFD"));
    }
}

// Every kind of call, with the cases the pages do not show: calls before
// IniciarDocumento (dropped with it), a NovaPagina before any element and
// two in a row, settings repeated and changed between elements, the same
// picture twice and another under the same name, awkward numbers and bytes.
TEST(Registro, TodaChamadaVoltaNaOrdemEComOsArgumentosGravados) {
    const Figura icone("imgIconeR", Quadrado(Qt::blue));
    const Figura outra("imgIconeR", Quadrado(Qt::red));
    MotorRelatorio motor;
    motor.AdicionarTexto(0, 0, 1, 1, "antes", 0, 0, "Arial", 8, 0, 0, 0, 0);
    motor.IniciarDocumento();
    motor.NovaPagina();
    motor.DefinirTitulo("Título");
    motor.DefinirTitulo("");
    motor.DefinirTituloResumido("Curto");
    motor.DefinirIcone(icone);
    motor.DefinirOrientacao(0);
    motor.DefinirMargens(0.0, 1.5, 1e-300, 2.0);
    motor.AdicionarRetangulo(-0.0, 1e21, -3.25, 0.1, 0, std::numeric_limits<int32_t>::min(),
                             std::numeric_limits<int32_t>::max(), 0);
    motor.AdicionarCaixa(1, 2, 3, 4, 5, 0.30000000000000004, 0x123456, -1, 0);
    motor.DefinirOrientacao(1);
    motor.AdicionarTexto(0.1, 0.2, 0.3, 0.4, "%%p/%%P \xff\n\"x\"", 2, 1, "Times New Roman", 7.5, 1,
                         -1, 2, 0xABCDEF);
    motor.AdicionarImagem(0, 0, 2, 2, icone, 0);
    motor.NovaPagina();
    motor.NovaPagina();
    motor.DefinirMargens(2, 2, 2, 2);
    motor.DefinirTitulo("Título");
    motor.AdicionarTextoMultilinha(1, 1, 5, 5, "", 0, 2, "Courier New", 12, 0, 0, 1, -5);
    motor.AdicionarImagem(1, 1, 2, 2, outra, 7);
    motor.AdicionarImagem(3, 1, 2, 2, icone, 1);
    motor.DefinirIcone(outra);
    motor.NovaPagina();
    EXPECT_EQ(motor.NumeroPaginas(), 4);
    EXPECT_EQ(motor.Chamadas().size(), 22u);
    EXPECT_EQ(
        motor.Json(),
        R"({"chamadas": [{"op": "IniciarDocumento", "args": []}, )"
        R"({"op": "NovaPagina", "args": []}, )"
        R"({"op": "DefinirTitulo", "args": ["Título"]}, )"
        R"({"op": "DefinirTitulo", "args": [""]}, )"
        R"({"op": "DefinirTituloResumido", "args": ["Curto"]}, )"
        R"({"op": "DefinirIcone", "args": ["imgIconeR"]}, )"
        R"({"op": "DefinirOrientacao", "args": [0]}, )"
        R"({"op": "DefinirMargens", "args": [0.0, 1.5, 1e-300, 2.0]}, )"
        R"({"op": "AdicionarRetangulo", "args": [-0.0, 1e+21, -3.25, 0.1, 0, -2147483648, 2147483647, 0]}, )"
        R"({"op": "AdicionarCaixa", "args": [1.0, 2.0, 3.0, 4.0, 5, 0.30000000000000004, 1193046, -1, 0]}, )"
        R"({"op": "DefinirOrientacao", "args": [1]}, )"
        R"({"op": "AdicionarTexto", "args": [0.1, 0.2, 0.3, 0.4, "%%p/%%P \ufffd\n\"x\"", 2, 1, "Times New Roman", 7.5, 1, -1, 2, 11259375]}, )"
        R"({"op": "AdicionarImagem", "args": [0.0, 0.0, 2.0, 2.0, "imgIconeR", 0]}, )"
        R"({"op": "NovaPagina", "args": []}, )"
        R"({"op": "NovaPagina", "args": []}, )"
        R"({"op": "DefinirMargens", "args": [2.0, 2.0, 2.0, 2.0]}, )"
        R"({"op": "DefinirTitulo", "args": ["Título"]}, )"
        R"({"op": "AdicionarTextoMultilinha", "args": [1.0, 1.0, 5.0, 5.0, "", 0, 2, "Courier New", 12.0, 0, 0, 1, -5]}, )"
        R"({"op": "AdicionarImagem", "args": [1.0, 1.0, 2.0, 2.0, "imgIconeR", 7]}, )"
        R"({"op": "AdicionarImagem", "args": [3.0, 1.0, 2.0, 2.0, "imgIconeR", 1]}, )"
        R"({"op": "DefinirIcone", "args": ["imgIconeR"]}, )"
        R"({"op": "NovaPagina", "args": []}]})");
}

} // namespace
} // namespace tarvo
