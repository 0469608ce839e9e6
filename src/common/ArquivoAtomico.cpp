#include "common/ArquivoAtomico.h"

#include <RelatoriosTarvo/Erro.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

constexpr size_t kTamanhoBuffer = 256 * 1024;

std::string Motivo(int erro) {
    return std::strerror(erro);
}

// Up to `quantidade` bytes, repeating short writes; false with errno set on
// failure.
bool EscreverTudo(int descritor, const char* dados, size_t quantidade) {
    while (quantidade > 0) {
        const ssize_t escritos = ::write(descritor, dados, quantidade);
        if (escritos < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        dados += escritos;
        quantidade -= static_cast<size_t>(escritos);
    }
    return true;
}

// The folder is synced so that the rename itself survives a crash.
void SincronizarPasta(const std::string& pasta) {
    const int descritor = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descritor >= 0) {
        ::fsync(descritor);
        ::close(descritor);
    }
}

} // namespace

ArquivoAtomico::ArquivoAtomico(std::string caminho)
    : caminho_(std::move(caminho)), buffer_(kTamanhoBuffer) {
    const std::filesystem::path destino(caminho_);
    if (destino.filename().empty())
        Falhar("o caminho não tem nome de arquivo");
    const std::filesystem::path pasta =
        destino.has_parent_path() ? destino.parent_path() : std::filesystem::path(".");
    // The existing file's permissions carry over; a new file gets the
    // process's usual ones (0666 less the umask, applied by open).
    mode_t modo = 0666;
    struct stat atual {};
    if (::stat(caminho_.c_str(), &atual) == 0) {
        if (S_ISDIR(atual.st_mode))
            Falhar(Motivo(EISDIR));
        modo = atual.st_mode & 07777;
    }
    std::random_device aleatorio;
    for (int tentativa = 0; tentativa < 100 && descritor_ < 0; ++tentativa) {
        const std::string nome = "." + destino.filename().string() + "." +
                                 std::to_string(aleatorio() % 1000000000u) + ".tmp";
        temporario_ = (pasta / nome).string();
        descritor_ =
            ::open(temporario_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, modo);
        if (descritor_ < 0 && errno != EEXIST) {
            const int erro = errno;
            temporario_.clear();
            Falhar(Motivo(erro));
        }
    }
    if (descritor_ < 0) {
        temporario_.clear();
        Falhar(Motivo(EEXIST));
    }
    if (modo != 0666)
        ::fchmod(descritor_, modo);
}

ArquivoAtomico::~ArquivoAtomico() {
    if (descritor_ >= 0)
        ::close(descritor_);
    if (!temporario_.empty())
        ::unlink(temporario_.c_str());
}

void ArquivoAtomico::Escrever(std::string_view dados) {
    if (descritor_ < 0)
        Falhar("o arquivo já foi fechado");
    if (dados.size() >= buffer_.size()) {
        Descarregar();
        if (!EscreverTudo(descritor_, dados.data(), dados.size()))
            Falhar(Motivo(errno));
        return;
    }
    if (usado_ + dados.size() > buffer_.size())
        Descarregar();
    std::memcpy(buffer_.data() + usado_, dados.data(), dados.size());
    usado_ += dados.size();
}

void ArquivoAtomico::Descarregar() {
    if (usado_ == 0)
        return;
    if (!EscreverTudo(descritor_, buffer_.data(), usado_))
        Falhar(Motivo(errno));
    usado_ = 0;
}

void ArquivoAtomico::Confirmar() {
    if (descritor_ < 0)
        Falhar("o arquivo já foi fechado");
    Descarregar();
    if (::fsync(descritor_) != 0)
        Falhar(Motivo(errno));
    const int descritor = descritor_;
    descritor_ = -1;
    if (::close(descritor) != 0)
        Falhar(Motivo(errno));
    if (::rename(temporario_.c_str(), caminho_.c_str()) != 0)
        Falhar(Motivo(errno));
    temporario_.clear();
    const std::filesystem::path pasta = std::filesystem::path(caminho_).parent_path();
    SincronizarPasta(pasta.empty() ? "." : pasta.string());
}

void ArquivoAtomico::Gravar(const std::string& caminho, std::string_view dados) {
    ArquivoAtomico arquivo(caminho);
    arquivo.Escrever(dados);
    arquivo.Confirmar();
}

Erro ArquivoAtomico::Falha(const std::string& motivo, const char* origem) const {
    return Erro(Erro::GravacaoArquivo,
                "Não foi possível gravar o arquivo \"" + caminho_ + "\": " + motivo, origem);
}

void ArquivoAtomico::Falhar(const std::string& motivo) {
    throw Falha(motivo);
}

} // namespace tarvo
