#pragma once

#include <RelatoriosTarvo/Erro.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// A file that appears whole or not at all. What is written goes to a hidden
// temporary file in the destination's folder; Confirmar flushes it to disk and
// renames it over the final name. Until then an older file of that name stays
// as it was, and if the object goes without Confirmar (an error on the way)
// the temporary is removed. Every failure raises Erro::GravacaoArquivo naming
// the file and the system's reason ("No space left on device").
class ArquivoAtomico {
public:
    explicit ArquivoAtomico(std::string caminho);
    ~ArquivoAtomico();
    ArquivoAtomico(const ArquivoAtomico&) = delete;
    ArquivoAtomico& operator=(const ArquivoAtomico&) = delete;

    void Escrever(std::string_view dados);
    // Writes out what is buffered, so that the temporary can be read by path.
    void Descarregar();
    // Flushes, syncs and closes the temporary and puts it in place.
    void Confirmar();

    const std::string& Caminho() const { return caminho_; }
    const std::string& Temporario() const { return temporario_; }

    // Writes `dados` as the whole file at `caminho`.
    static void Gravar(const std::string& caminho, std::string_view dados);

    // The error of a file that cannot be written, naming it and the reason.
    Erro Falha(const std::string& motivo, const char* origem = TARVO_ORIGEM_BIBLIOTECA) const;

private:
    [[noreturn]] void Falhar(const std::string& motivo);

    std::string caminho_;
    std::string temporario_;
    int descritor_ = -1;
    std::vector<char> buffer_;
    size_t usado_ = 0;
};

} // namespace tarvo
