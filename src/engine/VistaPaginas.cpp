#include "engine/VistaPaginas.h"

#include "engine/Documento.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"
#include "engine/SelecaoTexto.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Tiles are at most this wide (device pixels); their height makes them about
// four megabytes, never under tileMinimo rows.
constexpr int larguraMaximaBloco = 2048;
constexpr int pixelsPorBloco = 1 << 20;
constexpr int alturaMinimaBloco = 256;
// Logical pixels of one arrow key or a third of a wheel notch.
constexpr int passoLinha = 40;
constexpr int passoRoda = 120;

} // namespace

VistaPaginas::VistaPaginas(QWidget* pai) : QAbstractScrollArea(pai), blocos_(orcamentoBlocos) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(passoLinha);
    horizontalScrollBar()->setSingleStep(passoLinha);
    adiantar_.setSingleShot(true);
    adiantar_.setInterval(0);
    connect(&adiantar_, &QTimer::timeout, this, &VistaPaginas::AdiantarBlocos);
}

VistaPaginas::~VistaPaginas() = default;

void VistaPaginas::DefinirDocumento(std::shared_ptr<const Documento> documento,
                                    std::shared_ptr<Leiaute> leiaute) {
    selecao_ = std::make_unique<SelecaoTexto>(leiaute);
    selecionando_ = false;
    renderizador_ = std::make_unique<Renderizador>(std::move(leiaute));
    documento_ = std::move(documento);
    blocos_.Limpar();
    destaques_ = nullptr;
    destaqueAtual_.clear();
    paginaDestaque_ = 0;
    paginaAtual_ = 0;
    Reorganizar(std::nullopt);
    Rolar(0, NumeroPaginas() > 0 ? 1 : 0);
    horizontalScrollBar()->setValue(0);
}

int VistaPaginas::NumeroPaginas() const {
    return documento_ ? documento_->NumeroPaginas() : 0;
}

const std::vector<double>& VistaPaginas::Niveis() {
    static const std::vector<double> niveis = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
    return niveis;
}

double VistaPaginas::NivelSeguinte(double atual, int passo) {
    const std::vector<double>& niveis = Niveis();
    if (passo > 0) {
        const auto nivel = std::find_if(niveis.begin(), niveis.end(),
                                        [atual](double n) { return n > atual + 1e-6; });
        return nivel != niveis.end() ? *nivel : atual;
    }
    const auto nivel = std::find_if(niveis.rbegin(), niveis.rend(),
                                    [atual](double n) { return n < atual - 1e-6; });
    return nivel != niveis.rend() ? *nivel : atual;
}

void VistaPaginas::DefinirAjuste(Ajuste ajuste) {
    const Ancora ancora = AncoraPadrao();
    const int pagina = paginaAtual_;
    if (ajuste == Ajuste::Fixo) {
        zoomFixo_ = Zoom();
    }
    ajuste_ = ajuste;
    Reorganizar(ancora);
    // The whole page is the current one from its top, not whatever part of
    // two pages the old scroll position would give.
    if (ajuste == Ajuste::Pagina && pagina > 0) {
        IrParaPagina(pagina);
    }
}

void VistaPaginas::DefinirZoom(double zoom, std::optional<QPointF> ancora) {
    const Ancora fixa = ancora ? AncoraEm(*ancora) : AncoraPadrao();
    ajuste_ = Ajuste::Fixo;
    zoomFixo_ = std::clamp(zoom, zoomMinimo, zoomMaximo);
    Reorganizar(fixa);
}

void VistaPaginas::MudarZoom(int passo, std::optional<QPointF> ancora) {
    const double atual = Zoom();
    const double novo = NivelSeguinte(atual, passo);
    if (novo != atual) {
        DefinirZoom(novo, ancora);
    }
}

// A fixed zoom is the one asked for; a fitted one what the pages show.
double VistaPaginas::Zoom() const {
    return ajuste_ == Ajuste::Fixo ? zoomFixo_ : dpi_ / (logicalDpiX() * dpr_);
}

QSizeF VistaPaginas::PapelLogico() const {
    if (!documento_) {
        return QSizeF(1, 1);
    }
    return Renderizador::TamanhoPapel(*documento_) / 2.54 * logicalDpiX();
}

