#include "support/Spool.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>

#include <cups/cups.h>

#include <memory>

namespace tarvo::teste {

namespace {

// The layout of scripts/cups-teste.sh under the build folder.
const QString socketCups = QStringLiteral(TARVO_BUILD_DIR "/cups/cupsd.sock");
const QString saidaCups = QStringLiteral(TARVO_BUILD_DIR "/cups/saida");

struct ApagarIpp {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, ApagarIpp>;

// The jobs in an answer whose name is `titulo` (any name for ""), each with
// the attributes asked for.
std::vector<TrabalhoNaFila> Trabalhos(ipp_t* resposta, const std::string& titulo) {
    std::vector<std::pair<TrabalhoNaFila, std::string>> lidos;
    bool dentro = false;
    for (ipp_attribute_t* atributo = ippFirstAttribute(resposta); atributo != nullptr;
         atributo = ippNextAttribute(resposta)) {
        // A job's attributes run up to a separator, which has no name.
        if (ippGetGroupTag(atributo) != IPP_TAG_JOB || ippGetName(atributo) == nullptr) {
            dentro = false;
            continue;
        }
        if (!dentro)
            lidos.emplace_back();
        dentro = true;
        TrabalhoNaFila& trabalho = lidos.back().first;
        const std::string chave = ippGetName(atributo);
        char texto[256];
        ippAttributeString(atributo, texto, sizeof texto);
        if (chave == "job-id")
            trabalho.id = ippGetInteger(atributo, 0);
        else if (chave == "job-state")
            trabalho.estado = texto;
        else if (chave == "copies")
            trabalho.copias = texto;
        else if (chave == "multiple-document-handling")
            trabalho.documentosMultiplos = texto;
        else if (chave == "job-name")
            lidos.back().second = texto;
        else
            trabalho.propriedades +=
                (trabalho.propriedades.empty() ? "" : " ") + chave + "=" +
                (chave == "print-quality" ? std::to_string(ippGetInteger(atributo, 0))
                                          : std::string(texto));
    }
    std::vector<TrabalhoNaFila> trabalhos;
    for (const auto& [trabalho, nome] : lidos) {
        if (titulo.empty() || nome == titulo)
            trabalhos.push_back(trabalho);
    }
    return trabalhos;
}

Ipp Pedido(ipp_op_t operacao) {
    Ipp pedido(ippNewRequest(operacao));
    ippAddString(pedido.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/printers/TarvoPDF");
    ippAddString(pedido.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    static const char* const atributos[] = {
        "job-id", "job-state", "job-name",         "copies",       "multiple-document-handling",
        "media",  "sides",     "print-color-mode", "print-quality"};
    ippAddStrings(pedido.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(atributos), nullptr, atributos);
    return pedido;
}

} // namespace

TrabalhoNaFila TrabalhoDoArquivo(const std::string& caminho) {
    const QString nome = QFileInfo(QString::fromStdString(caminho)).completeBaseName();
    Ipp pedido = Pedido(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddInteger(pedido.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", nome.mid(4).toInt());
    const Ipp resposta(cupsDoRequest(CUPS_HTTP_DEFAULT, pedido.release(), "/"));
    if (!resposta)
        return {};
    const std::vector<TrabalhoNaFila> trabalhos = Trabalhos(resposta.get(), "");
    return trabalhos.empty() ? TrabalhoNaFila{} : trabalhos.front();
}

std::vector<TrabalhoNaFila> TrabalhosChamados(const std::string& titulo) {
    Ipp pedido = Pedido(IPP_OP_GET_JOBS);
    ippAddString(pedido.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    const Ipp resposta(cupsDoRequest(CUPS_HTTP_DEFAULT, pedido.release(), "/"));
    if (!resposta)
        return {};
    return Trabalhos(resposta.get(), titulo);
}

std::string PdfImpresso(const std::string& marca, const std::string& fila) {
    const QString pasta = fila == "TarvoOpcoes" ? saidaCups + QStringLiteral("-opcoes") : saidaCups;
    const QDateTime limite = QDateTime::currentDateTime().addSecs(90);
    while (QDateTime::currentDateTime() < limite) {
        // Finished jobs only: the backend renames each job to job-N.pdf once
        // it is whole.
        QDirIterator arquivos(pasta, {"job-*.pdf"}, QDir::Files);
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
