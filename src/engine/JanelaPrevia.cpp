#include "engine/JanelaPrevia.h"

#include "common/Andamento.h"
#include "common/ErroAtual.h"
#include "engine/CursorOcupado.h"
#include "engine/DialogoAndamento.h"
#include "engine/Documento.h"
#include "engine/IconesPrevia.h"
#include "engine/Leiaute.h"
#include "engine/ModeloMiniaturas.h"
#include "engine/MomentoSaida.h"
#include "engine/PreferenciasPrevia.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"
#include "engine/VistaPaginas.h"
#include <RelatoriosTarvo/Erro.h>

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHideEvent>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// How long a word in the status bar stays.
constexpr int duracaoAviso = 8000;

// "Imprimir (Ctrl+P)": tool tips name the first shortcut.
void Dica(QAction* acao, const QString& texto) {
    const QList<QKeySequence> atalhos = acao->shortcuts();
    acao->setToolTip(atalhos.isEmpty()
                         ? texto
                         : QStringLiteral("%1 (%2)").arg(
                               texto, atalhos.front().toString(QKeySequence::NativeText)));
}

bool TeclaEsc(QEvent* evento) {
    return (evento->type() == QEvent::ShortcutOverride || evento->type() == QEvent::KeyPress) &&
           static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape;
}

// "130%", "12,5%": a fixed zoom as it was set, to a tenth of a percent; a
// fitted one in whole percents.
QString TextoZoom(double zoom, bool fixo) {
    const double porcento = zoom * 100;
    if (!fixo || std::abs(porcento - std::round(porcento)) < 0.05) {
        return QStringLiteral("%1%").arg(std::lround(porcento));
    }
    return QStringLiteral("%1%").arg(QString::number(std::round(porcento * 10) / 10, 'f', 1)
                                         .replace(QLatin1Char('.'), QLatin1Char(',')));
}

QString TextoTotalPaginas(int total) {
    return total == 1 ? QStringLiteral("O relatório tem 1 página")
                      : QStringLiteral("O relatório tem %1 páginas").arg(total);
}

// Marks work that lets events run, for as long as a scope lasts.
class Ocupacao {
public:
    explicit Ocupacao(bool& ocupada) : ocupada_(ocupada) { ocupada_ = true; }
    ~Ocupacao() { ocupada_ = false; }
    Ocupacao(const Ocupacao&) = delete;
    Ocupacao& operator=(const Ocupacao&) = delete;

private:
    bool& ocupada_;
};

} // namespace

JanelaPrevia::JanelaPrevia() {
    vista_ = new VistaPaginas(this);
    vista_->setObjectName(QStringLiteral("vista"));
    vazio_ = new QLabel(QStringLiteral("Este relatório não tem páginas."), this);
    vazio_->setObjectName(QStringLiteral("mensagemVazia"));
    vazio_->setAlignment(Qt::AlignCenter);
    vazio_->setBackgroundRole(QPalette::Dark);
    vazio_->setForegroundRole(QPalette::BrightText);
    vazio_->setAutoFillBackground(true);
    pilha_ = new QStackedWidget(this);
    pilha_->addWidget(vista_);
    pilha_->addWidget(vazio_);

    auto* centro = new QWidget(this);
    auto* coluna = new QVBoxLayout(centro);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(0);
    coluna->addWidget(pilha_, 1);
    setCentralWidget(centro);

    CriarAcoes();
    CriarMiniaturas();
    CriarBusca();
    coluna->addWidget(barraBusca_);
    CriarMenus();
    CriarBarra();
    // Always there, so that a word in it never moves the pages.
    statusBar()->setSizeGripEnabled(true);

    const PreferenciasPrevia::Zoom zoom = PreferenciasPrevia::LerZoom();
    if (zoom.ajuste == VistaPaginas::Ajuste::Fixo) {
        vista_->DefinirZoom(zoom.fixo);
    } else {
        vista_->DefinirAjuste(zoom.ajuste);
    }

    connect(vista_, &VistaPaginas::PaginaMudou, this, [this] { AtualizarControles(); });
    connect(vista_, &VistaPaginas::ZoomMudou, this, [this] { AtualizarZoom(); });
    buscaAdiada_.setSingleShot(true);
    buscaAdiada_.setInterval(300);
    connect(&buscaAdiada_, &QTimer::timeout, this, [this] { Buscar(); });
}

JanelaPrevia::~JanelaPrevia() {
    // Destroyed while shown (its host let go of it): no hide event comes.
    if (isVisible()) {
        GuardarPreferencias();
    }
    // The children outlive this part of the window while QWidget tears them
    // down (hiding the panel, say): their signals must not reach it then.
    vista_->disconnect(this);
    if (painelMiniaturas_ != nullptr)
        painelMiniaturas_->disconnect(this);
}