// Fitting ignores the scroll bars' state, so that showing one cannot change
// the fit that made it show: the vertical bar's width is set aside only when
// the pages will overflow the height anyway.
double VistaPaginas::ZoomAjustado() const {
    if (ajuste_ == Ajuste::Fixo) {
        return zoomFixo_;
    }
    // Nothing to fit: the real size, rather than whatever a hidden view's
    // size would give.
    if (NumeroPaginas() == 0) {
        return 1.0;
    }
    const QSizeF papel = PapelLogico();
    const QSize area = maximumViewportSize();
    const auto ajuste = [&](int largura) {
        double zoom = (largura - 2.0 * margem) / papel.width();
        if (ajuste_ == Ajuste::Pagina) {
            zoom = std::min(zoom, (area.height() - 2.0 * margem) / papel.height());
        }
        return std::clamp(zoom, zoomMinimo, zoomMaximo);
    };
    const double zoom = ajuste(area.width());
    const int paginas = std::max(NumeroPaginas(), 1);
    const double altura = paginas * (papel.height() * zoom + margem) + margem;
    if (altura <= area.height()) {
        return zoom;
    }
    return ajuste(area.width() - verticalScrollBar()->sizeHint().width());
}

void VistaPaginas::Reorganizar(std::optional<Ancora> ancora) {
    const int alvo = alvo_ > 0 && verticalScrollBar()->value() == valorAlvo_ ? alvo_ : 0;
    dpr_ = viewport()->devicePixelRatioF();
    setHorizontalScrollBarPolicy(ajuste_ == Ajuste::Fixo ? Qt::ScrollBarAsNeeded
                                                         : Qt::ScrollBarAlwaysOff);
    // A fitted page is rounded down, so that it never overflows by a pixel.
    const double exato = logicalDpiX() * ZoomAjustado() * dpr_;
    const int dpi =
        std::max(1, ajuste_ == Ajuste::Fixo ? static_cast<int>(std::lround(exato))
                                            : static_cast<int>(std::floor(exato + 1e-6)));
    if (dpi != dpi_) {
        blocos_.ManterResolucao(dpi);
    }
    dpi_ = dpi;
    zoom_ = Zoom();
    const QSizeF papel = documento_ ? Renderizador::TamanhoPapel(*documento_) : QSizeF(21, 29.7);
    tamanhoPagina_ = SaidaDocumento::TamanhoImagem(papel, dpi_);
    tamanhoLogico_ = QSizeF(tamanhoPagina_) / dpr_;
    AtualizarBarras();
    if (ancora) {
        Restaurar(*ancora);
        if (alvo > 0 && ancora->pagina == alvo) {
            alvo_ = alvo;
            valorAlvo_ = verticalScrollBar()->value();
        }
    }
    AtualizarPaginaAtual();
    viewport()->update();
    emit ZoomMudou();
}

void VistaPaginas::AtualizarBarras() {
    const int paginas = NumeroPaginas();
    const QSize vista = viewport()->size();
    const double altura = paginas == 0 ? 0 : paginas * (tamanhoLogico_.height() + margem) + margem;
    const double largura = tamanhoLogico_.width() + 2.0 * margem;
    verticalScrollBar()->setRange(
        0, std::max(0, static_cast<int>(std::ceil(altura)) - vista.height()));
    verticalScrollBar()->setPageStep(vista.height());
    horizontalScrollBar()->setRange(
        0, std::max(0, static_cast<int>(std::ceil(largura)) - vista.width()));
    horizontalScrollBar()->setPageStep(vista.width());
}

double VistaPaginas::Topo(int pagina) const {
    return margem + (pagina - 1) * (tamanhoLogico_.height() + margem);
}

double VistaPaginas::EsquerdaConteudo() const {
    return std::max<double>(margem, (viewport()->width() - tamanhoLogico_.width()) / 2.0);
}

int VistaPaginas::PaginaEm(double y) const {
    const double passo = tamanhoLogico_.height() + margem;
    const int pagina = static_cast<int>(std::floor((y - margem / 2.0) / passo)) + 1;
    return std::clamp(pagina, 1, std::max(NumeroPaginas(), 1));
}

QRectF VistaPaginas::RetanguloPagina(int pagina) const {
    return QRectF(EsquerdaConteudo() - horizontalScrollBar()->value(),
                  Topo(pagina) - verticalScrollBar()->value(), tamanhoLogico_.width(),
                  tamanhoLogico_.height());
}

