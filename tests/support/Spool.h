#pragma once

#include <string>
#include <vector>

namespace tarvo::teste {

// The PDF that a queue of the tests' CUPS scheduler wrote for a job holding
// `marca` (a word no other job printed), waiting a bounded time for it to
// land; "" when none came. The caller removes it once read. `fila` is
// TarvoPDF or TarvoOpcoes, each with a folder of its own.
std::string PdfImpresso(const std::string& marca, const std::string& fila = "TarvoPDF");

// Why this process cannot print on the tests' own CUPS scheduler (started by
// scripts/cups-teste.sh under the build folder, with TarvoPDF as its default
// printer), for the printing tests' skip message; "" when it can.
std::string MotivoSemFilaDeTeste();

// What the tests' scheduler keeps of a job, asked with IPP's
// Get-Job-Attributes and Get-Jobs (never the machine's scheduler: the caller
// has checked MotivoSemFilaDeTeste).
struct TrabalhoNaFila {
    int id = 0;
    std::string estado;              // "completed", "canceled", …
    std::string copias;              // the "copies" attribute; "" when absent
    std::string documentosMultiplos; // "multiple-document-handling"; "" when absent
    // The printer's options: "media", "sides", "print-color-mode" and
    // "print-quality" ("4"), joined by spaces; "" for those absent.
    std::string propriedades;
};
// The job the queue kept as `caminho` (its job-N.pdf).
TrabalhoNaFila TrabalhoDoArquivo(const std::string& caminho);
// Every job of any state whose name is `titulo`.
std::vector<TrabalhoNaFila> TrabalhosChamados(const std::string& titulo);

} // namespace tarvo::teste
