#pragma once

#include <string>

namespace tarvo::teste {

// The PDF that the cups-pdf queue wrote for a job holding `marca` (a word no
// other job printed), waiting a bounded time for it to land; "" when none
// came. The caller removes it once read.
std::string PdfImpresso(const std::string& marca);

// True when the test queue TarvoPDF is the default printer.
bool FilaDeTestePronta();

} // namespace tarvo::teste
