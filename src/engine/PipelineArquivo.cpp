#include "engine/PipelineArquivo.h"

#include "common/ArquivoAtomico.h"

#include <string_view>

namespace tarvo {

PipelineArquivo::PipelineArquivo(ArquivoAtomico& arquivo)
    : Pipeline("arquivo", nullptr), arquivo_(arquivo) {}

void PipelineArquivo::write(unsigned char const* dados, size_t tamanho) {
    if (falhou_)
        return;
    falhou_ = true;
    arquivo_.Escrever(std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    falhou_ = false;
}

void PipelineArquivo::finish() {}

} // namespace tarvo
