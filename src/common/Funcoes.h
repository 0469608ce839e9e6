#pragma once

#include "common/DataHora.h"
#include "common/Moeda.h"
#include "common/Valor.h"
#include "data/Campo.h"

#include <cstdint>
#include <string>

namespace tarvo {

class Database;

// The null-safe readers through which every column value reaches a report,
// the Portuguese month names and the heading of a DIPAM code group. A value
// that cannot be converted raises Erro 13 (or 6 when out of range) naming
// the field, its table and the value.
class Funcoes {
public:
    // Null gives "", otherwise the standard variant-to-string conversion
    // (numbers with the regional decimal separator, dates as dd/mm/yyyy,
    // with the time when it is not midnight; booleans "True"/"False").
    static std::string CampoTexto(const Campo& Campo);
    // Null gives 0; fractions rounded half to even; text must be a number
    // (Erro 13); out of the 32-bit range Erro 6.
    static int32_t CampoLong(const Campo& Campo);
    // Null gives 0.
    static Moeda CampoMoeda(const Campo& Campo);
    // Null gives the zero date (30/12/1899); numbers are day numbers;
    // text must be an ISO-8601 date (Erro 13).
    static DataHora CampoData(const Campo& Campo);
    // Null gives false; 0 is false, any other number true; the texts
    // "True"/"False" (any case); other text Erro 13.
    static bool CampoLogico(const Campo& Campo);
    // "Janeiro" .. "Dezembro" for 1 to 12, "" otherwise.
    static std::string NomeDoMes(const uint8_t& Mes);
    // The heading of the first tblCódigosDIPAM row whose code starts with
    // Codigo, without one trailing full stop; "" when there is none.
    static std::string CabecalhoCodigoDIPAM(const Database& BancoDados, const std::string& Codigo);
};

} // namespace tarvo
