#include "engine/ImpressorasCups.h"

#include <RelatoriosTarvo/Erro.h>

#include <cups/pwg.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

// Every destination of the scheduler, freed with cupsFreeDests.
struct ListaDestinos {
    cups_dest_t* destinos = nullptr;
    int quantos = 0;
    ListaDestinos() { quantos = cupsGetDests(&destinos); }
    ~ListaDestinos() { cupsFreeDests(quantos, destinos); }
    ListaDestinos(const ListaDestinos&) = delete;
    ListaDestinos& operator=(const ListaDestinos&) = delete;
};

struct LiberarInfo {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
struct ApagarIpp {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

std::string NomeDe(const cups_dest_t& destino) {
    std::string nome = destino.name;
    if (destino.instance != nullptr)
        nome += std::string("/") + destino.instance;
    return nome;
}

// "Fila" or "Fila/instância"; "" the default.
cups_dest_t* Obter(cups_dest_t* destinos, int quantos, const std::string& nome) {
    if (nome.empty())
        return cupsGetDest(nullptr, nullptr, quantos, destinos);
    const size_t barra = nome.find('/');
    const std::string fila = nome.substr(0, barra);
    const std::string instancia = barra == std::string::npos ? "" : nome.substr(barra + 1);
    return cupsGetDest(fila.c_str(), instancia.empty() ? nullptr : instancia.c_str(), quantos,
                       destinos);
}

std::string OpcaoDoDestino(const cups_dest_t& destino, const char* nome) {
    const char* valor = cupsGetOption(nome, destino.num_options, destino.options);
    return valor != nullptr ? valor : "";
}

std::string UltimoErroCups() {
    const char* texto = cupsLastErrorString();
    return texto != nullptr && *texto != '\0' ? texto : "erro desconhecido";
}

struct Traducao {
    const char* chave;
    const char* texto;
};

const char* Traduzir(const Traducao* tabela, size_t quantas, const std::string& chave) {
    for (size_t i = 0; i < quantas; ++i) {
        if (chave == tabela[i].chave)
            return tabela[i].texto;
    }
    return nullptr;
}

template <size_t N> const char* Traduzir(const Traducao (&tabela)[N], const std::string& chave) {
    return Traduzir(tabela, N, chave);
}

// The reasons people meet most, without their "-error", "-warning" or
// "-report" suffix; any other is shown as CUPS names it.
const Traducao motivos[] = {
    {"media-empty", "sem papel"},
    {"media-needed", "falta papel"},
    {"media-low", "pouco papel"},
    {"media-jam", "papel atolado"},
    {"toner-low", "pouco toner"},
    {"toner-empty", "sem toner"},
    {"marker-supply-low", "pouca tinta"},
    {"marker-supply-empty", "sem tinta"},
    {"marker-waste-almost-full", "recipiente de resíduos quase cheio"},
    {"marker-waste-full", "recipiente de resíduos cheio"},
    {"cover-open", "tampa aberta"},
    {"door-open", "porta aberta"},
    {"interlock-open", "trava aberta"},
    {"input-tray-missing", "falta a bandeja de entrada"},
    {"output-tray-missing", "falta a bandeja de saída"},
    {"output-area-almost-full", "bandeja de saída quase cheia"},
    {"output-area-full", "bandeja de saída cheia"},
    {"offline", "desconectada"},
    {"shutdown", "desligada"},
    {"timed-out", "não responde"},
    {"connecting-to-device", "conectando-se à impressora"},
    {"moving-to-paused", "parando"},
    {"spool-area-full", "fila cheia"},
    {"cups-missing-filter", "falta um filtro do CUPS para esta impressora"},
    {"cups-insecure-filter", "filtro do CUPS inseguro"},
};

const Traducao lados[] = {
    {"one-sided", "Só a frente"},
    {"two-sided-long-edge", "Frente e verso, virando na borda longa"},
    {"two-sided-short-edge", "Frente e verso, virando na borda curta"},
};
const Traducao cores[] = {
    {"monochrome", "Preto e branco"},
    {"color", "Colorida"},
    {"auto", "Automática"},
    {"auto-monochrome", "Preto e branco automático"},
    {"bi-level", "Preto e branco, sem tons de cinza"},
    {"process-monochrome", "Preto e branco (com as tintas de cor)"},
    {"highlight", "Cor de destaque"},
};
const Traducao qualidades[] = {
    {"3", "Rascunho"},
    {"4", "Normal"},
    {"5", "Alta"},
};
const Traducao bandejas[] = {
    {"face-down", "Com a face para baixo"},
    {"face-up", "Com a face para cima"},
    {"top", "Superior"},
    {"bottom", "Inferior"},
    {"center", "Central"},
    {"side", "Lateral"},
    {"left", "Esquerda"},
    {"right", "Direita"},
    {"rear", "Traseira"},
    {"large-capacity", "Alta capacidade"},
    {"auto", "Automática"},
};
const Traducao papeis[] = {
    {"Letter", "Carta"},
    {"Legal", "Ofício (Legal)"},
    {"Executive", "Executivo"},
    {"Tabloid", "Tabloide"},
    {"Statement", "Declaração (Statement)"},
};

// The options Propriedades offers, in this order.
const Traducao opcoes[] = {
    {"media", "Papel"},
    {"sides", "Frente e verso"},
    {"print-color-mode", "Cor"},
    {"print-quality", "Qualidade"},
    {"output-bin", "Bandeja de saída"},
};

// "A4 (210 × 297 mm)": the paper's usual name, and its size.
std::string RotuloPapel(const std::string& valor) {
    const pwg_media_t* papel = pwgMediaForPWG(valor.c_str());
    if (papel == nullptr)
        return valor;
    std::string nome;
    if (papel->ppd != nullptr) {
        const char* traduzido = Traduzir(papeis, papel->ppd);
        nome = traduzido != nullptr ? traduzido : papel->ppd;
    } else {
        // The name between the class and the size: "oe_photo-l_3.5x5in".
        const size_t inicio = valor.find('_');
        const size_t fim = valor.rfind('_');
        nome = inicio != std::string::npos && fim > inicio
                   ? valor.substr(inicio + 1, fim - inicio - 1)
                   : valor;
    }
    const auto mm = [](int centesimos) {
        return std::to_string(static_cast<int>(std::lround(centesimos / 100.0)));
    };
    return nome + " (" + mm(papel->width) + " × " + mm(papel->length) + " mm)";
}

std::string Rotulo(const std::string& opcao, const std::string& valor, cups_dest_t* destino,
                   cups_dinfo_t* info) {
    const char* traduzido = nullptr;
    if (opcao == "media")
        return RotuloPapel(valor);
    if (opcao == "sides")
        traduzido = Traduzir(lados, valor);
    else if (opcao == "print-color-mode")
        traduzido = Traduzir(cores, valor);
    else if (opcao == "print-quality")
        traduzido = Traduzir(qualidades, valor);
    else if (opcao == "output-bin")
        traduzido = Traduzir(bandejas, valor);
    if (traduzido != nullptr)
        return traduzido;
    // The printer's own words for a value of its own, when it has them.
    const char* daImpressora =
        cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, destino, info, opcao.c_str(), valor.c_str());
    return daImpressora != nullptr && *daImpressora != '\0' ? daImpressora : valor;
}

// Value `i` of an attribute as a job's option takes it: enums as numbers.
std::string Valor(ipp_attribute_t* atributo, int i) {
    switch (ippGetValueTag(atributo)) {
    case IPP_TAG_ENUM:
    case IPP_TAG_INTEGER:
        return std::to_string(ippGetInteger(atributo, i));
    case IPP_TAG_KEYWORD:
    case IPP_TAG_NAME:
    case IPP_TAG_NAMELANG:
    case IPP_TAG_TEXT:
    case IPP_TAG_TEXTLANG: {
        const char* texto = ippGetString(atributo, i, nullptr);
        return texto != nullptr ? texto : "";
    }
    default:
        return "";
    }
}

} // namespace

