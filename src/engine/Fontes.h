#pragma once

#include <QFont>
#include <QString>
#include <string_view>

namespace tarvo {

struct CamposTexto;

// The fonts of the reports. The Liberation families are registered from
// their files so that "Arial", "Times New Roman" and "Courier New" resolve to
// their metric twins on every machine, whatever fontconfig would pick.
class Fontes {
public:
    // Registers the fonts once per Qt application; without a QGuiApplication
    // it does nothing.
    static void Registrar();
    // The family that stands for `nome` (case-insensitive).
    static QString Familia(std::string_view nome);
    // The font a text element is drawn with: the family standing for `nome`
    // (its font's text), points, bold, italic, underline, and unhinted
    // outlines, so that the advances are the same at every resolution and
    // the preview lays text out as the paper does.
    static QFont DoTexto(const CamposTexto& texto, std::string_view nome);
};

} // namespace tarvo
