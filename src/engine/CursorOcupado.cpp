#include "engine/CursorOcupado.h"

#include <QCursor>
#include <QGuiApplication>

namespace tarvo {

CursorOcupado::CursorOcupado() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CursorOcupado::~CursorOcupado() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace tarvo
