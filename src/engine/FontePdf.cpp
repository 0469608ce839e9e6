#include "engine/FontePdf.h"

#include "engine/FonteArquivo.h"
#include "engine/ObjetosPdf.h"
#include <RelatoriosTarvo/Erro.h>

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <QByteArray>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

template <class T> struct Liberar;
template <> struct Liberar<hb_face_t> {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};
template <> struct Liberar<hb_blob_t> {
    void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};
template <> struct Liberar<hb_subset_input_t> {
    void operator()(hb_subset_input_t* entrada) const { hb_subset_input_destroy(entrada); }
};
template <class T> using Ponteiro = std::unique_ptr<T, Liberar<T>>;

int16_t Assinado16(const QByteArray& tabela, int posicao) {
    if (tabela.size() < posicao + 2)
        return 0;
    return static_cast<int16_t>((static_cast<uint8_t>(tabela[posicao]) << 8) |
                                static_cast<uint8_t>(tabela[posicao + 1]));
}

void Hexa4(std::string& saida, unsigned valor) {
    static const char hexa[] = "0123456789ABCDEF";
    saida += hexa[(valor >> 12) & 15];
    saida += hexa[(valor >> 8) & 15];
    saida += hexa[(valor >> 4) & 15];
    saida += hexa[valor & 15];
}

} // namespace

FontePdf::FontePdf(const FonteArquivo& fonte, int objeto)
    : fonte_(fonte), objeto_(objeto), medidas_(hb_font_create(fonte.Face()), hb_font_destroy) {
    const unsigned unidades = hb_face_get_upem(fonte.Face());
    hb_font_set_scale(medidas_.get(), static_cast<int>(unidades), static_cast<int>(unidades));
    porMil_ = 1000.0 / unidades;
    const unsigned glifos = hb_face_get_glyph_count(fonte.Face());
    larguras_.assign(glifos, -1.0);
    textos_.resize(glifos);
    mapeados_.assign(glifos, false);
}

FontePdf::~FontePdf() = default;

double FontePdf::Largura(uint32_t glifo) {
    if (glifo >= larguras_.size())
        return 0; // beyond the font: drawn as nothing by every reader
    double& largura = larguras_[glifo];
    if (largura < 0) {
        // Rounded as the widths array writes it, so that the positions the
        // pages compute from it are the readers'.
        largura =
            std::round(hb_font_get_glyph_h_advance(medidas_.get(), glifo) * porMil_ * 1000) / 1000;
    }
    return largura;
}

bool FontePdf::Mapear(uint32_t glifo, std::u16string_view texto) {
    if (glifo >= textos_.size())
        return texto.empty();
    if (!mapeados_[glifo]) {
        if (texto.empty())
            return false;
        mapeados_[glifo] = true;
        textos_[glifo] = std::u16string(texto);
        return true;
    }
    return textos_[glifo] == texto;
}

