#include "engine/JanelaPrevia.h"

#include "engine/Documento.h"
#include "engine/PaginaPrevia.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"
#include <RelatoriosTarvo/Erro.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <array>

namespace tarvo {

namespace {

// Fixed zoom levels, after the two fitting modes in the zoom list.
constexpr std::array<double, 8> niveisZoom = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};

} // namespace

JanelaPrevia::JanelaPrevia() {
    rolagem_ = new QScrollArea(this);
    rolagem_->setBackgroundRole(QPalette::Dark);
    rolagem_->setWidgetResizable(true);
    folha_ = new PaginaPrevia(rolagem_);
    rolagem_->setWidget(folha_);
    setCentralWidget(rolagem_);
    CriarBarra();

    reajuste_.setSingleShot(true);
    reajuste_.setInterval(0);
    connect(&reajuste_, &QTimer::timeout, this, [this] { Tentar([this] { Renderizar(); }); });

    QSize tamanho(900, 1000);
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        tamanho = tamanho.boundedTo(tela->availableGeometry().size() * 9 / 10);
    }
    resize(tamanho);
}

JanelaPrevia::~JanelaPrevia() = default;

void JanelaPrevia::CriarBarra() {
    QToolBar* barra = addToolBar(QStringLiteral("Visualização"));
    barra->setMovable(false);
    barra->setToolButtonStyle(Qt::ToolButtonTextOnly);

    primeira_ = barra->addAction(QStringLiteral("Primeira"), this, [this] { IrParaPagina(1); });
    primeira_->setToolTip(QStringLiteral("Primeira página"));
    primeira_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    anterior_ =
        barra->addAction(QStringLiteral("Anterior"), this, [this] { IrParaPagina(pagina_ - 1); });
    anterior_->setToolTip(QStringLiteral("Página anterior"));
    anterior_->setShortcut(QKeySequence(Qt::Key_PageUp));

    numeroPagina_ = new QSpinBox(barra);
    numeroPagina_->setToolTip(QStringLiteral("Página atual"));
    numeroPagina_->setKeyboardTracking(false);
    barra->addWidget(numeroPagina_);
    connect(numeroPagina_, &QSpinBox::valueChanged, this, [this](int valor) {
        if (valor != pagina_) {
            IrParaPagina(valor);
        }
    });
    totalPaginas_ = new QLabel(barra);
    totalPaginas_->setContentsMargins(4, 0, 8, 0);
    barra->addWidget(totalPaginas_);

    proxima_ =
        barra->addAction(QStringLiteral("Próxima"), this, [this] { IrParaPagina(pagina_ + 1); });
    proxima_->setToolTip(QStringLiteral("Próxima página"));
    proxima_->setShortcut(QKeySequence(Qt::Key_PageDown));
    ultima_ = barra->addAction(QStringLiteral("Última"), this, [this] {
        IrParaPagina(documento_ ? documento_->NumeroPaginas() : 1);
    });
    ultima_->setToolTip(QStringLiteral("Última página"));
    ultima_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
    barra->addSeparator();

    QAction* reduzir = barra->addAction(QStringLiteral("Reduzir"), this, [this] { MudarZoom(-1); });
    reduzir->setShortcut(QKeySequence::ZoomOut);
    escolhaZoom_ = new QComboBox(barra);
    escolhaZoom_->setToolTip(QStringLiteral("Zoom"));
    escolhaZoom_->addItem(QStringLiteral("Ajustar à largura"));
    escolhaZoom_->addItem(QStringLiteral("Página inteira"));
    for (const double nivel : niveisZoom) {
        escolhaZoom_->addItem(QStringLiteral("%1%").arg(qRound(nivel * 100)));
    }
    barra->addWidget(escolhaZoom_);
    connect(escolhaZoom_, &QComboBox::activated, this, [this](int indice) {
        if (indice == 0) {
            DefinirZoom(Ajuste::Largura, zoom_);
        } else if (indice == 1) {
            DefinirZoom(Ajuste::Pagina, zoom_);
        } else {
            DefinirZoom(Ajuste::Fixo, niveisZoom[static_cast<size_t>(indice - 2)]);
        }
    });
    QAction* ampliar = barra->addAction(QStringLiteral("Ampliar"), this, [this] { MudarZoom(1); });
    ampliar->setShortcut(QKeySequence::ZoomIn);
    barra->addSeparator();

    imprimir_ = barra->addAction(QStringLiteral("Imprimir…"), this, [this] { Imprimir(); });
    imprimir_->setToolTip(QStringLiteral("Imprimir o documento"));
    imprimir_->setShortcut(QKeySequence::Print);
    salvar_ = barra->addAction(QStringLiteral("Salvar PDF…"), this, [this] { SalvarPdf(); });
    salvar_->setToolTip(QStringLiteral("Salvar o documento como PDF"));
    salvar_->setShortcut(QKeySequence::Save);
}

void JanelaPrevia::Mostrar(std::shared_ptr<const Documento> documento) {
    if (documento != documento_) {
        // Date and time placeholders show the moment the document was shown.
        renderizador_ = std::make_unique<Renderizador>(*documento, QDateTime::currentDateTime());
        documento_ = std::move(documento);
        pagina_ = 1;
    }
    setWindowTitle(QString::fromStdString(documento_->Titulo()));
    const Figura* icone = documento_->Icone();
    setWindowIcon(icone != nullptr ? QIcon(QPixmap::fromImage(icone->Imagem())) : QIcon());
    AtualizarControles();
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
    Renderizar();
}