VistaPaginas::Ancora VistaPaginas::AncoraEm(QPointF ponto) const {
    const QPointF conteudo =
        ponto + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int pagina = PaginaEm(conteudo.y());
    return Ancora{pagina, (conteudo.x() - EsquerdaConteudo()) / tamanhoLogico_.width(),
                  (conteudo.y() - Topo(pagina)) / tamanhoLogico_.height(), ponto};
}

// The top of the current page where it is in view, else the document point
// at the top of the view.
VistaPaginas::Ancora VistaPaginas::AncoraPadrao() const {
    double y = 0;
    if (paginaAtual_ > 0) {
        y = std::clamp(RetanguloPagina(paginaAtual_).top(), 0.0,
                       static_cast<double>(viewport()->height()));
    }
    return AncoraEm(QPointF(viewport()->width() / 2.0, y));
}

void VistaPaginas::Restaurar(const Ancora& ancora) {
    const double x = EsquerdaConteudo() + ancora.fx * tamanhoLogico_.width() - ancora.ponto.x();
    const double y = Topo(ancora.pagina) + ancora.fy * tamanhoLogico_.height() - ancora.ponto.y();
    horizontalScrollBar()->setValue(qRound(x));
    Rolar(qRound(y), 0);
}

void VistaPaginas::Rolar(int valor, int alvo) {
    QScrollBar* barra = verticalScrollBar();
    alvo_ = alvo;
    valorAlvo_ = std::clamp(valor, barra->minimum(), barra->maximum());
    barra->setValue(valorAlvo_);
    AtualizarPaginaAtual();
}

void VistaPaginas::IrParaPagina(int pagina) {
    if (NumeroPaginas() == 0) {
        return;
    }
    pagina = std::clamp(pagina, 1, NumeroPaginas());
    Rolar(qRound(Topo(pagina) - margem), pagina);
}

void VistaPaginas::IrParaInicio() {
    Rolar(0, NumeroPaginas() > 0 ? 1 : 0);
}

void VistaPaginas::IrParaFim() {
    Rolar(verticalScrollBar()->maximum(), NumeroPaginas());
}

void VistaPaginas::MostrarArea(int pagina, const QRectF& areaCm) {
    if (pagina < 1 || pagina > NumeroPaginas()) {
        return;
    }
    const QRectF area = ParaVista(pagina, areaCm);
    const QRectF vista(QPointF(0, 0), QSizeF(viewport()->size()));
    if (!vista.contains(area)) {
        Rolar(verticalScrollBar()->value() + qRound(area.center().y() - vista.center().y()), 0);
        const double x = area.center().x() - vista.center().x();
        if (area.left() < 0 || area.right() > vista.right()) {
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(x));
        }
    }
}

void VistaPaginas::DefinirDestaques(Destaques destaques, int paginaAtual,
                                    const std::vector<QRectF>& atual) {
    destaques_ = std::move(destaques);
    paginaDestaque_ = paginaAtual;
    destaqueAtual_ = atual;
    viewport()->update();
}

QRectF VistaPaginas::ParaVista(int pagina, const QRectF& areaCm) const {
    const double escala = dpi_ / 2.54 / dpr_;
    const QRectF folha = RetanguloPagina(pagina);
    return QRectF(folha.topLeft() + areaCm.topLeft() * escala, areaCm.size() * escala);
}

void VistaPaginas::AtualizarPaginaAtual() {
    int nova = 0;
    if (NumeroPaginas() > 0) {
        const int valor = verticalScrollBar()->value();
        if (alvo_ > 0 && valor == valorAlvo_) {
            nova = alvo_;
        } else {
            alvo_ = 0;
            // The page with the most rows in view; the first of equals.
            const double topo = valor;
            const double fundo = valor + viewport()->height();
            double maior = -1;
            for (int pagina = PaginaEm(topo); pagina <= PaginaEm(fundo); ++pagina) {
                const double visivel = std::min(fundo, Topo(pagina) + tamanhoLogico_.height()) -
                                       std::max(topo, Topo(pagina));
                if (visivel > maior + 0.5) {
                    maior = visivel;
                    nova = pagina;
                }
            }
        }
    }
    if (nova != paginaAtual_) {
        paginaAtual_ = nova;
        emit PaginaMudou(nova);
    }
}

