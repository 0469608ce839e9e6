#pragma once

#include "engine/Elementos.h"

#include <QRectF>
#include <QRgb>
#include <QString>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

class Documento;
class FonteArquivo;
class FontePdf;
struct CamposTexto;
struct CorridaGlifos;
struct PaginaDisposta;
struct TextoDisposto;

// The content stream of one page of a document, drawn from its elements and
// the layout's glyph runs the way the renderer draws them on a painter:
// rectangles, rounded boxes and outlines (never thinner than a 1200-dpi
// pixel, as the PDF was always drawn at that resolution), pictures stretched
// or fitted, texts clipped to their rectangle when they do not fit. Colour,
// line width and font are set only when they change. Every text and
// picture is marked content with its own id for the structure tree; rules
// and boxes are artifacts.
class ConteudoPagina {
public:
    // The font of a glyph run and the image object of a picture, as the
    // file's writer keeps them.
    using Fontes = std::function<FontePdf&(const FonteArquivo&)>;
    using Figuras = std::function<int(IdFigura)>;
    // Whether a text is a page artifact (a repeated page header, a footer):
    // its shown text, its rectangle and whether it holds placeholders.
    using Artefatos = std::function<bool(const QString&, const QRectF&, bool)>;

    // A piece of marked content, in drawing order.
    struct Marcado {
        int id;          // its MCID
        bool figura;     // a picture; otherwise a text
        size_t elemento; // among the page's elements
        QRectF area;     // points from the sheet's top-left corner
        QString texto;   // what a text shows
        std::string nomeFigura;
    };

    // `buffer` is a string whose memory the stream may reuse.
    ConteudoPagina(const Documento& documento, const PaginaDisposta& disposta, int pagina,
                   const Fontes& fontes, const Figuras& figuras, const Artefatos& artefatos,
                   std::string buffer = {});

    // The content stream, handed over: the object has no stream after.
    std::string TomarFluxo() { return std::move(fluxo_); }
    // The page's /Resources dictionary.
    std::string Recursos() const;
    const std::vector<Marcado>& Marcados() const { return marcados_; }

    static constexpr double pixelPdf = 72.0 / 1200.0; // the thinnest line, in points

private:
    struct Estado {
        std::optional<QRgb> preenchimento;
        std::optional<QRgb> traco;
        double largura = -1;
    };

    void Desenhar(const Retangulo& retangulo);
    void Desenhar(const Caixa& caixa);
    void Desenhar(const CamposTexto& campos, const TextoDisposto* texto, size_t elemento);
    void Desenhar(const Imagem& imagem, size_t elemento);
    void Corrida(const CorridaGlifos& corrida, const TextoDisposto& texto);

    QRectF Area(double x, double y, double largura, double altura) const;
    void Retang(const QRectF& area);
    void Ponto(double x, double y);
    void N(double valor);
    void Preenchimento(QRgb cor);
    void Traco(QRgb cor);
    void Cor(QRgb cor, const char* cinza, const char* rgb);
    void Largura(double largura);
    void Artefato();
    void FimArtefato();
    // Shapes of one kind go out with one painting operator.
    void Pintar(const char* operador);

    const Documento& documento_;
    const Fontes& fontes_;
    const Figuras& figuras_;
    const Artefatos& artefatos_;
    double altura_ = 0; // the sheet's, points
    QPointF origem_;    // the margins' corner, points
    std::string fluxo_;
    Estado estado_;
    bool artefato_ = false;
    const char* pendente_ = nullptr; // painting operator of the pending path
    int fonteAtual_ = -1;            // the text object's font and size
    double tamanhoAtual_ = 0;
    // Where the text object's current line starts, thousandths of a point.
    std::pair<long long, long long> linhaTexto_;
    std::set<int> fontesUsadas_;
    std::set<int> figurasUsadas_;
    std::vector<Marcado> marcados_;
};

} // namespace tarvo
