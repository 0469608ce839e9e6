// Printing on a real CUPS queue, TarvoPDF, the default printer of the tests'
// own scheduler (scripts/cups-teste.sh), whose backend keeps every job as a
// PDF file; and the errors when printing cannot happen.

#include "ProcessoFilho.h"
#include "engine/Documento.h"
#include "engine/JanelaPrevia.h"
#include "engine/MotorRelatorio.h"
#include "engine/SaidaDocumento.h"
#include "support/Erros.h"
#include "support/LeitorPdf.h"
#include "support/Spool.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo::teste {
namespace {

const QString filaQueRecusa = QStringLiteral("TarvoRecusa");

#define EXIGIR_FILA()                                                                              \
    if (const std::string motivo = MotivoSemFilaDeTeste(); !motivo.empty()) {                      \
        GTEST_SKIP() << motivo;                                                                    \
    }

// A word no earlier run printed.
std::string Marca() {
    return "Marca" + std::to_string(QRandomGenerator::global()->bounded(100000000, 999999999));
}

void Documento(MotorRelatorio& motor, const std::string& marca, int32_t orientacao) {
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.DefinirOrientacao(orientacao);
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    for (int pagina = 1; pagina <= 2; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        motor.AdicionarTexto(0, 0, 17, 0.5, marca, 0, 0, "Arial", 10, 0, 0, 0, 0);
        motor.AdicionarTexto(0, 15, 17, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
}

// The PDF that the queue kept for the job holding `marca`, read and then
// removed.
PdfLido Impresso(const std::string& marca) {
    const std::string caminho = PdfImpresso(marca);
    if (caminho.empty())
        return {};
    const PdfLido lido = LerPdf(caminho);
    QFile::remove(QString::fromStdString(caminho));
    return lido;
}

TEST(Impressao, ImprimeNaImpressoraPadrao) {
    EXIGIR_FILA();
    MotorRelatorio vazio;
    vazio.IniciarDocumento();
    EXPECT_NO_THROW(vazio.ImprimirDocumento(0)); // nothing to print, nothing sent

    for (const int32_t orientacao : {0, 1}) {
        const std::string marca = Marca();
        MotorRelatorio motor;
        Documento(motor, marca, orientacao);
        motor.ImprimirDocumento(0);
        const PdfLido pdf = Impresso(marca);
        ASSERT_EQ(pdf.paginas.size(), 2u) << "no printed PDF holds " << marca;
        EXPECT_NE(pdf.Texto().find("Página 1 de 2"), std::string::npos);
        EXPECT_NE(pdf.Texto().find("Página 2 de 2"), std::string::npos);
        // The queue keeps the job as Qt sent it: A4 pages in the document's
        // orientation (a landscape page is a turned sheet, not content turned
        // on an upright one), the text upright 2 cm from the top-left corner.
        const bool paisagem = orientacao == 1;
        const Palavra palavra = pdf.Achar(marca).at(0);
        const double folga = 2.5;
        EXPECT_NEAR(pdf.paginas[0].largura, (paisagem ? 29.7 : 21.0) * pontosPorCm, folga);
        EXPECT_NEAR(pdf.paginas[0].altura, (paisagem ? 21.0 : 29.7) * pontosPorCm, folga);
        EXPECT_NEAR(palavra.xMin, margem, folga);
        EXPECT_NEAR(palavra.yMin, margem, folga);
        EXPECT_GT(palavra.xMax - palavra.xMin, palavra.yMax - palavra.yMin);
    }
}

TEST(Impressao, DialogoCanceladoNaoImprimeNemFalha) {
    EXIGIR_FILA();
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    bool cancelado = false;
    QTimer cancelar;
    QObject::connect(&cancelar, &QTimer::timeout, [&] {
        if (auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogo->reject();
            cancelado = true;
        }
    });
    cancelar.start(20);
    EXPECT_NO_THROW(motor.ImprimirDocumento(-1));
    EXPECT_TRUE(cancelado);
}

TEST(Impressao, FilaQueRecusaTrabalhosLevantaErro) {
    EXIGIR_FILA();
    ASSERT_FALSE(QPrinterInfo::printerInfo(filaQueRecusa).isNull());
    // The default destination, for this process only.
    const QByteArray anterior = qgetenv("LPDEST");
    qputenv("LPDEST", filaQueRecusa.toUtf8());
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    EXPECT_EQ(NumeroDoErro([&] { motor.ImprimirDocumento(0); }), Erro::FalhaImpressao);
    if (anterior.isNull()) {
        qunsetenv("LPDEST");
    } else {
        qputenv("LPDEST", anterior);
    }
}

// Pages as a user picks them in the print dialog: a list with a range, and
// the preview's current page.
TEST(Impressao, DialogoImprimeListasDePaginasEAPaginaAtual) {
    EXIGIR_FILA();
    MotorRelatorio motor;
    const std::string marca = Marca();
    motor.IniciarDocumento();
    for (int pagina = 1; pagina <= 5; ++pagina) {
        if (pagina > 1)
            motor.NovaPagina();
        motor.AdicionarTexto(0, 0, 17, 0.5, marca, 0, 0, "Arial", 10, 0, 0, 0, 0);
        motor.AdicionarTexto(0, 15, 17, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
    motor.ExibirDocumento();
    for (const char* escolha : {"1,3-4", "atual"}) {
        QTimer escolher;
        QObject::connect(&escolher, &QTimer::timeout, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialogo == nullptr)
                return;
            escolher.stop();
            if (std::string(escolha) == "atual") {
                dialogo->findChild<QRadioButton*>("printCurrentPage")->setChecked(true);
            } else {
                dialogo->findChild<QRadioButton*>("pagesRadioButton")->setChecked(true);
                dialogo->findChild<QLineEdit*>("pagesLineEdit")->setText(escolha);
            }
            dialogo->accept();
        });
        escolher.start(20);
        static_cast<JanelaPrevia*>(motor.Janela())->IrParaPagina(2);
        motor.ImprimirDocumento(-1);
        const PdfLido pdf = Impresso(marca);
        const std::string texto = pdf.Texto();
        if (std::string(escolha) == "atual") {
            ASSERT_EQ(pdf.paginas.size(), 1u);
            EXPECT_NE(texto.find("Página 2 de 5"), std::string::npos);
        } else {
            ASSERT_EQ(pdf.paginas.size(), 3u);
            for (const char* pagina : {"Página 1 de 5", "Página 3 de 5", "Página 4 de 5"})
                EXPECT_NE(texto.find(pagina), std::string::npos) << pagina;
        }
    }
}

// Cancelar in the progress window stops the job before it reaches the
// queue: the next job is the first the queue keeps.
TEST(Impressao, CancelarNoProgressoNaoImprimeNada) {
    EXIGIR_FILA();
    const std::string cancelada = Marca();
    class tarvo::Documento documento;
    for (int pagina = 1; pagina <= 400; ++pagina) {
        documento.NovaPagina();
        documento.Adicionar(Texto{{0.0, 0.0, 17.0, 0.5, documento.Internar(cancelada), 0, 0,
                                   documento.Internar("Arial"), 10.0, 0, 0, 0, 0}});
    }
    bool cancelou = false;
    QTimer cancelar;
    QObject::connect(&cancelar, &QTimer::timeout, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            if (auto* progresso = qobject_cast<QProgressDialog*>(janela)) {
                progresso->cancel();
                cancelou = true;
            }
        }
    });
    // At the first events the job lets through, however fast it is laid out.
    cancelar.start(0);
    SaidaDocumento::OpcoesImpressao opcoes;
    opcoes.progresso = true;
    EXPECT_NO_THROW(SaidaDocumento::Impressora(documento, opcoes));
    cancelar.stop();
    ASSERT_TRUE(cancelou);

    const std::string seguinte = Marca();
    MotorRelatorio outro;
    Documento(outro, seguinte, 0);
    outro.ImprimirDocumento(0);
    ASSERT_EQ(Impresso(seguinte).paginas.size(), 2u);
    QDirIterator trabalhos(QStringLiteral(TARVO_BUILD_DIR "/cups/saida"), {"job-*.pdf"});
    while (trabalhos.hasNext())
        EXPECT_EQ(LerPdf(trabalhos.next().toStdString()).Texto().find(cancelada),
                  std::string::npos);
}

// The CUPS client points at a server that does not exist.
TEST(Impressao, SemImpressoraLevantaErro) {
    if (!NoProcessoFilho("Impressao.SemImpressoraLevantaErro",
                         {{"CUPS_SERVER", "/tmp/tarvo-cups-inexistente.sock"},
                          {"LPDEST", ""},
                          {"PRINTER", ""}})) {
        return;
    }
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    EXPECT_EQ(NumeroDoErro([&] { motor.ImprimirDocumento(0); }), Erro::SemImpressora);
    EXPECT_EQ(NumeroDoErro([&] { motor.ImprimirDocumento(-1); }), Erro::SemImpressora);
}

} // namespace
} // namespace tarvo::teste