void JanelaPrevia::CriarAcoes() {
    const auto nova = [this](IconesPrevia::Tipo icone, const QString& texto,
                             const QList<QKeySequence>& atalhos, const QString& dica,
                             const std::function<void()>& funcao) {
        auto* acao = new QAction(IconesPrevia::Icone(icone, style()), texto, this);
        acao->setShortcuts(atalhos);
        Dica(acao, dica);
        connect(acao, &QAction::triggered, this, funcao);
        addAction(acao);
        return acao;
    };
    using Tipo = IconesPrevia::Tipo;
    imprimir_ = nova(Tipo::Imprimir, QStringLiteral("Imprimir…"), {QKeySequence::Print},
                     QStringLiteral("Imprimir o relatório"), [this] { Imprimir(); });
    salvar_ =
        nova(Tipo::Salvar, QStringLiteral("Salvar PDF…"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
             QStringLiteral("Salvar o relatório como PDF"), [this] { SalvarPdf(); });
    fechar_ = nova(Tipo::Fechar, QStringLiteral("Fechar"), {QKeySequence(Qt::CTRL | Qt::Key_W)},
                   QStringLiteral("Fechar a janela"), [this] { close(); });
    // Esc leaves full screen first, then closes the window.
    auto* escapar = new QAction(this);
    escapar->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escapar, &QAction::triggered, this, [this] { Escapar(); });
    addAction(escapar);

    // A field with focus (find) keeps these keys for its own text.
    copiar_ =
        new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), QStringLiteral("Copiar"), this);
    copiar_->setShortcut(QKeySequence::Copy);
    Dica(copiar_, QStringLiteral("Copiar o texto selecionado na página"));
    connect(copiar_, &QAction::triggered, this, [this] { vista_->Copiar(); });
    addAction(copiar_);
    selecionarTudo_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-select-all")),
                                  QStringLiteral("Selecionar tudo"), this);
    selecionarTudo_->setShortcut(QKeySequence::SelectAll);
    Dica(selecionarTudo_, QStringLiteral("Selecionar o texto da página atual"));
    connect(selecionarTudo_, &QAction::triggered, this, [this] { vista_->SelecionarTudo(); });
    addAction(selecionarTudo_);
    localizar_ = nova(Tipo::Localizar, QStringLiteral("Localizar…"), {QKeySequence::Find},
                      QStringLiteral("Localizar texto no relatório"), [this] { AbrirBusca(); });
    proximaOcorrencia_ =
        nova(Tipo::Proxima, QStringLiteral("Próxima ocorrência"), {QKeySequence(Qt::Key_F3)},
             QStringLiteral("Próxima ocorrência"), [this] { Avancar(1); });
    ocorrenciaAnterior_ = nova(Tipo::Anterior, QStringLiteral("Ocorrência anterior"),
                               {QKeySequence(Qt::SHIFT | Qt::Key_F3)},
                               QStringLiteral("Ocorrência anterior"), [this] { Avancar(-1); });

    primeira_ = nova(Tipo::Primeira, QStringLiteral("Primeira página"),
                     {QKeySequence(Qt::CTRL | Qt::Key_Home)}, QStringLiteral("Primeira página"),
                     [this] { vista_->IrParaInicio(); });
    anterior_ = nova(Tipo::Anterior, QStringLiteral("Página anterior"),
                     {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, QStringLiteral("Página anterior"),
                     [this] { IrParaPagina(PaginaAtual() - 1); });
    proxima_ = nova(Tipo::Proxima, QStringLiteral("Próxima página"),
                    {QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, QStringLiteral("Próxima página"),
                    [this] { IrParaPagina(PaginaAtual() + 1); });
    ultima_ =
        nova(Tipo::Ultima, QStringLiteral("Última página"), {QKeySequence(Qt::CTRL | Qt::Key_End)},
             QStringLiteral("Última página"), [this] { vista_->IrParaFim(); });

    // Ctrl with + (shifted or not) or =, and + and - alone, which Qt also
    // matches for the keypad's keys, with Ctrl or without.
    ampliar_ = nova(
        Tipo::Ampliar, QStringLiteral("Ampliar"),
        {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::Key_Plus)},
        QStringLiteral("Ampliar"), [this] { vista_->MudarZoom(1); });
    reduzir_ = nova(Tipo::Reduzir, QStringLiteral("Reduzir"),
                    {QKeySequence::ZoomOut, QKeySequence(Qt::Key_Minus)}, QStringLiteral("Reduzir"),
                    [this] { vista_->MudarZoom(-1); });
    tamanhoReal_ =
        nova(Tipo::Ampliar, QStringLiteral("Tamanho real"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
             QStringLiteral("Tamanho real (100%)"), [this] { vista_->DefinirZoom(1.0); });
    tamanhoReal_->setIcon(QIcon());
    ajustarLargura_ = nova(Tipo::AjustarLargura, QStringLiteral("Ajustar à largura"), {},
                           QStringLiteral("Ajustar à largura da janela"),
                           [this] { vista_->DefinirAjuste(VistaPaginas::Ajuste::Largura); });
    paginaInteira_ = nova(Tipo::PaginaInteira, QStringLiteral("Página inteira"), {},
                          QStringLiteral("Mostrar a página inteira"),
                          [this] { vista_->DefinirAjuste(VistaPaginas::Ajuste::Pagina); });
    ajustarLargura_->setCheckable(true);
    paginaInteira_->setCheckable(true);

    mao_ = nova(Tipo::Mao, QStringLiteral("Mão"), {},
                QStringLiteral("Mão: arrastar as páginas com o mouse (o botão do meio sempre "
                               "arrasta)"),
                [this] { vista_->DefinirMao(mao_->isChecked()); });
    mao_->setCheckable(true);
    telaCheia_ = nova(Tipo::TelaCheia, QStringLiteral("Tela cheia"), {QKeySequence(Qt::Key_F11)},
                      QStringLiteral("Tela cheia (Esc sai)"), [this] { AlternarTelaCheia(); });
    telaCheia_->setCheckable(true);
}

void JanelaPrevia::CriarMiniaturas() {
    modelo_ = new ModeloMiniaturas(this);
    miniaturas_ = new QListView(this);
    miniaturas_->setObjectName(QStringLiteral("miniaturas"));
    miniaturas_->setModel(modelo_);
    miniaturas_->setViewMode(QListView::IconMode);
    miniaturas_->setFlow(QListView::TopToBottom);
    miniaturas_->setWrapping(false);
    miniaturas_->setMovement(QListView::Static);
    miniaturas_->setResizeMode(QListView::Adjust);
    miniaturas_->setUniformItemSizes(true);
    miniaturas_->setSpacing(6);
    miniaturas_->setSelectionMode(QAbstractItemView::SingleSelection);
    miniaturas_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As wide as a thumbnail, its margins and the scroll bar.
    miniaturas_->setFixedWidth(ModeloMiniaturas::largura + 4 * miniaturas_->spacing() +
                               style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                               2 * miniaturas_->frameWidth() + 8);
    connect(miniaturas_, &QListView::clicked, this,
            [this](const QModelIndex& indice) { IrParaPagina(indice.row() + 1); });
    // The keys that move through the thumbnails (arrows, PgUp/PgDn, Home,
    // End) take the pages along.
    connect(miniaturas_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& indice) {
                if (!marcandoMiniatura_ && indice.isValid()) {
                    IrParaPagina(indice.row() + 1);
                }
            });
    connect(miniaturas_, &QListView::activated, this,
            [this](const QModelIndex& indice) { IrParaPagina(indice.row() + 1); });

    auto* painel = new QDockWidget(QStringLiteral("Miniaturas"), this);
    painelMiniaturas_ = painel;
    painel->setObjectName(QStringLiteral("painelMiniaturas"));
    painel->setFeatures(QDockWidget::DockWidgetClosable);
    painel->setAllowedAreas(Qt::LeftDockWidgetArea);
    painel->setWidget(miniaturas_);
    addDockWidget(Qt::LeftDockWidgetArea, painel);
    painel->hide();
    // Shown, the panel marks the current page.
    connect(painel, &QDockWidget::visibilityChanged, this, [this] { AtualizarControles(); });
    mostrarMiniaturas_ = painel->toggleViewAction();
    mostrarMiniaturas_->setText(QStringLiteral("Miniaturas"));
    mostrarMiniaturas_->setIcon(IconesPrevia::Icone(IconesPrevia::Tipo::Miniaturas, style()));
    mostrarMiniaturas_->setShortcut(QKeySequence(Qt::Key_F9));
    Dica(mostrarMiniaturas_, QStringLiteral("Mostrar ou ocultar as miniaturas"));
    addAction(mostrarMiniaturas_);
}

