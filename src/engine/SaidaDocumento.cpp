#include "engine/SaidaDocumento.h"

#include "common/Andamento.h"
#include "common/ArquivoAtomico.h"
#include "engine/DialogoImpressao.h"
#include "engine/Documento.h"
#include "engine/EscritorPdf.h"
#include "engine/ImpressorasCups.h"
#include "engine/RegistroJson.h"
#include "engine/Renderizador.h"
#include "engine/TrabalhoCups.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

// Sends the finished PDF, read back from its temporary, in pieces;
// `continuar` is asked between them.
void Enviar(const ArquivoAtomico& pdf, TrabalhoCups& trabalho,
            const std::function<bool()>& continuar) {
    std::ifstream leitura(pdf.Leitura(), std::ios::binary);
    if (!leitura)
        throw ArquivoAtomico::FalhaDe(pdf.Caminho(), "o PDF da impressão não pôde ser lido",
                                      origem);
    std::vector<char> pedaco(64 * 1024);
    while (leitura) {
        leitura.read(pedaco.data(), static_cast<std::streamsize>(pedaco.size()));
        const auto lidos = static_cast<size_t>(leitura.gcount());
        if (lidos > 0)
            trabalho.Escrever(std::string_view(pedaco.data(), lidos));
        if (!continuar())
            throw Andamento::Interrupcao();
    }
    if (!leitura.eof())
        throw ArquivoAtomico::FalhaDe(pdf.Caminho(), "o PDF da impressão não pôde ser lido",
                                      origem);
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
    EscritorPdf::Gravar({{&documento, ""}}, {documento.Definicoes().titulo, documento.Assunto()},
                        caminho, andamento);
}

void SaidaDocumento::PdfUnico(const std::vector<Parte>& partes, const std::string& titulo,
                              const std::string& assunto, const std::string& caminho,
                              Andamento* andamento) {
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
    // Without the dialog the printer asked for must be there; the dialog
    // needs one to offer.
    std::string nome =
        opcoes.dialogo ? std::string() : ImpressorasCups::Verificar(opcoes.impressora);
    if (opcoes.dialogo && ImpressorasCups::Listar().empty()) {
        throw Erro(Erro::SemImpressora, "Não há impressora instalada ou disponível no sistema.",
                   origem);
    }
    // An empty document has nothing to print: no job is sent.
    const int total = documento.NumeroPaginas();
    if (total == 0) {
        return;
    }
    const std::string titulo = documento.Definicoes().titulo;

    TrabalhoCups::Opcoes opcoesTrabalho;
    std::vector<int> paginas;
    if (opcoes.dialogo) {
        DialogoImpressao janela(total, opcoes.paginaAtual, opcoes.pai, opcoes.impressora);
        if (janela.exec() != QDialog::Accepted)
            return;
        // The closed dialog goes from the screen before the job starts.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        nome = janela.Impressora();
        paginas = janela.Paginas();
        opcoesTrabalho = janela.Opcoes();
    } else {
        for (int pagina = 1; pagina <= total; ++pagina)
            paginas.push_back(pagina);
    }
    // The destination is looked up before anything is laid out: a missing
    // printer is said at once.
    TrabalhoCups trabalho(nome);

    std::unique_ptr<QProgressDialog> progresso;
    if (opcoes.progresso) {
        progresso = std::make_unique<QProgressDialog>(
            QStringLiteral("Imprimindo \u201c%1\u201d…").arg(QString::fromStdString(titulo)),
            QStringLiteral("Cancelar"), 0, static_cast<int>(paginas.size()), opcoes.pai);
        progresso->setWindowTitle(QStringLiteral("Impressão"));
        progresso->setWindowModality(opcoes.pai != nullptr ? Qt::WindowModal
                                                           : Qt::ApplicationModal);
        progresso->setMinimumDuration(400);
        progresso->setAutoReset(false);
        progresso->setAutoClose(false);
    }
    QElapsedTimer eventos;
    eventos.start();
    // The windows repaint and Cancelar answers while the job is made and
    // sent; false once it was pressed.
    const auto continuar = [&] {
        if (!progresso)
            return true;
        if (eventos.elapsed() > 50) {
            QCoreApplication::processEvents();
            eventos.restart();
        }
        return !progresso->wasCanceled();
    };
    Andamento andamento([&](const Progresso& estado) {
        if (progresso && estado.gravando)
            progresso->setValue(std::min(estado.paginas, progresso->maximum()));
        return continuar();
    });
    andamento.IniciarGravacao();

    try {
        // The PDF is a nameless temporary that is never put in place.
        ArquivoAtomico pdf(
            QDir::temp().filePath(QStringLiteral("relatorios-tarvo-impressao.pdf")).toStdString());
        EscritorPdf::Escrever({{&documento, "", paginas}}, {titulo, documento.Assunto()}, pdf,
                              &andamento);
        if (progresso) {
            // A Cancelar pressed while the last pages were laid out still counts.
            QCoreApplication::processEvents();
            if (progresso->wasCanceled())
                return;
            progresso->setLabelText(QStringLiteral("Enviando à impressora…"));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        trabalho.Iniciar(titulo, opcoesTrabalho);
        Enviar(pdf, trabalho, continuar);
        if (progresso) {
            QCoreApplication::processEvents();
            if (progresso->wasCanceled())
                return; // the job, never concluded, is cancelled with `trabalho`
        }
        trabalho.Concluir();
    } catch (const Erro& erro) {
        // Cancelar: the job, if there was one, goes with `trabalho`.
        if (erro.Numero() == Erro::Interrompido)
            return;
        throw;
    }
}

} // namespace tarvo
