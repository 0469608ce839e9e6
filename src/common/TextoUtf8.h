#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvo {

// Small helpers for UTF-8 text that comes from outside (the database, the
// system) and goes where only well-formed text belongs.
class TextoUtf8 {
public:
    // Length of the valid UTF-8 sequence of a non-ASCII character starting
    // at texto[i], or 0 when the bytes there are not one.
    static size_t Sequencia(std::string_view texto, size_t i);

    // The text as one line for a message: every run of line breaks, control
    // characters and blanks becomes one space, ends are trimmed, bytes that
    // are not UTF-8 become U+FFFD, and beyond `limite` bytes the text is cut
    // at a character boundary and ends in "…".
    static std::string UmaLinha(std::string_view texto, size_t limite);
};

} // namespace tarvo
