#include "support/Spool.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>

namespace tarvo::teste {

std::string PdfImpresso(const std::string& marca) {
    const QDateTime inicio = QDateTime::currentDateTime().addSecs(-5);
    const QDateTime limite = inicio.addSecs(90);
    while (QDateTime::currentDateTime() < limite) {
        QDirIterator arquivos(QStringLiteral("/var/spool/cups-pdf"), {"*.pdf"}, QDir::Files,
                              QDirIterator::Subdirectories);
        while (arquivos.hasNext()) {
            const QString caminho = arquivos.next();
            if (arquivos.fileInfo().lastModified() < inicio)
                continue;
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

bool FilaDeTestePronta() {
    return QPrinterInfo::defaultPrinterName() == QStringLiteral("TarvoPDF");
}

} // namespace tarvo::teste
