#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

class ConjuntoRelatorios;
struct Pedido;

// Builds reports without the dialog and writes each one's document to files:
// a PDF and the engine's JSON record, named NN-Classe after the list
// position and the report's class, and all of them in one PDF with a bookmark
// per report. Needs no display.
class ExportadorRelatorios {
public:
    explicit ExportadorRelatorios(ConjuntoRelatorios& relatorios);

    // For every list position whose bit is set in the request's mask, in
    // table order: builds the report, then writes pastaPdf/NN-Classe.pdf and
    // pastaJson/NN-Classe.json, and at the end arquivoUnico with every selected report in list
    // order; an empty name skips that output, a missing folder is created. Every destination is
    // checked first (VerificarDestinos, with the database's files protected). Each file appears
    // whole or not at all. Returns the files written; on an error the files already written stay.
    std::vector<std::string> Exportar(const Pedido& pedido, const std::string& pastaPdf,
                                      const std::string& pastaJson,
                                      const std::string& arquivoUnico);

    // The files such an export writes, in the order it writes them.
    static std::vector<std::string> Destinos(const int32_t& Mascara, const std::string& pastaPdf,
                                             const std::string& pastaJson,
                                             const std::string& arquivoUnico);
    // Raises Erro::GravacaoArquivo, naming both, when two destinations are
    // one file or one is a file of `protegidos`, and for a destination that
    // exists and is not a regular file.
    static void VerificarDestinos(const std::vector<std::string>& destinos,
                                  const std::vector<std::string>& protegidos);

private:
    ConjuntoRelatorios& relatorios_;
};

} // namespace tarvo
