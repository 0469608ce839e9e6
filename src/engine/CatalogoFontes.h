#pragma once

#include "engine/FonteArquivo.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace tarvo {

// The font files of one document's texts. "Arial", "Times New Roman" and
// "Courier New" are their Liberation metric twins, taken from their files
// whatever fontconfig knows; other families and the fonts for characters a
// text's font lacks are fontconfig's choice, as any application here gets.
class CatalogoFontes {
public:
    // The font of family `nome` in the style asked.
    const FonteArquivo& Principal(std::string_view nome, bool negrito, bool italico);
    // A font close to `principal` that has `letra`; none when no font has it.
    const FonteArquivo* Substituta(const FonteArquivo& principal, char32_t letra);

private:
    const FonteArquivo& Abrir(const std::string& caminho, unsigned indice);

    std::map<std::pair<std::string, unsigned>, std::unique_ptr<FonteArquivo>> arquivos_;
    std::map<std::tuple<std::string, bool, bool>, const FonteArquivo*> principais_;
    std::map<std::pair<const FonteArquivo*, char32_t>, const FonteArquivo*> substitutas_;
    // The style each principal font was asked in, for its substitutes.
    std::map<const FonteArquivo*, std::tuple<std::string, bool, bool>> estilos_;
};

} // namespace tarvo
