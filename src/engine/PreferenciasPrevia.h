#pragma once

#include "engine/VistaPaginas.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tarvo {

// What the preview remembers between runs, in the user's Qt settings
// (organisation "RelatoriosTarvo", under $XDG_CONFIG_HOME on Linux): the
// window's place per orientation, the zoom, whether the thumbnails show, and
// the folder of the last PDF saved. Settings are a convenience: one that
// cannot be read is taken as absent, and one that cannot be written is left
// alone without a word.
class PreferenciasPrevia {
public:
    struct Zoom {
        VistaPaginas::Ajuste ajuste = VistaPaginas::Ajuste::Largura;
        double fixo = 1.0; // within the view's limits
    };

    // The window's geometry as QWidget::saveGeometry gives it.
    static std::optional<QByteArray> Geometria(bool paisagem);
    static void GuardarGeometria(bool paisagem, const QByteArray& geometria);

    static Zoom LerZoom();
    static void GuardarZoom(const Zoom& zoom);

    static bool Miniaturas();
    static void GuardarMiniaturas(bool mostrar);

    // Empty when none was kept or it is no longer a folder.
    static QString PastaPdf();
    static void GuardarPastaPdf(const QString& pasta);
};

} // namespace tarvo