void JanelaPrevia::CriarBusca() {
    barraBusca_ = new QWidget(this);
    barraBusca_->setObjectName(QStringLiteral("barraBusca"));
    auto* linha = new QHBoxLayout(barraBusca_);
    linha->setContentsMargins(6, 3, 6, 3);
    linha->addWidget(new QLabel(QStringLiteral("Localizar:"), barraBusca_));
    campoBusca_ = new QLineEdit(barraBusca_);
    campoBusca_->setObjectName(QStringLiteral("campoBusca"));
    campoBusca_->setPlaceholderText(QStringLiteral("Texto a localizar"));
    campoBusca_->setClearButtonEnabled(true);
    campoBusca_->installEventFilter(this);
    linha->addWidget(campoBusca_, 1);
    for (QAction* acao : {ocorrenciaAnterior_, proximaOcorrencia_}) {
        auto* botao = new QToolButton(barraBusca_);
        botao->setDefaultAction(acao);
        botao->setAutoRaise(true);
        linha->addWidget(botao);
    }
    resultadoBusca_ = new QLabel(barraBusca_);
    resultadoBusca_->setObjectName(QStringLiteral("resultadoBusca"));
    // As wide as its longest text, so that the field keeps its size.
    resultadoBusca_->setFixedWidth(
        std::max(fontMetrics().horizontalAdvance(QStringLiteral("Nenhuma ocorrência")),
                 fontMetrics().horizontalAdvance(QStringLiteral("000000 de 000000"))) +
        8);
    linha->addWidget(resultadoBusca_);
    auto* fecharBusca = new QToolButton(barraBusca_);
    fecharBusca->setIcon(IconesPrevia::Icone(IconesPrevia::Tipo::Fechar, style()));
    fecharBusca->setToolTip(QStringLiteral("Fechar a busca (Esc)"));
    fecharBusca->setAutoRaise(true);
    connect(fecharBusca, &QToolButton::clicked, this, [this] { FecharBusca(); });
    linha->addWidget(fecharBusca);
    barraBusca_->hide();

    connect(campoBusca_, &QLineEdit::textEdited, this, [this] { buscaAdiada_.start(); });
    connect(campoBusca_, &QLineEdit::returnPressed, this, [this] { Avancar(1); });
}

