#pragma once

#include "engine/CompressorFlate.h"

#include <QCryptographicHash>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

class ArquivoAtomico;

// The object layer of a PDF file written in one pass: numbered objects in
// any order, streams (compressed or not), then the cross-reference stream
// with the trailer's entries. Objects that are not streams go, compressed,
// into object streams of up to 200 each: a tagged report has one structure
// element a table cell. The file's identifier is a digest of everything
// written before it, so equal content gives equal bytes.
class ObjetosPdf {
public:
    explicit ObjetosPdf(ArquivoAtomico& arquivo);

    // A number for an object written later.
    int Reservar();
    // `corpo` is the object's whole value ("<< /Type /Page … >>").
    void Objeto(int numero, std::string_view corpo);
    // A stream: `entradas` are its dictionary's entries besides /Length and
    // /Filter; `dados` go compressed with Flate when `comprimir`.
    void Fluxo(int numero, std::string_view entradas, std::string_view dados, bool comprimir);
    // A stream whose data are already Flate-compressed.
    void FluxoComprimido(int numero, std::string_view entradas, std::string_view comprimidos);
    // The cross-reference stream; every reserved object must have been
    // written.
    void Concluir(int catalogo, int informacoes);


    // A number as PDF writes it: at most three decimals, no exponent, a
    // point whatever the locale.
    static void Numero(std::string& saida, double valor);
    static std::string Numero(double valor);
    // A text string: plain ASCII as a literal, anything else as UTF-16BE
    // with its byte-order mark, in hexadecimal.
    static std::string Texto(const QString& texto);
    static std::string Texto(const std::string& utf8) {
        return Texto(QString::fromStdString(utf8));
    }
    // "n 0 R".
    static std::string Ref(int numero) { return std::to_string(numero) + " 0 R"; }
    static void Ref(std::string& saida, int numero);
    static void Inteiro(std::string& saida, uint64_t valor);

private:
    struct Entrada {
        uint8_t tipo = 0;    // 1 at an offset, 2 in an object stream; 0 unwritten
        uint64_t campo = 0;  // the offset, or the object stream's number
        uint32_t indice = 0; // within the object stream
    };

    void Gravar(std::string_view dados);
    void Abrir(int numero);
    void EscreverLote();

    ArquivoAtomico& arquivo_;
    QCryptographicHash resumo_{QCryptographicHash::Md5};
    CompressorFlate compressor_;
    uint64_t posicao_ = 0;
    std::vector<Entrada> entradas_; // by object number - 1
    // The object stream being filled: its objects' numbers and offsets, and
    // their bodies.
    std::string loteCabecalho_;
    std::string loteCorpo_;
    std::vector<int> loteObjetos_;
};

} // namespace tarvo
