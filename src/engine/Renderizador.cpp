#include "engine/Renderizador.h"

#include "engine/Fontes.h"

#include <QColor>
#include <QDateTime>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <type_traits>
#include <variant>

namespace tarvo {

namespace {

constexpr double larguraA4 = 21.0;
constexpr double alturaA4 = 29.7;

} // namespace

Renderizador::Renderizador(const Documento& documento, const QDateTime& momento)
    : Renderizador(std::make_shared<Leiaute>(documento, momento)) {}

Renderizador::Renderizador(std::shared_ptr<Leiaute> leiaute)
    : leiaute_(std::move(leiaute)), documento_(leiaute_->DocumentoDisposto()) {}

Renderizador::~Renderizador() = default;

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

void Renderizador::DesenharPagina(QPainter& painter, int pagina) {
    const QPaintDevice* dispositivo = painter.device();
    const double porCmX = dispositivo->logicalDpiX() / 2.54;
    const double porCmY = dispositivo->logicalDpiY() / 2.54;
    if (porCmX != porCmX_ || porCmY != porCmY_) {
        fontesBrutas_.clear();
        porCmX_ = porCmX;
        porCmY_ = porCmY;
    }
    Fontes::Registrar();
    pagina_ = leiaute_->Pagina(pagina);
    estiloDefinido_ = false;
    acumulados_.clear();
    visivel_ = Visivel(painter);
    const Margens& margens = documento_.Definicoes().margens;
    origem_ = QPointF(margens.esquerda * porCmX_, margens.superior * porCmY_);

    // Crisp hairlines on screen; text and pictures smoothed.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    size_t indice = 0;
    for (const Elemento& elemento : documento_.Elementos(pagina)) {
        std::visit(
            [&](const auto& e) {
                if constexpr (std::is_base_of_v<CamposTexto, std::decay_t<decltype(e)>>) {
                    Desenhar(painter, e, pagina_->Texto(indice));
                } else {
                    Desenhar(painter, e);
                }
            },
            elemento);
        ++indice;
    }
    DesenharAcumulados(painter);
}

QPointF Renderizador::Pixels(const QPointF& pontos) const {
    return QPointF(pontos.x() * porCmX_ / Leiaute::pontosPorCm,
                   pontos.y() * porCmY_ / Leiaute::pontosPorCm);
}

QRectF Renderizador::Pixels(const QRectF& pontos) const {
    return QRectF(Pixels(pontos.topLeft()), Pixels(pontos.bottomRight()));
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
        AcumularRetangulo(painter, area, Estilo{{}, 0, Leiaute::Cor(retangulo.corPreenchimento)});
    } else if (retangulo.estilo != 0) {
        AcumularRetangulo(painter, area,
                          Estilo{Leiaute::Cor(retangulo.corContorno), Milimetros(0.0), {}});
    }
}

void Renderizador::Desenhar(QPainter& painter, const tarvo::Caixa& caixa) {
    const QRectF area = Area(caixa);
    const double raio = caixa.arredondamento * porCmX_ / 10.0;
    Estilo estilo{{}, 0, Leiaute::Cor(caixa.corFundo)};
    if (caixa.estilo != 0) {
        estilo.caneta = Leiaute::Cor(caixa.corContorno);
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

// Qt's font engine on the font file the layout shaped with, at the size in
// the device's pixels, unhinted like the layout's advances. It is asked for
// by family and style, so that it knows its file and the PDF writer embeds
// it; if Qt picks another file, the glyph ids would not match, and the file
// is loaded directly (a PDF then gets the glyphs as outlines).
const QRawFont& Renderizador::FonteBruta(const FonteArquivo& fonte, double tamanho) {
    const double pixels = tamanho * porCmY_ / Leiaute::pontosPorCm;
    auto& bruta = fontesBrutas_[{&fonte, pixels}];
    if (bruta.isValid()) {
        return bruta;
    }
    const auto base = fontesBrutas_.find({&fonte, 0.0});
    if (base != fontesBrutas_.end() && base->second.isValid()) {
        bruta = base->second;
    } else {
        QFont pedida(QString::fromStdString(fonte.Familia()));
        pedida.setBold(fonte.Negrito());
        pedida.setItalic(fonte.Italico());
        pedida.setHintingPreference(QFont::PreferNoHinting);
        pedida.setStyleStrategy(QFont::NoFontMerging);
        bruta = QRawFont::fromFont(pedida);
        if (!bruta.isValid() || bruta.fontTable("head") != fonte.Tabela("head")) {
            bruta =
                QRawFont(QString::fromStdString(fonte.Caminho()), pixels, QFont::PreferNoHinting);
        }
        fontesBrutas_[{&fonte, 0.0}] = bruta;
    }
    bruta.setPixelSize(pixels);
    return bruta;
}

void Renderizador::Desenhar(QPainter& painter, const CamposTexto& campos,
                            const TextoDisposto* texto) {
    if (texto == nullptr || texto->linhas.empty()) {
        return;
    }
    // Whatever of the text can show lies within a line's height of its
    // rectangle, clipped or not.
    if (!Mostra(Area(campos), 2 * campos.tamanho * porCmY_ / Leiaute::pontosPorCm)) {
        return;
    }
    DesenharAcumulados(painter);
    UsarCorTexto(painter, texto->cor);
    if (texto->recorte) {
        painter.save();
        painter.setClipRect(Pixels(*texto->recorte), Qt::IntersectClip);
    }
    QList<quint32> glifos;
    QList<QPointF> posicoes;
    for (const LinhaDisposta& linha : texto->linhas) {
        for (const CorridaGlifos& corrida : linha.corridas) {
            const QRawFont& fonte = FonteBruta(*corrida.fonte, corrida.tamanho);
            glifos = QList<quint32>(corrida.glifos.cbegin(), corrida.glifos.cend());
            posicoes.resize(static_cast<qsizetype>(corrida.posicoes.size()));
            for (size_t i = 0; i < corrida.posicoes.size(); ++i) {
                posicoes[static_cast<qsizetype>(i)] = Pixels(corrida.origem + corrida.posicoes[i]);
            }
            QGlyphRun desenho;
            desenho.setRawFont(fonte);
            desenho.setGlyphIndexes(glifos);
            desenho.setPositions(posicoes);
            painter.drawGlyphRun(QPointF(0, 0), desenho);
        }
        if (texto->sublinhado && linha.direita > linha.bordas.front()) {
            const double meia = texto->espessuraSublinhado / 2;
            const double centro = linha.base + texto->posicaoSublinhado;
            QRectF faixa = Pixels(QRectF(QPointF(linha.bordas.front(), centro - meia),
                                         QPointF(linha.direita, centro + meia)));
            if (faixa.height() < 1.0) {
                faixa.setHeight(1.0);
            }
            painter.fillRect(faixa, QColor::fromRgb(texto->cor));
        }
    }
    if (texto->recorte) {
        painter.restore();
    }
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
