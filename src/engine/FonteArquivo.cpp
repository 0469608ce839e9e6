#include "engine/FonteArquivo.h"

#include <RelatoriosTarvo/Erro.h>

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>

namespace tarvo {

namespace {

// HarfBuzz says a failed allocation only through the buffer's state: a text
// that did not fit would otherwise come out shaped short.
void ExigirMemoria(hb_buffer_t* buffer) {
    if (!hb_buffer_allocation_successful(buffer))
        throw Erro(Erro::SemMemoria, "Sem memória para moldar o texto.", TARVO_ORIGEM_MOTOR);
}

} // namespace

void FonteArquivo::Destruidor::operator()(hb_blob_t* blob) const {
    hb_blob_destroy(blob);
}
void FonteArquivo::Destruidor::operator()(hb_face_t* face) const {
    hb_face_destroy(face);
}
void FonteArquivo::Destruidor::operator()(hb_font_t* font) const {
    hb_font_destroy(font);
}

FonteArquivo::FonteArquivo(std::string caminho, unsigned indice)
    : caminho_(std::move(caminho)), indice_(indice),
      blob_(hb_blob_create_from_file_or_fail(caminho_.c_str())) {
    if (blob_ == nullptr) {
        throw Erro(Erro::FalhaInterface, "Fonte ilegível: \"" + caminho_ + "\".",
                   TARVO_ORIGEM_MOTOR);
    }
    face_.reset(hb_face_create(blob_.get(), indice_));
    const unsigned unidades = hb_face_get_upem(face_.get());
    if (hb_face_get_glyph_count(face_.get()) == 0 || unidades == 0) {
        throw Erro(Erro::FalhaInterface, "Fonte sem glifos: \"" + caminho_ + "\".",
                   TARVO_ORIGEM_MOTOR);
    }
    unidades_ = unidades;
    fonte_.reset(hb_font_create(face_.get()));
    // Unscaled: positions come in font units.
    hb_font_set_scale(fonte_.get(), static_cast<int>(unidades), static_cast<int>(unidades));

    const auto metrica = [this](hb_ot_metrics_tag_t marca) {
        hb_position_t valor = 0;
        hb_ot_metrics_get_position_with_fallback(fonte_.get(), marca, &valor);
        return valor / unidades_;
    };
    for (const hb_ot_name_id_t nome :
         {HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY, HB_OT_NAME_ID_FONT_FAMILY}) {
        unsigned tamanho = 256;
        char texto[256] = {};
        if (familia_.empty() &&
            hb_ot_name_get_utf8(face_.get(), nome, HB_LANGUAGE_INVALID, &tamanho, texto) > 0) {
            familia_ = texto;
        }
    }
    negrito_ = hb_style_get_value(fonte_.get(), HB_STYLE_TAG_WEIGHT) >= 600;
    italico_ = hb_style_get_value(fonte_.get(), HB_STYLE_TAG_ITALIC) > 0 ||
               hb_style_get_value(fonte_.get(), HB_STYLE_TAG_SLANT_ANGLE) != 0;

    subida_ = metrica(HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER);
    descida_ = -metrica(HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER);
    entrelinha_ = std::max(0.0, metrica(HB_OT_METRICS_TAG_HORIZONTAL_LINE_GAP));
    espessuraSublinhado_ = metrica(HB_OT_METRICS_TAG_UNDERLINE_SIZE);
    // The table gives the line's top; it is drawn from its centre.
    posicaoSublinhado_ = -metrica(HB_OT_METRICS_TAG_UNDERLINE_OFFSET) + espessuraSublinhado_ / 2;
}

FonteArquivo::~FonteArquivo() = default;

bool FonteArquivo::Tem(char32_t letra) const {
    hb_codepoint_t glifo = 0;
    return hb_font_get_nominal_glyph(fonte_.get(), letra, &glifo) != 0;
}

FonteArquivo::Buffer FonteArquivo::NovoBuffer() {
    Buffer buffer(hb_buffer_create(), hb_buffer_destroy);
    ExigirMemoria(buffer.get());
    return buffer;
}

FonteArquivo::Moldado FonteArquivo::Moldar(std::u16string_view texto, size_t inicio, size_t fim,
                                           hb_buffer_t* buffer) const {
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(texto.data()),
                        static_cast<int>(texto.size()), static_cast<unsigned>(inicio),
                        static_cast<int>(fim - inicio));
    ExigirMemoria(buffer);
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_shape(fonte_.get(), buffer, nullptr, 0);

    unsigned quantos = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &quantos);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
    Moldado moldado;
    moldado.reserve(quantos);
    for (unsigned i = 0; i < quantos; ++i) {
        moldado.push_back({info[i].codepoint, info[i].cluster, pos[i].x_advance / unidades_,
                           pos[i].x_offset / unidades_, pos[i].y_offset / unidades_});
    }
    return moldado;
}

QByteArray FonteArquivo::Tabela(const char* marca) const {
    const std::unique_ptr<hb_blob_t, Destruidor> tabela(
        hb_face_reference_table(face_.get(), hb_tag_from_string(marca, -1)));
    unsigned tamanho = 0;
    const char* dados = hb_blob_get_data(tabela.get(), &tamanho);
    return QByteArray(dados, static_cast<qsizetype>(tamanho));
}

} // namespace tarvo
