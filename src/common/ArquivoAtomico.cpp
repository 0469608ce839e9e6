#include "common/ArquivoAtomico.h"

#include "common/CaminhoResolvido.h"
#include <RelatoriosTarvo/Erro.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// The folder is synced so that the new name itself survives a crash.
void SincronizarPasta(const std::string& pasta) {
    const int descritor = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descritor >= 0) {
        ::fsync(descritor);
        ::close(descritor);
    }
}

// A short hidden name in the folder, whatever the length of the final one,
// so that a name of the file system's full length still works.
std::string NomeTemporario(const std::string& pasta) {
    static constexpr char kLetras[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device aleatorio;
    std::string nome = ".tarvo-";
    for (int i = 0; i < 10; ++i)
        nome += kLetras[aleatorio() % (sizeof kLetras - 1)];
    return pasta + (pasta == "/" ? "" : "/") + nome + ".tmp";
}

std::string DescritorEmProc(int descritor) {
    return "/proc/self/fd/" + std::to_string(descritor);
}

bool SemNome(int erro) {
    // What open gives where the kernel or the file system has no O_TMPFILE.
    return erro == EOPNOTSUPP || erro == EISDIR || erro == EINVAL;
}

} // namespace

std::optional<CaminhoResolvido>
ArquivoAtomico::VerificarDestino(const std::string& caminho,
                                 const std::vector<std::string>& protegidos) {
    if (caminho == SaidaPadrao) {
        if (::isatty(STDOUT_FILENO))
            throw FalhaDe(caminho, "é um terminal");
        return std::nullopt;
    }
    CaminhoResolvido destino = CaminhoResolvido::De(caminho);
    if (!destino.Comum())
        throw FalhaDe(caminho, std::string("não é um arquivo comum: ") +
                                   CaminhoResolvido::Tipo(destino.Modo()));
    for (const std::string& protegido : protegidos) {
        if (destino.MesmoArquivo(CaminhoResolvido::De(protegido)))
            throw FalhaDe(caminho, "é o mesmo arquivo que \"" + protegido +
                                       "\", do banco de dados da declaração");
    }
    return destino;
}

ArquivoAtomico::ArquivoAtomico(std::string caminho, const std::vector<std::string>& protegidos)
    : caminho_(std::move(caminho)), buffer_(kTamanhoBuffer) {
    mode_t modo = 0666;
    const std::optional<CaminhoResolvido> destino = VerificarDestino(caminho_, protegidos);
    if (!destino) {
        saidaPadrao_ = true;
        const char* tmp = std::getenv("TMPDIR");
        pasta_ = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    } else {
        // The permission bits of the file replaced carry over; the special
        // bits do not, so a PDF never becomes setuid.
        if (destino->Existe())
            modo = destino->Modo() & 0777;
        final_ = destino->Final();
        pasta_ = destino->Pasta();
    }
    AbrirTemporario(modo);
}

void ArquivoAtomico::AbrirTemporario(mode_t modo) {
    const std::string& pasta = pasta_;
    // Linking a nameless file in goes through /proc.
    if (::access("/proc/self/fd", X_OK) == 0) {
        descritor_ = ::open(pasta.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (descritor_ < 0 && !SemNome(errno))
            Falhar(Motivo(errno));
    }
    for (int tentativa = 0; descritor_ < 0 && tentativa < 100; ++tentativa) {
        temporario_ = NomeTemporario(pasta);
        descritor_ =
            ::open(temporario_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
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
    if (modo != 0666 && ::fchmod(descritor_, modo) != 0)
        Falhar(Motivo(errno));
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

std::string ArquivoAtomico::Leitura() const {
    return temporario_.empty() ? DescritorEmProc(descritor_) : temporario_;
}

void ArquivoAtomico::Confirmar() {
    if (descritor_ < 0)
        Falhar("o arquivo já foi fechado");
    Descarregar();
    if (saidaPadrao_) {
        CopiarParaSaidaPadrao();
    } else {
        if (::fsync(descritor_) != 0)
            Falhar(Motivo(errno));
        PorNoLugar();
    }
    const int descritor = descritor_;
    descritor_ = -1;
    if (::close(descritor) != 0)
        Falhar(Motivo(errno));
}

void ArquivoAtomico::PorNoLugar() {
    const std::string& pasta = pasta_;
    if (!temporario_.empty()) {
        if (::rename(temporario_.c_str(), final_.c_str()) != 0)
            Falhar(Motivo(errno));
        temporario_.clear();
        SincronizarPasta(pasta);
        return;
    }
    // A new name is linked in directly; an existing one is replaced by a
    // rename from a short-lived name, since a link cannot replace.
    const std::string origem = DescritorEmProc(descritor_);
    if (::linkat(AT_FDCWD, origem.c_str(), AT_FDCWD, final_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        SincronizarPasta(pasta);
        return;
    }
    if (errno != EEXIST)
        Falhar(Motivo(errno));
    std::string ligacao;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        ligacao = NomeTemporario(pasta);
        if (::linkat(AT_FDCWD, origem.c_str(), AT_FDCWD, ligacao.c_str(), AT_SYMLINK_FOLLOW) == 0)
            break;
        if (errno != EEXIST)
            Falhar(Motivo(errno));
        ligacao.clear();
    }
    if (ligacao.empty())
        Falhar(Motivo(EEXIST));
    if (::rename(ligacao.c_str(), final_.c_str()) != 0) {
        const int erro = errno;
        ::unlink(ligacao.c_str());
        Falhar(Motivo(erro));
    }
    SincronizarPasta(pasta);
}

void ArquivoAtomico::CopiarParaSaidaPadrao() {
    if (::lseek(descritor_, 0, SEEK_SET) != 0)
        Falhar(Motivo(errno));
    std::vector<char> bloco(kTamanhoBuffer);
    for (;;) {
        const ssize_t lidos = ::read(descritor_, bloco.data(), bloco.size());
        if (lidos < 0 && errno == EINTR)
            continue;
        if (lidos < 0)
            Falhar(Motivo(errno));
        if (lidos == 0)
            return;
        if (!EscreverTudo(STDOUT_FILENO, bloco.data(), static_cast<size_t>(lidos)))
            Falhar(Motivo(errno));
    }
}

void ArquivoAtomico::Gravar(const std::string& caminho, std::string_view dados,
                            const std::vector<std::string>& protegidos) {
    ArquivoAtomico arquivo(caminho, protegidos);
    arquivo.Escrever(dados);
    arquivo.Confirmar();
}

Erro ArquivoAtomico::FalhaDe(const std::string& caminho, const std::string& motivo,
                             const char* origem) {
    const std::string destino =
        caminho == SaidaPadrao ? "na saída padrão" : "o arquivo \"" + caminho + "\"";
    return Erro(Erro::GravacaoArquivo, "Não foi possível gravar " + destino + ": " + motivo,
                origem);
}

Erro ArquivoAtomico::Falha(const std::string& motivo, const char* origem) const {
    return FalhaDe(caminho_, motivo, origem);
}

void ArquivoAtomico::Falhar(const std::string& motivo) const {
    throw Falha(motivo);
}

} // namespace tarvo
