#pragma once

#include <RelatoriosTarvo/Erro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <unordered_map>
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
        const auto achado = indices_.find(valor);
        if (achado != indices_.end()) {
            return achado->second;
        }
        if (valores_.size() == std::numeric_limits<uint32_t>::max()) {
            throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo.",
                       TARVO_ORIGEM_MOTOR);
        }
        const auto indice = static_cast<uint32_t>(valores_.size());
        valores_.push_back(valor);
        indices_.emplace(valor, indice);
        return indice;
    }

    const T& operator[](uint32_t indice) const { return valores_[indice]; }
    size_t Quantidade() const { return valores_.size(); }

    size_t BytesOcupados() const {
        // A hash node: the value, its index, the next node, the cached hash
        // and the allocator's overhead.
        const size_t porNo = sizeof(T) + sizeof(uint32_t) + 3 * sizeof(void*);
        return valores_.capacity() * sizeof(T) + indices_.size() * porNo +
               indices_.bucket_count() * sizeof(void*);
    }

    void Compactar() { valores_.shrink_to_fit(); }

private:
    // The values are a few words long and looked up for every element a
    // report adds: each word is mixed in with a multiplication, cheaper
    // than a general-purpose string hash on such short keys.
    struct Hash {
        size_t operator()(const T& valor) const {
            const auto* bytes = reinterpret_cast<const unsigned char*>(&valor);
            uint64_t hash = sizeof(T);
            for (size_t i = 0; i < sizeof(T); i += sizeof(uint64_t)) {
                uint64_t palavra = 0;
                std::memcpy(&palavra, bytes + i, std::min(sizeof(uint64_t), sizeof(T) - i));
                hash = (hash ^ palavra) * 0x9E3779B97F4A7C15ull;
                hash ^= hash >> 29;
            }
            return static_cast<size_t>(hash);
        }
    };
    struct Igual {
        bool operator()(const T& a, const T& b) const {
            return std::memcmp(&a, &b, sizeof(T)) == 0;
        }
    };

    std::vector<T> valores_;
    std::unordered_map<T, uint32_t, Hash, Igual> indices_;
};

} // namespace tarvo
