#pragma once

#include "engine/CatalogoFontes.h"
#include "engine/Marcadores.h"

#include <QDateTime>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <unicode/uversion.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace tarvo {

class Documento;
struct CamposTexto;

// The vectors of a laid-out page all take their memory from the page's own
// arena (`PaginaDisposta::memoria`), which is given back whole with the page:
// a page holds thousands of small vectors.
using Memoria = std::pmr::memory_resource;

// Glyphs of one font at one size on one baseline. Lengths are points from
// the sheet's top-left corner, y downwards.
struct CorridaGlifos {
    explicit CorridaGlifos(Memoria* memoria)
        : glifos(memoria), posicoes(memoria), grupos(memoria) {}

    const FonteArquivo* fonte = nullptr;
    double tamanho = 0;
    QPointF origem; // the baseline's start
    std::pmr::vector<uint32_t> glifos;
    std::pmr::vector<QPointF> posicoes; // each glyph's from `origem`
    // Where in the text (UTF-16 index of the element's shown text) each
    // glyph's cluster begins; the run covers the text [inicio, fim).
    std::pmr::vector<uint32_t> grupos;
    qsizetype inicio = 0;
    qsizetype fim = 0;
};

// One line of a text: its glyph runs, its box and where each of its
// characters begins.
struct LinhaDisposta {
    explicit LinhaDisposta(Memoria* memoria) : bordas(memoria), corridas(memoria) {}

    qsizetype inicio = 0; // in the element's shown text
    qsizetype fim = 0;    // past the line's last character (spaces included, not the break)
    double topo = 0;
    double base = 0;
    double altura = 0;
    // The x of every character boundary from `inicio` to `fim`, fim - inicio + 1 values.
    std::pmr::vector<double> bordas;
    std::pmr::vector<CorridaGlifos> corridas;
    // The end of the line's ink (its trailing spaces left out) for an underline.
    double direita = 0;
};

// A text element as it is drawn on one page.
struct TextoDisposto {
    explicit TextoDisposto(Memoria* memoria) : linhas(memoria) {}

    size_t elemento = 0; // among its page's elements
    QString texto;       // as the page shows it
    QRgb cor = 0;
    bool sublinhado = false;
    double posicaoSublinhado = 0; // points below the baseline, the line's centre
    double espessuraSublinhado = 0;
    // The rectangle it is clipped to when it does not fit in it.
    std::optional<QRectF> recorte;
    std::pmr::vector<LinhaDisposta> linhas;
};

struct PaginaDisposta {
    PaginaDisposta() = default;
    PaginaDisposta(const PaginaDisposta&) = delete;
    PaginaDisposta& operator=(const PaginaDisposta&) = delete;

    // Declared first: everything below lives in it. A page of a full table
    // (about a hundred texts) fits in the first block.
    std::pmr::monotonic_buffer_resource memoria{128 * 1024};
    std::pmr::vector<TextoDisposto> textos{&memoria}; // in element order

    // The text of element `elemento`; none for another kind of element.
    const TextoDisposto* Texto(size_t elemento) const;
};

// The text of a document laid out once, for every output to draw and for
// find and selection to read: each text shaped with HarfBuzz on its font's
// file (a fallback font where it lacks a character), wrapped texts broken at
// ICU's line-break opportunities on those advances, every line aligned and
// clipped in its rectangle. Pages are laid out when first asked for and kept
// for a while, shaped texts too; both stores are bounded. Not for use from
// two threads at once.
class Leiaute {
public:
    // `momento` is what the date and time placeholders show.
    Leiaute(const Documento& documento, const QDateTime& momento);
    ~Leiaute();
    Leiaute(const Leiaute&) = delete;
    Leiaute& operator=(const Leiaute&) = delete;

    std::shared_ptr<const PaginaDisposta> Pagina(int pagina);
    const Documento& DocumentoDisposto() const { return documento_; }
    const QDateTime& Momento() const { return momento_; }

    static constexpr double pontosPorCm = 72.0 / 2.54;
    // A colour given as 0x00BBGGRR.
    static QRgb Cor(int32_t valor);
    // The top-left corner of a line of `largura` and `altura` in `area`, for
    // a horizontal alignment 0 left, 1 centre, 2 right and a vertical one 0
    // top, 1 middle, 2 bottom.
    static QPointF PosicaoLinha(const QRectF& area, double largura, double altura,
                                int32_t horizontal, int32_t vertical);
    // Pages and shaped texts kept at most.
    static constexpr size_t limitePaginas = 24;
    static constexpr size_t limiteTextosMoldados = 4096;

private:
    // A text shaped in one font and its fallbacks, in ems: the text
    // [inicio, fim) in one font each.
    struct Segmento {
        const FonteArquivo* fonte;
        size_t inicio;
        size_t fim;
        FonteArquivo::Moldado moldado;
    };
    struct Moldagem {
        std::vector<Segmento> segmentos;
        size_t unidades = 0; // UTF-16 units of the text
    };
    // A shaped text at one size, in points from its start.
    struct Medidas {
        std::vector<double> canetas; // each glyph's pen, the segments' one after another
        std::vector<double> bordas;  // one per UTF-16 index and one past the end
    };

    std::shared_ptr<const Moldagem> Moldar(const FonteArquivo& fonte, const QString& texto);
    // Fills `medidas`, whose memory serves text after text.
    static void Medir(const Moldagem& moldagem, double tamanho, Medidas& medidas);
    TextoDisposto Dispor(const CamposTexto& campos, bool multilinha, size_t elemento, int pagina,
                         Memoria* memoria);
    void Linha(TextoDisposto& disposto, const Moldagem& moldagem, const Medidas& medidas,
               qsizetype inicio, qsizetype fim, double x, double topo, double subida, double altura,
               double tamanho) const;

    const Documento& documento_;
    const QDateTime momento_;
    const Marcadores marcadores_;
    CatalogoFontes fontes_;
    std::map<std::tuple<uint32_t, bool, bool>, const FonteArquivo*> fontesDosTextos_;

    std::list<std::pair<int, std::shared_ptr<const PaginaDisposta>>> paginas_;
    std::unordered_map<const FonteArquivo*,
                       std::unordered_map<QString, std::shared_ptr<const Moldagem>>>
        moldados_;
    size_t textosMoldados_ = 0;
    // A text without placeholders shows the same on every page: what it
    // shows and its shaping, by the document's index of the text, emptied
    // with the shaped texts. Spares converting and looking up the texts
    // every page repeats.
    struct TextoConhecido {
        QString mostrado;
        bool multilinha;
        const FonteArquivo* fonte;
        std::shared_ptr<const Moldagem> moldagem;
    };
    std::unordered_map<uint32_t, TextoConhecido> conhecidos_;
    Medidas medidas_; // of the text being laid out
    const FonteArquivo::Buffer buffer_ = FonteArquivo::NovoBuffer();
    // ICU's line breaker, made at the first wrapped text.
    std::unique_ptr<icu::BreakIterator> quebras_;
};

} // namespace tarvo