void JanelaPrevia::CriarMenus() {
    QMenu* arquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    arquivo->addAction(imprimir_);
    arquivo->addAction(salvar_);
    arquivo->addSeparator();
    arquivo->addAction(fechar_);
    QMenu* editar = menuBar()->addMenu(QStringLiteral("&Editar"));
    editar->addAction(copiar_);
    editar->addAction(selecionarTudo_);
    editar->addSeparator();
    editar->addAction(localizar_);
    editar->addAction(proximaOcorrencia_);
    editar->addAction(ocorrenciaAnterior_);
    QMenu* exibir = menuBar()->addMenu(QStringLiteral("E&xibir"));
    exibir->addAction(mostrarMiniaturas_);
    exibir->addSeparator();
    exibir->addAction(ampliar_);
    exibir->addAction(reduzir_);
    exibir->addAction(tamanhoReal_);
    exibir->addAction(ajustarLargura_);
    exibir->addAction(paginaInteira_);
    exibir->addSeparator();
    exibir->addAction(mao_);
    exibir->addAction(telaCheia_);
    QMenu* ir = menuBar()->addMenu(QStringLiteral("&Ir"));
    ir->addAction(primeira_);
    ir->addAction(anterior_);
    ir->addAction(proxima_);
    ir->addAction(ultima_);
}

