#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct hb_blob_t;
struct hb_buffer_t;
struct hb_face_t;
struct hb_font_t;

namespace tarvo {

// One face of a font file, shaped with HarfBuzz. Lengths are in ems (1.0 is
// the font size), unhinted, so they hold at every size and resolution.
class FonteArquivo {
public:
    // Erro::FalhaInterface naming the file when it holds no usable face.
    FonteArquivo(std::string caminho, unsigned indice);
    ~FonteArquivo();
    FonteArquivo(const FonteArquivo&) = delete;
    FonteArquivo& operator=(const FonteArquivo&) = delete;

    const std::string& Caminho() const { return caminho_; }
    unsigned Indice() const { return indice_; }
    hb_face_t* Face() const { return face_.get(); }
    // The family and style the font's names and weights give, for asking a
    // font system for this same font.
    const std::string& Familia() const { return familia_; }
    bool Negrito() const { return negrito_; }
    bool Italico() const { return italico_; }

    // Above and below the baseline, and the gap between lines, as the
    // font's horizontal header gives them (or its typographic ones when it
    // asks for those), which is what Qt measures too.
    double Subida() const { return subida_; }
    double Descida() const { return descida_; }
    double Entrelinha() const { return entrelinha_; }
    // The underline's centre below the baseline and its thickness.
    double PosicaoSublinhado() const { return posicaoSublinhado_; }
    double EspessuraSublinhado() const { return espessuraSublinhado_; }

    bool Tem(char32_t letra) const;
    // The bytes of the table `marca` ("head"), empty when it has none.
    QByteArray Tabela(const char* marca) const;

    // One shaped glyph.
    struct Glifo {
        uint32_t glifo;
        uint32_t grupo;       // UTF-16 index in the whole text where its cluster starts
        double avanco;        // ems
        double deslocamentoX; // ems, from the pen
        double deslocamentoY; // ems, upwards
    };
    using Moldado = std::vector<Glifo>;
    // The buffer shaping works in, kept by whoever shapes text after text on
    // one thread: its memory serves the next text.
    using Buffer = std::unique_ptr<hb_buffer_t, void (*)(hb_buffer_t*)>;
    static Buffer NovoBuffer();
    // Shapes `texto[inicio, fim)` with the rest of `texto` as context, with
    // kerning and the font's standard ligatures, left to right, in `buffer`.
    Moldado Moldar(std::u16string_view texto, size_t inicio, size_t fim, hb_buffer_t* buffer) const;

private:
    struct Destruidor {
        void operator()(hb_blob_t* blob) const;
        void operator()(hb_face_t* face) const;
        void operator()(hb_font_t* font) const;
    };

    std::string caminho_;
    unsigned indice_;
    std::unique_ptr<hb_blob_t, Destruidor> blob_;
    std::unique_ptr<hb_face_t, Destruidor> face_;
    std::unique_ptr<hb_font_t, Destruidor> fonte_;
    double unidades_ = 1000;
    std::string familia_;
    bool negrito_ = false;
    bool italico_ = false;
    double subida_ = 0;
    double descida_ = 0;
    double entrelinha_ = 0;
    double posicaoSublinhado_ = 0;
    double espessuraSublinhado_ = 0;
};

} // namespace tarvo
