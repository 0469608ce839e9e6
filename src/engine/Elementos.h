#pragma once

#include <cstdint>
#include <variant>

namespace tarvo {

// A text of the document's text table; the same text has the same id.
struct IdTexto {
    uint32_t indice = 0;
    bool operator==(const IdTexto&) const = default;
};

// A picture of the document's picture list, shared by every use.
struct IdFigura {
    uint32_t indice = 0;
    bool operator==(const IdFigura&) const = default;
};

// The elements of a page, each as the call that drew it gave it. Positions
// and sizes are centimetres from the top-left corner inside the margins;
// colours are 0x00BBGGRR; flags and styles keep the Long they came as, so
// that the record reads back as it was written.

// A bar or a frame: filled when `preenchido` is not 0, otherwise outlined
// when `estilo` is not 0.
struct Retangulo {
    double x = 0, y = 0, largura = 0, altura = 0;
    int32_t preenchido = 0;
    int32_t corContorno = 0;
    int32_t corPreenchimento = 0;
    int32_t estilo = 0;
};

// A filled box with rounded corners (radius in whole millimetres) and an
// outline of `espessura` millimetres when `estilo` is not 0.
struct Caixa {
    double x = 0, y = 0, largura = 0, altura = 0;
    int32_t arredondamento = 0;
    double espessura = 0;
    int32_t corContorno = 0;
    int32_t corFundo = 0;
    int32_t estilo = 0;
};

// What a one-line and a wrapped text have in common. Alignment: 0 left or
// top, 1 centre, 2 right or bottom.
struct CamposTexto {
    double x = 0, y = 0, largura = 0, altura = 0;
    IdTexto texto;
    int32_t alinhamentoHorizontal = 0;
    int32_t alinhamentoVertical = 0;
    IdTexto fonte;
    double tamanho = 0; // points
    int32_t negrito = 0;
    int32_t italico = 0;
    int32_t sublinhado = 0;
    int32_t cor = 0;
};

// One line: its line breaks show as spaces, and it is clipped to its
// rectangle when it does not fit.
struct Texto : CamposTexto {};

// Wrapped at word boundaries inside its rectangle.
struct TextoMultilinha : CamposTexto {};

// A picture stretched to the rectangle (`modo` 0) or fitted inside it
// keeping its proportions.
struct Imagem {
    double x = 0, y = 0, largura = 0, altura = 0;
    IdFigura figura;
    int32_t modo = 0;
};

using Elemento = std::variant<Retangulo, Caixa, Texto, TextoMultilinha, Imagem>;

} // namespace tarvo
