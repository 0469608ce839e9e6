#pragma once

#include "engine/Leiaute.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace tarvo {

// Text selected on a document's pages, as a reader selects it: from the
// point where a drag began to where it is now, in reading order (row by
// row down each page, left to right in a row, page after page), a
// character counting when its middle is passed. The characters are the
// layout's own, so the highlight covers its glyphs and the copy is what the
// page shows: a line for each row, the texts of a row separated by a tab.
// Points are centimetres from the sheet's top-left corner.
class SelecaoTexto {
public:
    explicit SelecaoTexto(std::shared_ptr<Leiaute> leiaute);

    void Iniciar(int pagina, const QPointF& ponto);
    void Estender(int pagina, const QPointF& ponto);
    // Every character of `pagina`.
    void SelecionarPagina(int pagina);
    void Limpar();
    bool Vazia() const;

    // The highlight on `pagina`: one rectangle a line of each text, in
    // centimetres from the sheet's top-left corner.
    std::vector<QRectF> Retangulos(int pagina) const;
    // What is selected, as the pages show it.
    QString Texto() const;

private:
    // Where in the reading order of a page: its row and an x on it.
    struct Posicao {
        int pagina = 0;
        size_t linha = 0;
        double x = 0;
    };
    // A line of a text on a page's row.
    struct Celula {
        const TextoDisposto* texto;
        const LinhaDisposta* linha;
    };
    struct Linha {
        double topo = 0;
        double base = 0;
        std::vector<Celula> celulas; // left to right
    };
    struct PaginaLida {
        std::shared_ptr<const PaginaDisposta> disposta;
        std::vector<Linha> linhas; // top to bottom
    };
    // One text line's selected characters [inicio, fim) of its text.
    struct Trecho {
        Celula celula;
        qsizetype inicio;
        qsizetype fim;
    };

    PaginaLida Ler(int pagina) const;
    // Where a point falls: as the start of a selection (a point above a row
    // starts at its beginning) or as its end (below a row ends at its end).
    Posicao Inicio(int pagina, const QPointF& pontos) const;
    Posicao Fim(int pagina, const QPointF& pontos) const;
    void Delimitar(const std::pair<int, QPointF>& ponta);
    bool Toca(int pagina) const;
    // Only for a page the selection touches.
    std::vector<std::vector<Trecho>> Trechos(int pagina, const PaginaLida& lida) const;

    std::shared_ptr<Leiaute> leiaute_;
    std::optional<std::pair<int, QPointF>> ancora_; // where the drag began, points
    std::optional<std::pair<Posicao, Posicao>> limites_;
};

} // namespace tarvo
