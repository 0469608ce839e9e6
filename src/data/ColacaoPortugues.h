#pragma once

#include <string_view>

struct UCollator;
struct sqlite3;

namespace tarvo {

// Portuguese dictionary order (letters first, then accents, then case), as
// the reports expect text to be sorted. Registered on a connection it is
// owned by SQLite and freed when the connection drops it.
class ColacaoPortugues {
public:
    static constexpr const char* Nome = "tarvo_pt_br";

    ColacaoPortugues();
    ~ColacaoPortugues();
    ColacaoPortugues(const ColacaoPortugues&) = delete;
    ColacaoPortugues& operator=(const ColacaoPortugues&) = delete;

    // Negative, zero or positive as a sorts before, with or after b (UTF-8).
    // SQLite's sorting threads call it at once: it only reads the collator,
    // as ICU allows from any number of threads.
    int Comparar(std::string_view a, std::string_view b) const;

    // Registers a new instance under Nome; SQLite's failure raises its Erro.
    static void Registrar(sqlite3* db);

private:
    UCollator* colador_ = nullptr;
};

} // namespace tarvo
