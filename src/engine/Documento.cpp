#include "engine/Documento.h"

#include <RelatoriosTarvo/Erro.h>

#include <bit>
#include <limits>
#include <stdexcept>

namespace tarvo {

namespace {

template <class... F> struct Casos : F... { using F::operator()...; };
// clang 14 does not deduce an aggregate's arguments by itself.
template <class... F> Casos(F...) -> Casos<F...>;

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
    ajustes_.push_back({op, static_cast<uint32_t>(registros_.size()), argumento});
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
    if (!inicioPaginas_.empty()) {
        inicioPaginas_.push_back(static_cast<uint32_t>(registros_.size()));
    }
}

void Documento::Adicionar(const Elemento& elemento) {
    if (registros_.size() == std::numeric_limits<uint32_t>::max()) {
        throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo.",
                   TARVO_ORIGEM_MOTOR);
    }
    const Registro registro =
        std::visit(Casos{[&](const Retangulo& r) {
                             const EstiloRetangulo estilo{r.preenchido, r.corContorno,
                                                          r.corPreenchimento, r.estilo};
                             return Registro{AreaDe(r.x, r.y, r.largura, r.altura), 0,
                                             estilosRetangulo_.Indice(estilo)};
                         },
                         [&](const Caixa& c) {
                             const EstiloCaixa estilo{c.arredondamento, Numero(c.espessura),
                                                      c.corContorno, c.corFundo, c.estilo};
                             return Registro{AreaDe(c.x, c.y, c.largura, c.altura), 0,
                                             estilosCaixa_.Indice(estilo)};
                         },
                         [&](const CamposTexto& t) {
                             const EstiloTexto estilo{t.alinhamentoHorizontal,
                                                      t.alinhamentoVertical,
                                                      t.fonte.indice,
                                                      Numero(t.tamanho),
                                                      t.negrito,
                                                      t.italico,
                                                      t.sublinhado,
                                                      t.cor};
                             return Registro{AreaDe(t.x, t.y, t.largura, t.altura), t.texto.indice,
                                             estilosTexto_.Indice(estilo)};
                         },
                         [&](const Imagem& i) {
                             // A picture's mode is kept as it is: there is no style to share.
                             return Registro{AreaDe(i.x, i.y, i.largura, i.altura), i.figura.indice,
                                             std::bit_cast<uint32_t>(i.modo)};
                         }},
                   elemento);
    if (inicioPaginas_.empty()) {
        inicioPaginas_.push_back(0);
    }
    registros_.push_back(registro);
    tipos_.push_back(OperacaoDe(elemento));
}

uint32_t Documento::Numero(double valor) {
    return numeros_.Indice(std::bit_cast<uint64_t>(valor));
}

double Documento::NumeroDe(uint32_t indice) const {
    return std::bit_cast<double>(numeros_[indice]);
}

uint32_t Documento::AreaDe(double x, double y, double largura, double altura) {
    return areas_.Indice({Numero(x), Numero(y), Numero(largura), Numero(altura)});
}

CamposTexto Documento::CamposDe(const Registro& registro) const {
    const Area& area = areas_[registro.area];
    const EstiloTexto& estilo = estilosTexto_[registro.estilo];
    return CamposTexto{NumeroDe(area.x),
                       NumeroDe(area.y),
                       NumeroDe(area.largura),
                       NumeroDe(area.altura),
                       IdTexto{registro.conteudo},
                       estilo.alinhamentoHorizontal,
                       estilo.alinhamentoVertical,
                       IdTexto{estilo.fonte},
                       NumeroDe(estilo.tamanho),
                       estilo.negrito,
                       estilo.italico,
                       estilo.sublinhado,
                       estilo.cor};
}

Elemento Documento::ElementoNumero(uint32_t indice) const {
    const Registro& registro = registros_[indice];
    const Area& area = areas_[registro.area];
    const double x = NumeroDe(area.x);
    const double y = NumeroDe(area.y);
    const double largura = NumeroDe(area.largura);
    const double altura = NumeroDe(area.altura);
    switch (tipos_[indice]) {
    case Operacao::AdicionarRetangulo: {
        const EstiloRetangulo& e = estilosRetangulo_[registro.estilo];
        return Retangulo{
            x, y, largura, altura, e.preenchido, e.corContorno, e.corPreenchimento, e.estilo};
    }
    case Operacao::AdicionarCaixa: {
        const EstiloCaixa& e = estilosCaixa_[registro.estilo];
        return Caixa{x,
                     y,
                     largura,
                     altura,
                     e.arredondamento,
                     NumeroDe(e.espessura),
                     e.corContorno,
                     e.corFundo,
                     e.estilo};
    }
    case Operacao::AdicionarTexto:
        return Texto{CamposDe(registro)};
    case Operacao::AdicionarTextoMultilinha:
        return TextoMultilinha{CamposDe(registro)};
    case Operacao::AdicionarImagem:
        return Imagem{x,
                      y,
                      largura,
                      altura,
                      IdFigura{registro.conteudo},
                      std::bit_cast<int32_t>(registro.estilo)};
    default:
        // Only elements are kept in registros_.
        throw std::logic_error("Documento: elemento de tipo desconhecido");
    }
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

Documento::Pagina Documento::Elementos(int pagina) const {
    const auto numero = static_cast<size_t>(pagina - 1);
    const uint32_t inicio = inicioPaginas_.at(numero);
    const uint32_t fim = numero + 1 < inicioPaginas_.size()
                             ? inicioPaginas_[numero + 1]
                             : static_cast<uint32_t>(registros_.size());
    return Pagina(*this, inicio, fim);
}

Elemento Documento::Pagina::at(size_t indice) const {
    if (indice >= size()) {
        throw std::out_of_range("Documento::Pagina::at");
    }
    return documento_->ElementoNumero(inicio_ + static_cast<uint32_t>(indice));
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
    return registros_.capacity() * sizeof(Registro) + tipos_.capacity() * sizeof(Operacao) +
           inicioPaginas_.capacity() * sizeof(uint32_t) + numeros_.BytesOcupados() +
           areas_.BytesOcupados() + estilosTexto_.BytesOcupados() +
           estilosRetangulo_.BytesOcupados() + estilosCaixa_.BytesOcupados() +
           ajustes_.capacity() * sizeof(Ajuste) + textos_.BytesOcupados();
}

void Documento::Compactar() {
    registros_.shrink_to_fit();
    tipos_.shrink_to_fit();
    inicioPaginas_.shrink_to_fit();
    numeros_.Compactar();
    areas_.Compactar();
    estilosTexto_.Compactar();
    estilosRetangulo_.Compactar();
    estilosCaixa_.Compactar();
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
