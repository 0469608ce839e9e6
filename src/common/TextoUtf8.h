#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvo {

// Small helpers for UTF-8 text that comes from outside (the database, the
// system) and goes where only well-formed text belongs.
class TextoUtf8 {
public:
    // Where a text too long for its place loses its excess.
    enum class Corte {
        NoFim,  // a value: its beginning is what identifies it
        NoMeio, // a message: the end often holds the reason (a long path, then "File name too
                // long")
    };

    // Length of the valid UTF-8 sequence of a non-ASCII character starting
    // at texto[i], or 0 when the bytes there are not one.
    static size_t Sequencia(std::string_view texto, size_t i);

    // The text as one line for a message: every run of line breaks, control
    // characters and blanks becomes one space, ends are trimmed and bytes
    // that are not UTF-8 become U+FFFD. Beyond `limite` bytes, whole
    // characters are dropped at the end or in the middle and "…" takes their
    // place: at most `limite` bytes of the text are kept.
    static std::string UmaLinha(std::string_view texto, size_t limite, Corte corte);
};

} // namespace tarvo
