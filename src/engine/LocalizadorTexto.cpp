#include "engine/LocalizadorTexto.h"

#include "engine/Documento.h"
#include "engine/Fontes.h"
#include "engine/Renderizador.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <unordered_map>

namespace tarvo {

namespace {

// Text is measured at a fine resolution and converted back to centimetres.
constexpr int dpiMedida = 1200;
constexpr double pixelsPorCm = dpiMedida / 2.54;

bool ETexto(Operacao op) {
    return op == Operacao::AdicionarTexto || op == Operacao::AdicionarTextoMultilinha;
}

// A device of dpiMedida, for measuring.
QImage Medida() {
    QImage medida(1, 1, QImage::Format_RGB32);
    const int pontosPorMetro = qRound(dpiMedida / 0.0254);
    medida.setDotsPerMeterX(pontosPorMetro);
    medida.setDotsPerMeterY(pontosPorMetro);
    return medida;
}

// One line, as Renderizador::Texto places it: the baseline by hand from the
// font's ascent and descent, the line clipped to its rectangle when it does
// not fit.
std::vector<QRectF> UmaLinha(QPaintDevice* medida, const QRectF& area, const ChamadaLida& chamada,
                             const QString& texto, qsizetype inicio, qsizetype fim) {
    const QFontMetricsF metricas(Fontes::DaChamada(chamada), medida);
    const double largura = metricas.horizontalAdvance(texto);
    const double altura = metricas.ascent() + metricas.descent();
    const QPointF linha =
        Renderizador::PosicaoLinha(area, largura, metricas, chamada.Long(5), chamada.Long(6));
    const double x = linha.x();
    const double topo = linha.y();
    const double x0 = x + metricas.horizontalAdvance(texto.left(inicio));
    const double x1 = x + metricas.horizontalAdvance(texto.left(fim));
    QRectF retangulo(QPointF(x0, topo), QPointF(x1, topo + altura));
    if (largura > area.width() || altura > area.height()) {
        retangulo = retangulo.intersected(area);
    }
    if (retangulo.isEmpty()) {
        return {};
    }
    return {retangulo};
}

// Wrapped text, as QPainter::drawText lays out a rectangle with word wrap:
// lines on whole pixels, one leading between them, the block aligned in the
// rectangle and each line aligned on its own, lines past the bottom dropped.
std::vector<QRectF> VariasLinhas(QPaintDevice* medida, const QRectF& area,
                                 const ChamadaLida& chamada, const QString& texto, qsizetype inicio,
                                 qsizetype fim) {
    const QFont fonte = Fontes::DaChamada(chamada);
    QString linhas = texto;
    linhas.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(linhas, fonte, medida);
    QTextOption opcao;
    opcao.setWrapMode(QTextOption::WordWrap);
    opcao.setAlignment(Qt::AlignLeft);
    layout.setTextOption(opcao);
    const double entrelinha = QFontMetricsF(fonte, medida).leading();
    double altura = -entrelinha;
    double largura = 0;
    layout.beginLayout();
    while (true) {
        QTextLine linha = layout.createLine();
        if (!linha.isValid()) {
            break;
        }
        linha.setLineWidth(std::max(0.0, area.width()));
        altura = qCeil(altura + entrelinha);
        linha.setPosition(QPointF(0, altura));
        altura += linha.height();
        largura = std::max(largura, linha.naturalTextWidth());
        if (altura >= area.height()) {
            break;
        }
    }
    layout.endLayout();

    double y = area.top();
    if (chamada.Long(6) == 2) {
        y += area.height() - altura;
    } else if (chamada.Long(6) == 1) {
        y += (area.height() - altura) / 2;
    }
    const bool recorta = largura > area.width() || altura > area.height();
    std::vector<QRectF> retangulos;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine linha = layout.lineAt(i);
        const qsizetype comeco = std::max<qsizetype>(inicio, linha.textStart());
        const qsizetype final = std::min<qsizetype>(fim, linha.textStart() + linha.textLength());
        if (comeco >= final) {
            continue;
        }
        double x = area.left();
        if (chamada.Long(5) == 2) {
            x += area.width() - linha.horizontalAdvance();
        } else if (chamada.Long(5) == 1) {
            x += (area.width() - linha.horizontalAdvance()) / 2;
        }
        QRectF retangulo(
            QPointF(x + linha.cursorToX(static_cast<int>(comeco)), y + linha.y()),
            QPointF(x + linha.cursorToX(static_cast<int>(final)), y + linha.y() + linha.height()));
        if (recorta) {
            retangulo = retangulo.intersected(area);
        }
        if (!retangulo.isEmpty()) {
            retangulos.push_back(retangulo);
        }
    }
    return retangulos;
}

} // namespace

