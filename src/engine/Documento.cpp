#include "engine/Documento.h"

#include <RelatoriosTarvo/Erro.h>

#include <limits>

namespace tarvo {

namespace {

template <class... F> struct Casos : F... { using F::operator()...; };

// The arguments of a text call, in the call's order.
void ArgumentosTexto(ChamadaGravada& chamada, const CamposTexto& t, std::string_view texto,
                     std::string_view fonte) {
    chamada.args = {t.x,
                    t.y,
                    t.largura,
                    t.altura,
                    texto,
                    t.alinhamentoHorizontal,
                    t.alinhamentoVertical,
                    fonte,
                    t.tamanho,
                    t.negrito,
                    t.italico,
                    t.sublinhado,
                    t.cor};
    chamada.quantidade = 13;
}

} // namespace

Documento::Documento() = default;

void Documento::Registrar(Operacao op, decltype(Ajuste::argumento) argumento) {
    ajustes_.push_back({op, elementos_, argumento});
}

void Documento::IniciarDocumento() {
    Registrar(Operacao::IniciarDocumento, {});
}

void Documento::DefinirTitulo(std::string_view titulo) {
    Registrar(Operacao::DefinirTitulo, Internar(titulo));
    definicoes_.titulo = titulo;
}

void Documento::DefinirTituloResumido(std::string_view titulo) {
    Registrar(Operacao::DefinirTituloResumido, Internar(titulo));
    definicoes_.tituloResumido = titulo;
}

void Documento::DefinirIcone(const Figura& icone) {
    const IdFigura id = Compartilhar(icone);
    Registrar(Operacao::DefinirIcone, id);
    definicoes_.icone = id;
}

void Documento::DefinirOrientacao(int32_t orientacao) {
    Registrar(Operacao::DefinirOrientacao, orientacao);
    definicoes_.paisagem = orientacao == 1;
}

void Documento::DefinirMargens(const Margens& margens) {
    Registrar(Operacao::DefinirMargens, margens);
    definicoes_.margens = margens;
}

void Documento::NovaPagina() {
    Registrar(Operacao::NovaPagina, {});
    // Before the first element there is no page to close: the first element
    // opens page 1 in any case.
    if (!paginas_.empty()) {
        // A closed page takes no more elements: its spare capacity goes.
        paginas_.back().shrink_to_fit();
        paginas_.emplace_back();
    }
}

void Documento::Adicionar(const Elemento& elemento) {
    if (elementos_ == std::numeric_limits<uint32_t>::max()) {
        throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo.",
                   TARVO_ORIGEM_MOTOR);
    }
    if (paginas_.empty()) {
        paginas_.emplace_back();
    }
    paginas_.back().push_back(elemento);
    ++elementos_;
}

IdTexto Documento::Internar(std::string_view texto) {
    return IdTexto{textos_.Indice(texto)};
}

IdFigura Documento::Compartilhar(const Figura& figura) {
    // Pictures are shared, not copied: the same QImage keeps its cache key,
    // which also lets the PDF writer embed it once.
    for (size_t i = 0; i < figuras_.size(); ++i) {
        if (figuras_[i].Nome() == figura.Nome() &&
            figuras_[i].Imagem().cacheKey() == figura.Imagem().cacheKey()) {
            return IdFigura{static_cast<uint32_t>(i)};
        }
    }
    figuras_.push_back(figura);
    return IdFigura{static_cast<uint32_t>(figuras_.size() - 1)};
}

const std::vector<Elemento>& Documento::Elementos(int pagina) const {
    return paginas_.at(static_cast<size_t>(pagina - 1));
}

const Figura* Documento::Icone() const {
    return definicoes_.icone ? &FiguraDe(*definicoes_.icone) : nullptr;
}

ChamadaGravada Documento::Gravada(const Ajuste& ajuste) const {
    ChamadaGravada chamada;
    chamada.op = ajuste.op;
    std::visit(Casos{[](std::monostate) {},
                     [&](IdTexto id) {
                         chamada.args[0] = TextoDe(id);
                         chamada.quantidade = 1;
                     },
                     [&](IdFigura id) {
                         chamada.args[0] = &FiguraDe(id);
                         chamada.quantidade = 1;
                     },
                     [&](int32_t valor) {
                         chamada.args[0] = valor;
                         chamada.quantidade = 1;
                     },
                     [&](const Margens& m) {
                         chamada.args = {m.esquerda, m.superior, m.direita, m.inferior};
                         chamada.quantidade = 4;
                     }},
               ajuste.argumento);
    return chamada;
}

