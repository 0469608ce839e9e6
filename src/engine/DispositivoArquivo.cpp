#include "engine/DispositivoArquivo.h"

#include <string_view>

namespace tarvo {

DispositivoArquivo::DispositivoArquivo(ArquivoAtomico& arquivo) : arquivo_(arquivo) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void DispositivoArquivo::ExigirSucesso() const {
    if (falha_)
        throw *falha_;
}

qint64 DispositivoArquivo::readData(char*, qint64) {
    return -1;
}

qint64 DispositivoArquivo::writeData(const char* dados, qint64 tamanho) {
    if (falha_)
        return -1;
    try {
        arquivo_.Escrever(std::string_view(dados, static_cast<size_t>(tamanho)));
    } catch (const Erro& erro) {
        // Qt cannot carry the exception; it is raised after the writer ends.
        falha_ = erro;
        setErrorString(QString::fromStdString(erro.Descricao()));
        return -1;
    }
    return tamanho;
}

} // namespace tarvo
