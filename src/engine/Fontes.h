#pragma once

#include <QString>
#include <string_view>

namespace tarvo {

// The fonts of the reports. The Liberation families are registered from
// their files so that "Arial", "Times New Roman" and "Courier New" resolve to
// their metric twins on every machine, whatever fontconfig would pick.
class Fontes {
public:
    // Registers the fonts once per process; needs a QGuiApplication.
    static void Registrar();
    // The family that stands for `nome` (case-insensitive).
    static QString Familia(std::string_view nome);
};

} // namespace tarvo