void VistaPaginas::scrollContentsBy(int dx, int dy) {
    if (dy != 0) {
        direcao_ = dy < 0 ? 1 : -1;
    }
    viewport()->scroll(dx, dy);
    AtualizarPaginaAtual();
}

void VistaPaginas::resizeEvent(QResizeEvent* evento) {
    const Ancora ancora = AncoraPadrao();
    QAbstractScrollArea::resizeEvent(evento);
    if (ajuste_ != Ajuste::Fixo) {
        Reorganizar(ancora);
    } else {
        AtualizarBarras();
        AtualizarPaginaAtual();
    }
}

// Nothing is drawn ahead for a closed window.
void VistaPaginas::hideEvent(QHideEvent* evento) {
    adiantar_.stop();
    QAbstractScrollArea::hideEvent(evento);
}

void VistaPaginas::wheelEvent(QWheelEvent* evento) {
    if ((evento->modifiers() & Qt::ControlModifier) == 0) {
        QAbstractScrollArea::wheelEvent(evento);
        return;
    }
    // A notch is 120; touchpads send it in smaller parts.
    rodaAcumulada_ += evento->angleDelta().y();
    while (std::abs(rodaAcumulada_) >= passoRoda) {
        const int passo = rodaAcumulada_ > 0 ? 1 : -1;
        rodaAcumulada_ -= passo * passoRoda;
        MudarZoom(passo, evento->position());
    }
    evento->accept();
}

void VistaPaginas::keyPressEvent(QKeyEvent* evento) {
    QScrollBar* vertical = verticalScrollBar();
    const bool acima = evento->modifiers() & Qt::ShiftModifier;
    // A screenful, less a line to keep the reader's place.
    const int tela = std::max(passoLinha, viewport()->height() - passoLinha);
    switch (evento->key()) {
    case Qt::Key_Up:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool esquerda = evento->key() == Qt::Key_Left;
        if (horizontalScrollBar()->maximum() > 0) {
            horizontalScrollBar()->triggerAction(esquerda ? QAbstractSlider::SliderSingleStepSub
                                                          : QAbstractSlider::SliderSingleStepAdd);
        } else {
            IrParaPagina(paginaAtual_ + (esquerda ? -1 : 1));
        }
        break;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space: {
        const bool subir =
            evento->key() == Qt::Key_PageUp || (evento->key() == Qt::Key_Space && acima);
        if (ajuste_ == Ajuste::Pagina) {
            IrParaPagina(paginaAtual_ + (subir ? -1 : 1));
        } else {
            Rolar(vertical->value() + (subir ? -tela : tela), 0);
        }
        break;
    }
    case Qt::Key_Home:
        IrParaInicio();
        break;
    case Qt::Key_End:
        IrParaFim();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(evento);
        return;
    }
    evento->accept();
}

void VistaPaginas::DefinirMao(bool mao) {
    mao_ = mao;
    AtualizarCursor();
}

void VistaPaginas::AtualizarCursor() {
    if (arrasto_ != Qt::NoButton) {
        viewport()->setCursor(Qt::ClosedHandCursor);
    } else if (mao_) {
        viewport()->setCursor(Qt::OpenHandCursor);
    } else {
        viewport()->setCursor(Qt::IBeamCursor);
    }
}

void VistaPaginas::mousePressEvent(QMouseEvent* evento) {
    const Qt::MouseButton botao = evento->button();
    if (arrasto_ == Qt::NoButton &&
        (botao == Qt::MiddleButton || (botao == Qt::LeftButton && mao_))) {
        arrasto_ = botao;
        pontoArrasto_ = evento->position().toPoint();
        AtualizarCursor();
        evento->accept();
        return;
    }
    if (botao == Qt::LeftButton && selecao_ && NumeroPaginas() > 0) {
        const auto [pagina, ponto] = PontoNaPagina(evento->position());
        selecao_->Iniciar(pagina, ponto);
        selecionando_ = true;
        viewport()->update();
        evento->accept();
        return;
    }
    QAbstractScrollArea::mousePressEvent(evento);
}

