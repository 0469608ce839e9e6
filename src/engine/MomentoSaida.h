#pragma once

#include <QDateTime>

namespace tarvo {

// The instant an output shows and records (the footer's date and time, a
// PDF's dates and identifier): now, or, when SOURCE_DATE_EPOCH holds a
// whole number of seconds since 1970, that instant in UTC, so that two runs
// of one build give the same bytes.
class MomentoSaida {
public:
    static QDateTime Agora();
};

} // namespace tarvo
