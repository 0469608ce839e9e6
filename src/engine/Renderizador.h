#pragma once

#include "engine/Documento.h"
#include "engine/Marcadores.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <deque>
#include <optional>
#include <string>
#include <string_view>

class QDateTime;
class QPainter;
class QPaintDevice;

namespace tarvo {

// Replays the pages of a document on a painter. Every output (PDF, page
// image, printer, preview) goes through here, so they all agree: lengths are
// converted from centimetres with the device's own resolution, and font
// sizes are points resolved at that same resolution.
class Renderizador {
public:
    // The placeholders for date and time take `momento`, so that every page
    // of one output shows the same instant.
    Renderizador(const Documento& documento, const QDateTime& momento);

    // Paints page `pagina` (from 1) with the paper's top-left corner at the
    // painter's origin. The painter's transform and clip are respected, so
    // the device may hold only part of the sheet.
    void DesenharPagina(QPainter& painter, int pagina);

    // The sheet in centimetres: A4 in the document's orientation.
    static QSizeF TamanhoPapel(const Documento& documento);
    // That sheet for a printer or PDF writer, painted whole: the document's
    // own margins are applied when drawing, the same way on every device.
    static QPageLayout Folha(const Documento& documento);

    // Where a one-line text of `largura` sits in `area` (the top-left corner
    // of its line; the baseline is one ascent below), for a horizontal
    // alignment 0 left, 1 centre, 2 right and a vertical one 0 top, 1 middle,
    // 2 bottom. Whatever places such a text places it here.
    static QPointF PosicaoLinha(const QRectF& area, double largura, const QFontMetricsF& metricas,
                                int32_t horizontal, int32_t vertical);

    // Shaped texts kept at most, over all fonts; past it the store starts
    // again. Bounds the memory of documents with many distinct texts.
    static constexpr int limiteTextosMoldados = 4096;

private:
    // A one-line text shaped by Qt once and drawn many times: its glyph runs
    // (laid out from the line's top-left corner), the line's ascent and its
    // advance. A text with a glyph that no font has keeps no runs and is
    // drawn by drawText, which shows whatever Qt shows for it; so is an
    // underlined one, whose underline Qt misplaces when it draws a glyph run
    // on a raster device through a translated painter.
    struct TextoMoldado {
        QList<QGlyphRun> corridas;
        double largura = 0;
        double subida = 0;
        bool porDrawText = false;
    };

    struct Fonte {
        std::string nome;
        double tamanho;
        int estilo;
        QFont fonte;
        QFontMetricsF metricas;
        QHash<QString, TextoMoldado> textos;
    };

    // The pen and brush of a drawing; no colour means none.
    struct Estilo {
        std::optional<QRgb> caneta;
        double larguraCaneta = 0;
        std::optional<QRgb> pincel;
        bool operator==(const Estilo&) const = default;
    };

    void Desenhar(QPainter& painter, const tarvo::Retangulo& retangulo);
    void Desenhar(QPainter& painter, const tarvo::Caixa& caixa);
    void Desenhar(QPainter& painter, const tarvo::Texto& texto, int pagina);
    void Desenhar(QPainter& painter, const tarvo::TextoMultilinha& texto, int pagina);
    void Desenhar(QPainter& painter, const tarvo::Imagem& imagem);

    static std::optional<QRectF> Visivel(const QPainter& painter);
    bool Mostra(const QRectF& area, double margem) const;
    template <class E> QRectF Area(const E& elemento) const {
        return QRectF(origem_.x() + elemento.x * porCmX_, origem_.y() + elemento.y * porCmY_,
                      elemento.largura * porCmX_, elemento.altura * porCmY_);
    }
    double Milimetros(double mm) const;
    void AcumularRetangulo(QPainter& painter, const QRectF& retangulo, const Estilo& estilo);
    void DesenharAcumulados(QPainter& painter);
    void UsarEstilo(QPainter& painter, const Estilo& estilo);
    void UsarCorTexto(QPainter& painter, QRgb cor);
    Fonte& EscolherFonte(const QPaintDevice* dispositivo, const CamposTexto& texto);
    void UsarFonte(QPainter& painter, const Fonte& fonte);
    const TextoMoldado& Moldar(Fonte& fonte, const QString& texto, const QPaintDevice* dispositivo);

    const Documento& documento_;
    const Marcadores marcadores_;

    // Device resolution of the page being painted, in pixels per centimetre.
    double porCmX_ = 0;
    double porCmY_ = 0;
    QPointF origem_;
    // What the device shows of the page being painted; none for all of it.
    std::optional<QRectF> visivel_;

    // Fonts in use, for the current resolution; few per document.
    std::deque<Fonte> fontes_;
    const Fonte* fonteAtual_ = nullptr;
    int textosMoldados_ = 0;

    // The pen and brush last set on the painter, so that equal ones are not
    // set again: every change is written out by the PDF engine.
    bool estiloDefinido_ = false;
    Estilo estiloAtual_;

    // Consecutive rectangles of one style, drawn in one call.
    QList<QRectF> acumulados_;
    Estilo estiloAcumulados_;
};

} // namespace tarvo