std::vector<ImpressorasCups::Situacao> ImpressorasCups::Listar() {
    const ListaDestinos lista;
    std::vector<Situacao> impressoras;
    const cups_dest_t* padrao = cupsGetDest(nullptr, nullptr, lista.quantos, lista.destinos);
    for (int i = 0; i < lista.quantos; ++i) {
        const cups_dest_t& destino = lista.destinos[i];
        Situacao situacao;
        situacao.nome = NomeDe(destino);
        situacao.padrao = &destino == padrao;
        const std::string estado = OpcaoDoDestino(destino, "printer-state");
        if (!estado.empty())
            situacao.estado = std::atoi(estado.c_str());
        situacao.aceita = OpcaoDoDestino(destino, "printer-is-accepting-jobs") != "false";
        const std::string motivosCups = OpcaoDoDestino(destino, "printer-state-reasons");
        size_t inicio = 0;
        while (inicio < motivosCups.size()) {
            const size_t virgula = std::min(motivosCups.find(',', inicio), motivosCups.size());
            const std::string motivo = motivosCups.substr(inicio, virgula - inicio);
            if (!motivo.empty() && motivo != "none")
                situacao.motivos.push_back(motivo);
            inicio = virgula + 1;
        }
        situacao.descricao = OpcaoDoDestino(destino, "printer-info");
        situacao.local = OpcaoDoDestino(destino, "printer-location");
        if (situacao.padrao)
            impressoras.insert(impressoras.begin(), std::move(situacao));
        else
            impressoras.push_back(std::move(situacao));
    }
    return impressoras;
}