void JanelaPrevia::IrParaPagina(int pagina) {
    if (!documento_) {
        return;
    }
    const int novaPagina = std::clamp(pagina, 1, std::max(documento_->NumeroPaginas(), 1));
    if (novaPagina == pagina_) {
        AtualizarControles();
        return;
    }
    pagina_ = novaPagina;
    AtualizarControles();
    Tentar([this] { Renderizar(); });
    rolagem_->verticalScrollBar()->setValue(0);
}

void JanelaPrevia::AtualizarControles() {
    const int total = documento_ ? documento_->NumeroPaginas() : 0;
    const QSignalBlocker bloqueio(numeroPagina_);
    numeroPagina_->setRange(total > 0 ? 1 : 0, total);
    numeroPagina_->setValue(total > 0 ? pagina_ : 0);
    numeroPagina_->setEnabled(total > 1);
    totalPaginas_->setText(QStringLiteral("de %1").arg(total));
    primeira_->setEnabled(pagina_ > 1);
    anterior_->setEnabled(pagina_ > 1);
    proxima_->setEnabled(pagina_ < total);
    ultima_->setEnabled(pagina_ < total);
    imprimir_->setEnabled(total > 0);
    escolhaZoom_->setCurrentIndex(ajuste_ == Ajuste::Largura  ? 0
                                  : ajuste_ == Ajuste::Pagina ? 1
                                                              : escolhaZoom_->currentIndex());
}

void JanelaPrevia::resizeEvent(QResizeEvent* evento) {
    QMainWindow::resizeEvent(evento);
    // Fitting modes follow the window; the resizes of one drag are rendered once.
    if (ajuste_ != Ajuste::Fixo) {
        reajuste_.start();
    }
}

// The zoom relative to the paper's real size on this screen.
double JanelaPrevia::Zoom() const {
    if (ajuste_ == Ajuste::Fixo || !documento_) {
        return zoom_;
    }
    const QSizeF papel = Renderizador::TamanhoPapel(*documento_) / 2.54 * logicalDpiX();
    const QSize area = rolagem_->viewport()->size() - QSize(2 * PaginaPrevia::margem, 0);
    // The vertical scroll bar may appear once the page is wider.
    const double largura =
        (area.width() - rolagem_->verticalScrollBar()->sizeHint().width()) / papel.width();
    if (ajuste_ == Ajuste::Largura) {
        return std::clamp(largura, 0.1, 4.0);
    }
    const double altura = (area.height() - 2 * PaginaPrevia::margem) / papel.height();
    return std::clamp(std::min(largura, altura), 0.1, 4.0);
}

void JanelaPrevia::DefinirZoom(Ajuste ajuste, double zoom) {
    ajuste_ = ajuste;
    zoom_ = zoom;
    AtualizarControles();
    Tentar([this] { Renderizar(); });
}

void JanelaPrevia::MudarZoom(int passo) {
    const double atual = Zoom();
    double novo = passo > 0 ? niveisZoom.back() : niveisZoom.front();
    for (const double nivel : niveisZoom) {
        if (passo > 0 && nivel > atual + 1e-9) {
            novo = nivel;
            break;
        }
        if (passo < 0 && nivel < atual - 1e-9) {
            novo = nivel;
        }
    }
    const auto posicao = std::find(niveisZoom.begin(), niveisZoom.end(), novo);
    escolhaZoom_->setCurrentIndex(static_cast<int>(posicao - niveisZoom.begin()) + 2);
    DefinirZoom(Ajuste::Fixo, novo);
}

void JanelaPrevia::Renderizar() {
    if (!documento_ || documento_->NumeroPaginas() == 0) {
        folha_->DefinirImagem(QImage());
        return;
    }
    // Rendered at the screen's pixel density, shown at its logical size.
    const double razao = devicePixelRatioF();
    const int dpi = std::clamp(qRound(logicalDpiX() * Zoom() * razao), 10, 1200);
    QImage imagem = SaidaDocumento::Imagem(*documento_, *renderizador_, pagina_, dpi);
    imagem.setDevicePixelRatio(razao);
    folha_->DefinirImagem(imagem);
}

void JanelaPrevia::Imprimir() {
    Tentar([this] { SaidaDocumento::Impressora(*documento_, true, this); });
}

void JanelaPrevia::SalvarPdf() {
    QString sugestao = QString::fromStdString(documento_->TituloResumido());
    if (sugestao.isEmpty()) {
        sugestao = QStringLiteral("Relatório");
    }
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString caminho = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar como PDF"),
                                                   QDir(pasta).filePath(sugestao + ".pdf"),
                                                   QStringLiteral("Documentos PDF (*.pdf)"));
    if (caminho.isEmpty()) {
        return;
    }
    if (!caminho.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        caminho += QStringLiteral(".pdf");
    }
    Tentar([this, &caminho] { SaidaDocumento::Pdf(*documento_, caminho.toStdString()); });
}

// Errors cannot leave through Qt's event loop: the user is told instead.
void JanelaPrevia::Tentar(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const Erro& erro) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(erro.Descricao()));
    }
}

} // namespace tarvo
