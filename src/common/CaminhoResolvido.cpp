#include "common/CaminhoResolvido.h"

#include "common/ArquivoAtomico.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

namespace fs = std::filesystem;

// Linux follows at most 40 links in one lookup.
constexpr int kMaximoLigacoes = 40;

[[noreturn]] void Falhar(const std::string& caminho, const std::string& motivo) {
    throw ArquivoAtomico::FalhaDe(caminho, motivo);
}

std::string PastaAtual(const std::string& caminho) {
    std::unique_ptr<char, decltype(&std::free)> atual(::getcwd(nullptr, 0), &std::free);
    if (!atual)
        Falhar(caminho, std::strerror(errno));
    return atual.get();
}

// The real path of a folder; the part of it that does not exist yet (it will
// be created) is kept as spelled, with "." and ".." taken lexically, as
// creating the folders does.
std::string PastaReal(const fs::path& pasta, const std::string& caminho) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(pasta.c_str(), nullptr),
                                                     &std::free);
    if (real)
        return real.get();
    if (errno != ENOENT)
        Falhar(caminho, std::strerror(errno));
    const fs::path acima = pasta.parent_path();
    if (acima == pasta)
        Falhar(caminho, std::strerror(ENOENT));
    const fs::path base(PastaReal(acima, caminho));
    const fs::path nome = pasta.filename();
    if (nome.empty() || nome == ".")
        return base.string();
    if (nome == "..")
        return base.parent_path().string();
    return (base / nome).string();
}

} // namespace

CaminhoResolvido CaminhoResolvido::De(const std::string& caminho) {
    CaminhoResolvido resolvido;
    resolvido.original_ = caminho;
    fs::path atual(caminho);
    for (int ligacoes = 0;; ++ligacoes) {
        if (ligacoes > kMaximoLigacoes)
            Falhar(caminho, std::strerror(ELOOP));
        if (atual.empty() || atual.filename().empty())
            Falhar(caminho, "o caminho não tem nome de arquivo");
        if (atual.is_relative())
            atual = fs::path(PastaAtual(caminho)) / atual;
        const fs::path nome = atual.filename();
        if (nome == "." || nome == "..") {
            // A folder by its very spelling.
            resolvido.pasta_ = PastaReal(atual, caminho);
            resolvido.final_ = resolvido.pasta_;
        } else {
            resolvido.pasta_ = PastaReal(atual.parent_path(), caminho);
            resolvido.final_ = (fs::path(resolvido.pasta_) / nome).string();
        }
        struct stat info {};
        if (::lstat(resolvido.final_.c_str(), &info) != 0) {
            if (errno != ENOENT)
                Falhar(caminho, std::strerror(errno));
            resolvido.existe_ = false;
            return resolvido;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolvido.existe_ = true;
            resolvido.dispositivo_ = info.st_dev;
            resolvido.inode_ = info.st_ino;
            resolvido.modo_ = info.st_mode;
            return resolvido;
        }
        // A link is followed to where it points: its target is what a write
        // through it changes. What the system's own links point at (a
        // descriptor's pipe or terminal) has no path, only a type.
        struct stat destino {};
        if (::stat(resolvido.final_.c_str(), &destino) == 0 && !S_ISREG(destino.st_mode)) {
            resolvido.existe_ = true;
            resolvido.dispositivo_ = destino.st_dev;
            resolvido.inode_ = destino.st_ino;
            resolvido.modo_ = destino.st_mode;
            return resolvido;
        }
        std::string alvo(PATH_MAX, '\0');
        const ssize_t tamanho = ::readlink(resolvido.final_.c_str(), alvo.data(), alvo.size());
        if (tamanho < 0)
            Falhar(caminho, std::strerror(errno));
        alvo.resize(static_cast<size_t>(tamanho));
        const fs::path proximo(alvo);
        atual = proximo.is_absolute() ? proximo : fs::path(resolvido.pasta_) / proximo;
    }
}

bool CaminhoResolvido::Comum() const {
    return !existe_ || S_ISREG(modo_);
}

bool CaminhoResolvido::MesmoArquivo(const CaminhoResolvido& outro) const {
    if (existe_ && outro.existe_)
        return dispositivo_ == outro.dispositivo_ && inode_ == outro.inode_;
    return final_ == outro.final_;
}

const char* CaminhoResolvido::Tipo(mode_t modo) {
    if (S_ISDIR(modo))
        return "é uma pasta";
    if (S_ISFIFO(modo))
        return "é um pipe (FIFO)";
    if (S_ISSOCK(modo))
        return "é um socket";
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return "é um dispositivo";
    return "não é um arquivo comum";
}

} // namespace tarvo