void JanelaPrevia::CriarBarra() {
    QToolBar* barra = addToolBar(QStringLiteral("Visualização"));
    barra->setObjectName(QStringLiteral("barraVisualizacao"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The two main actions first and with their names: the bar's overflow
    // takes from the other end.
    for (QAction* acao : {imprimir_, salvar_}) {
        barra->addAction(acao);
        if (auto* botao = qobject_cast<QToolButton*>(barra->widgetForAction(acao))) {
            botao->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        }
    }
    barra->addSeparator();
    barra->addAction(mostrarMiniaturas_);
    barra->addSeparator();
    barra->addAction(anterior_);
    // Any number is taken, and one beyond the report goes to its end.
    numeroPagina_ = new QLineEdit(barra);
    numeroPagina_->setObjectName(QStringLiteral("numeroPagina"));
    numeroPagina_->setToolTip(QStringLiteral("Página atual: digite um número e tecle Enter"));
    numeroPagina_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\s*\\d*\\s*")), numeroPagina_));
    numeroPagina_->setAlignment(Qt::AlignRight);
    numeroPagina_->setFocusPolicy(Qt::ClickFocus);
    numeroPagina_->installEventFilter(this);
    barra->addWidget(numeroPagina_);
    connect(numeroPagina_, &QLineEdit::returnPressed, this, [this] { IrParaPaginaDigitada(); });
    totalPaginas_ = new QLabel(barra);
    totalPaginas_->setContentsMargins(4, 0, 4, 0);
    barra->addWidget(totalPaginas_);
    barra->addAction(proxima_);
    barra->addSeparator();

    barra->addAction(reduzir_);
    escolhaZoom_ = new QComboBox(barra);
    escolhaZoom_->setObjectName(QStringLiteral("escolhaZoom"));
    escolhaZoom_->setToolTip(QStringLiteral("Zoom: escolha ou digite uma porcentagem"));
    escolhaZoom_->setEditable(true);
    escolhaZoom_->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is taken as typed: completing "20" from the list would
    // make it 200%.
    escolhaZoom_->setCompleter(nullptr);
    escolhaZoom_->setFocusPolicy(Qt::ClickFocus);
    escolhaZoom_->addItem(ajustarLargura_->text());
    escolhaZoom_->addItem(paginaInteira_->text());
    for (const double nivel : VistaPaginas::Niveis()) {
        escolhaZoom_->addItem(QStringLiteral("%1%").arg(qRound(nivel * 100)), nivel);
    }
    escolhaZoom_->setMinimumContentsLength(5);
    escolhaZoom_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    barra->addWidget(escolhaZoom_);
    connect(escolhaZoom_, &QComboBox::activated, this, [this](int indice) {
        if (indice == 0) {
            vista_->DefinirAjuste(VistaPaginas::Ajuste::Largura);
        } else if (indice == 1) {
            vista_->DefinirAjuste(VistaPaginas::Ajuste::Pagina);
        } else {
            vista_->DefinirZoom(escolhaZoom_->itemData(indice).toDouble());
        }
        AtualizarZoom();
        vista_->setFocus();
    });
    connect(escolhaZoom_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { AplicarZoomDigitado(); });
    barra->addAction(ampliar_);
    barra->addAction(ajustarLargura_);
    barra->addAction(paginaInteira_);
    barra->addAction(mao_);
    barra->addSeparator();
    barra->addAction(localizar_);
}

void JanelaPrevia::Mostrar(std::shared_ptr<const Documento> documento) {
    if (documento != documento_) {
        // Date and time placeholders show the moment the document was shown.
        momento_ = MomentoSaida::Agora();
        documento_ = std::move(documento);
        // One layout for the pages, the thumbnails and find.
        const auto leiaute = std::make_shared<Leiaute>(*documento_, momento_);
        localizador_ = std::make_unique<LocalizadorTexto>(leiaute);
        vista_->DefinirDocumento(documento_, leiaute);
        modelo_->DefinirDocumento(documento_, leiaute, devicePixelRatioF());
        miniaturas_->setIconSize(modelo_->Tamanho());
        termo_.clear();
        ocorrencias_.clear();
        retangulos_.clear();
        atual_ = -1;
        resultadoBusca_->clear();
        // Room for the last page's number.
        const int algarismos =
            std::max(3, static_cast<int>(QString::number(documento_->NumeroPaginas()).size()));
        numeroPagina_->setFixedWidth(numeroPagina_->fontMetrics().horizontalAdvance(
                                         QString(algarismos + 1, QLatin1Char('0'))) +
                                     12);
    }
    setWindowTitle(QString::fromStdString(documento_->Definicoes().titulo));
    const Figura* icone = documento_->Icone();
    setWindowIcon(icone != nullptr ? QIcon(QPixmap::fromImage(icone->Imagem())) : QIcon());
    pilha_->setCurrentWidget(documento_->NumeroPaginas() > 0 ? static_cast<QWidget*>(vista_)
                                                             : vazio_);
    if (!dimensionada_ || documento_->Definicoes().paisagem != paisagem_) {
        // The place of the orientation shown so far is kept for it.
        if (dimensionada_ && isVisible() && !isFullScreen()) {
            PreferenciasPrevia::GuardarGeometria(paisagem_, saveGeometry());
        }
        paisagem_ = documento_->Definicoes().paisagem;
        dimensionada_ = true;
        const std::optional<QByteArray> geometria = PreferenciasPrevia::Geometria(paisagem_);
        lembrada_ = geometria && restoreGeometry(*geometria);
        if (!lembrada_) {
            Dimensionar();
        }
    }
    if (!miniaturasLembradas_ && documento_->NumeroPaginas() > 0) {
        miniaturasLembradas_ = true;
        if (PreferenciasPrevia::Miniaturas()) {
            painelMiniaturas_->show();
        }
    }
    AtualizarControles();
    AtualizarZoom();
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
    vista_->setFocus();
}

int JanelaPrevia::PaginaAtual() const {
    return vista_->PaginaAtual();
}

void JanelaPrevia::IrParaPagina(int pagina) {
    vista_->IrParaPagina(pagina);
}

// Wide enough for the page at its real size where the screen allows (a
// landscape report opens wide), as tall as the free area.
void JanelaPrevia::Dimensionar() {
    const QScreen* tela = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (tela == nullptr) {
        return;
    }
    const QRect livre = tela->availableGeometry();
    const QSizeF papel = Renderizador::TamanhoPapel(*documento_) / 2.54 * logicalDpiX();
    // The window's frame is not known before it is shown.
    const int moldura = 32;
    const int extras = menuBar()->sizeHint().height() + 48;
    const int largura = static_cast<int>(papel.width()) + 2 * VistaPaginas::margem +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    QSize tamanho(std::max(largura, 640), livre.height() - moldura);
    if (paisagem_) {
        tamanho.setHeight(std::min(tamanho.height(), static_cast<int>(papel.height()) + extras +
                                                         2 * VistaPaginas::margem));
    }
    tamanho = tamanho.boundedTo(livre.size() - QSize(8, moldura));
    resize(tamanho);
    move(livre.center() - QPoint(tamanho.width() / 2, (tamanho.height() + moldura) / 2));
}

void JanelaPrevia::Cascata(const std::vector<QWidget*>& janelas) {
    if (janelas.empty()) {
        return;
    }
    const QScreen* tela = janelas.front()->screen();
    if (tela == nullptr) {
        return;
    }
    // A preview alone goes where the user last had it.
    const auto* previa = qobject_cast<const JanelaPrevia*>(janelas.front());
    if (janelas.size() == 1 && previa != nullptr && previa->lembrada_) {
        return;
    }
    const QRect livre = tela->availableGeometry();
    // A title bar's height apart; where the frame is not known yet, a usual one.
    QWidget* primeira = janelas.front();
    const int titulo = primeira->geometry().top() - primeira->frameGeometry().top();
    const int passo = std::max(titulo > 0 ? titulo + 4 : 28, 24);
    const int quantidade = static_cast<int>(janelas.size());
    const int deslocamento = (quantidade - 1) * passo;
    QSize grupo;
    for (QWidget* janela : janelas) {
        const QSize moldura = janela->frameGeometry().size() - janela->size();
        const QSize limite =
            livre.size() - QSize(deslocamento, deslocamento) - moldura.expandedTo(QSize(0, passo));
        janela->resize(janela->size().boundedTo(limite));
        grupo = grupo.expandedTo(janela->frameGeometry().size().expandedTo(janela->size()));
    }
    grupo += QSize(deslocamento, deslocamento);
    const QPoint origem(livre.left() + std::max(0, (livre.width() - grupo.width()) / 2),
                        livre.top() + std::max(0, (livre.height() - grupo.height()) / 2));
    // The last behind at the top left, the first in front at the bottom
    // right: every title bar shows above the one in front of it.
    for (int i = 0; i < quantidade; ++i) {
        const int recuo = (quantidade - 1 - i) * passo;
        janelas[static_cast<size_t>(i)]->move(origem + QPoint(recuo, recuo));
    }
    std::vector<QPointer<QWidget>> guardadas(janelas.begin(), janelas.end());
    const auto empilhar = [guardadas] {
        for (auto janela = guardadas.rbegin(); janela != guardadas.rend(); ++janela) {
            if (*janela) {
                (*janela)->raise();
            }
        }
        if (guardadas.front()) {
            guardadas.front()->activateWindow();
        }
    };
    empilhar();
    // A window manager stacks and focuses windows as it maps them, which
    // happens after this call: the order is set again once all are on screen.
    auto* espera = new QTimer(primeira);
    espera->setInterval(25);
    connect(espera, &QTimer::timeout, espera,
            [espera, guardadas, empilhar, tentativas = 0]() mutable {
                const bool expostas =
                    std::all_of(guardadas.begin(), guardadas.end(), [](const auto& janela) {
                        return !janela || !janela->isVisible() ||
                               (janela->windowHandle() != nullptr &&
                                janela->windowHandle()->isExposed());
                    });
                if (expostas || ++tentativas > 40) {
                    empilhar();
                    espera->deleteLater();
                }
            });
    espera->start();
}

void JanelaPrevia::AtualizarControles() {
    const int total = documento_ ? documento_->NumeroPaginas() : 0;
    const int pagina = vista_->PaginaAtual();
    const bool temPaginas = total > 0;
    // Not while the user types in it.
    if (!numeroPagina_->hasFocus()) {
        numeroPagina_->setText(temPaginas ? QString::number(pagina) : QString());
    }
    numeroPagina_->setEnabled(total > 1);
    totalPaginas_->setText(QStringLiteral("de %1").arg(total));
    primeira_->setEnabled(pagina > 1);
    anterior_->setEnabled(pagina > 1);
    proxima_->setEnabled(pagina < total);
    ultima_->setEnabled(pagina < total);
    for (QAction* acao :
         {imprimir_, salvar_, reduzir_, ampliar_, tamanhoReal_, ajustarLargura_, paginaInteira_,
          localizar_, proximaOcorrencia_, ocorrenciaAnterior_, mao_}) {
        acao->setEnabled(temPaginas);
    }
    escolhaZoom_->setEnabled(temPaginas);
    mostrarMiniaturas_->setEnabled(temPaginas);
    if (temPaginas && miniaturas_->isVisible()) {
        const QModelIndex indice = modelo_->index(pagina - 1);
        if (miniaturas_->currentIndex() != indice) {
            marcandoMiniatura_ = true;
            miniaturas_->setCurrentIndex(indice);
            marcandoMiniatura_ = false;
            miniaturas_->scrollTo(indice);
        }
    }
}

// The percentage in effect shows in the zoom box whatever the mode; the
// fitting modes check their action; Reduzir and Ampliar are enabled only
// when they can change the zoom.
void JanelaPrevia::AtualizarZoom() {
    const double zoom = vista_->Zoom();
    const auto ajuste = vista_->ModoAjuste();
    ajustarLargura_->setChecked(ajuste == VistaPaginas::Ajuste::Largura);
    paginaInteira_->setChecked(ajuste == VistaPaginas::Ajuste::Pagina);
    if (!escolhaZoom_->lineEdit()->hasFocus()) {
        escolhaZoom_->setCurrentIndex(-1);
        escolhaZoom_->setEditText(TextoZoom(zoom, ajuste == VistaPaginas::Ajuste::Fixo));
    }
    const bool temPaginas = documento_ && documento_->NumeroPaginas() > 0;
    reduzir_->setEnabled(temPaginas && VistaPaginas::NivelSeguinte(zoom, -1) != zoom);
    ampliar_->setEnabled(temPaginas && VistaPaginas::NivelSeguinte(zoom, 1) != zoom);
}

// "20", "130%", "87,5 %": that percentage, brought within the zoom's limits
// (the view clamps it); anything else leaves the zoom as it was.
void JanelaPrevia::AplicarZoomDigitado() {
    QString texto = escolhaZoom_->currentText();
    texto.remove(QLatin1Char('%')).replace(QLatin1Char(','), QLatin1Char('.'));
    bool numero = false;
    const double valor = texto.trimmed().toDouble(&numero);
    if (numero && std::isfinite(valor)) {
        vista_->DefinirZoom(valor / 100.0);
    }
    vista_->setFocus();
    AtualizarZoom();
}

// A number past either end goes to that end, and the status bar says why.
void JanelaPrevia::IrParaPaginaDigitada() {
    const int total = documento_ ? documento_->NumeroPaginas() : 0;
    const QString texto = numeroPagina_->text().trimmed();
    vista_->setFocus();
    if (texto.isEmpty() || total == 0) {
        AtualizarControles();
        return;
    }
    // Only digits get here: one too long for a number is past the end.
    bool numero = false;
    const qlonglong digitada = texto.toLongLong(&numero);
    const qlonglong pagina =
        numero ? std::clamp<qlonglong>(digitada, 1, total) : static_cast<qlonglong>(total);
    if (!numero || pagina != digitada) {
        statusBar()->showMessage(TextoTotalPaginas(total), duracaoAviso);
    } else {
        statusBar()->clearMessage();
    }
    IrParaPagina(static_cast<int>(pagina));
    AtualizarControles();
}

bool JanelaPrevia::eventFilter(QObject* objeto, QEvent* evento) {
    // Leaving the page box without Enter leaves the page where it was.
    if (objeto == numeroPagina_ && evento->type() == QEvent::FocusOut && PaginaAtual() > 0) {
        numeroPagina_->setText(QString::number(PaginaAtual()));
    }
    // Esc leaves the find field or the page box, not the window.
    if (TeclaEsc(evento) && (objeto == campoBusca_ || objeto == numeroPagina_)) {
        evento->accept();
        if (evento->type() == QEvent::KeyPress) {
            if (objeto == campoBusca_) {
                FecharBusca();
            } else {
                AtualizarControles();
                vista_->setFocus();
            }
        }
        return true;
    }
    if (objeto == campoBusca_ && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) &&
            (tecla->modifiers() & Qt::ShiftModifier)) {
            Avancar(-1);
            return true;
        }
    }
    return QMainWindow::eventFilter(objeto, evento);
}

