#pragma once

#include "common/CaminhoResolvido.h"
#include <RelatoriosTarvo/Erro.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace tarvo {

// A file that appears whole or not at all. What is written goes to a
// temporary file in the destination's folder that has no name (O_TMPFILE), so
// that a process killed half-way leaves nothing behind; Confirmar syncs it
// and links it in under the final name. Until then an older file of that
// name stays as it was, and if the object goes without Confirmar (an error on
// the way) the temporary disappears. Where the file system cannot make
// nameless files, the temporary is a hidden file of a short name of its own.
//
// The destination is where a write really lands: a symbolic link is followed
// to its target, which is replaced (the link stays). A target that exists and
// is not a regular file (a folder, device, FIFO or socket) is refused. A new
// file gets the usual permissions (0666 less the umask); a replaced one keeps
// its permission bits, without setuid, setgid and sticky.
//
// Files given as protected (a database and its companions) are never
// written: a destination that is one of them, by any spelling or link, is
// refused before anything is written.
//
// "-" stands for the standard output: the whole content is written there
// once complete; a terminal is refused.
//
// Every failure raises Erro::GravacaoArquivo naming the file and the system's
// reason ("No space left on device").
class ArquivoAtomico {
public:
    explicit ArquivoAtomico(std::string caminho, const std::vector<std::string>& protegidos = {});
    ~ArquivoAtomico();
    ArquivoAtomico(const ArquivoAtomico&) = delete;
    ArquivoAtomico& operator=(const ArquivoAtomico&) = delete;

    void Escrever(std::string_view dados);
    // Writes out what is buffered, so that the content can be read by path.
    void Descarregar();
    // Flushes, syncs and closes the temporary and puts it in place.
    void Confirmar();

    const std::string& Caminho() const { return caminho_; }
    // A path the content written so far can be read from (after Descarregar).
    std::string Leitura() const;

    // Writes `dados` as the whole file at `caminho`.
    static void Gravar(const std::string& caminho, std::string_view dados,
                       const std::vector<std::string>& protegidos = {});

    // The checks of the constructor, for a destination that is written
    // later: raises the error it would raise. Nothing for the standard
    // output.
    static std::optional<CaminhoResolvido>
    VerificarDestino(const std::string& caminho, const std::vector<std::string>& protegidos);
    // The error of a file that cannot be written, naming it and the reason.
    static Erro FalhaDe(const std::string& caminho, const std::string& motivo,
                        const char* origem = TARVO_ORIGEM_BIBLIOTECA);

    // The error of a file that cannot be written, naming it and the reason.
    Erro Falha(const std::string& motivo, const char* origem = TARVO_ORIGEM_BIBLIOTECA) const;

    static constexpr const char* SaidaPadrao = "-";

private:
    [[noreturn]] void Falhar(const std::string& motivo) const;
    void AbrirTemporario(mode_t modo);
    void PorNoLugar();
    void CopiarParaSaidaPadrao();

    std::string caminho_;
    // Where the content ends: the real folder and name, links followed.
    std::string final_;
    // The folder the temporary goes to: the final name's, or the system's
    // temporary folder for the standard output.
    std::string pasta_;
    bool saidaPadrao_ = false;
    // The hidden file's path when the temporary has a name; empty otherwise.
    std::string temporario_;
    int descritor_ = -1;
    std::vector<char> buffer_;
    size_t usado_ = 0;
};

} // namespace tarvo
