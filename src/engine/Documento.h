#pragma once

#include "common/Figura.h"
#include "engine/TabelaTextos.h"

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace tarvo {

struct Chamada;

// The operations that make up a document, in interface order.
enum class Operacao : uint8_t {
    IniciarDocumento,
    DefinirTitulo,
    DefinirTituloResumido,
    DefinirIcone,
    DefinirOrientacao,
    DefinirMargens,
    NovaPagina,
    AdicionarRetangulo,
    AdicionarCaixa,
    AdicionarTexto,
    AdicionarTextoMultilinha,
    AdicionarImagem,
};

// One argument as it goes into or comes out of the record: texts are views
// into the document's text table, pictures point into its picture list.
using ValorGravado = std::variant<double, int32_t, std::string_view, const Figura*>;

// One call read back from the record.
struct ChamadaLida {
    Operacao op = Operacao::IniciarDocumento;
    size_t quantidade = 0;
    std::array<ValorGravado, 13> args;

    double Double(size_t i) const { return std::get<double>(args[i]); }
    int32_t Long(size_t i) const { return std::get<int32_t>(args[i]); }
    std::string_view Texto(size_t i) const { return std::get<std::string_view>(args[i]); }
    const Figura& Imagem(size_t i) const { return *std::get<const Figura*>(args[i]); }
};

// The record of a document: every call since IniciarDocumento as a byte
// stream of operation codes, each followed by its arguments as variable-length
// indexes. Doubles, Longs, texts and pictures are stored once each, so a page
// of a typical report costs a few kilobytes whatever the number of pages.
class Documento {
public:
    Documento();

    // Appends a call; the arguments follow the operation's signature.
    void Gravar(Operacao op, std::initializer_list<ValorGravado> args);

    // Reads the call at `posicao` and moves `posicao` past it.
    ChamadaLida Ler(size_t& posicao) const;
    size_t Fim() const { return bytes_.size(); }

    // Pages count from 1. A page spans the record from its first element to
    // the start of the next page.
    int NumeroPaginas() const { return static_cast<int>(inicioPaginas_.size()); }
    size_t InicioPagina(int pagina) const;
    size_t FimPagina(int pagina) const;

    // Document settings: the last value given.
    const std::string& Titulo() const { return titulo_; }
    const std::string& TituloResumido() const { return tituloResumido_; }
    const Figura* Icone() const;
    bool Paisagem() const { return paisagem_; }
    const std::array<double, 4>& Margens() const { return margens_; } // left, top, right, bottom

    // What the document is about (which declaration): a property of its files,
    // not one of the calls, so it is not part of the record.
    const std::string& Assunto() const { return assunto_; }
    void DefinirAssunto(std::string assunto) { assunto_ = std::move(assunto); }
    // The files its outputs must never land on: the database it was built
    // from and that database's companions.
    const std::vector<std::string>& Protegidos() const { return protegidos_; }
    void DefinirProtegidos(std::vector<std::string> arquivos) { protegidos_ = std::move(arquivos); }

    std::vector<Chamada> Chamadas() const;
    size_t BytesOcupados() const;
    // Gives back the spare capacity once the document is complete.
    void Compactar();

    static const char* NomeOperacao(Operacao op);

private:
    void GravarNumero(uint32_t numero);
    uint32_t LerNumero(size_t& posicao) const;
    uint32_t IndiceDouble(double valor);
    uint32_t IndiceLong(int32_t valor);
    uint32_t IndiceFigura(const Figura& figura);
    void Acompanhar(Operacao op, std::initializer_list<ValorGravado> args, size_t inicio);

    std::vector<uint8_t> bytes_;
    std::vector<double> doubles_;
    std::unordered_map<uint64_t, uint32_t> indiceDoubles_;
    std::vector<int32_t> longs_;
    std::unordered_map<int32_t, uint32_t> indiceLongs_;
    TabelaTextos textos_;
    std::deque<Figura> figuras_;
    std::vector<uint32_t> inicioPaginas_;

    std::string titulo_;
    std::string tituloResumido_;
    std::string assunto_;
    std::vector<std::string> protegidos_;
    int icone_ = -1;
    bool paisagem_ = false;
    std::array<double, 4> margens_ = {2.0, 2.0, 2.0, 2.0};
};

} // namespace tarvo
