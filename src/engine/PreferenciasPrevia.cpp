#include "engine/PreferenciasPrevia.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Each call opens the settings afresh: Qt shares one cache per file within
// the process, and writes it out when the last user lets go.
QSettings Configuracao() {
    return QSettings(QStringLiteral("RelatoriosTarvo"), QStringLiteral("Previa"));
}

QString ChaveGeometria(bool paisagem) {
    return paisagem ? QStringLiteral("janela/paisagem") : QStringLiteral("janela/retrato");
}

} // namespace

std::optional<QByteArray> PreferenciasPrevia::Geometria(bool paisagem) {
    const QVariant valor = Configuracao().value(ChaveGeometria(paisagem));
    if (!valor.isValid() || valor.toByteArray().isEmpty()) {
        return std::nullopt;
    }
    return valor.toByteArray();
}

void PreferenciasPrevia::GuardarGeometria(bool paisagem, const QByteArray& geometria) {
    Configuracao().setValue(ChaveGeometria(paisagem), geometria);
}

PreferenciasPrevia::Zoom PreferenciasPrevia::LerZoom() {
    const QSettings configuracao = Configuracao();
    Zoom zoom;
    const QString modo = configuracao.value(QStringLiteral("zoom/modo")).toString();
    if (modo == QLatin1String("pagina")) {
        zoom.ajuste = VistaPaginas::Ajuste::Pagina;
    } else if (modo == QLatin1String("fixo")) {
        bool numero = false;
        const double fixo = configuracao.value(QStringLiteral("zoom/fixo")).toDouble(&numero);
        if (numero && std::isfinite(fixo)) {
            zoom.ajuste = VistaPaginas::Ajuste::Fixo;
            zoom.fixo = std::clamp(fixo, VistaPaginas::zoomMinimo, VistaPaginas::zoomMaximo);
        }
    }
    return zoom;
}

void PreferenciasPrevia::GuardarZoom(const Zoom& zoom) {
    QSettings configuracao = Configuracao();
    switch (zoom.ajuste) {
    case VistaPaginas::Ajuste::Largura:
        configuracao.setValue(QStringLiteral("zoom/modo"), QStringLiteral("largura"));
        break;
    case VistaPaginas::Ajuste::Pagina:
        configuracao.setValue(QStringLiteral("zoom/modo"), QStringLiteral("pagina"));
        break;
    case VistaPaginas::Ajuste::Fixo:
        configuracao.setValue(QStringLiteral("zoom/modo"), QStringLiteral("fixo"));
        configuracao.setValue(QStringLiteral("zoom/fixo"), zoom.fixo);
        break;
    }
}

bool PreferenciasPrevia::Miniaturas() {
    return Configuracao().value(QStringLiteral("miniaturas"), false).toBool();
}

void PreferenciasPrevia::GuardarMiniaturas(bool mostrar) {
    Configuracao().setValue(QStringLiteral("miniaturas"), mostrar);
}

QString PreferenciasPrevia::PastaPdf() {
    const QString pasta = Configuracao().value(QStringLiteral("pastaPdf")).toString();
    return !pasta.isEmpty() && QFileInfo(pasta).isDir() ? pasta : QString();
}

void PreferenciasPrevia::GuardarPastaPdf(const QString& pasta) {
    Configuracao().setValue(QStringLiteral("pastaPdf"), pasta);
}

} // namespace tarvo
