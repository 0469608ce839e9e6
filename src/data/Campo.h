#pragma once

#include "common/Valor.h"

#include <string>
#include <utility>

namespace tarvo {

// A field of a recordset's current row: its value, and its name and table so
// that a reader that cannot convert the value can say which field it was. A
// plain value is accepted where a field is expected, without a name.
class Campo : public Valor {
public:
    Campo(Valor valor) : Valor(std::move(valor)) {}
    Campo(Valor valor, std::string nome, std::string tabela)
        : Valor(std::move(valor)), nome_(std::move(nome)), tabela_(std::move(tabela)) {}

    const std::string& Name() const { return nome_; }
    // The table the column comes from; empty for a computed column.
    const std::string& SourceTable() const { return tabela_; }

private:
    std::string nome_;
    std::string tabela_;
};

} // namespace tarvo
