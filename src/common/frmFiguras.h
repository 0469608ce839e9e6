#pragma once

#include "common/Figura.h"

namespace tarvo {

// The two pictures shipped inside the library: loaded once on first use and
// shared read-only by every report.
class frmFiguras {
public:
    // The coloured coat of arms: GIF, 66 x 72, 256-colour palette, interlaced.
    static const Figura& imgBrasaoOstranaColorido();
    // The report windows' and the selection dialog's icon: 32 x 32, 16 colours.
    static const Figura& imgIconeR();
};

} // namespace tarvo
