#include "engine/IconesPrevia.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include <optional>

namespace tarvo {

namespace {

const char* NomeTema(IconesPrevia::Tipo tipo) {
    using Tipo = IconesPrevia::Tipo;
    switch (tipo) {
    case Tipo::Imprimir:
        return "document-print";
    case Tipo::Salvar:
        return "document-save-as";
    case Tipo::Fechar:
        return "window-close";
    case Tipo::Miniaturas:
        return "view-sidebar";
    case Tipo::Primeira:
        return "go-top";
    case Tipo::Anterior:
        return "go-up";
    case Tipo::Proxima:
        return "go-down";
    case Tipo::Ultima:
        return "go-bottom";
    case Tipo::Reduzir:
        return "zoom-out";
    case Tipo::Ampliar:
        return "zoom-in";
    case Tipo::AjustarLargura:
        return "zoom-fit-width";
    case Tipo::PaginaInteira:
        return "zoom-fit-best";
    case Tipo::Localizar:
        return "edit-find";
    case Tipo::Mao:
        return "transform-browse";
    case Tipo::TelaCheia:
        return "view-fullscreen";
    }
    return "";
}

std::optional<QStyle::StandardPixmap> Padrao(IconesPrevia::Tipo tipo) {
    using Tipo = IconesPrevia::Tipo;
    switch (tipo) {
    case Tipo::Salvar:
        return QStyle::SP_DialogSaveButton;
    case Tipo::Fechar:
        return QStyle::SP_DialogCloseButton;
    case Tipo::Anterior:
        return QStyle::SP_ArrowUp;
    case Tipo::Proxima:
        return QStyle::SP_ArrowDown;
    default:
        return std::nullopt;
    }
}

// A page outline in the unit square.
void Folha(QPainter& painter, const QRectF& area) {
    painter.setBrush(Qt::white);
    painter.drawRect(area);
    painter.setBrush(Qt::NoBrush);
}

void Seta(QPainter& painter, QPointF ponta, double dx, double dy) {
    QPainterPath seta;
    seta.moveTo(ponta);
    seta.lineTo(ponta + QPointF(-dy * 0.18 - dx * 0.18, dx * 0.18 - dy * 0.18));
    seta.lineTo(ponta + QPointF(dy * 0.18 - dx * 0.18, -dx * 0.18 - dy * 0.18));
    seta.closeSubpath();
    painter.fillPath(seta, painter.pen().color());
}

void Lupa(QPainter& painter, int sinal) {
    painter.drawEllipse(QPointF(0.42, 0.42), 0.27, 0.27);
    QPen grossa = painter.pen();
    grossa.setWidthF(grossa.widthF() * 2);
    painter.save();
    painter.setPen(grossa);
    painter.drawLine(QPointF(0.62, 0.62), QPointF(0.9, 0.9));
    painter.restore();
    if (sinal != 0) {
        painter.drawLine(QPointF(0.3, 0.42), QPointF(0.54, 0.42));
    }
    if (sinal > 0) {
        painter.drawLine(QPointF(0.42, 0.3), QPointF(0.42, 0.54));
    }
}

void Desenhar(QPainter& painter, IconesPrevia::Tipo tipo) {
    using Tipo = IconesPrevia::Tipo;
    switch (tipo) {
    case Tipo::Imprimir:
        Folha(painter, QRectF(0.28, 0.08, 0.44, 0.3));
        painter.setBrush(painter.pen().color());
        painter.drawRoundedRect(QRectF(0.08, 0.38, 0.84, 0.34), 0.06, 0.06);
        Folha(painter, QRectF(0.28, 0.58, 0.44, 0.34));
        break;
    case Tipo::Salvar:
        painter.drawRect(QRectF(0.12, 0.12, 0.76, 0.76));
        painter.drawRect(QRectF(0.3, 0.12, 0.4, 0.26));
        painter.drawRect(QRectF(0.24, 0.56, 0.52, 0.32));
        break;
    case Tipo::Fechar:
        painter.drawLine(QPointF(0.2, 0.2), QPointF(0.8, 0.8));
        painter.drawLine(QPointF(0.8, 0.2), QPointF(0.2, 0.8));
        break;
    case Tipo::Miniaturas:
        painter.drawRect(QRectF(0.08, 0.12, 0.84, 0.76));
        painter.drawLine(QPointF(0.38, 0.12), QPointF(0.38, 0.88));
        painter.drawRect(QRectF(0.15, 0.22, 0.16, 0.2));
        painter.drawRect(QRectF(0.15, 0.56, 0.16, 0.2));
        break;
    case Tipo::Primeira:
    case Tipo::Ultima: {
        const bool topo = tipo == Tipo::Primeira;
        painter.drawLine(QPointF(0.2, topo ? 0.14 : 0.86), QPointF(0.8, topo ? 0.14 : 0.86));
        painter.drawLine(QPointF(0.5, topo ? 0.3 : 0.2), QPointF(0.5, topo ? 0.8 : 0.7));
        Seta(painter, QPointF(0.5, topo ? 0.26 : 0.74), 0, topo ? -1 : 1);
        break;
    }
    case Tipo::Anterior:
    case Tipo::Proxima: {
        const bool sobe = tipo == Tipo::Anterior;
        painter.drawLine(QPointF(0.5, sobe ? 0.3 : 0.14), QPointF(0.5, sobe ? 0.86 : 0.7));
        Seta(painter, QPointF(0.5, sobe ? 0.14 : 0.86), 0, sobe ? -1 : 1);
        break;
    }
    case Tipo::Reduzir:
        Lupa(painter, -1);
        break;
    case Tipo::Ampliar:
        Lupa(painter, 1);
        break;
    case Tipo::Localizar:
        Lupa(painter, 0);
        break;
    case Tipo::AjustarLargura:
        Folha(painter, QRectF(0.14, 0.1, 0.72, 0.8));
        painter.drawLine(QPointF(0.3, 0.5), QPointF(0.7, 0.5));
        Seta(painter, QPointF(0.22, 0.5), -1, 0);
        Seta(painter, QPointF(0.78, 0.5), 1, 0);
        break;
    case Tipo::PaginaInteira:
        Folha(painter, QRectF(0.22, 0.08, 0.56, 0.84));
        painter.drawLine(QPointF(0.5, 0.3), QPointF(0.5, 0.7));
        Seta(painter, QPointF(0.5, 0.18), 0, -1);
        Seta(painter, QPointF(0.5, 0.82), 0, 1);
        break;
    case Tipo::Mao: {
        // An open hand: four fingers over the palm, the thumb to the left.
        QPainterPath mao;
        mao.addRoundedRect(QRectF(0.28, 0.46, 0.5, 0.44), 0.14, 0.14);
        for (const double x : {0.28, 0.41, 0.54, 0.67}) {
            QPainterPath dedo;
            dedo.addRoundedRect(QRectF(x, x == 0.28 || x == 0.67 ? 0.2 : 0.1, 0.11, 0.5), 0.055,
                                0.055);
            mao = mao.united(dedo);
        }
        QPainterPath polegar;
        polegar.moveTo(0.3, 0.62);
        polegar.lineTo(0.16, 0.46);
        polegar.cubicTo(0.08, 0.38, 0.04, 0.5, 0.12, 0.58);
        polegar.lineTo(0.3, 0.82);
        polegar.closeSubpath();
        mao = mao.united(polegar);
        painter.setBrush(Qt::white);
        painter.drawPath(mao.simplified());
        painter.setBrush(Qt::NoBrush);
        break;
    }
    case Tipo::TelaCheia:
        // Four corners pointing out.
        for (const QPointF canto :
             {QPointF(0.12, 0.12), QPointF(0.88, 0.12), QPointF(0.12, 0.88), QPointF(0.88, 0.88)}) {
            const double dx = canto.x() < 0.5 ? 1 : -1;
            const double dy = canto.y() < 0.5 ? 1 : -1;
            painter.drawLine(canto, canto + QPointF(dx * 0.26, 0));
            painter.drawLine(canto, canto + QPointF(0, dy * 0.26));
        }
        break;
    }
}

} // namespace

QIcon IconesPrevia::Icone(Tipo tipo, const QStyle* estilo) {
    const QIcon tema = QIcon::fromTheme(QString::fromLatin1(NomeTema(tipo)));
    if (!tema.isNull()) {
        return tema;
    }
    if (const auto padrao = Padrao(tipo); padrao && estilo != nullptr) {
        const QIcon icone = estilo->standardIcon(*padrao);
        if (!icone.isNull()) {
            return icone;
        }
    }
    return Desenhado(tipo, QApplication::palette().color(QPalette::WindowText));
}

QIcon IconesPrevia::Desenhado(Tipo tipo, const QColor& cor) {
    QIcon icone;
    for (const int lado : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(lado, lado);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(lado, lado);
        painter.setPen(QPen(cor, 1.6 / lado * (lado >= 32 ? 1.5 : 1.0), Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        Desenhar(painter, tipo);
        painter.end();
        icone.addPixmap(pixmap);
    }
    return icone;
}

} // namespace tarvo
