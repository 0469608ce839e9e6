#include "engine/Documento.h"

#include "engine/MotorRelatorio.h"
#include <RelatoriosTarvo/Erro.h>

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <cstring>
#include <limits>

namespace tarvo {

namespace {

// Argument types of each operation, in order: d Double, l Long, s String,
// f picture.
const char* Assinatura(Operacao op) {
    switch (op) {
    case Operacao::IniciarDocumento:
    case Operacao::NovaPagina:
        return "";
    case Operacao::DefinirTitulo:
    case Operacao::DefinirTituloResumido:
        return "s";
    case Operacao::DefinirIcone:
        return "f";
    case Operacao::DefinirOrientacao:
        return "l";
    case Operacao::DefinirMargens:
        return "dddd";
    case Operacao::AdicionarRetangulo:
        return "ddddllll";
    case Operacao::AdicionarCaixa:
        return "ddddldlll";
    case Operacao::AdicionarTexto:
    case Operacao::AdicionarTextoMultilinha:
        return "ddddsllsdllll";
    case Operacao::AdicionarImagem:
        return "ddddfl";
    }
    return "";
}

bool Elemento(Operacao op) {
    return op >= Operacao::AdicionarRetangulo;
}

} // namespace

Documento::Documento() = default;

void Documento::Gravar(Operacao op, std::initializer_list<ValorGravado> args) {
    const char* assinatura = Assinatura(op);
    assert(std::strlen(assinatura) == args.size());
    if (bytes_.size() > std::numeric_limits<uint32_t>::max() - 1024) {
        throw Erro(Erro::ArgumentoInvalido, "O documento excede o tamanho máximo.",
                   TARVO_ORIGEM_MOTOR);
    }
    const size_t inicio = bytes_.size();
    bytes_.push_back(static_cast<uint8_t>(op));
    size_t i = 0;
    for (const ValorGravado& valor : args) {
        switch (assinatura[i++]) {
        case 'd':
            GravarNumero(IndiceDouble(std::get<double>(valor)));
            break;
        case 'l':
            GravarNumero(IndiceLong(std::get<int32_t>(valor)));
            break;
        case 's':
            GravarNumero(textos_.Indice(std::get<std::string_view>(valor)));
            break;
        case 'f':
            GravarNumero(IndiceFigura(*std::get<const Figura*>(valor)));
            break;
        }
    }
    Acompanhar(op, args, inicio);
}

void Documento::Acompanhar(Operacao op, std::initializer_list<ValorGravado> args, size_t inicio) {
    const ValorGravado* arg = args.begin();
    switch (op) {
    case Operacao::DefinirTitulo:
        titulo_ = std::get<std::string_view>(arg[0]);
        break;
    case Operacao::DefinirTituloResumido:
        tituloResumido_ = std::get<std::string_view>(arg[0]);
        break;
    case Operacao::DefinirIcone:
        icone_ = static_cast<int>(IndiceFigura(*std::get<const Figura*>(arg[0])));
        break;
    case Operacao::DefinirOrientacao:
        paisagem_ = std::get<int32_t>(arg[0]) == 1;
        break;
    case Operacao::DefinirMargens:
        for (size_t k = 0; k < 4; ++k) {
            margens_[k] = std::get<double>(arg[k]);
        }
        break;
    case Operacao::NovaPagina:
        // Before the first element there is no page to close: the first
        // element opens page 1 in any case.
        if (!inicioPaginas_.empty()) {
            inicioPaginas_.push_back(static_cast<uint32_t>(bytes_.size()));
        }
        break;
    default:
        if (Elemento(op) && inicioPaginas_.empty()) {
            inicioPaginas_.push_back(static_cast<uint32_t>(inicio));
        }
        break;
    }
}

ChamadaLida Documento::Ler(size_t& posicao) const {
    ChamadaLida chamada;
    chamada.op = static_cast<Operacao>(bytes_[posicao++]);
    const char* assinatura = Assinatura(chamada.op);
    for (size_t i = 0; assinatura[i] != '\0'; ++i) {
        const uint32_t numero = LerNumero(posicao);
        switch (assinatura[i]) {
        case 'd':
            chamada.args[i] = doubles_[numero];
            break;
        case 'l':
            chamada.args[i] = longs_[numero];
            break;
        case 's':
            chamada.args[i] = textos_.Texto(numero);
            break;
        case 'f':
            chamada.args[i] = &figuras_[numero];
            break;
        }
        chamada.quantidade = i + 1;
    }
    return chamada;
}

size_t Documento::InicioPagina(int pagina) const {
    return inicioPaginas_.at(static_cast<size_t>(pagina - 1));
}

size_t Documento::FimPagina(int pagina) const {
    return pagina < NumeroPaginas() ? inicioPaginas_.at(static_cast<size_t>(pagina))
                                    : bytes_.size();
}

const Figura* Documento::Icone() const {
    return icone_ < 0 ? nullptr : &figuras_[static_cast<size_t>(icone_)];
}

std::vector<Chamada> Documento::Chamadas() const {
    std::vector<Chamada> chamadas;
    size_t posicao = 0;
    while (posicao < bytes_.size()) {
        const ChamadaLida lida = Ler(posicao);
        Chamada chamada{NomeOperacao(lida.op), {}};
        for (size_t i = 0; i < lida.quantidade; ++i) {
            const ValorGravado& valor = lida.args[i];
            if (const auto* d = std::get_if<double>(&valor)) {
                chamada.args.emplace_back(*d);
            } else if (const auto* l = std::get_if<int32_t>(&valor)) {
                chamada.args.emplace_back(*l);
            } else if (const auto* s = std::get_if<std::string_view>(&valor)) {
                chamada.args.emplace_back(std::string(*s));
            } else {
                chamada.args.emplace_back(std::get<const Figura*>(valor)->Nome());
            }
        }
        chamadas.push_back(std::move(chamada));
    }
    return chamadas;
}

size_t Documento::BytesOcupados() const {
    // Hash nodes: the key, the index and about two pointers of overhead.
    const size_t porDouble =
        sizeof(double) + sizeof(uint64_t) + sizeof(uint32_t) + 3 * sizeof(void*);
    const size_t porLong = 2 * sizeof(int32_t) + sizeof(uint32_t) + 3 * sizeof(void*);
    return bytes_.capacity() + doubles_.capacity() * sizeof(double) +
           indiceDoubles_.size() * porDouble + longs_.capacity() * sizeof(int32_t) +
           indiceLongs_.size() * porLong + textos_.BytesOcupados() +
           inicioPaginas_.capacity() * sizeof(uint32_t);
}

void Documento::Compactar() {
    bytes_.shrink_to_fit();
    doubles_.shrink_to_fit();
    longs_.shrink_to_fit();
    inicioPaginas_.shrink_to_fit();
    textos_.Compactar();
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

void Documento::GravarNumero(uint32_t numero) {
    while (numero >= 0x80) {
        bytes_.push_back(static_cast<uint8_t>(numero | 0x80));
        numero >>= 7;
    }
    bytes_.push_back(static_cast<uint8_t>(numero));
}

uint32_t Documento::LerNumero(size_t& posicao) const {
    uint32_t numero = 0;
    int deslocamento = 0;
    uint8_t byte = 0;
    do {
        byte = bytes_[posicao++];
        numero |= static_cast<uint32_t>(byte & 0x7F) << deslocamento;
        deslocamento += 7;
    } while (byte & 0x80);
    return numero;
}

uint32_t Documento::IndiceDouble(double valor) {
    const auto bits = std::bit_cast<uint64_t>(valor);
    const auto [item, novo] =
        indiceDoubles_.try_emplace(bits, static_cast<uint32_t>(doubles_.size()));
    if (novo) {
        doubles_.push_back(valor);
    }
    return item->second;
}

uint32_t Documento::IndiceLong(int32_t valor) {
    const auto [item, novo] = indiceLongs_.try_emplace(valor, static_cast<uint32_t>(longs_.size()));
    if (novo) {
        longs_.push_back(valor);
    }
    return item->second;
}

uint32_t Documento::IndiceFigura(const Figura& figura) {
    // Pictures are shared, not copied: the same QImage keeps its cache key,
    // which also lets the PDF writer embed it once.
    for (size_t i = 0; i < figuras_.size(); ++i) {
        if (figuras_[i].Nome() == figura.Nome() &&
            figuras_[i].Imagem().cacheKey() == figura.Imagem().cacheKey()) {
            return static_cast<uint32_t>(i);
        }
    }
    figuras_.push_back(figura);
    return static_cast<uint32_t>(figuras_.size() - 1);
}

} // namespace tarvo