// The page under a point of the viewport, or the nearest one, and the point
// in centimetres from that sheet's corner.
std::pair<int, QPointF> VistaPaginas::PontoNaPagina(const QPointF& ponto) const {
    const int pagina =
        std::clamp(PaginaEm(verticalScrollBar()->value() + ponto.y()), 1, NumeroPaginas());
    const QRectF folha = RetanguloPagina(pagina);
    const double escala = dpi_ / 2.54 / dpr_;
    return {pagina, (ponto - folha.topLeft()) / escala};
}

QString VistaPaginas::TextoSelecionado() const {
    return selecao_ ? selecao_->Texto() : QString();
}

void VistaPaginas::Copiar() const {
    const QString texto = TextoSelecionado();
    if (!texto.isEmpty()) {
        QGuiApplication::clipboard()->setText(texto);
    }
}

void VistaPaginas::SelecionarTudo() {
    if (selecao_ && paginaAtual_ > 0) {
        selecao_->SelecionarPagina(paginaAtual_);
        viewport()->update();
    }
}

// The pages follow the pointer: dragging down shows what is above.
void VistaPaginas::mouseMoveEvent(QMouseEvent* evento) {
    if (selecionando_) {
        const auto [pagina, ponto] = PontoNaPagina(evento->position());
        selecao_->Estender(pagina, ponto);
        viewport()->update();
        evento->accept();
        return;
    }
    if (arrasto_ == Qt::NoButton) {
        QAbstractScrollArea::mouseMoveEvent(evento);
        return;
    }
    const QPoint ponto = evento->position().toPoint();
    const QPoint passo = ponto - pontoArrasto_;
    pontoArrasto_ = ponto;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - passo.x());
    if (passo.y() != 0) {
        Rolar(verticalScrollBar()->value() - passo.y(), 0);
    }
    evento->accept();
}

void VistaPaginas::mouseReleaseEvent(QMouseEvent* evento) {
    if (selecionando_ && evento->button() == Qt::LeftButton) {
        selecionando_ = false;
        evento->accept();
        return;
    }
    if (arrasto_ == Qt::NoButton || evento->button() != arrasto_) {
        QAbstractScrollArea::mouseReleaseEvent(evento);
        return;
    }
    arrasto_ = Qt::NoButton;
    AtualizarCursor();
    evento->accept();
}

VistaPaginas::Grade VistaPaginas::GradeBlocos() const {
    const int largura = std::max(tamanhoPagina_.width(), 1);
    const int altura = std::max(tamanhoPagina_.height(), 1);
    Grade grade{};
    grade.colunas = (largura + larguraMaximaBloco - 1) / larguraMaximaBloco;
    grade.largura = (largura + grade.colunas - 1) / grade.colunas;
    grade.altura = std::min(std::max(pixelsPorBloco / grade.largura, alturaMinimaBloco), altura);
    grade.linhas = (altura + grade.altura - 1) / grade.altura;
    return grade;
}

QRect VistaPaginas::AreaBloco(const Grade& grade, int coluna, int linha) const {
    const int x = coluna * grade.largura;
    const int y = linha * grade.altura;
    return QRect(x, y, std::min(grade.largura, tamanhoPagina_.width() - x),
                 std::min(grade.altura, tamanhoPagina_.height() - y));
}

// A tile: the same pixels as that part of the whole page image.
QImage VistaPaginas::Renderizar(int pagina, const QRect& area) {
    return SaidaDocumento::ParteImagem(*renderizador_, pagina, dpi_, area);
}

const QImage& VistaPaginas::Bloco(int pagina, int coluna, int linha) {
    const CacheBlocos::Chave chave{pagina, dpi_, coluna, linha};
    if (const QImage* imagem = blocos_.Buscar(chave)) {
        return *imagem;
    }
    return blocos_.Guardar(chave, Renderizar(pagina, AreaBloco(GradeBlocos(), coluna, linha)));
}

