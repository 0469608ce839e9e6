#pragma once

#include "engine/Documento.h"
#include "engine/Leiaute.h"

#include <QList>
#include <QPageLayout>
#include <QRawFont>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>

class QDateTime;
class QPainter;
class QPaintDevice;

namespace tarvo {

// Replays the pages of a document on a painter. Every output (PDF, page
// image, printer, preview) goes through here, so they all agree: lengths are
// converted from centimetres with the device's own resolution, and texts are
// the glyph runs of the document's one layout, drawn from the same font
// files at that resolution.
class Renderizador {
public:
    // The placeholders for date and time take `momento`, so that every page
    // of one output shows the same instant.
    Renderizador(const Documento& documento, const QDateTime& momento);
    // Draws the texts as `leiaute` laid them out, shared with other users of
    // the same document (the preview's pages, thumbnails and find).
    explicit Renderizador(std::shared_ptr<Leiaute> leiaute);
    ~Renderizador();

    // Paints page `pagina` (from 1) with the paper's top-left corner at the
    // painter's origin. The painter's transform and clip are respected, so
    // the device may hold only part of the sheet.
    void DesenharPagina(QPainter& painter, int pagina);

    // The sheet in centimetres: A4 in the document's orientation.
    static QSizeF TamanhoPapel(const Documento& documento);
    // That sheet for a printer or PDF writer, painted whole: the document's
    // own margins are applied when drawing, the same way on every device.
    static QPageLayout Folha(const Documento& documento);

private:
    // The pen and brush of a drawing; no colour means none.
    struct Estilo {
        std::optional<QRgb> caneta;
        double larguraCaneta = 0;
        std::optional<QRgb> pincel;
        bool operator==(const Estilo&) const = default;
    };

    void Desenhar(QPainter& painter, const tarvo::Retangulo& retangulo);
    void Desenhar(QPainter& painter, const tarvo::Caixa& caixa);
    void Desenhar(QPainter& painter, const CamposTexto& campos, const TextoDisposto* texto);
    void Desenhar(QPainter& painter, const tarvo::Imagem& imagem);

    static std::optional<QRectF> Visivel(const QPainter& painter);
    bool Mostra(const QRectF& area, double margem) const;
    template <class E> QRectF Area(const E& elemento) const {
        return QRectF(origem_.x() + elemento.x * porCmX_, origem_.y() + elemento.y * porCmY_,
                      elemento.largura * porCmX_, elemento.altura * porCmY_);
    }
    // Points from the sheet's corner to the device's pixels.
    QPointF Pixels(const QPointF& pontos) const;
    QRectF Pixels(const QRectF& pontos) const;
    double Milimetros(double mm) const;
    void AcumularRetangulo(QPainter& painter, const QRectF& retangulo, const Estilo& estilo);
    void DesenharAcumulados(QPainter& painter);
    void UsarEstilo(QPainter& painter, const Estilo& estilo);
    void UsarCorTexto(QPainter& painter, QRgb cor);
    const QRawFont& FonteBruta(const FonteArquivo& fonte, double tamanho);

    const std::shared_ptr<Leiaute> leiaute_;
    const Documento& documento_;
    std::shared_ptr<const PaginaDisposta> pagina_;

    // Device resolution of the page being painted, in pixels per centimetre.
    double porCmX_ = 0;
    double porCmY_ = 0;
    QPointF origem_;
    // What the device shows of the page being painted; none for all of it.
    std::optional<QRectF> visivel_;

    // The font files at the sizes in use, for the current resolution.
    std::map<std::pair<const FonteArquivo*, double>, QRawFont> fontesBrutas_;

    // The pen and brush last set on the painter, so that equal ones are not
    // set again: every change is written out by the PDF engine.
    bool estiloDefinido_ = false;
    Estilo estiloAtual_;

    // Consecutive rectangles of one style, drawn in one call.
    QList<QRectF> acumulados_;
    Estilo estiloAcumulados_;
};

} // namespace tarvo
