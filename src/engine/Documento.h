#pragma once

#include "common/Figura.h"
#include "engine/Chamada.h"
#include "engine/Elementos.h"
#include "engine/Internados.h"
#include "engine/TabelaTextos.h"

#include <array>
#include <cstddef>
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
// typical report costs some kilobytes however many pages there are. For the
// same reason an element is kept as three indexes: its rectangle into the
// document's distinct rectangles (each four indexes into its distinct
// numbers), its text or picture, and its font, size, alignment, colour and
// the like into a table of the distinct styles of its kind. Readers get it
// back as the named struct it was added as.
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

    // The elements of one page, in the order they were added, each read
    // back as the struct it was added as.
    class Pagina {
    public:
        class Iterador {
        public:
            using value_type = Elemento;
            using difference_type = std::ptrdiff_t;
            Iterador() = default;
            Iterador(const Documento* documento, uint32_t indice)
                : documento_(documento), indice_(indice) {}
            Elemento operator*() const { return documento_->ElementoNumero(indice_); }
            Iterador& operator++() {
                ++indice_;
                return *this;
            }
            Iterador operator++(int) {
                Iterador antes = *this;
                ++indice_;
                return antes;
            }
            bool operator==(const Iterador& outro) const { return indice_ == outro.indice_; }

        private:
            const Documento* documento_ = nullptr;
            uint32_t indice_ = 0;
        };

        Pagina(const Documento& documento, uint32_t inicio, uint32_t fim)
            : documento_(&documento), inicio_(inicio), fim_(fim) {}
        size_t size() const { return fim_ - inicio_; }
        bool empty() const { return fim_ == inicio_; }
        Elemento at(size_t indice) const;
        Iterador begin() const { return {documento_, inicio_}; }
        Iterador end() const { return {documento_, fim_}; }

    private:
        const Documento* documento_;
        uint32_t inicio_;
        uint32_t fim_;
    };

    // Pages count from 1.
    int NumeroPaginas() const { return static_cast<int>(inicioPaginas_.size()); }
    Pagina Elementos(int pagina) const;

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
    // An element as indexes: its rectangle into areas_; its text or picture
    // (none for shapes); its style into the table of its kind, or a
    // picture's mode itself.
    struct Registro {
        uint32_t area;
        uint32_t conteudo;
        uint32_t estilo;
    };
    // Position and size as indexes into numeros_: the rows and columns of a
    // report fall on the same rectangles page after page.
    struct Area {
        uint32_t x, y, largura, altura;
    };
    // What a text has besides its rectangle and its text; the size is an
    // index into numeros_, the font one into the text table.
    struct EstiloTexto {
        int32_t alinhamentoHorizontal, alinhamentoVertical;
        uint32_t fonte, tamanho;
        int32_t negrito, italico, sublinhado, cor;
    };
    struct EstiloRetangulo {
        int32_t preenchido, corContorno, corPreenchimento, estilo;
    };
    // The outline's thickness is an index into numeros_.
    struct EstiloCaixa {
        int32_t arredondamento;
        uint32_t espessura;
        int32_t corContorno, corFundo, estilo;
    };

    Elemento ElementoNumero(uint32_t indice) const;
    uint32_t Numero(double valor);
    double NumeroDe(uint32_t indice) const;
    uint32_t AreaDe(double x, double y, double largura, double altura);
    CamposTexto CamposDe(const Registro& registro) const;

    // A call that is not an element, and how many elements came before it.
    struct Ajuste {
        Operacao op;
        uint32_t elementosAntes;
        std::variant<std::monostate, IdTexto, IdFigura, int32_t, Margens> argumento;
    };

    void Registrar(Operacao op, decltype(Ajuste::argumento) argumento);
    ChamadaGravada Gravada(const Ajuste& ajuste) const;
    ChamadaGravada Gravada(const Elemento& elemento) const;

    // Every element of the document, in call order, and its kind; each page
    // starts at an index of inicioPaginas_ and ends where the next begins.
    std::vector<Registro> registros_;
    std::vector<Operacao> tipos_;
    std::vector<uint32_t> inicioPaginas_;
    Internados<uint64_t> numeros_; // the doubles' bits
    Internados<Area> areas_;
    Internados<EstiloTexto> estilosTexto_;
    Internados<EstiloRetangulo> estilosRetangulo_;
    Internados<EstiloCaixa> estilosCaixa_;
    std::vector<Ajuste> ajustes_;
    TabelaTextos textos_;
    std::deque<Figura> figuras_;

    DefinicoesDocumento definicoes_;
    std::string assunto_;
    std::vector<std::string> protegidos_;
};

template <class Visitante> void Documento::Reproduzir(Visitante&& visitante) const {
    auto ajuste = ajustes_.cbegin();
    const auto ajustesAte = [&](size_t elementos) {
        for (; ajuste != ajustes_.cend() && ajuste->elementosAntes <= elementos; ++ajuste) {
            visitante(Gravada(*ajuste));
        }
    };
    for (size_t feitos = 0; feitos < registros_.size(); ++feitos) {
        ajustesAte(feitos);
        visitante(Gravada(ElementoNumero(static_cast<uint32_t>(feitos))));
    }
    ajustesAte(registros_.size());
}

} // namespace tarvo
