#include "engine/MomentoSaida.h"

#include <QTimeZone>

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace tarvo {

QDateTime MomentoSaida::Agora() {
    const char* valor = std::getenv("SOURCE_DATE_EPOCH");
    if (valor == nullptr || *valor == '\0')
        return QDateTime::currentDateTime();
    long long segundos = 0;
    const char* fim = valor + std::strlen(valor);
    const auto [ate, erro] = std::from_chars(valor, fim, segundos);
    // Anything but a plain non-negative number is ignored, as the convention
    // asks: the output then shows the real instant.
    if (erro != std::errc() || ate != fim || segundos < 0 || segundos > 253402300799LL)
        return QDateTime::currentDateTime();
    return QDateTime::fromSecsSinceEpoch(segundos, QTimeZone::utc());
}

} // namespace tarvo
