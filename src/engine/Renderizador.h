#pragma once

#include "engine/Documento.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <deque>
#include <string>
#include <string_view>

class QDateTime;
class QPainter;

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

    // Paints page `pagina` (from 1). The painter's device is one whole sheet
    // with its origin at the paper's top-left corner.
    void DesenharPagina(QPainter& painter, int pagina);

    // The sheet in centimetres: A4 in the document's orientation.
    static QSizeF TamanhoPapel(const Documento& documento);

private:
    struct Fonte {
        std::string nome;
        double tamanho;
        int estilo;
        QFont fonte;
        QFontMetricsF metricas;
        // Widths of the texts measured so far: reports repeat the same short
        // texts on every line, and measuring means shaping.
        mutable QHash<QString, double> larguras;
    };

    void Retangulo(QPainter& painter, const ChamadaLida& chamada);
    void Caixa(QPainter& painter, const ChamadaLida& chamada);
    void Texto(QPainter& painter, const ChamadaLida& chamada, int pagina);
    void TextoMultilinha(QPainter& painter, const ChamadaLida& chamada, int pagina);
    void Imagem(QPainter& painter, const ChamadaLida& chamada);

    QRectF Area(const ChamadaLida& chamada) const;
    double Milimetros(double mm) const;
    void UsarCaneta(QPainter& painter, QRgb cor, double largura);
    const Fonte& UsarFonte(QPainter& painter, const ChamadaLida& chamada);
    QString Substituir(std::string_view texto, int pagina) const;

    const Documento& documento_;
    const QString data_;
    const QString hora_;
    const QString total_;

    // Device resolution of the page being painted, in pixels per centimetre.
    double porCmX_ = 0;
    double porCmY_ = 0;
    QPointF origem_;

    // Fonts in use, for the current resolution; few per document.
    std::deque<Fonte> fontes_;
    const Fonte* fonteAtual_ = nullptr;

    // The pen last set, to skip building an equal one for every element.
    bool canetaDefinida_ = false;
    QRgb corCaneta_ = 0;
    double larguraCaneta_ = 0;
};

} // namespace tarvo
