#pragma once

#include "common/Figura.h"
#include "engine/Chamada.h"
#include "engine/Elementos.h"
#include "engine/TabelaTextos.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvo {

// The engine's calls, in interface order.
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

// Centimetres around the area the elements are placed in.
struct Margens {
    double esquerda = 2.0;
    double superior = 2.0;
    double direita = 2.0;
    double inferior = 2.0;
};

// The settings of the whole document: the last value each was given.
struct DefinicoesDocumento {
    std::string titulo;
    std::string tituloResumido;
    std::optional<IdFigura> icone;
    bool paisagem = false;
    Margens margens;
};

// One argument as the record gives it back: texts are views into the
// document's text table, pictures point into its picture list.
using ValorGravado = std::variant<double, int32_t, std::string_view, const Figura*>;

// One call as it was made, for the record.
struct ChamadaGravada {
    Operacao op = Operacao::IniciarDocumento;
    size_t quantidade = 0;
    std::array<ValorGravado, 13> args;
};

// The page model: the elements of each page in the order they were added,
// and the document's settings. Texts are stored once in a table and
// pictures once in a list, elements naming them by id, so that a page of a
// typical report costs some kilobytes however many pages there are.
//
// The calls that are not elements (settings, NovaPagina, IniciarDocumento)
// are also kept in order with the number of elements before each, so the
// record of every call can be given back exactly as it was made, repeated
// settings and a NovaPagina that started no page included.
//
// Pages: the first element opens page 1 and NovaPagina the next one; a
// NovaPagina before any element has no page to close.
class Documento {
public:
    Documento();

    // The calls, with arguments already checked by the engine.
    void IniciarDocumento();
    void DefinirTitulo(std::string_view titulo);
    void DefinirTituloResumido(std::string_view titulo);
    void DefinirIcone(const Figura& icone);
    void DefinirOrientacao(int32_t orientacao);
    void DefinirMargens(const Margens& margens);
    void NovaPagina();
    // The element's texts and picture come from Internar and Compartilhar.
    void Adicionar(const Elemento& elemento);

    IdTexto Internar(std::string_view texto);
    IdFigura Compartilhar(const Figura& figura);
    std::string_view TextoDe(IdTexto id) const { return textos_.Texto(id.indice); }
    const Figura& FiguraDe(IdFigura id) const { return figuras_[id.indice]; }

    // Pages count from 1.
    int NumeroPaginas() const { return static_cast<int>(paginas_.size()); }
    const std::vector<Elemento>& Elementos(int pagina) const;

    const DefinicoesDocumento& Definicoes() const { return definicoes_; }
    const Figura* Icone() const;

    // What the document is about (which declaration): a property of its files,
    // not one of the calls, so it is not part of the record.
    const std::string& Assunto() const { return assunto_; }
    void DefinirAssunto(std::string assunto) { assunto_ = std::move(assunto); }
    // The files its outputs must never land on: the database it was built
    // from and that database's companions.
    const std::vector<std::string>& Protegidos() const { return protegidos_; }
    void DefinirProtegidos(std::vector<std::string> arquivos) { protegidos_ = std::move(arquivos); }

    // Every call since the document began, in call order, with its arguments
    // as they were given.
    template <class Visitante> void Reproduzir(Visitante&& visitante) const;
    std::vector<Chamada> Chamadas() const;

    size_t BytesOcupados() const;
    // Gives back the spare capacity once the document is complete.
    void Compactar();

    static const char* NomeOperacao(Operacao op);
    static Operacao OperacaoDe(const Elemento& elemento);

private:
    // A call that is not an element, and how many elements came before it.
    struct Ajuste {
        Operacao op;
        uint32_t elementosAntes;
        std::variant<std::monostate, IdTexto, IdFigura, int32_t, Margens> argumento;
    };

    void Registrar(Operacao op, decltype(Ajuste::argumento) argumento);
    ChamadaGravada Gravada(const Ajuste& ajuste) const;
    ChamadaGravada Gravada(const Elemento& elemento) const;

    std::vector<std::vector<Elemento>> paginas_;
    std::vector<Ajuste> ajustes_;
    uint32_t elementos_ = 0;
    TabelaTextos textos_;
    std::deque<Figura> figuras_;

    DefinicoesDocumento definicoes_;
    std::string assunto_;
    std::vector<std::string> protegidos_;
};

template <class Visitante> void Documento::Reproduzir(Visitante&& visitante) const {
    auto ajuste = ajustes_.cbegin();
    uint32_t feitos = 0;
    const auto ajustesAte = [&](uint32_t elementos) {
        for (; ajuste != ajustes_.cend() && ajuste->elementosAntes <= elementos; ++ajuste) {
            visitante(Gravada(*ajuste));
        }
    };
    for (const std::vector<Elemento>& pagina : paginas_) {
        for (const Elemento& elemento : pagina) {
            ajustesAte(feitos);
            visitante(Gravada(elemento));
            ++feitos;
        }
    }
    ajustesAte(feitos);
}

} // namespace tarvo