LocalizadorTexto::LocalizadorTexto(const Documento& documento, const QDateTime& momento)
    : documento_(documento), marcadores_(momento, documento.NumeroPaginas()) {}

QString LocalizadorTexto::Dobrar(const QString& texto) {
    QString dobrado = texto.toLower();
    for (QChar& letra : dobrado) {
        if (letra.unicode() < 0x80) {
            continue;
        }
        if (letra.decompositionTag() == QChar::Canonical) {
            const QString partes = letra.decomposition();
            if (!partes.isEmpty() && !partes.front().isSurrogate()) {
                letra = partes.front();
            }
        }
    }
    // Lower case may change the length of rare letters; then the positions
    // of the original are kept instead.
    return dobrado.size() == texto.size() ? dobrado : texto;
}

std::vector<LocalizadorTexto::Ocorrencia> LocalizadorTexto::Buscar(const QString& termo) const {
    std::vector<Ocorrencia> ocorrencias;
    const QString procurado = Dobrar(termo);
    if (procurado.trimmed().isEmpty()) {
        return ocorrencias;
    }
    // Texts without placeholders read the same on every page: whether one
    // holds the term is worked out once per distinct text.
    std::unordered_map<const char*, bool> semOcorrencia;
    for (int pagina = 1; pagina <= documento_.NumeroPaginas(); ++pagina) {
        size_t posicao = documento_.InicioPagina(pagina);
        const size_t fim = documento_.FimPagina(pagina);
        while (posicao < fim) {
            const size_t chamada = posicao;
            const ChamadaLida lida = documento_.Ler(posicao);
            if (!ETexto(lida.op)) {
                continue;
            }
            const std::string_view bruto = lida.Texto(4);
            const bool fixo = bruto.find("%%") == std::string_view::npos;
            if (fixo) {
                const auto conhecido = semOcorrencia.find(bruto.data());
                if (conhecido != semOcorrencia.end() && conhecido->second) {
                    continue;
                }
            }
            const QString texto = Dobrar(TextoMostrado(chamada, pagina));
            qsizetype indice = texto.indexOf(procurado);
            if (fixo) {
                semOcorrencia[bruto.data()] = indice < 0;
            }
            while (indice >= 0) {
                ocorrencias.push_back({pagina, chamada, indice, procurado.size()});
                indice = texto.indexOf(procurado, indice + procurado.size());
            }
        }
    }
    return ocorrencias;
}

QString LocalizadorTexto::TextoMostrado(size_t chamada, int pagina) const {
    size_t posicao = chamada;
    return marcadores_.Mostrado(documento_.Ler(posicao), pagina);
}

std::vector<QRectF> LocalizadorTexto::Retangulos(const Ocorrencia& ocorrencia) const {
    size_t posicao = ocorrencia.chamada;
    const ChamadaLida chamada = documento_.Ler(posicao);
    if (!ETexto(chamada.op)) {
        return {};
    }
    const auto& margens = documento_.Margens();
    const QRectF area((margens[0] + chamada.Double(0)) * pixelsPorCm,
                      (margens[1] + chamada.Double(1)) * pixelsPorCm,
                      chamada.Double(2) * pixelsPorCm, chamada.Double(3) * pixelsPorCm);
    const QString texto = TextoMostrado(ocorrencia.chamada, ocorrencia.pagina);
    QImage medida = Medida();
    const qsizetype fim = std::min(ocorrencia.inicio + ocorrencia.tamanho, texto.size());
    std::vector<QRectF> retangulos =
        chamada.op == Operacao::AdicionarTexto
            ? UmaLinha(&medida, area, chamada, texto, ocorrencia.inicio, fim)
            : VariasLinhas(&medida, area, chamada, texto, ocorrencia.inicio, fim);
    for (QRectF& retangulo : retangulos) {
        retangulo = QRectF(retangulo.topLeft() / pixelsPorCm, retangulo.size() / pixelsPorCm);
    }
    return retangulos;
}

} // namespace tarvo
