#pragma once

#include <QIcon>

class QStyle;

namespace tarvo {

// The icons of the preview window: the desktop theme's where it has them,
// else Qt's standard ones, else a simple drawing of our own, so that no
// button is ever blank.
class IconesPrevia {
public:
    enum class Tipo {
        Imprimir,
        Salvar,
        Fechar,
        Miniaturas,
        Primeira,
        Anterior,
        Proxima,
        Ultima,
        Reduzir,
        Ampliar,
        AjustarLargura,
        PaginaInteira,
        Localizar,
        Mao,
        TelaCheia,
    };

    static QIcon Icone(Tipo tipo, const QStyle* estilo);

private:
    static QIcon Desenhado(Tipo tipo, const QColor& cor);
};

} // namespace tarvo
