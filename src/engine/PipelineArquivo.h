#pragma once

#include <qpdf/Pipeline.hh>

namespace tarvo {

class ArquivoAtomico;

// The end of a qpdf pipeline: what qpdf writes goes into an ArquivoAtomico.
// Its first write error is raised through qpdf as it is; what qpdf still
// writes while it unwinds (from destructors, where nothing may be raised) is
// dropped. The file is flushed by ArquivoAtomico::Confirmar.
class PipelineArquivo : public Pipeline {
public:
    explicit PipelineArquivo(ArquivoAtomico& arquivo);

    void write(unsigned char const* dados, size_t tamanho) override;
    void finish() override;

private:
    ArquivoAtomico& arquivo_;
    bool falhou_ = false;
};

} // namespace tarvo
