#include "engine/CatalogoFontes.h"

#include <RelatoriosTarvo/Erro.h>

#include <fontconfig/fontconfig.h>

#include <array>
#include <filesystem>
#include <memory>
#include <strings.h>

namespace tarvo {

namespace {

constexpr const char* pastaLiberation = "/usr/share/fonts/truetype/liberation2/";

const std::array<std::pair<const char*, const char*>, 3> equivalentes = {{
    {"Arial", "LiberationSans"},
    {"Times New Roman", "LiberationSerif"},
    {"Courier New", "LiberationMono"},
}};

struct DestruirPadrao {
    void operator()(FcPattern* padrao) const { FcPatternDestroy(padrao); }
};
using Padrao = std::unique_ptr<FcPattern, DestruirPadrao>;

// A pattern for family `nome` in a style, with fontconfig's substitutions
// applied, ready to match.
Padrao PadraoDe(const std::string& nome, bool negrito, bool italico) {
    Padrao p(FcPatternCreate());
    FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(nome.c_str()));
    FcPatternAddInteger(p.get(), FC_WEIGHT, negrito ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(p.get(), FC_SLANT, italico ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(p.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, p.get(), FcMatchPattern);
    FcDefaultSubstitute(p.get());
    return p;
}

} // namespace

const FonteArquivo& CatalogoFontes::Abrir(const std::string& caminho, unsigned indice) {
    auto& aberta = arquivos_[{caminho, indice}];
    if (!aberta) {
        aberta = std::make_unique<FonteArquivo>(caminho, indice);
    }
    return *aberta;
}

const FonteArquivo& CatalogoFontes::Principal(std::string_view nome, bool negrito, bool italico) {
    const std::tuple<std::string, bool, bool> chave{std::string(nome), negrito, italico};
    const auto achada = principais_.find(chave);
    if (achada != principais_.end()) {
        return *achada->second;
    }
    const FonteArquivo* fonte = nullptr;
    for (const auto& [original, arquivo] : equivalentes) {
        if (strcasecmp(std::get<0>(chave).c_str(), original) != 0) {
            continue;
        }
        const char* estilo = negrito && italico ? "-BoldItalic"
                             : negrito          ? "-Bold"
                             : italico          ? "-Italic"
                                                : "-Regular";
        const std::string caminho = std::string(pastaLiberation) + arquivo + estilo + ".ttf";
        if (std::filesystem::is_regular_file(caminho)) {
            fonte = &Abrir(caminho, 0);
        }
    }
    if (fonte == nullptr) {
        const Padrao padrao = PadraoDe(std::get<0>(chave), negrito, italico);
        FcResult resultado = FcResultNoMatch;
        const Padrao escolhido(FcFontMatch(nullptr, padrao.get(), &resultado));
        FcChar8* arquivo = nullptr;
        int indice = 0;
        if (escolhido == nullptr ||
            FcPatternGetString(escolhido.get(), FC_FILE, 0, &arquivo) != FcResultMatch) {
            throw Erro(Erro::FalhaInterface,
                       "Nenhuma fonte disponível para \"" + std::get<0>(chave) + "\".",
                       TARVO_ORIGEM_MOTOR);
        }
        FcPatternGetInteger(escolhido.get(), FC_INDEX, 0, &indice);
        fonte = &Abrir(reinterpret_cast<const char*>(arquivo), static_cast<unsigned>(indice));
    }
    principais_.emplace(chave, fonte);
    estilos_.emplace(fonte, chave);
    return *fonte;
}

// fontconfig's list of fonts for the principal's family and style, in its
// order of preference, and the first that has the character. Only the first
// face of a file is taken: the renderers load a file's first face.
const FonteArquivo* CatalogoFontes::Substituta(const FonteArquivo& principal, char32_t letra) {
    const auto achada = substitutas_.find({&principal, letra});
    if (achada != substitutas_.end()) {
        return achada->second;
    }
    const auto estilo = estilos_.at(&principal);
    const Padrao padrao = PadraoDe(std::get<0>(estilo), std::get<1>(estilo), std::get<2>(estilo));
    FcResult resultado = FcResultNoMatch;
    FcFontSet* const lista = FcFontSort(nullptr, padrao.get(), FcTrue, nullptr, &resultado);
    const FonteArquivo* escolhida = nullptr;
    for (int i = 0; lista != nullptr && i < lista->nfont && escolhida == nullptr; ++i) {
        FcCharSet* letras = nullptr;
        FcChar8* arquivo = nullptr;
        int indice = 0;
        FcPatternGetInteger(lista->fonts[i], FC_INDEX, 0, &indice);
        if (indice != 0 ||
            FcPatternGetCharSet(lista->fonts[i], FC_CHARSET, 0, &letras) != FcResultMatch ||
            !FcCharSetHasChar(letras, letra) ||
            FcPatternGetString(lista->fonts[i], FC_FILE, 0, &arquivo) != FcResultMatch) {
            continue;
        }
        const FonteArquivo& candidata = Abrir(reinterpret_cast<const char*>(arquivo), 0);
        if (candidata.Tem(letra)) {
            escolhida = &candidata;
        }
    }
    if (lista != nullptr) {
        FcFontSetDestroy(lista);
    }
    substitutas_.emplace(std::pair{&principal, letra}, escolhida);
    return escolhida;
}

} // namespace tarvo
