#pragma once

#include <string>

#include <sys/types.h>

namespace tarvo {

// A path as a write to it would really land: the real path of its folder
// (links and "..": resolved) plus its name, with a symbolic link at the name
// followed to its target, however many links deep. The file there may not
// exist yet; folders that do not exist yet are taken as they are spelled.
// Two paths name the same file when they have the same device and inode, or,
// where the file does not exist, the same resolved name.
class CaminhoResolvido {
public:
    // Raises Erro::GravacaoArquivo naming `caminho` when it has no file name
    // or its links cannot be followed (a loop, an unreadable folder).
    static CaminhoResolvido De(const std::string& caminho);

    const std::string& Original() const { return original_; }
    const std::string& Final() const { return final_; }
    // The folder of the final name, resolved.
    const std::string& Pasta() const { return pasta_; }
    bool Existe() const { return existe_; }
    // Of the final target; meaningful when it exists.
    mode_t Modo() const { return modo_; }
    bool Comum() const;

    bool MesmoArquivo(const CaminhoResolvido& outro) const;

    // "é uma pasta", "é um pipe (FIFO)", "é um dispositivo", ... for a mode
    // that is not a regular file's.
    static const char* Tipo(mode_t modo);

private:
    std::string original_;
    std::string final_;
    std::string pasta_;
    bool existe_ = false;
    dev_t dispositivo_ = 0;
    ino_t inode_ = 0;
    mode_t modo_ = 0;
};

} // namespace tarvo
