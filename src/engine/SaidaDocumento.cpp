#include "engine/SaidaDocumento.h"

#include "common/ArquivoAtomico.h"
#include "engine/DialogoImpressao.h"
#include "engine/Documento.h"
#include "engine/EscritorPdf.h"
#include "engine/RegistroJson.h"
#include "engine/Renderizador.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

#include <dlfcn.h>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

void AplicarFolha(QPrinter& impressora, const Documento& documento) {
    impressora.setPageLayout(Renderizador::Folha(documento));
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

// Qt hands the job to CUPS when the painter ends and has no way to drop it
// (QPrinter::abort does nothing here). A job of no copies is one CUPS turns
// down before any page is sent, so ending the painter with it prints
// nothing; a job printed to a file leaves no file.
void Descartar(QPrinter& impressora, QPainter& painter) {
    // The key Qt's CUPS engine takes its extra job options under.
    const auto opcoesCups = static_cast<QPrintEngine::PrintEnginePropertyKey>(0xfe00);
    QPrintEngine* motor = impressora.printEngine();
    motor->setProperty(QPrintEngine::PPK_CopyCount, 1);
    QStringList opcoes = motor->property(opcoesCups).toStringList();
    opcoes << QStringLiteral("copies") << QStringLiteral("0");
    motor->setProperty(opcoesCups, opcoes);
    painter.end();
    if (!impressora.outputFileName().isEmpty()) {
        QFile::remove(impressora.outputFileName());
    }
}

} // namespace

bool SaidaDocumento::JanelasVisiveis() {
    const QString plataforma = QGuiApplication::platformName();
    return qobject_cast<const QApplication*>(QCoreApplication::instance()) != nullptr &&
           plataforma != QLatin1String("offscreen") && plataforma != QLatin1String("minimal");
}

// The one check of the Qt application, with the error the library's own
// application holder raises: it is the library's environment that is
// wrong, not an engine call.
void SaidaDocumento::ExigirAplicacao(bool janelas) {
    const QCoreApplication* aplicacao = QCoreApplication::instance();
    if (janelas) {
        if (qobject_cast<const QApplication*>(aplicacao) == nullptr) {
            throw Erro(Erro::FalhaInterface,
                       "Não há uma aplicação Qt com janelas (QApplication) para exibir o "
                       "documento.",
                       TARVO_ORIGEM_BIBLIOTECA);
        }
        if (QThread::currentThread() != aplicacao->thread()) {
            throw Erro(Erro::FalhaInterface,
                       "Janelas e impressão só podem ser usadas na thread principal da "
                       "aplicação.",
                       TARVO_ORIGEM_BIBLIOTECA);
        }
    } else if (qobject_cast<const QGuiApplication*>(aplicacao) == nullptr) {
        throw Erro(Erro::FalhaInterface,
                   "Não há uma aplicação Qt gráfica (QGuiApplication) para desenhar o documento.",
                   TARVO_ORIGEM_BIBLIOTECA);
    }
}

void SaidaDocumento::Pdf(const Documento& documento, const std::string& caminho,
                         Andamento* andamento) {
    ExigirAplicacao(false);
    EscritorPdf::Gravar({{&documento, ""}}, {documento.Definicoes().titulo, documento.Assunto()},
                        caminho, andamento);
}

void SaidaDocumento::PdfUnico(const std::vector<Parte>& partes, const std::string& titulo,
                              const std::string& assunto, const std::string& caminho,
                              Andamento* andamento) {
    ExigirAplicacao(false);
    std::vector<EscritorPdf::Parte> documentos;
    for (const Parte& parte : partes)
        documentos.push_back({parte.documento, parte.marcador});
    EscritorPdf::Gravar(documentos, {titulo, assunto}, caminho, andamento);
}

std::string SaidaDocumento::Json(const Documento& documento) {
    return RegistroJson::Escrever(documento);
}

void SaidaDocumento::SalvarJson(const Documento& documento, const std::string& caminho) {
    ArquivoAtomico::Gravar(caminho, RegistroJson::Escrever(documento), documento.Protegidos());
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
    return ParteImagem(renderizador, pagina, dpi,
                       QRect(QPoint(), TamanhoImagem(Renderizador::TamanhoPapel(documento), dpi)));
}

