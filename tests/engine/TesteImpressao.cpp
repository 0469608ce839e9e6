// Printing on a real CUPS queue (scripts/cups-teste.sh sets up TarvoPDF, a
// cups-pdf printer, as the default) and the errors when printing cannot
// happen.

#include "LeitorPdf.h"
#include "common/Erro.h"
#include "engine/MotorRelatorio.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDirIterator>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo::teste {
namespace {

const QString fila = QStringLiteral("TarvoPDF");
const QString filaQueRecusa = QStringLiteral("TarvoRecusa");
const QString spool = QStringLiteral("/var/spool/cups-pdf");

#define EXIGIR_FILA()                                                                              \
    if (QPrinterInfo::defaultPrinterName() != fila) {                                              \
        GTEST_SKIP() << "The CUPS queue TarvoPDF is not the default printer: run "                 \
                        "scripts/cups-teste.sh as root first";                                     \
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

// The text of the PDF that cups-pdf writes for the job holding `marca`,
// waiting a bounded time for it to land.
std::string TextoImpresso(const std::string& marca) {
    const QDateTime limite = QDateTime::currentDateTime().addSecs(90);
    while (QDateTime::currentDateTime() < limite) {
        QDirIterator arquivos(spool, {"*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
        while (arquivos.hasNext()) {
            const QString caminho = arquivos.next();
            QProcess leitura;
            leitura.start("pdftotext", {"-enc", "UTF-8", caminho, "-"});
            leitura.waitForFinished();
            const std::string texto = leitura.readAllStandardOutput().toStdString();
            if (texto.find(marca) != std::string::npos) {
                QFile::remove(caminho);
                return texto;
            }
        }
        QThread::msleep(250);
    }
    return {};
}

long NumeroDoErro(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const Erro& erro) {
        EXPECT_FALSE(erro.Descricao().empty());
        return erro.Numero();
    }
    return 0;
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
        const std::string texto = TextoImpresso(marca);
        ASSERT_FALSE(texto.empty()) << "no PDF with " << marca << " under " << spool.toStdString();
        EXPECT_NE(texto.find("Página 1 de 2"), std::string::npos);
        EXPECT_NE(texto.find("Página 2 de 2"), std::string::npos);
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
    if (QPrinterInfo::printerInfo(filaQueRecusa).isNull()) {
        GTEST_SKIP() << "The CUPS queue TarvoRecusa is missing: run scripts/cups-teste.sh as root";
    }
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

// Runs in a child process whose CUPS client points at a server that does not
// exist: the client library reads CUPS_SERVER once per process.
TEST(Impressao, SemImpressoraLevantaErro) {
    if (!qEnvironmentVariableIsSet("TARVO_SEM_CUPS")) {
        QProcess filho;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("TARVO_SEM_CUPS", "1");
        ambiente.insert("CUPS_SERVER", "/tmp/tarvo-cups-inexistente.sock");
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        ambiente.remove("LPDEST");
        ambiente.remove("PRINTER");
        filho.setProcessEnvironment(ambiente);
        filho.setProcessChannelMode(QProcess::MergedChannels);
        filho.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=Impressao.SemImpressoraLevantaErro"});
        ASSERT_TRUE(filho.waitForFinished(60000));
        EXPECT_EQ(filho.exitCode(), 0) << filho.readAll().toStdString();
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
