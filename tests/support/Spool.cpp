#include "support/Spool.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>

namespace tarvo::teste {

namespace {

// The layout of scripts/cups-teste.sh under the build folder.
const QString socketCups = QStringLiteral(TARVO_BUILD_DIR "/cups/cupsd.sock");
const QString saidaCups = QStringLiteral(TARVO_BUILD_DIR "/cups/saida");

} // namespace

std::string PdfImpresso(const std::string& marca) {
    const QDateTime limite = QDateTime::currentDateTime().addSecs(90);
    while (QDateTime::currentDateTime() < limite) {
        // Finished jobs only: the backend renames each job to job-N.pdf once
        // it is whole.
        QDirIterator arquivos(saidaCups, {"job-*.pdf"}, QDir::Files);
        while (arquivos.hasNext()) {
            const QString caminho = arquivos.next();
            QProcess leitura;
            leitura.start("pdftotext", {"-enc", "UTF-8", caminho, "-"});
            leitura.waitForFinished();
            if (leitura.readAllStandardOutput().toStdString().find(marca) != std::string::npos)
                return caminho.toStdString();
        }
        QThread::msleep(250);
    }
    return {};
}

std::string MotivoSemFilaDeTeste() {
    const std::string ctest = " (ctest starts it in the fixture CupsDosTestes, "
                              "scripts/cups-teste.sh; its log is under build/cups/log)";
    if (qEnvironmentVariable("CUPS_SERVER") != socketCups)
        return "CUPS_SERVER is not the tests' own CUPS scheduler " + socketCups.toStdString() +
               ctest;
    if (!QFileInfo::exists(socketCups))
        return "The tests' own CUPS scheduler is not running" + ctest;
    if (QPrinterInfo::defaultPrinterName() != QStringLiteral("TarvoPDF"))
        return "TarvoPDF is not the default printer of the tests' CUPS scheduler" + ctest;
    return {};
}

} // namespace tarvo::teste
