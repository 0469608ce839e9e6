#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tarvo {

class Andamento;
class ArquivoAtomico;

// The finishing of a PDF that Qt wrote, with qpdf: the document's properties
// (Qt's writer sets no subject) and the bookmarks (it has no outlines). The
// page streams pass through untouched.
class AcabamentoPdf {
public:
    struct Propriedades {
        std::string titulo;
        std::string assunto;
        std::string data; // a PDF date, D:YYYYMMDDHHmmSS+HH'mm'
    };
    struct Marcador {
        std::string titulo;
        size_t pagina; // from 0
    };

    // Reads the PDF at `entrada` and writes it, finished, into `saida`. The
    // file opens with the bookmarks shown when there are any. qpdf's errors
    // raise Erro::GravacaoArquivo naming the destination. `andamento`, when
    // given, may stop the writing as it goes.
    static void Acabar(const std::string& entrada, const Propriedades& propriedades,
                       const std::vector<Marcador>& marcadores, ArquivoAtomico& saida,
                       Andamento* andamento = nullptr);
};

} // namespace tarvo
