#pragma once

#include "engine/Elementos.h"
#include "engine/Leiaute.h"
#include "engine/Marcadores.h"

#include <QDateTime>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvo {

class Documento;

// Finds text in a document as its pages show it: placeholders replaced the
// way the renderer replaces them on each page, letter case and accents
// ignored ("informacoes" finds "Informações"), amounts however their digits
// are grouped ("1015,16" finds "1.015,16"). The rectangles of a hit are
// read from the document's layout, the one the renderer draws, so that a
// highlight covers exactly the glyphs of the hit.
class LocalizadorTexto {
public:
    struct Ocorrencia {
        int pagina = 0;       // from 1
        size_t elemento = 0;  // the text's place among its page's elements
        qsizetype inicio = 0; // in the text as shown
        qsizetype tamanho = 0;
    };

    // `momento` is the instant the renderer shows for "%%D" and "%%H".
    LocalizadorTexto(const Documento& documento, const QDateTime& momento);
    // Reads the layout that the document's pages are drawn from.
    explicit LocalizadorTexto(std::shared_ptr<Leiaute> leiaute);

    // Every hit of `termo` in page order, then in the order the texts were
    // laid out. An empty or blank term finds nothing.
    std::vector<Ocorrencia> Buscar(const QString& termo) const;

    // Where a hit is drawn: one rectangle per line it spans, in centimetres
    // from the sheet's top-left corner, clipped as the renderer clips.
    std::vector<QRectF> Retangulos(const Ocorrencia& ocorrencia) const;
    // The same for the text [inicio, fim) of element `elemento` of `pagina`,
    // in the text as shown.
    std::vector<QRectF> Retangulos(int pagina, size_t elemento, qsizetype inicio,
                                   qsizetype fim) const;

    // Lower case without accents, one character for one, so that positions
    // in the folded text are positions in the original.
    static QString Dobrar(const QString& texto);
    // `texto` without the separators of digit groups; `origem` maps each
    // character of the result (and its end) back into `texto`.
    static QString SemAgrupamento(const QString& texto, std::vector<qsizetype>* origem);

private:
    // The text element `elemento` of `pagina`; none for another element.
    std::optional<CamposTexto> Texto(int pagina, size_t elemento, bool* multilinha) const;
    QString Mostrado(const CamposTexto& texto, bool multilinha, int pagina) const;

    const std::shared_ptr<Leiaute> leiaute_;
    const Documento& documento_;
    const Marcadores marcadores_;
};

} // namespace tarvo
