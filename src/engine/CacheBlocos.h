#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

namespace tarvo {

// The rendered pieces (tiles) of pages in the preview, least recently used
// first out, within a budget of bytes. Tiles drawn in the current frame are
// never given up for a new one, so a frame that needs more than the budget
// still shows whole; the excess goes with the next frame.
class CacheBlocos {
public:
    struct Chave {
        int pagina = 0;
        int dpi = 0;
        int coluna = 0;
        int linha = 0;
        bool operator==(const Chave&) const = default;
    };

    explicit CacheBlocos(size_t orcamento);

    // The tile, marked as used in the current frame; null when missing.
    const QImage* Buscar(const Chave& chave);
    // Adds a tile, marked as used in the current frame, and gives up the
    // least recently used ones of earlier frames while over the budget.
    const QImage& Guardar(const Chave& chave, QImage imagem);
    // Starts a frame: tiles of earlier frames may go.
    void NovoQuadro() { ++quadro_; }
    // Whether a tile of `bytes` fits without giving up any other.
    bool Cabe(size_t bytes) const { return bytes_ + bytes <= orcamento_; }
    // Gives up every tile of another resolution (after a zoom).
    void ManterResolucao(int dpi);
    void Limpar();

    size_t Bytes() const { return bytes_; }
    size_t Quantidade() const { return entradas_.size(); }

private:
    struct Hash {
        size_t operator()(const Chave& chave) const;
    };
    struct Entrada {
        Chave chave;
        QImage imagem;
        uint64_t quadro;
    };

    void Liberar();

    const size_t orcamento_;
    size_t bytes_ = 0;
    uint64_t quadro_ = 0;
    std::list<Entrada> entradas_; // most recently used first
    std::unordered_map<Chave, std::list<Entrada>::iterator, Hash> indice_;
};

} // namespace tarvo