ChamadaGravada Documento::Gravada(const Elemento& elemento) const {
    ChamadaGravada chamada;
    chamada.op = OperacaoDe(elemento);
    std::visit(Casos{[&](const Retangulo& r) {
                         chamada.args = {r.x,          r.y,           r.largura,          r.altura,
                                         r.preenchido, r.corContorno, r.corPreenchimento, r.estilo};
                         chamada.quantidade = 8;
                     },
                     [&](const Caixa& c) {
                         chamada.args = {
                             c.x,         c.y,           c.largura,  c.altura, c.arredondamento,
                             c.espessura, c.corContorno, c.corFundo, c.estilo};
                         chamada.quantidade = 9;
                     },
                     [&](const CamposTexto& t) {
                         ArgumentosTexto(chamada, t, TextoDe(t.texto), TextoDe(t.fonte));
                     },
                     [&](const Imagem& i) {
                         chamada.args = {i.x,   i.y, i.largura, i.altura, &FiguraDe(i.figura),
                                         i.modo};
                         chamada.quantidade = 6;
                     }},
               elemento);
    return chamada;
}

std::vector<Chamada> Documento::Chamadas() const {
    std::vector<Chamada> chamadas;
    Reproduzir([&chamadas](const ChamadaGravada& gravada) {
        Chamada chamada{NomeOperacao(gravada.op), {}};
        for (size_t i = 0; i < gravada.quantidade; ++i) {
            std::visit(Casos{[&](double d) { chamada.args.emplace_back(d); },
                             [&](int32_t l) { chamada.args.emplace_back(l); },
                             [&](std::string_view s) { chamada.args.emplace_back(std::string(s)); },
                             [&](const Figura* f) { chamada.args.emplace_back(f->Nome()); }},
                       gravada.args[i]);
        }
        chamadas.push_back(std::move(chamada));
    });
    return chamadas;
}

size_t Documento::BytesOcupados() const {
    size_t bytes = paginas_.capacity() * sizeof(std::vector<Elemento>) +
                   ajustes_.capacity() * sizeof(Ajuste) + textos_.BytesOcupados();
    for (const std::vector<Elemento>& pagina : paginas_) {
        bytes += pagina.capacity() * sizeof(Elemento);
    }
    return bytes;
}

void Documento::Compactar() {
    for (std::vector<Elemento>& pagina : paginas_) {
        pagina.shrink_to_fit();
    }
    paginas_.shrink_to_fit();
    ajustes_.shrink_to_fit();
    textos_.Compactar();
}

Operacao Documento::OperacaoDe(const Elemento& elemento) {
    return std::visit(
        Casos{[](const Retangulo&) { return Operacao::AdicionarRetangulo; },
              [](const Caixa&) { return Operacao::AdicionarCaixa; },
              [](const Texto&) { return Operacao::AdicionarTexto; },
              [](const TextoMultilinha&) { return Operacao::AdicionarTextoMultilinha; },
              [](const Imagem&) { return Operacao::AdicionarImagem; }},
        elemento);
}

const char* Documento::NomeOperacao(Operacao op) {
    switch (op) {
    case Operacao::IniciarDocumento:
        return "IniciarDocumento";
    case Operacao::DefinirTitulo:
        return "DefinirTitulo";
    case Operacao::DefinirTituloResumido:
        return "DefinirTituloResumido";
    case Operacao::DefinirIcone:
        return "DefinirIcone";
    case Operacao::DefinirOrientacao:
        return "DefinirOrientacao";
    case Operacao::DefinirMargens:
        return "DefinirMargens";
    case Operacao::NovaPagina:
        return "NovaPagina";
    case Operacao::AdicionarRetangulo:
        return "AdicionarRetangulo";
    case Operacao::AdicionarCaixa:
        return "AdicionarCaixa";
    case Operacao::AdicionarTexto:
        return "AdicionarTexto";
    case Operacao::AdicionarTextoMultilinha:
        return "AdicionarTextoMultilinha";
    case Operacao::AdicionarImagem:
        return "AdicionarImagem";
    }
    return "";
}

} // namespace tarvo