std::string ImpressorasCups::Padrao() {
    const ListaDestinos lista;
    const cups_dest_t* padrao = cupsGetDest(nullptr, nullptr, lista.quantos, lista.destinos);
    return padrao != nullptr ? NomeDe(*padrao) : "";
}

cups_dest_t* ImpressorasCups::Procurar(cups_dest_t* destinos, int quantos,
                                       const std::string& nome) {
    if (quantos == 0) {
        throw Erro(Erro::SemImpressora, "Não há impressora instalada ou disponível no sistema.",
                   origem);
    }
    cups_dest_t* destino = Obter(destinos, quantos, nome);
    if (destino == nullptr) {
        if (nome.empty()) {
            throw Erro(Erro::SemImpressora, "Não há impressora padrão definida no sistema.",
                       origem);
        }
        throw Erro(Erro::SemImpressora, "A impressora \"" + nome + "\" não está disponível.",
                   origem);
    }
    return destino;
}

std::string ImpressorasCups::Verificar(const std::string& nome) {
    const ListaDestinos lista;
    return NomeDe(*Procurar(lista.destinos, lista.quantos, nome));
}

std::string ImpressorasCups::Mensagem(const std::string& nome) {
    const ListaDestinos lista;
    const cups_dest_t* destino = Obter(lista.destinos, lista.quantos, nome);
    if (destino == nullptr)
        return "";
    const std::string uri = OpcaoDoDestino(*destino, "printer-uri-supported");
    if (uri.empty())
        return "";
    ipp_t* pedido = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    // cupsDoRequest frees the request.
    const std::unique_ptr<ipp_t, ApagarIpp> resposta(cupsDoRequest(CUPS_HTTP_DEFAULT, pedido, "/"));
    ipp_attribute_t* mensagem =
        resposta ? ippFindAttribute(resposta.get(), "printer-state-message", IPP_TAG_TEXT)
                 : nullptr;
    const char* texto = mensagem != nullptr ? ippGetString(mensagem, 0, nullptr) : nullptr;
    return texto != nullptr ? texto : "";
}

