#pragma once

#include <RelatoriosTarvo/Erro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

namespace tarvo {

// The distinct values of a plain type, each stored once and named by its
// index: a report repeats the same coordinates and styles on every page, so
// its elements keep small indexes instead of the values. Values are told
// apart by their bytes, so a double kept as its bits reads back exactly, the
// sign of a zero and the payload of a NaN included.
template <class T> class Internados {
    static_assert(std::has_unique_object_representations_v<T>,
                  "values are compared and hashed by their bytes");

public:
    // The index of `valor`, adding it when it is new.
    uint32_t Indice(const T& valor) {
        const size_t vaga = Vaga(valor);
        if (vagas_[vaga] != 0) {
            return vagas_[vaga] - 1;
        }
        if (valores_.size() == std::numeric_limits<uint32_t>::max() - 1) {
            throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo.",
                       TARVO_ORIGEM_MOTOR);
        }
        const auto indice = static_cast<uint32_t>(valores_.size());
        valores_.push_back(valor);
        vagas_[vaga] = indice + 1;
        // At most half full: a miss ends after a probe or two.
        if (valores_.size() * 2 > vagas_.size()) {
            Ampliar();
        }
        return indice;
    }

    const T& operator[](uint32_t indice) const { return valores_[indice]; }
    size_t Quantidade() const { return valores_.size(); }

    size_t BytesOcupados() const {
        return valores_.capacity() * sizeof(T) + vagas_.capacity() * sizeof(uint32_t);
    }

    void Compactar() { valores_.shrink_to_fit(); }

private:
    static bool Igual(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

    // An open-addressing table of indexes into the values: no node per
    // value, and a probe reads one small array.
    size_t Vaga(const T& valor) const {
        const size_t mascara = vagas_.size() - 1;
        size_t vaga = Inicio(valor);
        while (vagas_[vaga] != 0 && !Igual(valores_[vagas_[vaga] - 1], valor)) {
            vaga = (vaga + 1) & mascara;
        }
        return vaga;
    }

    // The first slot to probe. The values are a few words long and looked up
    // for every element a report adds: each word is mixed in with a
    // multiplication, cheaper than a general-purpose hash on such short
    // keys, and the slot is taken from the top bits, which depend on every
    // bit of the value (a double's low bits are mostly zero, so the low bits
    // of a product would send most coordinates to the same few slots).
    size_t Inicio(const T& valor) const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&valor);
        uint64_t hash = sizeof(T);
        for (size_t i = 0; i < sizeof(T); i += sizeof(uint64_t)) {
            uint64_t palavra = 0;
            std::memcpy(&palavra, bytes + i, std::min(sizeof(uint64_t), sizeof(T) - i));
            hash = (hash ^ palavra) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        return static_cast<size_t>(hash >> desvio_);
    }

    void Ampliar() {
        vagas_.assign(vagas_.size() * 2, 0);
        --desvio_;
        const size_t mascara = vagas_.size() - 1;
        for (uint32_t i = 0; i < valores_.size(); ++i) {
            size_t vaga = Inicio(valores_[i]);
            while (vagas_[vaga] != 0) {
                vaga = (vaga + 1) & mascara;
            }
            vagas_[vaga] = i + 1;
        }
    }

    std::vector<T> valores_;
    std::vector<uint32_t> vagas_ = std::vector<uint32_t>(64, 0); // index + 1, 0 when free
    int desvio_ = 64 - 6;                                        // 64 - log2(slots)
};

} // namespace tarvo