void JanelaPrevia::Imprimir() {
    if (!documento_ || documento_->NumeroPaginas() == 0 || ocupada_) {
        return;
    }
    const Ocupacao ocupacao(ocupada_);
    // The window's own snapshot stays whole while the job runs.
    const std::shared_ptr<const Documento> documento = documento_;
    SaidaDocumento::OpcoesImpressao opcoes;
    opcoes.dialogo = true;
    opcoes.pai = this;
    opcoes.paginaAtual = PaginaAtual();
    opcoes.progresso = true;
    Tentar([&] { SaidaDocumento::Impressora(*documento, opcoes); });
}

QString JanelaPrevia::NomeSugerido(const std::string& titulo) {
    const QString proibidos = QStringLiteral("/\\:*?\"<>|");
    QString nome = QString::fromStdString(titulo);
    for (QChar& letra : nome) {
        if (proibidos.contains(letra) || letra.category() == QChar::Other_Control) {
            letra = QLatin1Char(' ');
        }
    }
    // Names longer than most file systems take are cut.
    nome = nome.simplified().left(120);
    static const QRegularExpression pontasProibidas(QStringLiteral("^[\\s.]+|[\\s.]+$"));
    nome.remove(pontasProibidas);
    // Names Windows keeps for devices, even with an extension.
    static const QRegularExpression dispositivo(
        QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (dispositivo.match(nome).hasMatch()) {
        nome = QStringLiteral("Relatório ") + nome;
    }
    return nome.isEmpty() ? QStringLiteral("Relatório") : nome;
}

void JanelaPrevia::SalvarPdf() {
    if (!documento_ || documento_->NumeroPaginas() == 0 || ocupada_) {
        return;
    }
    const Ocupacao ocupacao(ocupada_);
    // The window's own snapshot stays whole while the file is written.
    const std::shared_ptr<const Documento> documento = documento_;
    const std::string& titulo = documento->Definicoes().tituloResumido.empty()
                                    ? documento->Definicoes().titulo
                                    : documento->Definicoes().tituloResumido;
    QString pasta = PreferenciasPrevia::PastaPdf();
    if (pasta.isEmpty()) {
        pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(pasta).isDir()) {
            pasta = QDir::homePath();
        }
    }
    QString caminho = QFileDialog::getSaveFileName(
        this, QStringLiteral("Salvar como PDF"),
        QDir(pasta).filePath(NomeSugerido(titulo) + QStringLiteral(".pdf")),
        QStringLiteral("Documentos PDF (*.pdf)"));
    if (caminho.isEmpty()) {
        return;
    }
    if (!caminho.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        caminho += QStringLiteral(".pdf");
    }
    PreferenciasPrevia::GuardarPastaPdf(QFileInfo(caminho).absolutePath());
    const CursorOcupado ocupado;
    // A long report shows its pages being written, with a Cancelar that
    // leaves no file; closing the window cancels too.
    const int total = documento->NumeroPaginas();
    DialogoAndamento janela(
        QStringLiteral("Salvar PDF"),
        QStringLiteral("Gravando \u201c%1\u201d…").arg(QFileInfo(caminho).fileName()), total, this);
    const std::string nome = QFileInfo(caminho).fileName().toStdString();
    Andamento andamento([&](const Progresso& estado) {
        const int pagina = std::clamp(estado.paginas, 1, total);
        return janela.Atualizar(pagina, "Gravando \u201c" + nome + "\u201d: página " +
                                            std::to_string(pagina) + " de " +
                                            std::to_string(total)) &&
               isVisible();
    });
    andamento.IniciarGravacao();
    Tentar([&] {
        try {
            SaidaDocumento::Pdf(*documento, caminho.toStdString(), &andamento);
        } catch (const Erro& erro) {
            // Cancelled by the user: there is nothing to tell.
            if (erro.Numero() != Erro::Interrompido) {
                throw;
            }
        }
    });
}

