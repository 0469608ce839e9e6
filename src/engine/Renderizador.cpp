#include "engine/Renderizador.h"

#include "engine/Fontes.h"

#include <QColor>
#include <QDateTime>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace tarvo {

namespace {

constexpr double larguraA4 = 21.0;
constexpr double alturaA4 = 29.7;

// Colours come as 0x00BBGGRR.
QRgb Cor(int32_t valor) {
    const auto bits = static_cast<uint32_t>(valor);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

QString Utf8(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

Qt::Alignment Alinhamento(int32_t horizontal, int32_t vertical) {
    const Qt::Alignment h = horizontal == 1   ? Qt::AlignHCenter
                            : horizontal == 2 ? Qt::AlignRight
                                              : Qt::AlignLeft;
    const Qt::Alignment v = vertical == 1   ? Qt::AlignVCenter
                            : vertical == 2 ? Qt::AlignBottom
                                            : Qt::AlignTop;
    return h | v;
}

} // namespace

Renderizador::Renderizador(const Documento& documento, const QDateTime& momento)
    : documento_(documento), data_(momento.toString(QStringLiteral("dd/MM/yyyy"))),
      hora_(momento.toString(QStringLiteral("HH:mm:ss"))),
      total_(QString::number(documento.NumeroPaginas())) {}

QSizeF Renderizador::TamanhoPapel(const Documento& documento) {
    return documento.Paisagem() ? QSizeF(alturaA4, larguraA4) : QSizeF(larguraA4, alturaA4);
}

void Renderizador::DesenharPagina(QPainter& painter, int pagina) {
    Fontes::Registrar();
    const QPaintDevice* dispositivo = painter.device();
    const double porCmX = dispositivo->logicalDpiX() / 2.54;
    const double porCmY = dispositivo->logicalDpiY() / 2.54;
    if (porCmX != porCmX_ || porCmY != porCmY_) {
        fontes_.clear();
        porCmX_ = porCmX;
        porCmY_ = porCmY;
    }
    fonteAtual_ = nullptr;
    canetaDefinida_ = false;
    const auto& margens = documento_.Margens();
    origem_ = QPointF(margens[0] * porCmX_, margens[1] * porCmY_);

    // Crisp hairlines on screen; text and pictures smoothed.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setBrush(Qt::NoBrush);

    size_t posicao = documento_.InicioPagina(pagina);
    const size_t fim = documento_.FimPagina(pagina);
    while (posicao < fim) {
        const ChamadaLida chamada = documento_.Ler(posicao);
        switch (chamada.op) {
        case Operacao::AdicionarRetangulo:
            Retangulo(painter, chamada);
            break;
        case Operacao::AdicionarCaixa:
            Caixa(painter, chamada);
            break;
        case Operacao::AdicionarTexto:
            Texto(painter, chamada, pagina);
            break;
        case Operacao::AdicionarTextoMultilinha:
            TextoMultilinha(painter, chamada, pagina);
            break;
        case Operacao::AdicionarImagem:
            Imagem(painter, chamada);
            break;
        default:
            // Document settings recorded between elements affect the whole
            // document, not this page.
            break;
        }
    }
}

QRectF Renderizador::Area(const ChamadaLida& chamada) const {
    return QRectF(origem_.x() + chamada.Double(0) * porCmX_,
                  origem_.y() + chamada.Double(1) * porCmY_, chamada.Double(2) * porCmX_,
                  chamada.Double(3) * porCmY_);
}

// A line of `mm` millimetres, never thinner than one device pixel.
double Renderizador::Milimetros(double mm) const {
    return std::max(mm * porCmX_ / 10.0, 1.0);
}

void Renderizador::UsarCaneta(QPainter& painter, QRgb cor, double largura) {
    if (!canetaDefinida_ || cor != corCaneta_ || largura != larguraCaneta_) {
        painter.setPen(
            QPen(QColor::fromRgb(cor), largura, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        canetaDefinida_ = true;
        corCaneta_ = cor;
        larguraCaneta_ = largura;
    }
}

// X, Y, width, height, filled flag, outline colour, fill colour, line style.
void Renderizador::Retangulo(QPainter& painter, const ChamadaLida& chamada) {
    const QRectF area = Area(chamada);
    if (chamada.Long(4) != 0) {
        painter.fillRect(area, QColor::fromRgb(Cor(chamada.Long(6))));
    } else if (chamada.Long(7) != 0) {
        UsarCaneta(painter, Cor(chamada.Long(5)), Milimetros(0.0));
        painter.drawRect(area);
    }
}

// X, Y, width, height, corner radius (mm), line width (mm), outline colour,
// fill colour, line style (0 no outline).
void Renderizador::Caixa(QPainter& painter, const ChamadaLida& chamada) {
    const QRectF area = Area(chamada);
    const double raio = chamada.Long(4) * porCmX_ / 10.0;
    if (raio > 0) {
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(Cor(chamada.Long(7))));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawRoundedRect(area, raio, raio);
        painter.restore();
    } else {
        painter.fillRect(area, QColor::fromRgb(Cor(chamada.Long(7))));
    }
    if (chamada.Long(8) == 0) {
        return;
    }
    UsarCaneta(painter, Cor(chamada.Long(6)), Milimetros(chamada.Double(5)));
    if (raio > 0) {
        painter.drawRoundedRect(area, raio, raio);
    } else {
        painter.drawRect(area);
    }
}

// Texts: X, Y, width, height, text, horizontal and vertical alignment, font,
// size, bold, italic, underline, colour.
const Renderizador::Fonte& Renderizador::UsarFonte(QPainter& painter, const ChamadaLida& chamada) {
    const std::string_view nome = chamada.Texto(7);
    const double tamanho = chamada.Double(8);
    const int estilo = (chamada.Long(9) != 0 ? 1 : 0) | (chamada.Long(10) != 0 ? 2 : 0) |
                       (chamada.Long(11) != 0 ? 4 : 0);
    const Fonte* fonte = nullptr;
    for (const Fonte& candidata : fontes_) {
        if (candidata.tamanho == tamanho && candidata.estilo == estilo && candidata.nome == nome) {
            fonte = &candidata;
            break;
        }
    }
    if (fonte == nullptr) {
        QFont qfonte(Fontes::Familia(nome));
        qfonte.setPointSizeF(tamanho);
        qfonte.setBold((estilo & 1) != 0);
        qfonte.setItalic((estilo & 2) != 0);
        qfonte.setUnderline((estilo & 4) != 0);
        // Unhinted outlines: the same advances at every resolution, so the
        // preview lays text out exactly as the paper does.
        qfonte.setHintingPreference(QFont::PreferNoHinting);
        fontes_.push_back(Fonte{std::string(nome),
                                tamanho,
                                estilo,
                                qfonte,
                                QFontMetricsF(qfonte, painter.device()),
                                {}});
        fonte = &fontes_.back();
    }
    if (fonte != fonteAtual_) {
        painter.setFont(fonte->fonte);
        fonteAtual_ = fonte;
    }
    // Text takes only the pen's colour; keeping the width saves pen changes.
    UsarCaneta(painter, Cor(chamada.Long(12)), canetaDefinida_ ? larguraCaneta_ : 1.0);
    return *fonte;
}

void Renderizador::Texto(QPainter& painter, const ChamadaLida& chamada, int pagina) {
    const QRectF area = Area(chamada);
    const Fonte& fonte = UsarFonte(painter, chamada);
    QString texto = Substituir(chamada.Texto(4), pagina);
    // One line: line breaks show as spaces.
    if (texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r'))) {
        texto.replace(QLatin1String("\r\n"), QLatin1String(" "));
        texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
        texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    if (texto.isEmpty())
        return;
    // Placing the baseline by hand is much cheaper than the rectangle form
    // of drawText, which lays the text out again on every call.
    auto medida = fonte.larguras.constFind(texto);
    if (medida == fonte.larguras.cend())
        medida = fonte.larguras.insert(texto, fonte.metricas.horizontalAdvance(texto));
    const double largura = *medida;
    const double ascendente = fonte.metricas.ascent();
    const double altura = ascendente + fonte.metricas.descent();
    double x = area.left();
    if (chamada.Long(5) == 1) {
        x += (area.width() - largura) / 2.0;
    } else if (chamada.Long(5) == 2) {
        x = area.right() - largura;
    }
    double base = area.top() + ascendente;
    if (chamada.Long(6) == 1) {
        base = area.top() + (area.height() - altura) / 2.0 + ascendente;
    } else if (chamada.Long(6) == 2) {
        base = area.bottom() - fonte.metricas.descent();
    }
    const bool cabe = largura <= area.width() && altura <= area.height();
    if (!cabe) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    painter.drawText(QPointF(x, base), texto);
    if (!cabe) {
        painter.restore();
    }
}

void Renderizador::TextoMultilinha(QPainter& painter, const ChamadaLida& chamada, int pagina) {
    const QRectF area = Area(chamada);
    UsarFonte(painter, chamada);
    QString texto = Substituir(chamada.Texto(4), pagina);
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Wraps at word boundaries and clips to the rectangle when it overflows.
    painter.drawText(
        area, static_cast<int>(Alinhamento(chamada.Long(5), chamada.Long(6))) | Qt::TextWordWrap,
        texto);
}

// X, Y, width, height, picture, mode (0 stretched to the rectangle,
// otherwise fitted inside it keeping its proportions).
void Renderizador::Imagem(QPainter& painter, const ChamadaLida& chamada) {
    const QRectF area = Area(chamada);
    const QImage& imagem = chamada.Imagem(4).Imagem();
    if (chamada.Long(5) == 0) {
        painter.drawImage(area, imagem);
        return;
    }
    QSizeF tamanho = QSizeF(imagem.size()).scaled(area.size(), Qt::KeepAspectRatio);
    QRectF destino(QPointF(), tamanho);
    destino.moveCenter(area.center());
    painter.drawImage(destino, imagem);
}

QString Renderizador::Substituir(std::string_view texto, int pagina) const {
    size_t marca = texto.find("%%");
    if (marca == std::string_view::npos) {
        return Utf8(texto);
    }
    QString resultado;
    size_t inicio = 0;
    while (marca != std::string_view::npos && marca + 2 < texto.size()) {
        resultado += Utf8(texto.substr(inicio, marca - inicio));
        switch (texto[marca + 2]) {
        case 'D':
            resultado += data_;
            break;
        case 'H':
            resultado += hora_;
            break;
        case 'p':
            resultado += QString::number(pagina);
            break;
        case 'P':
            resultado += total_;
            break;
        default:
            // Not a placeholder: keep the "%%" and look on after it.
            resultado += QLatin1String("%%");
            inicio = marca + 2;
            marca = texto.find("%%", inicio);
            continue;
        }
        inicio = marca + 3;
        marca = texto.find("%%", inicio);
    }
    resultado += Utf8(texto.substr(inicio));
    return resultado;
}

} // namespace tarvo
