#include "engine/Renderizador.h"

#include "engine/Fontes.h"
#include "engine/Marcadores.h"

#include <QColor>
#include <QDateTime>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <type_traits>
#include <variant>

namespace tarvo {

namespace {

constexpr double larguraA4 = 21.0;
constexpr double alturaA4 = 29.7;
// A line width that no one-line text reaches, in device pixels.
constexpr double larguraSemLimite = 0x01000000;

// Colours come as 0x00BBGGRR.
QRgb Cor(int32_t valor) {
    const auto bits = static_cast<uint32_t>(valor);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

Qt::Alignment Alinhamento(int32_t horizontal, int32_t vertical) {
    const Qt::Alignment h = horizontal == 1   ? Qt::AlignHCenter
                            : horizontal == 2 ? Qt::AlignRight
                                              : Qt::AlignLeft;
    const Qt::Alignment v = vertical == 1   ? Qt::AlignVCenter
                            : vertical == 2 ? Qt::AlignBottom
                                            : Qt::AlignTop;
    return h | v;
}

} // namespace

Renderizador::Renderizador(const Documento& documento, const QDateTime& momento)
    : documento_(documento), marcadores_(momento, documento.NumeroPaginas()) {}

QSizeF Renderizador::TamanhoPapel(const Documento& documento) {
    return documento.Definicoes().paisagem ? QSizeF(alturaA4, larguraA4)
                                           : QSizeF(larguraA4, alturaA4);
}

QPageLayout Renderizador::Folha(const Documento& documento) {
    QPageLayout folha(QPageSize(QPageSize::A4),
                      documento.Definicoes().paisagem ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait,
                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    folha.setMode(QPageLayout::FullPageMode);
    return folha;
}

QPointF Renderizador::PosicaoLinha(const QRectF& area, double largura,
                                   const QFontMetricsF& metricas, int32_t horizontal,
                                   int32_t vertical) {
    const double altura = metricas.ascent() + metricas.descent();
    double x = area.left();
    if (horizontal == 1) {
        x += (area.width() - largura) / 2.0;
    } else if (horizontal == 2) {
        x = area.right() - largura;
    }
    double topo = area.top();
    if (vertical == 1) {
        topo += (area.height() - altura) / 2.0;
    } else if (vertical == 2) {
        topo = area.bottom() - altura;
    }
    return QPointF(x, topo);
}

void Renderizador::DesenharPagina(QPainter& painter, int pagina) {
    Fontes::Registrar();
    const QPaintDevice* dispositivo = painter.device();
    const double porCmX = dispositivo->logicalDpiX() / 2.54;
    const double porCmY = dispositivo->logicalDpiY() / 2.54;
    if (porCmX != porCmX_ || porCmY != porCmY_) {
        fontes_.clear();
        textosMoldados_ = 0;
        porCmX_ = porCmX;
        porCmY_ = porCmY;
    }
    fonteAtual_ = nullptr;
    estiloDefinido_ = false;
    acumulados_.clear();
    visivel_ = Visivel(painter);
    const Margens& margens = documento_.Definicoes().margens;
    origem_ = QPointF(margens.esquerda * porCmX_, margens.superior * porCmY_);

    // Crisp hairlines on screen; text and pictures smoothed.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    for (const Elemento& elemento : documento_.Elementos(pagina)) {
        std::visit(
            [&](const auto& e) {
                if constexpr (std::is_base_of_v<CamposTexto, std::decay_t<decltype(e)>>) {
                    Desenhar(painter, e, pagina);
                } else {
                    Desenhar(painter, e);
                }
            },
            elemento);
    }
    DesenharAcumulados(painter);
}

// The part of the sheet that a raster device shows, in the painter's
// coordinates: a tile of a page skips what falls outside it. None where that
// cannot be told, and on vector devices, which always get whole pages.
std::optional<QRectF> Renderizador::Visivel(const QPainter& painter) {
    bool inversivel = false;
    const QTransform inversa = painter.deviceTransform().inverted(&inversivel);
    if (painter.paintEngine()->type() != QPaintEngine::Raster || !inversivel ||
        !inversa.isAffine()) {
        return std::nullopt;
    }
    const QPaintDevice* dispositivo = painter.device();
    QRectF visivel = inversa.mapRect(QRectF(0, 0, dispositivo->width(), dispositivo->height()));
    if (painter.hasClipping()) {
        visivel = visivel.intersected(painter.clipBoundingRect());
    }
    return visivel;
}

// Whether anything drawn within `margem` of `area` can show.
bool Renderizador::Mostra(const QRectF& area, double margem) const {
    return !visivel_ ||
           visivel_->intersects(area.normalized().adjusted(-margem, -margem, margem, margem));
}

// A line of `mm` millimetres, never thinner than one device pixel.
double Renderizador::Milimetros(double mm) const {
    return std::max(mm * porCmX_ / 10.0, 1.0);
}

void Renderizador::UsarEstilo(QPainter& painter, const Estilo& estilo) {
    if (estiloDefinido_ && estilo == estiloAtual_) {
        return;
    }
    if (!estiloDefinido_ || estilo.caneta != estiloAtual_.caneta ||
        estilo.larguraCaneta != estiloAtual_.larguraCaneta) {
        if (estilo.caneta) {
            painter.setPen(QPen(QColor::fromRgb(*estilo.caneta), estilo.larguraCaneta,
                                Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        } else {
            painter.setPen(Qt::NoPen);
        }
    }
    if (!estiloDefinido_ || estilo.pincel != estiloAtual_.pincel) {
        if (estilo.pincel) {
            painter.setBrush(QColor::fromRgb(*estilo.pincel));
        } else {
            painter.setBrush(Qt::NoBrush);
        }
    }
    estiloDefinido_ = true;
    estiloAtual_ = estilo;
}

// Text takes only the pen's colour: the width and the brush stay as they
// are, which saves changes between a box and its text.
void Renderizador::UsarCorTexto(QPainter& painter, QRgb cor) {
    Estilo estilo = estiloAtual_;
    estilo.caneta = cor;
    if (!estiloDefinido_ || !estiloAtual_.caneta) {
        estilo.larguraCaneta = 1.0;
    }
    UsarEstilo(painter, estilo);
}

// Rectangles wait until something else is drawn, and those of one style go
// out in one call. Only rectangles that do not overlap are put together:
// each one's outline then covers whatever the fill of a later one could hide
// of an earlier one, so the picture is the same as drawing them one by one.
void Renderizador::AcumularRetangulo(QPainter& painter, const QRectF& retangulo,
                                     const Estilo& estilo) {
    // A negative width or height counts from the other side, as in Qt.
    const QRectF area = retangulo.normalized();
    if (!acumulados_.isEmpty()) {
        const bool junto =
            estilo == estiloAcumulados_ &&
            std::none_of(acumulados_.cbegin(), acumulados_.cend(),
                         [&area](const QRectF& outro) { return outro.intersects(area); });
        if (!junto) {
            DesenharAcumulados(painter);
        }
    }
    estiloAcumulados_ = estilo;
    acumulados_.append(area);
}

void Renderizador::DesenharAcumulados(QPainter& painter) {
    if (acumulados_.isEmpty()) {
        return;
    }
    const Estilo estilo = estiloAcumulados_;
    if (!estilo.caneta || painter.paintEngine()->type() != QPaintEngine::Raster) {
        UsarEstilo(painter, estilo);
        painter.drawRects(acumulados_.constData(), static_cast<int>(acumulados_.size()));
        acumulados_.clear();
        return;
    }
    // A raster device draws a thin pen pixel by pixel. The outline of a
    // rectangle (square caps, mitred corners) is the band half a pen wide on
    // each side of its edges: filled as four rectangles, it is the same
    // picture at the cost of a memory fill each.
    const double largura = estilo.larguraCaneta;
    const double meia = largura / 2;
    QList<QRectF> faixas;
    QList<QRectF> interiores;
    faixas.reserve(4 * acumulados_.size());
    interiores.reserve(acumulados_.size());
    for (const QRectF& area : std::as_const(acumulados_)) {
        const QRectF fora = area.adjusted(-meia, -meia, meia, meia);
        faixas.append(QRectF(fora.left(), fora.top(), fora.width(), largura));
        faixas.append(QRectF(fora.left(), area.bottom() - meia, fora.width(), largura));
        const QRectF dentro = area.adjusted(meia, meia, -meia, -meia);
        if (dentro.height() > 0) {
            faixas.append(QRectF(fora.left(), dentro.top(), largura, dentro.height()));
            faixas.append(QRectF(dentro.right(), dentro.top(), largura, dentro.height()));
            if (estilo.pincel && dentro.width() > 0) {
                interiores.append(dentro);
            }
        }
    }
    acumulados_.clear();
    if (!interiores.isEmpty()) {
        UsarEstilo(painter, Estilo{{}, 0, estilo.pincel});
        painter.drawRects(interiores.constData(), static_cast<int>(interiores.size()));
    }
    UsarEstilo(painter, Estilo{{}, 0, estilo.caneta});
    painter.drawRects(faixas.constData(), static_cast<int>(faixas.size()));
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::Retangulo& retangulo) {
    const QRectF area = Area(retangulo);
    if (!Mostra(area, Milimetros(0.0))) {
        return;
    }
    if (retangulo.preenchido != 0) {
        AcumularRetangulo(painter, area, Estilo{{}, 0, Cor(retangulo.corPreenchimento)});
    } else if (retangulo.estilo != 0) {
        AcumularRetangulo(painter, area, Estilo{Cor(retangulo.corContorno), Milimetros(0.0), {}});
    }
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::Caixa& caixa) {
    const QRectF area = Area(caixa);
    const double raio = caixa.arredondamento * porCmX_ / 10.0;
    Estilo estilo{{}, 0, Cor(caixa.corFundo)};
    if (caixa.estilo != 0) {
        estilo.caneta = Cor(caixa.corContorno);
        estilo.larguraCaneta = Milimetros(caixa.espessura);
    }
    if (!Mostra(area, estilo.larguraCaneta)) {
        return;
    }
    if (raio <= 0) {
        AcumularRetangulo(painter, area, estilo);
        return;
    }
    // Rounded: the fill smoothed, the outline crisp like the other lines.
    DesenharAcumulados(painter);
    UsarEstilo(painter, Estilo{{}, 0, estilo.pincel});
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawRoundedRect(area, raio, raio);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (estilo.caneta) {
        UsarEstilo(painter, Estilo{estilo.caneta, estilo.larguraCaneta, {}});
        painter.drawRoundedRect(area, raio, raio);
    }
}

Renderizador::Fonte& Renderizador::EscolherFonte(const QPaintDevice* dispositivo,
                                                 const CamposTexto& texto) {
    const std::string_view nome = documento_.TextoDe(texto.fonte);
    const double tamanho = texto.tamanho;
    const int estilo = (texto.negrito != 0 ? 1 : 0) | (texto.italico != 0 ? 2 : 0) |
                       (texto.sublinhado != 0 ? 4 : 0);
    for (Fonte& candidata : fontes_) {
        if (candidata.tamanho == tamanho && candidata.estilo == estilo && candidata.nome == nome) {
            return candidata;
        }
    }
    const QFont qfonte = Fontes::DoTexto(texto, nome);
    fontes_.push_back(
        Fonte{std::string(nome), tamanho, estilo, qfonte, QFontMetricsF(qfonte, dispositivo), {}});
    return fontes_.back();
}

// Only texts drawn by drawText need the painter's font.
void Renderizador::UsarFonte(QPainter& painter, const Fonte& fonte) {
    if (&fonte != fonteAtual_) {
        painter.setFont(fonte.fonte);
        fonteAtual_ = &fonte;
    }
}

// Shapes a one-line text as drawText would (the same layout engine, with
// kerning and font fallback) and keeps the result for its next uses.
const Renderizador::TextoMoldado& Renderizador::Moldar(Fonte& fonte, const QString& texto,
                                                       const QPaintDevice* dispositivo) {
    const auto achado = fonte.textos.constFind(texto);
    if (achado != fonte.textos.cend()) {
        return *achado;
    }
    if (textosMoldados_ >= limiteTextosMoldados) {
        for (Fonte& outra : fontes_) {
            outra.textos.clear();
        }
        textosMoldados_ = 0;
    }
    QTextLayout leiaute(texto, fonte.fonte, dispositivo);
    QTextOption opcoes;
    opcoes.setWrapMode(QTextOption::NoWrap);
    opcoes.setFlags(QTextOption::IncludeTrailingSpaces);
    leiaute.setTextOption(opcoes);
    // Keeps the shaped glyphs past endLayout for glyphRuns, which would
    // shape the text again otherwise.
    leiaute.setCacheEnabled(true);
    leiaute.beginLayout();
    QTextLine linha = leiaute.createLine();
    linha.setLineWidth(larguraSemLimite);
    leiaute.endLayout();

    TextoMoldado moldado;
    moldado.largura = linha.horizontalAdvance();
    moldado.subida = linha.ascent();
    moldado.porDrawText = fonte.fonte.underline();
    if (!moldado.porDrawText) {
        moldado.corridas = linha.glyphRuns();
        moldado.porDrawText =
            std::any_of(moldado.corridas.cbegin(), moldado.corridas.cend(),
                        [](const QGlyphRun& c) { return c.glyphIndexes().contains(0u); });
    }
    if (moldado.porDrawText) {
        moldado.corridas.clear();
    }
    ++textosMoldados_;
    return *fonte.textos.insert(texto, std::move(moldado));
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::Texto& elemento, int pagina) {
    const QString texto = marcadores_.Mostrado(documento_.TextoDe(elemento.texto), false, pagina);
    if (texto.isEmpty()) {
        return;
    }
    const QRectF area = Area(elemento);
    Fonte& fonte = EscolherFonte(painter.device(), elemento);
    if (!Mostra(area, fonte.metricas.height())) {
        return;
    }
    DesenharAcumulados(painter);
    const TextoMoldado& moldado = Moldar(fonte, texto, painter.device());
    UsarCorTexto(painter, Cor(elemento.cor));

    const double largura = moldado.largura;
    const double altura = fonte.metricas.ascent() + fonte.metricas.descent();
    const QPointF linha =
        PosicaoLinha(area, largura, fonte.metricas, elemento.alinhamentoHorizontal,
                     elemento.alinhamentoVertical);
    const double x = linha.x();
    const double base = linha.y() + fonte.metricas.ascent();
    const bool cabe = largura <= area.width() && altura <= area.height();
    if (!cabe) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    if (moldado.porDrawText) {
        UsarFonte(painter, fonte);
        painter.drawText(QPointF(x, base), texto);
    } else {
        // The runs have their baseline at the line's ascent.
        const QPointF origem(x, base - moldado.subida);
        for (const QGlyphRun& corrida : moldado.corridas) {
            painter.drawGlyphRun(origem, corrida);
        }
    }
    if (!cabe) {
        painter.restore();
    }
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::TextoMultilinha& elemento, int pagina) {
    const QRectF area = Area(elemento);
    const Fonte& fonte = EscolherFonte(painter.device(), elemento);
    if (!Mostra(area, fonte.metricas.height())) {
        return;
    }
    DesenharAcumulados(painter);
    UsarFonte(painter, fonte);
    UsarCorTexto(painter, Cor(elemento.cor));
    const QString texto = marcadores_.Mostrado(documento_.TextoDe(elemento.texto), true, pagina);
    // Wraps at word boundaries and clips to the rectangle when it overflows.
    painter.drawText(area,
                     static_cast<int>(Alinhamento(elemento.alinhamentoHorizontal,
                                                  elemento.alinhamentoVertical)) |
                         Qt::TextWordWrap,
                     texto);
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::Imagem& elemento) {
    const QRectF area = Area(elemento);
    if (!Mostra(area, 1.0)) {
        return;
    }
    DesenharAcumulados(painter);
    const QImage& imagem = documento_.FiguraDe(elemento.figura).Imagem();
    if (elemento.modo == 0) {
        painter.drawImage(area, imagem);
        return;
    }
    QSizeF tamanho = QSizeF(imagem.size()).scaled(area.size(), Qt::KeepAspectRatio);
    QRectF destino(QPointF(), tamanho);
    destino.moveCenter(area.center());
    painter.drawImage(destino, imagem);
}

} // namespace tarvo