void JanelaPrevia::AlternarTelaCheia() {
    if (isFullScreen()) {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
    } else {
        geometriaNormal_ = saveGeometry();
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
}

void JanelaPrevia::Escapar() {
    if (isFullScreen()) {
        AlternarTelaCheia();
    } else {
        close();
    }
}

void JanelaPrevia::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::WindowStateChange) {
        telaCheia_->setChecked(isFullScreen());
    }
    QMainWindow::changeEvent(evento);
}

// Closed or hidden by its engine (not minimised): what the user set up is
// kept for the next preview.
void JanelaPrevia::hideEvent(QHideEvent* evento) {
    if (!evento->spontaneous()) {
        buscaAdiada_.stop();
        GuardarPreferencias();
    }
    QMainWindow::hideEvent(evento);
}

void JanelaPrevia::GuardarPreferencias() {
    if (!dimensionada_) {
        return;
    }
    // Full screen set by the window manager left no place of its own.
    const QByteArray geometria = isFullScreen() ? geometriaNormal_ : saveGeometry();
    if (!geometria.isEmpty()) {
        PreferenciasPrevia::GuardarGeometria(paisagem_, geometria);
    }
    PreferenciasPrevia::GuardarZoom({vista_->ModoAjuste(), vista_->Zoom()});
    if (mostrarMiniaturas_->isEnabled()) {
        PreferenciasPrevia::GuardarMiniaturas(mostrarMiniaturas_->isChecked());
    }
}

