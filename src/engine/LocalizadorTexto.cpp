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
std::vector<QRectF> UmaLinha(QPaintDevice* medida, const QRectF& area, const CamposTexto& elemento,
                             const QFont& fonte, const QString& texto, qsizetype inicio,
                             qsizetype fim) {
    const QFontMetricsF metricas(fonte, medida);
    const double largura = metricas.horizontalAdvance(texto);
    const double altura = metricas.ascent() + metricas.descent();
    const QPointF linha = Renderizador::PosicaoLinha(
        area, largura, metricas, elemento.alinhamentoHorizontal, elemento.alinhamentoVertical);
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
                                 const CamposTexto& elemento, const QFont& fonte,
                                 const QString& texto, qsizetype inicio, qsizetype fim) {
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
    if (elemento.alinhamentoVertical == 2) {
        y += area.height() - altura;
    } else if (elemento.alinhamentoVertical == 1) {
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
        if (elemento.alinhamentoHorizontal == 2) {
            x += area.width() - linha.horizontalAdvance();
        } else if (elemento.alinhamentoHorizontal == 1) {
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
    std::unordered_map<uint32_t, bool> semOcorrencia;
    for (int pagina = 1; pagina <= documento_.NumeroPaginas(); ++pagina) {
        const size_t elementos = documento_.Elementos(pagina).size();
        for (size_t elemento = 0; elemento < elementos; ++elemento) {
            bool multilinha = false;
            const std::optional<CamposTexto> campos = Texto(pagina, elemento, &multilinha);
            if (!campos) {
                continue;
            }
            const std::string_view bruto = documento_.TextoDe(campos->texto);
            const bool fixo = bruto.find("%%") == std::string_view::npos;
            if (fixo) {
                const auto conhecido = semOcorrencia.find(campos->texto.indice);
                if (conhecido != semOcorrencia.end() && conhecido->second) {
                    continue;
                }
            }
            const QString texto = Dobrar(Mostrado(*campos, multilinha, pagina));
            qsizetype indice = texto.indexOf(procurado);
            if (fixo) {
                semOcorrencia[campos->texto.indice] = indice < 0;
            }
            while (indice >= 0) {
                ocorrencias.push_back({pagina, elemento, indice, procurado.size()});
                indice = texto.indexOf(procurado, indice + procurado.size());
            }
        }
    }
    return ocorrencias;
}

std::optional<CamposTexto> LocalizadorTexto::Texto(int pagina, size_t elemento,
                                                   bool* multilinha) const {
    const Elemento achado = documento_.Elementos(pagina).at(elemento);
    if (const auto* texto = std::get_if<tarvo::Texto>(&achado)) {
        *multilinha = false;
        return *texto;
    }
    if (const auto* texto = std::get_if<TextoMultilinha>(&achado)) {
        *multilinha = true;
        return *texto;
    }
    return std::nullopt;
}

QString LocalizadorTexto::Mostrado(const CamposTexto& texto, bool multilinha, int pagina) const {
    return marcadores_.Mostrado(documento_.TextoDe(texto.texto), multilinha, pagina);
}

std::vector<QRectF> LocalizadorTexto::Retangulos(const Ocorrencia& ocorrencia) const {
    bool multilinha = false;
    const std::optional<CamposTexto> campos =
        Texto(ocorrencia.pagina, ocorrencia.elemento, &multilinha);
    if (!campos) {
        return {};
    }
    const Margens& margens = documento_.Definicoes().margens;
    const QRectF area((margens.esquerda + campos->x) * pixelsPorCm,
                      (margens.superior + campos->y) * pixelsPorCm, campos->largura * pixelsPorCm,
                      campos->altura * pixelsPorCm);
    const QString texto = Mostrado(*campos, multilinha, ocorrencia.pagina);
    const QFont fonte = Fontes::DoTexto(*campos, documento_.TextoDe(campos->fonte));
    QImage medida = Medida();
    const qsizetype fim = std::min(ocorrencia.inicio + ocorrencia.tamanho, texto.size());
    std::vector<QRectF> retangulos =
        multilinha ? VariasLinhas(&medida, area, *campos, fonte, texto, ocorrencia.inicio, fim)
                   : UmaLinha(&medida, area, *campos, fonte, texto, ocorrencia.inicio, fim);
    for (QRectF& retangulo : retangulos) {
        retangulo = QRectF(retangulo.topLeft() / pixelsPorCm, retangulo.size() / pixelsPorCm);
    }
    return retangulos;
}

} // namespace tarvo
