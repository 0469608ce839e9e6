#include "common/Erro.h"

#include <utility>

namespace tarvo {

Erro::Erro(long numero, std::string descricao, std::string origem)
    : numero_(numero), descricao_(std::move(descricao)), origem_(std::move(origem)) {}

} // namespace tarvo
