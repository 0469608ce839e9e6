#pragma once

#include <QString>
#include <string_view>

namespace tarvo {

// The fonts of the reports in Qt. The Liberation families are registered
// from their files so that Qt finds the same files the layout shapes with
// ("Arial", "Times New Roman" and "Courier New" are their metric twins) on
// every machine, whatever fontconfig would pick, and Qt's PDF writer embeds
// them.
class Fontes {
public:
    // Registers the fonts once per Qt application; without a QGuiApplication
    // it does nothing.
    static void Registrar();
    // The family that stands for `nome` (case-insensitive).
    static QString Familia(std::string_view nome);
};

} // namespace tarvo
