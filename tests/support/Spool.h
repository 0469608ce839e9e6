#pragma once

#include <string>

namespace tarvo::teste {

// The PDF that the tests' CUPS queue TarvoPDF wrote for a job holding
// `marca` (a word no other job printed), waiting a bounded time for it to
// land; "" when none came. The caller removes it once read.
std::string PdfImpresso(const std::string& marca);

// Why this process cannot print on the tests' own CUPS scheduler (started by
// scripts/cups-teste.sh under the build folder, with TarvoPDF as its default
// printer), for the printing tests' skip message; "" when it can.
std::string MotivoSemFilaDeTeste();

} // namespace tarvo::teste
