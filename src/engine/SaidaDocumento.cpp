#include "engine/SaidaDocumento.h"

#include "engine/Documento.h"
#include "engine/EscritorPdf.h"
#include "engine/Renderizador.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QDateTime>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QThread>

#include <dlfcn.h>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

void AplicarFolha(QPrinter& impressora, const Documento& documento) {
    impressora.setPageLayout(SaidaDocumento::Folha(documento));
    impressora.setFullPage(true);
}

// Qt's CUPS support hands the job over and ignores CUPS's answer, but libcups
// keeps the status of this thread's last request. An empty text means the
// job was accepted, or that there is no CUPS in the process to ask.
std::string RecusaCups() {
    void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (cups == nullptr) {
        return {};
    }
    using FuncaoStatus = int (*)();
    using FuncaoTexto = const char* (*)();
    const auto status = reinterpret_cast<FuncaoStatus>(dlsym(cups, "cupsLastError"));
    const auto texto = reinterpret_cast<FuncaoTexto>(dlsym(cups, "cupsLastErrorString"));
    std::string recusa;
    // IPP status codes from 0x0400 on are client, server and CUPS errors.
    if (status != nullptr && status() >= 0x0400) {
        const char* descricao = texto != nullptr ? texto() : nullptr;
        recusa = descricao != nullptr ? descricao : "erro desconhecido";
    }
    dlclose(cups);
    return recusa;
}

[[noreturn]] void FalhaImpressao(QPrinter& impressora, const std::string& detalhe) {
    impressora.abort();
    throw Erro(Erro::FalhaImpressao,
               "A impressora \"" + impressora.printerName().toStdString() +
                   "\" não aceitou o documento: " + detalhe,
               origem);
}

} // namespace

// The whole sheet is the paint area: the document's own margins are applied
// when drawing, the same way on every device.
QPageLayout SaidaDocumento::Folha(const Documento& documento) {
    QPageLayout folha(QPageSize(QPageSize::A4),
                      documento.Paisagem() ? QPageLayout::Landscape : QPageLayout::Portrait,
                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    folha.setMode(QPageLayout::FullPageMode);
    return folha;
}

void SaidaDocumento::ExigirAplicacao(bool janelas) {
    const QCoreApplication* aplicacao = QCoreApplication::instance();
    if (janelas) {
        if (qobject_cast<const QApplication*>(aplicacao) == nullptr) {
            throw Erro(Erro::FalhaInterface,
                       "Não há uma aplicação Qt com janelas (QApplication) para exibir o "
                       "documento.",
                       origem);
        }
        if (QThread::currentThread() != aplicacao->thread()) {
            throw Erro(Erro::FalhaInterface,
                       "Janelas e impressão só podem ser usadas na thread principal da "
                       "aplicação.",
                       origem);
        }
    } else if (qobject_cast<const QGuiApplication*>(aplicacao) == nullptr) {
        throw Erro(Erro::FalhaInterface,
                   "Não há uma aplicação Qt gráfica (QGuiApplication) para desenhar o documento.",
                   origem);
    }
}

void SaidaDocumento::Pdf(const Documento& documento, const std::string& caminho) {
    EscritorPdf::Gravar({{&documento, ""}}, {documento.Titulo(), documento.Assunto()}, caminho);
}

QImage SaidaDocumento::Imagem(const Documento& documento, Renderizador& renderizador, int pagina,
                              int dpi) {
    if (pagina < 1 || pagina > documento.NumeroPaginas()) {
        throw Erro(Erro::ArgumentoInvalido,
                   "A página " + std::to_string(pagina) + " não existe no documento.", origem);
    }
    if (dpi < 1 || dpi > 1200) {
        throw Erro(Erro::ArgumentoInvalido,
                   "Resolução fora do intervalo de 1 a 1200 pontos por polegada.", origem);
    }
    ExigirAplicacao(false);
    const QSizeF papel = Renderizador::TamanhoPapel(documento);
    QImage imagem(qRound(papel.width() / 2.54 * dpi), qRound(papel.height() / 2.54 * dpi),
                  QImage::Format_RGB32);
    if (imagem.isNull()) {
        throw Erro(Erro::ArgumentoInvalido, "Não há memória para a imagem da página.", origem);
    }
    // The image's resolution is what the renderer converts centimetres and
    // points with.
    const int pontosPorMetro = qRound(dpi / 0.0254);
    imagem.setDotsPerMeterX(pontosPorMetro);
    imagem.setDotsPerMeterY(pontosPorMetro);
    imagem.fill(Qt::white);
    QPainter painter(&imagem);
    renderizador.DesenharPagina(painter, pagina);
    return imagem;
}

void SaidaDocumento::Impressora(const Documento& documento, bool dialogo, QWidget* pai) {
    ExigirAplicacao(dialogo);
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        throw Erro(Erro::SemImpressora, "Não há impressora instalada ou disponível no sistema.",
                   origem);
    }
    if (!dialogo && padrao.isNull()) {
        throw Erro(Erro::SemImpressora, "Não há impressora padrão definida no sistema.", origem);
    }
    // An empty document has nothing to print: no job is sent.
    if (documento.NumeroPaginas() == 0) {
        return;
    }

    QPrinter impressora(QPrinter::HighResolution);
    if (!padrao.isNull()) {
        impressora.setPrinterName(padrao.printerName());
    }
    impressora.setDocName(QString::fromStdString(documento.Titulo()));
    impressora.setCreator(QStringLiteral("RelatoriosTarvo"));
    AplicarFolha(impressora, documento);
    int primeira = 1;
    int ultima = documento.NumeroPaginas();
    if (dialogo) {
        QPrintDialog janela(&impressora, pai);
        janela.setMinMax(1, documento.NumeroPaginas());
        if (janela.exec() != QDialog::Accepted) {
            return;
        }
        // The layout is the document's, whatever paper the dialog proposed.
        AplicarFolha(impressora, documento);
        if (impressora.printRange() == QPrinter::PageRange) {
            primeira = std::max(impressora.fromPage(), 1);
            ultima = std::min(impressora.toPage(), documento.NumeroPaginas());
        }
    }
    if (!impressora.isValid()) {
        throw Erro(Erro::SemImpressora,
                   "A impressora \"" + impressora.printerName().toStdString() +
                       "\" não está disponível.",
                   origem);
    }

    QPainter painter;
    if (!painter.begin(&impressora)) {
        FalhaImpressao(impressora, "não foi possível iniciar a impressão.");
    }
    Renderizador renderizador(documento, QDateTime::currentDateTime());
    const bool invertida = impressora.pageOrder() == QPrinter::LastPageFirst;
    for (int i = primeira; i <= ultima; ++i) {
        if (i > primeira && !impressora.newPage()) {
            FalhaImpressao(impressora, "não foi possível passar à página seguinte.");
        }
        renderizador.DesenharPagina(painter, invertida ? ultima - (i - primeira) : i);
    }
    if (!painter.end() || impressora.printerState() == QPrinter::Error) {
        FalhaImpressao(impressora, "o trabalho de impressão falhou.");
    }
    if (impressora.outputFileName().isEmpty()) {
        const std::string recusa = RecusaCups();
        if (!recusa.empty()) {
            throw Erro(Erro::FalhaImpressao,
                       "A impressora \"" + impressora.printerName().toStdString() +
                           "\" recusou o documento: " + recusa,
                       origem);
        }
    }
}

} // namespace tarvo
