#include "engine/PaginaPrevia.h"

#include <QPainter>

#include <algorithm>

namespace tarvo {

PaginaPrevia::PaginaPrevia(QWidget* pai) : QWidget(pai) {
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void PaginaPrevia::DefinirImagem(const QImage& imagem) {
    imagem_ = imagem;
    const QSize tamanho = imagem_.isNull() ? QSize(0, 0) : imagem_.deviceIndependentSize().toSize();
    setMinimumSize(tamanho + QSize(2 * margem, 2 * margem));
    update();
}

void PaginaPrevia::paintEvent(QPaintEvent*) {
    if (imagem_.isNull()) {
        return;
    }
    QPainter painter(this);
    const QSize tamanho = imagem_.deviceIndependentSize().toSize();
    const int x = std::max(margem, (width() - tamanho.width()) / 2);
    const int y = std::max(margem, (height() - tamanho.height()) / 2);
    const QRect folha(QPoint(x, y), tamanho);
    painter.fillRect(folha.translated(3, 3), QColor(0, 0, 0, 80));
    painter.drawImage(folha.topLeft(), imagem_);
}

} // namespace tarvo