void JanelaPrevia::AbrirBusca() {
    if (!documento_ || documento_->NumeroPaginas() == 0) {
        return;
    }
    barraBusca_->show();
    campoBusca_->setFocus();
    campoBusca_->selectAll();
}

void JanelaPrevia::FecharBusca() {
    buscaAdiada_.stop();
    barraBusca_->hide();
    termo_.clear();
    ocorrencias_.clear();
    retangulos_.clear();
    atual_ = -1;
    resultadoBusca_->clear();
    vista_->DefinirDestaques(nullptr);
    vista_->setFocus();
}

// A new term: every hit of the document, the first one from the current page
// on made current.
void JanelaPrevia::Buscar() {
    buscaAdiada_.stop();
    const QString termo = campoBusca_->text();
    if (termo == termo_ && !ocorrencias_.empty()) {
        return;
    }
    termo_ = termo;
    retangulos_.clear();
    {
        const CursorOcupado ocupado;
        ocorrencias_ = localizador_->Buscar(termo);
    }
    const auto seguinte =
        std::find_if(ocorrencias_.begin(), ocorrencias_.end(),
                     [this](const auto& ocorrencia) { return ocorrencia.pagina >= PaginaAtual(); });
    atual_ = ocorrencias_.empty()             ? -1
             : seguinte == ocorrencias_.end() ? 0
                                              : static_cast<int>(seguinte - ocorrencias_.begin());
    MostrarOcorrencia();
}

void JanelaPrevia::Avancar(int passo) {
    if (!barraBusca_->isVisible() || campoBusca_->text().isEmpty()) {
        AbrirBusca();
        if (campoBusca_->text().isEmpty()) {
            return;
        }
    }
    if (campoBusca_->text() != termo_ || buscaAdiada_.isActive()) {
        Buscar();
        return;
    }
    if (ocorrencias_.empty()) {
        return;
    }
    const int quantidade = static_cast<int>(ocorrencias_.size());
    atual_ = ((atual_ + passo) % quantidade + quantidade) % quantidade;
    MostrarOcorrencia();
}

void JanelaPrevia::MostrarOcorrencia() {
    if (atual_ < 0) {
        resultadoBusca_->setText(termo_.trimmed().isEmpty() ? QString()
                                                            : QStringLiteral("Nenhuma ocorrência"));
        vista_->DefinirDestaques(nullptr);
        return;
    }
    const LocalizadorTexto::Ocorrencia& ocorrencia = ocorrencias_[static_cast<size_t>(atual_)];
    resultadoBusca_->setText(QStringLiteral("%1 de %2").arg(atual_ + 1).arg(ocorrencias_.size()));
    const std::vector<QRectF> atual = localizador_->Retangulos(ocorrencia);
    vista_->DefinirDestaques([this](int pagina) { return RetangulosDaPagina(pagina); },
                             ocorrencia.pagina, atual);
    QRectF area;
    for (const QRectF& parte : atual) {
        area = area.united(parte);
    }
    vista_->MostrarArea(ocorrencia.pagina, area);
}

// The highlights of a page, worked out when the page is first painted.
const std::vector<QRectF>& JanelaPrevia::RetangulosDaPagina(int pagina) {
    const auto guardados = retangulos_.find(pagina);
    if (guardados != retangulos_.end()) {
        return guardados->second;
    }
    std::vector<QRectF>& retangulos = retangulos_[pagina];
    const auto primeira = std::lower_bound(ocorrencias_.begin(), ocorrencias_.end(), pagina,
                                           [](const LocalizadorTexto::Ocorrencia& ocorrencia,
                                              int p) { return ocorrencia.pagina < p; });
    for (auto ocorrencia = primeira;
         ocorrencia != ocorrencias_.end() && ocorrencia->pagina == pagina; ++ocorrencia) {
        const std::vector<QRectF> partes = localizador_->Retangulos(*ocorrencia);
        retangulos.insert(retangulos.end(), partes.begin(), partes.end());
    }
    return retangulos;
}

// Errors cannot leave through Qt's event loop: the user is told instead.
void JanelaPrevia::Tentar(const std::function<void()>& acao) {
    try {
        acao();
    } catch (...) {
        QMessageBox::warning(this, windowTitle(),
                             QString::fromStdString(ErroAtual::Capturar().Descricao()));
    }
}

} // namespace tarvo