std::string FontePdf::NomePostScript() const {
    char texto[128] = {};
    unsigned tamanho = sizeof texto;
    hb_ot_name_get_utf8(fonte_.Face(), HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &tamanho,
                        texto);
    // A PDF name of the characters PostScript names allow.
    std::string nome;
    for (const char* c = texto; *c != '\0'; ++c) {
        if ((*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') ||
            *c == '-' || *c == '_')
            nome += *c;
    }
    return nome.empty() ? std::string("Fonte") : nome;
}

// Six capitals from the glyphs embedded (FNV-1a): the same subset of the
// same font always gets the same tag, and another subset almost never does.
std::string FontePdf::Etiqueta() const {
    uint64_t resumo = 14695981039346656037ULL;
    const auto misturar = [&resumo](uint64_t valor) {
        for (int i = 0; i < 8; ++i) {
            resumo ^= (valor >> (8 * i)) & 0xFF;
            resumo *= 1099511628211ULL;
        }
    };
    for (const char c : NomePostScript())
        misturar(static_cast<unsigned char>(c));
    for (size_t glifo = 0; glifo < larguras_.size(); ++glifo) {
        if (larguras_[glifo] >= 0)
            misturar(glifo);
    }
    std::string etiqueta;
    for (int i = 0; i < 6; ++i) {
        etiqueta += static_cast<char>('A' + resumo % 26);
        resumo /= 26;
    }
    return etiqueta;
}

// Runs of consecutive glyphs: "first [w w w]".
std::string FontePdf::Larguras() const {
    std::string saida = "[";
    size_t glifo = 0;
    while (glifo < larguras_.size()) {
        if (larguras_[glifo] < 0) {
            ++glifo;
            continue;
        }
        saida += std::to_string(glifo) + " [";
        bool primeiro = true;
        for (; glifo < larguras_.size() && larguras_[glifo] >= 0; ++glifo) {
            if (!primeiro)
                saida += ' ';
            primeiro = false;
            ObjetosPdf::Numero(saida, larguras_[glifo]);
        }
        saida += "] ";
    }
    saida += "]";
    return saida;
}

std::string FontePdf::MapaUnicode() const {
    std::vector<size_t> glifos;
    for (size_t glifo = 0; glifo < mapeados_.size(); ++glifo) {
        if (mapeados_[glifo])
            glifos.push_back(glifo);
    }
    std::string mapa = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                       "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most 100 entries a block.
    for (size_t inicio = 0; inicio < glifos.size(); inicio += 100) {
        const size_t fim = std::min(glifos.size(), inicio + 100);
        mapa += std::to_string(fim - inicio) + " beginbfchar\n";
        for (size_t i = inicio; i < fim; ++i) {
            mapa += '<';
            Hexa4(mapa, static_cast<unsigned>(glifos[i]));
            mapa += "> <";
            for (const char16_t unidade : textos_[glifos[i]])
                Hexa4(mapa, unidade);
            mapa += ">\n";
        }
        mapa += "endbfchar\n";
    }
    mapa += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return mapa;
}

void FontePdf::Escrever(ObjetosPdf& objetos) const {
    // The subset keeps the glyph ids, so the codes the pages wrote stay
    // right; hinting goes, as the layout is unhinted.
    Ponteiro<hb_subset_input_t> entrada(hb_subset_input_create_or_fail());
    if (!entrada)
        throw Erro(Erro::SemMemoria, "Sem memória para embutir a fonte.", TARVO_ORIGEM_MOTOR);
    hb_set_t* conjunto = hb_subset_input_glyph_set(entrada.get());
    hb_set_add(conjunto, 0);
    for (size_t glifo = 0; glifo < larguras_.size(); ++glifo) {
        if (larguras_[glifo] >= 0)
            hb_set_add(conjunto, static_cast<hb_codepoint_t>(glifo));
    }
    hb_subset_input_set_flags(entrada.get(),
                              HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
    Ponteiro<hb_face_t> subconjunto(hb_subset_or_fail(fonte_.Face(), entrada.get()));
    if (!subconjunto) {
        throw Erro(Erro::FalhaInterface,
                   "A fonte \"" + fonte_.Caminho() + "\" não pôde ser embutida no PDF.",
                   TARVO_ORIGEM_MOTOR);
    }
    Ponteiro<hb_blob_t> blob(hb_face_reference_blob(subconjunto.get()));
    unsigned tamanho = 0;
    const char* dados = hb_blob_get_data(blob.get(), &tamanho);

    const int programa = objetos.Reservar();
    const int descritor = objetos.Reservar();
    const int cid = objetos.Reservar();
    const int unicode = objetos.Reservar();
    const std::string nome = Etiqueta() + "+" + NomePostScript();

    objetos.Fluxo(programa, "/Length1 " + std::to_string(tamanho), std::string_view(dados, tamanho),
                  true);

    const QByteArray cabeca = fonte_.Tabela("head");
    const QByteArray post = fonte_.Tabela("post");
    const double escala = porMil_;
    const auto medida = [&](int16_t valor) { return ObjetosPdf::Numero(valor * escala); };
    // post's italic angle is a 16.16 fixed number.
    const double inclinacao =
        post.size() >= 8
            ? (static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(post[4])) << 24) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(post[5])) << 16) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(post[6])) << 8) |
                                    static_cast<uint8_t>(post[7])) /
               65536.0)
            : 0.0;
    hb_position_t maiuscula = 0;
    if (!hb_ot_metrics_get_position(medidas_.get(), HB_OT_METRICS_TAG_CAP_HEIGHT, &maiuscula))
        maiuscula = static_cast<hb_position_t>(fonte_.Subida() * 1000 / escala);
    const int bandeiras = 4 | (fonte_.Italico() ? 64 : 0);
    objetos.Objeto(
        descritor,
        "<< /Type /FontDescriptor /FontName /" + nome + " /Flags " + std::to_string(bandeiras) +
            " /FontBBox [" + medida(Assinado16(cabeca, 36)) + ' ' + medida(Assinado16(cabeca, 38)) +
            ' ' + medida(Assinado16(cabeca, 40)) + ' ' + medida(Assinado16(cabeca, 42)) +
            "] /ItalicAngle " + ObjetosPdf::Numero(inclinacao) + " /Ascent " +
            ObjetosPdf::Numero(fonte_.Subida() * 1000) + " /Descent " +
            ObjetosPdf::Numero(-fonte_.Descida() * 1000) + " /CapHeight " +
            ObjetosPdf::Numero(maiuscula * escala) + " /StemV " +
            (fonte_.Negrito() ? "120" : "80") + " /FontFile2 " + ObjetosPdf::Ref(programa) + " >>");
    objetos.Objeto(cid, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + nome +
                            " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) "
                            "/Supplement 0 >> /FontDescriptor " +
                            ObjetosPdf::Ref(descritor) + " /DW 0 /W " + Larguras() +
                            " /CIDToGIDMap /Identity >>");
    objetos.Fluxo(unicode, "", MapaUnicode(), true);
    objetos.Objeto(objeto_, "<< /Type /Font /Subtype /Type0 /BaseFont /" + nome +
                                " /Encoding /Identity-H /DescendantFonts [" + ObjetosPdf::Ref(cid) +
                                "] /ToUnicode " + ObjetosPdf::Ref(unicode) + " >>");
}

} // namespace tarvo
