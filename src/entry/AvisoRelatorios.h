#pragma once

#include <cstdint>
#include <string>

namespace tarvo {

class Database;

// The one sentence, in Portuguese, on what a build would leave blank or out:
// a declaration or taxpayer that is not in the database, a mask that selects
// no report. Empty when nothing.
class AvisoRelatorios {
public:
    static std::string Texto(const Database& BancoDados, const std::string& IE,
                             const int32_t& Declaracao, const int32_t& Mascara);
};

} // namespace tarvo