QImage SaidaDocumento::ParteImagem(Renderizador& renderizador, int pagina, int dpi,
                                   const QRect& area) {
    QImage imagem(area.size(), QImage::Format_RGB32);
    if (imagem.isNull()) {
        throw Erro(Erro::ArgumentoInvalido, "Não há memória para a imagem da página.", origem);
    }
    // The image's resolution is what the renderer converts centimetres and
    // points with; the part is the sheet shifted by whole pixels.
    const int pontosPorMetro = qRound(dpi / 0.0254);
    imagem.setDotsPerMeterX(pontosPorMetro);
    imagem.setDotsPerMeterY(pontosPorMetro);
    imagem.fill(Qt::white);
    QPainter painter(&imagem);
    painter.translate(-area.topLeft());
    renderizador.DesenharPagina(painter, pagina);
    return imagem;
}

QSize SaidaDocumento::TamanhoImagem(const QSizeF& papel, int dpi) {
    return QSize(qRound(papel.width() / 2.54 * dpi), qRound(papel.height() / 2.54 * dpi));
}

void SaidaDocumento::Impressora(const Documento& documento, const OpcoesImpressao& opcoes) {
    ExigirAplicacao(opcoes.dialogo || opcoes.progresso);
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        throw Erro(Erro::SemImpressora, "Não há impressora instalada ou disponível no sistema.",
                   origem);
    }
    if (!opcoes.dialogo && padrao.isNull()) {
        throw Erro(Erro::SemImpressora, "Não há impressora padrão definida no sistema.", origem);
    }
    // An empty document has nothing to print: no job is sent.
    const int total = documento.NumeroPaginas();
    if (total == 0) {
        return;
    }

    QPrinter impressora(QPrinter::HighResolution);
    if (!padrao.isNull()) {
        impressora.setPrinterName(padrao.printerName());
    }
    impressora.setDocName(QString::fromStdString(documento.Definicoes().titulo));
    impressora.setCreator(QStringLiteral("RelatoriosTarvo"));
    AplicarFolha(impressora, documento);
    std::vector<int> paginas;
    if (opcoes.dialogo) {
        DialogoImpressao janela(&impressora, total, opcoes.paginaAtual, opcoes.pai);
        if (janela.exec() != QDialog::Accepted) {
            return;
        }
        // The closed dialog goes from the screen before the job starts.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // The layout is the document's, whatever paper the dialog proposed.
        AplicarFolha(impressora, documento);
        paginas = janela.Paginas();
        // The pages chosen are the ones sent: none is left to the printer to pick.
        impressora.setPrintRange(QPrinter::AllPages);
        impressora.setPageRanges(QPageRanges());
    } else {
        for (int pagina = 1; pagina <= total; ++pagina) {
            paginas.push_back(pagina);
        }
    }
    if (paginas.empty()) {
        return;
    }
    if (!impressora.isValid()) {
        throw Erro(Erro::SemImpressora,
                   "A impressora \"" + impressora.printerName().toStdString() +
                       "\" não está disponível.",
                   origem);
    }

    std::unique_ptr<QProgressDialog> progresso;
    if (opcoes.progresso) {
        progresso = std::make_unique<QProgressDialog>(
            QStringLiteral("Imprimindo \u201c%1\u201d…")
                .arg(QString::fromStdString(documento.Definicoes().titulo)),
            QStringLiteral("Cancelar"), 0, static_cast<int>(paginas.size()), opcoes.pai);
        progresso->setWindowTitle(QStringLiteral("Impressão"));
        progresso->setWindowModality(opcoes.pai != nullptr ? Qt::WindowModal
                                                           : Qt::ApplicationModal);
        progresso->setMinimumDuration(400);
        progresso->setAutoReset(false);
        progresso->setAutoClose(false);
    }
    QPainter painter;
    if (!painter.begin(&impressora)) {
        FalhaImpressao(impressora, "não foi possível iniciar a impressão.");
    }
    Renderizador renderizador(documento, QDateTime::currentDateTime());
    QElapsedTimer eventos;
    eventos.start();
    for (size_t i = 0; i < paginas.size(); ++i) {
        if (i > 0 && !impressora.newPage()) {
            FalhaImpressao(impressora, "não foi possível passar à página seguinte.");
        }
        renderizador.DesenharPagina(painter, paginas[i]);
        if (progresso) {
            progresso->setValue(static_cast<int>(i + 1));
            // The windows repaint and Cancelar answers while the job is laid out.
            if (eventos.elapsed() > 50) {
                QCoreApplication::processEvents();
                eventos.restart();
            }
            if (progresso->wasCanceled()) {
                Descartar(impressora, painter);
                return;
            }
        }
    }
    if (progresso) {
        // A Cancelar pressed while the last pages were laid out still counts.
        QCoreApplication::processEvents();
        if (progresso->wasCanceled()) {
            Descartar(impressora, painter);
            return;
        }
        progresso->setLabelText(QStringLiteral("Enviando à impressora…"));
        progresso->setCancelButton(nullptr);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
