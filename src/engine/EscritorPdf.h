#pragma once

#include <string>
#include <vector>

namespace tarvo {

class Andamento;
class ArquivoAtomico;
class Documento;

// Writes one or more documents as one PDF file, behind SaidaDocumento, which
// has checked the Qt application, in one pass of the project's own writer:
// the pages drawn from the document's layout (ConteudoPagina), the fonts
// subset and embedded (FontePdf), the structure tree (EstruturaPdf), the
// document's properties (title, subject, creator, producer, dates) agreeing
// with its XMP metadata as PDF/A-2b asks, the sRGB OutputIntent and, when the
// parts are named, one bookmark per part pointing at its first page, the
// file opening with the bookmarks shown. Dates come from MomentoSaida, so a
// SOURCE_DATE_EPOCH gives the same bytes on every run. The result replaces
// the destination whole, or nothing is written.
class EscritorPdf {
public:
    struct Parte {
        const Documento* documento;
        std::string marcador; // the bookmark's title; empty for none
        // The pages written (from 1), in this order, repeats allowed; empty
        // for all of them.
        std::vector<int> paginas = {};
    };
    struct Propriedades {
        std::string titulo;
        std::string assunto;
        // The ICC profile of the sRGB OutputIntent; empty for the installed
        // one. Without a readable profile the file is written all the same,
        // but is not PDF/A and does not claim to be.
        std::string perfilCor = {};
    };

    // Each part keeps its own orientation and page numbering; an empty
    // document is one blank page, as in a file of its own. The file never
    // lands on one of the documents' protected files. `andamento` counts
    // the pages written and may stop the writing, which then leaves
    // nothing.
    static void Gravar(const std::vector<Parte>& partes, const Propriedades& propriedades,
                       const std::string& caminho, Andamento* andamento = nullptr);

    // The same PDF written into `arquivo`, which the caller confirms or
    // reads back (a print job streams it from there).
    static void Escrever(const std::vector<Parte>& partes, const Propriedades& propriedades,
                         ArquivoAtomico& arquivo, Andamento* andamento = nullptr);
};

} // namespace tarvo