void VistaPaginas::paintEvent(QPaintEvent* evento) {
    QPainter painter(viewport());
    painter.fillRect(evento->rect(), palette().color(QPalette::Dark));
    if (NumeroPaginas() == 0) {
        return;
    }
    if (viewport()->devicePixelRatioF() != dpr_) {
        // Moved to a screen of another scale: laid out again after this paint.
        QMetaObject::invokeMethod(
            this, [this] { Reorganizar(AncoraPadrao()); }, Qt::QueuedConnection);
        return;
    }
    blocos_.NovoQuadro();
    const Grade grade = GradeBlocos();
    const QRectF exposta(evento->rect());
    const int valor = verticalScrollBar()->value();
    for (int pagina = PaginaEm(valor + exposta.top()); pagina <= PaginaEm(valor + exposta.bottom());
         ++pagina) {
        const QRectF folha = RetanguloPagina(pagina);
        if (!folha.intersects(exposta)) {
            continue;
        }
        painter.fillRect(folha.translated(3, 3), QColor(0, 0, 0, 60));
        painter.fillRect(folha.translated(1, 1), QColor(0, 0, 0, 60));

        // Tiles in device pixels, each at a whole-pixel offset of the page.
        painter.save();
        painter.scale(1 / dpr_, 1 / dpr_);
        const QPoint origem(qRound(folha.left() * dpr_), qRound(folha.top() * dpr_));
        const QRect pedida = QRectF(exposta.topLeft() * dpr_, exposta.size() * dpr_)
                                 .toAlignedRect()
                                 .translated(-origem)
                                 .intersected(QRect(QPoint(0, 0), tamanhoPagina_));
        if (!pedida.isEmpty()) {
            for (int linha = pedida.top() / grade.altura; linha <= pedida.bottom() / grade.altura;
                 ++linha) {
                for (int coluna = pedida.left() / grade.largura;
                     coluna <= pedida.right() / grade.largura; ++coluna) {
                    painter.drawImage(origem + AreaBloco(grade, coluna, linha).topLeft(),
                                      Bloco(pagina, coluna, linha));
                }
            }
        }
        painter.restore();

        // Highlights tint the page without hiding the text under them.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        if (destaques_) {
            for (const QRectF& area : destaques_(pagina)) {
                painter.fillRect(ParaVista(pagina, area), QColor(255, 225, 80));
            }
        }
        if (pagina == paginaDestaque_) {
            for (const QRectF& area : destaqueAtual_) {
                painter.fillRect(ParaVista(pagina, area), QColor(255, 150, 40));
            }
        }
        if (selecao_) {
            const QColor cor = palette().color(QPalette::Highlight).lighter(170);
            for (const QRectF& area : selecao_->Retangulos(pagina)) {
                painter.fillRect(ParaVista(pagina, area), cor);
            }
        }
        painter.restore();
    }
    adiantar_.start();
}

// One tile a turn of the event loop, so that input is never kept waiting:
// the first missing tile of the half screen ahead in the direction of
// scrolling, while the cache has room for it without giving up another.
void VistaPaginas::AdiantarBlocos() {
    if (NumeroPaginas() == 0 || !isVisible()) {
        return;
    }
    const Grade grade = GradeBlocos();
    const size_t bytes = static_cast<size_t>(grade.largura) * grade.altura * 4;
    if (!blocos_.Cabe(bytes)) {
        return;
    }
    const double altura = viewport()->height();
    const double valor = verticalScrollBar()->value();
    const double topo = direcao_ > 0 ? valor + altura : valor - altura / 2;
    const double fundo = topo + altura / 2;
    const double esquerda = horizontalScrollBar()->value();
    for (int pagina = PaginaEm(topo); pagina <= PaginaEm(fundo); ++pagina) {
        const QRectF folha(EsquerdaConteudo(), Topo(pagina), tamanhoLogico_.width(),
                           tamanhoLogico_.height());
        const QRectF regiao(esquerda, topo, viewport()->width(), fundo - topo);
        const QRectF parte = regiao.intersected(folha).translated(-folha.topLeft());
        if (parte.isEmpty()) {
            continue;
        }
        const QRect pedida = QRectF(parte.topLeft() * dpr_, parte.size() * dpr_)
                                 .toAlignedRect()
                                 .intersected(QRect(QPoint(0, 0), tamanhoPagina_));
        for (int linha = pedida.top() / grade.altura; linha <= pedida.bottom() / grade.altura;
             ++linha) {
            for (int coluna = pedida.left() / grade.largura;
                 coluna <= pedida.right() / grade.largura; ++coluna) {
                const CacheBlocos::Chave chave{pagina, dpi_, coluna, linha};
                if (blocos_.Buscar(chave) == nullptr) {
                    blocos_.Guardar(chave, Renderizar(pagina, AreaBloco(grade, coluna, linha)));
                    adiantar_.start();
                    return;
                }
            }
        }
    }
}

} // namespace tarvo