std::string ImpressorasCups::Descrever(const Situacao& situacao, const std::string& mensagem) {
    std::string texto = situacao.estado == IPP_PSTATE_STOPPED      ? "Parada"
                        : situacao.estado == IPP_PSTATE_PROCESSING ? "Imprimindo"
                                                                   : "Pronta";
    std::string detalhes = mensagem;
    if (detalhes.empty()) {
        for (std::string motivo : situacao.motivos) {
            for (const char* sufixo : {"-error", "-warning", "-report"}) {
                const std::string fim = sufixo;
                if (motivo.size() > fim.size() &&
                    motivo.compare(motivo.size() - fim.size(), fim.size(), fim) == 0)
                    motivo.erase(motivo.size() - fim.size());
            }
            // A stopped printer is "paused" in CUPS's words: "Parada" says it.
            if (motivo == "paused" || motivo == "other")
                continue;
            const char* traduzido = Traduzir(motivos, motivo);
            detalhes += (detalhes.empty() ? "" : ", ") +
                        std::string(traduzido != nullptr ? traduzido : motivo);
        }
    }
    if (!detalhes.empty())
        texto += ": " + detalhes;
    if (!situacao.aceita)
        texto += "; não aceita trabalhos";
    return texto;
}

std::vector<ImpressorasCups::Opcao> ImpressorasCups::Opcoes(const std::string& nome) {
    const ListaDestinos lista;
    cups_dest_t* destino = Procurar(lista.destinos, lista.quantos, nome);
    const std::unique_ptr<cups_dinfo_t, LiberarInfo> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destino));
    if (!info) {
        throw Erro(Erro::SemImpressora,
                   "A impressora \"" + NomeDe(*destino) +
                       "\" não está disponível: " + UltimoErroCups(),
                   origem);
    }
    std::vector<Opcao> resultado;
    for (const Traducao& oferecida : opcoes) {
        ipp_attribute_t* suportados =
            cupsFindDestSupported(CUPS_HTTP_DEFAULT, destino, info.get(), oferecida.chave);
        if (suportados == nullptr)
            continue;
        Opcao opcao{oferecida.chave, oferecida.texto, {}, {}};
        for (int i = 0; i < ippGetCount(suportados); ++i) {
            const std::string valor = Valor(suportados, i);
            // Custom sizes are a range, not a choice.
            if (valor.empty() || valor.rfind("custom_", 0) == 0)
                continue;
            opcao.escolhas.push_back({valor, Rotulo(opcao.nome, valor, destino, info.get())});
        }
        if (opcao.escolhas.size() < 2)
            continue;
        const auto oferece = [&](const std::string& valor) {
            return std::any_of(opcao.escolhas.begin(), opcao.escolhas.end(),
                               [&](const Escolha& escolha) { return escolha.valor == valor; });
        };
        // The user's default (lpoptions) first; an enum may be given by name.
        std::string doUsuario = OpcaoDoDestino(*destino, oferecida.chave);
        if (ippGetValueTag(suportados) == IPP_TAG_ENUM && !doUsuario.empty() &&
            !std::isdigit(static_cast<unsigned char>(doUsuario[0])))
            doUsuario = std::to_string(ippEnumValue(oferecida.chave, doUsuario.c_str()));
        ipp_attribute_t* daImpressora =
            cupsFindDestDefault(CUPS_HTTP_DEFAULT, destino, info.get(), oferecida.chave);
        const std::string padraoImpressora =
            daImpressora != nullptr ? Valor(daImpressora, 0) : std::string();
        opcao.padrao = oferece(doUsuario)          ? doUsuario
                       : oferece(padraoImpressora) ? padraoImpressora
                                                   : opcao.escolhas.front().valor;
        resultado.push_back(std::move(opcao));
    }
    return resultado;
}

} // namespace tarvo
