#include "engine/TabelaTextos.h"

#include <RelatoriosTarvo/Erro.h>

#include <functional>
#include <limits>

namespace tarvo {

namespace {

size_t Hash(std::string_view texto) {
    return std::hash<std::string_view>{}(texto);
}

} // namespace

TabelaTextos::TabelaTextos() : inicios_{0}, vagas_(64, 0) {}

uint32_t TabelaTextos::Indice(std::string_view texto) {
    const size_t hash = Hash(texto);
    const size_t vaga = Vaga(texto, hash);
    if (vagas_[vaga] != 0) {
        return vagas_[vaga] - 1;
    }
    if (dados_.size() + texto.size() > std::numeric_limits<uint32_t>::max()) {
        throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo de textos.",
                   TARVO_ORIGEM_MOTOR);
    }
    const auto indice = static_cast<uint32_t>(Quantidade());
    dados_.append(texto);
    inicios_.push_back(static_cast<uint32_t>(dados_.size()));
    vagas_[vaga] = indice + 1;
    // At most three quarters full: probes stay short.
    if (Quantidade() * 4 > vagas_.size() * 3) {
        Ampliar();
    }
    return indice;
}

std::string_view TabelaTextos::Texto(uint32_t indice) const {
    const uint32_t inicio = inicios_.at(indice);
    return std::string_view(dados_).substr(inicio, inicios_.at(indice + 1) - inicio);
}

size_t TabelaTextos::BytesOcupados() const {
    return dados_.capacity() + inicios_.capacity() * sizeof(uint32_t) +
           vagas_.capacity() * sizeof(uint32_t);
}

void TabelaTextos::Compactar() {
    dados_.shrink_to_fit();
    inicios_.shrink_to_fit();
}

size_t TabelaTextos::Vaga(std::string_view texto, size_t hash) const {
    const size_t mascara = vagas_.size() - 1;
    size_t vaga = hash & mascara;
    while (vagas_[vaga] != 0 && Texto(vagas_[vaga] - 1) != texto) {
        vaga = (vaga + 1) & mascara;
    }
    return vaga;
}

void TabelaTextos::Ampliar() {
    vagas_.assign(vagas_.size() * 2, 0);
    const size_t mascara = vagas_.size() - 1;
    for (uint32_t i = 0; i < Quantidade(); ++i) {
        size_t vaga = Hash(Texto(i)) & mascara;
        while (vagas_[vaga] != 0) {
            vaga = (vaga + 1) & mascara;
        }
        vagas_[vaga] = i + 1;
    }
}

} // namespace tarvo
