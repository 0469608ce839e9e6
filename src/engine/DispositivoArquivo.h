#pragma once

#include "common/ArquivoAtomico.h"
#include <RelatoriosTarvo/Erro.h>

#include <QIODevice>

#include <optional>

namespace tarvo {

// A write-only QIODevice over an ArquivoAtomico, for Qt writers that report
// write failures only by a return value they may not check (QPdfWriter does
// not). The first failure is kept: every later write fails too, and
// ExigirSucesso raises it once the writer is done.
class DispositivoArquivo : public QIODevice {
public:
    explicit DispositivoArquivo(ArquivoAtomico& arquivo);

    // Raises the first write failure, if there was one.
    void ExigirSucesso() const;

protected:
    qint64 readData(char* dados, qint64 tamanho) override;
    qint64 writeData(const char* dados, qint64 tamanho) override;

private:
    ArquivoAtomico& arquivo_;
    std::optional<Erro> falha_;
};

} // namespace tarvo
