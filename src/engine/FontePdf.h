#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct hb_font_t;

namespace tarvo {

class FonteArquivo;
class ObjetosPdf;

// One font file as a PDF font: a Type 0 font over a CIDFontType2 whose
// character codes are the file's glyph ids (Identity-H, CIDToGIDMap
// Identity). The pages note the glyphs they show and the text each stands
// for; at the end the file is subset to those glyphs with hb-subset and
// embedded with their widths and a ToUnicode map, under a subset tag that
// depends only on the glyphs, so equal documents give equal bytes.
class FontePdf {
public:
    FontePdf(const FonteArquivo& fonte, int objeto);
    ~FontePdf();
    FontePdf(const FontePdf&) = delete;
    FontePdf& operator=(const FontePdf&) = delete;

    // The Type 0 font's object number.
    int Objeto() const { return objeto_; }

    // The glyph's advance in thousandths of the font size, as the widths
    // array gives it to readers; the glyph is embedded.
    double Largura(uint32_t glifo);
    // Whether the ToUnicode map gives `texto` for the glyph: the first text
    // a glyph stands for is its map's; a glyph that stands for another text
    // elsewhere (or for part of a cluster) needs an ActualText there.
    bool Mapear(uint32_t glifo, std::u16string_view texto);

    // The font's objects: subset program, descriptor, CID font, ToUnicode.
    void Escrever(ObjetosPdf& objetos) const;

private:
    std::string NomePostScript() const;
    std::string Etiqueta() const;
    std::string MapaUnicode() const;
    std::string Larguras() const;

    const FonteArquivo& fonte_;
    const int objeto_;
    std::unique_ptr<hb_font_t, void (*)(hb_font_t*)> medidas_;
    double porMil_;
    std::vector<double> larguras_; // by glyph; negative while unused
    std::vector<std::u16string> textos_;
    std::vector<bool> mapeados_;
};

} // namespace tarvo
