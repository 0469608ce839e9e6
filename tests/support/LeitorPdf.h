#pragma once

// Reads PDF files back with poppler's command-line tools, as a reader of the
// engine's output would.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvo::teste {

struct Palavra {
    int pagina;                    // from 1
    double xMin, yMin, xMax, yMax; // points, from the page's top-left corner
    std::string texto;
};

struct PaginaPdf {
    double largura, altura; // points
};

struct PdfLido {
    std::vector<PaginaPdf> paginas;
    std::vector<Palavra> palavras;

    // The words equal to `texto`, in reading order.
    std::vector<Palavra> Achar(const std::string& texto) const;
    // The one word equal to `texto`; fails the test when there is not exactly one.
    Palavra Unica(const std::string& texto) const;
    // All the words, in reading order, separated by spaces.
    std::string Texto() const;
};

PdfLido LerPdf(const std::string& caminho); // pdftotext -bbox

// Whether `lidas` are the words `esperadas`, each on its page within
// `tolerancia` points of its box. Words are paired by text and nearness, not
// by reading order, which a shift of a thousandth of a point can change.
::testing::AssertionResult MesmasPalavras(const std::vector<Palavra>& lidas,
                                          const std::vector<Palavra>& esperadas, double tolerancia);
std::string TextoPdf(const std::string& caminho); // pdftotext
std::string Executar(const std::string& programa, const std::vector<std::string>& args);

constexpr double pontosPorCm = 72.0 / 2.54;
constexpr double margem = 2.0 * pontosPorCm; // the reports' 2 cm margins

} // namespace tarvo::teste
