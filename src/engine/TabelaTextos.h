#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// The distinct texts of a document, each stored once and named by its index.
// A report repeats the same labels, font names and placeholders on every
// page, so the record keeps small indexes instead of the texts. All texts
// share one buffer and the lookup is an open-addressing table of indexes,
// which keeps the cost near the texts' own bytes even for many thousands of
// distinct values.
class TabelaTextos {
public:
    TabelaTextos();

    // The index of `texto`, adding it when it is new.
    uint32_t Indice(std::string_view texto);
    std::string_view Texto(uint32_t indice) const;
    size_t Quantidade() const { return inicios_.size() - 1; }
    size_t BytesOcupados() const;
    void Compactar();

private:
    size_t Vaga(std::string_view texto, size_t hash) const;
    void Ampliar();

    std::string dados_;
    std::vector<uint32_t> inicios_; // text i spans [inicios_[i], inicios_[i + 1])
    std::vector<uint32_t> vagas_;   // index + 1 of the text in each slot, 0 when free
};

} // namespace tarvo
