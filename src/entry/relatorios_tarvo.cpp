#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include "common/ErroAtual.h"
#include "data/VigilanciaConsultas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>

struct tarvo_relatorios {
    tarvo::Relatorios relatorios;
    // Given to every database a call opens or borrows.
    double tempoLimite = 0;
    long erroNumero = 0;
    std::string erroOrigem;
    std::string erroDescricao;
    // The text the last call that returns one gave back.
    std::string texto;
    // What the last tarvo_relatorios_escolher_declaracao gave back.
    std::optional<tarvo::DeclaracaoEscolhida> escolhida;
};

namespace {

// No exception may cross into C: every failure becomes the handle's error.
template <typename Acao> long Chamar(tarvo_relatorios* relatorios, Acao acao) {
    if (relatorios == nullptr)
        return tarvo::Erro::ObjetoInvalido;
    tarvo::Erro erro(0, "", "");
    try {
        acao(relatorios->relatorios);
    } catch (...) {
        erro = tarvo::ErroAtual::Capturar();
    }
    relatorios->erroNumero = erro.Numero();
    relatorios->erroOrigem = erro.Origem();
    relatorios->erroDescricao = erro.Descricao();
    return erro.Numero();
}

std::string Texto(const char* texto) {
    return texto == nullptr ? std::string() : texto;
}

// The database of a call: the host's connection, borrowed, or a file, with
// the handle's time limit.
std::unique_ptr<tarvo::Database> Banco(const tarvo_relatorios* relatorios, sqlite3* banco) {
    if (banco == nullptr)
        throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido, "Invalid argument.");
    auto database = std::make_unique<tarvo::Database>(banco);
    database->DefinirTempoLimite(relatorios->tempoLimite);
    return database;
}

std::unique_ptr<tarvo::Database> Banco(const tarvo_relatorios* relatorios, const char* caminho) {
    if (caminho == nullptr)
        throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido, "Invalid argument.");
    auto database = std::make_unique<tarvo::Database>(std::string(caminho));
    database->DefinirTempoLimite(relatorios->tempoLimite);
    return database;
}

void ExigirPasta(const char* pastaPdf, const char* pastaJson) {
    if (Texto(pastaPdf).empty() && Texto(pastaJson).empty())
        throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido,
                          "Nenhuma pasta de saída indicada (PDF ou JSON).");
}

// Executar, Visualizar or Imprimir: the reports of a mask, with or without
// the dialog.
using Saida = void (tarvo::Relatorios::*)(const tarvo::Database&, const std::string&,
                                          const int32_t&, const int32_t&);

template <typename Fonte>
long Mostrar(tarvo_relatorios* relatorios, Saida saida, Fonte fonte, const char* ie,
             int32_t declaracao, int32_t mascara) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        (objeto.*saida)(*Banco(relatorios, fonte), Texto(ie), declaracao, mascara);
    });
}

template <typename Fonte>
long Exportar(tarvo_relatorios* relatorios, Fonte fonte, const char* ie, int32_t declaracao,
              int32_t mascara, const char* pastaPdf, const char* pastaJson) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        ExigirPasta(pastaPdf, pastaJson);
        objeto.Exportar(*Banco(relatorios, fonte), Texto(ie), declaracao, mascara, Texto(pastaPdf),
                        Texto(pastaJson));
    });
}

template <typename Fonte>
long ExportarPdfUnico(tarvo_relatorios* relatorios, Fonte fonte, const char* ie, int32_t declaracao,
                      int32_t mascara, const char* caminhoPdf) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        if (Texto(caminhoPdf).empty())
            throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido, "Nenhum arquivo PDF indicado.");
        objeto.ExportarPdfUnico(*Banco(relatorios, fonte), Texto(ie), declaracao, mascara,
                                caminhoPdf);
    });
}

// The host's C callback as the library calls it.
tarvo::Relatorios::Acompanhamento Acompanhamento(tarvo_acompanhamento funcao, void* dados) {
    if (funcao == nullptr)
        return nullptr;
    return [funcao, dados](const tarvo::Progresso& progresso) {
        const tarvo_progresso estado = {progresso.posicao,    progresso.relatorio,
                                        progresso.relatorios, progresso.linhas,
                                        progresso.paginas,    progresso.gravando ? 1 : 0};
        return funcao(&estado, dados) == 0;
    };
}

// A C request made the library's, with the database it names, for one call.
// Fields past the caller's `tamanho` count as zero.
class PedidoC {
public:
    explicit PedidoC(const tarvo_pedido* origem) {
        constexpr size_t minimo = offsetof(tarvo_pedido, mascara) + sizeof(int32_t);
        if (origem == nullptr || origem->tamanho < minimo)
            throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido,
                              "Pedido inválido: falta o pedido ou o seu tamanho.");
        tarvo_pedido c{};
        std::memcpy(&c, origem, std::min(origem->tamanho, sizeof c));
        if ((c.banco == nullptr) == (c.caminho_banco == nullptr))
            throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido,
                              "Pedido inválido: indique o banco aberto ou o caminho do banco, "
                              "um dos dois.");
        banco_ = c.banco != nullptr
                     ? std::make_unique<tarvo::Database>(c.banco)
                     : std::make_unique<tarvo::Database>(std::string(c.caminho_banco));
        banco_->DefinirTempoLimite(c.tempo_limite);
        pedido_ = {banco_.get(),
                   Texto(c.ie),
                   c.declaracao,
                   c.mascara,
                   Acompanhamento(c.acompanhamento, c.dados),
                   Texto(c.impressora)};
    }
    const tarvo::Pedido& Pedido() const { return pedido_; }

private:
    std::unique_ptr<tarvo::Database> banco_;
    tarvo::Pedido pedido_;
};

using SaidaPedido = void (tarvo::Relatorios::*)(const tarvo::Pedido&);

long MostrarPedido(tarvo_relatorios* relatorios, SaidaPedido saida, const tarvo_pedido* pedido) {
    return Chamar(relatorios,
                  [&](tarvo::Relatorios& objeto) { (objeto.*saida)(PedidoC(pedido).Pedido()); });
}

template <typename Fonte>
const char* IEDaDeclaracao(tarvo_relatorios* relatorios, Fonte fonte, int32_t declaracao) {
    bool achou = false;
    const long erro = Chamar(relatorios, [&](tarvo::Relatorios&) {
        const std::optional<std::string> ie =
            tarvo::Relatorios::IEDaDeclaracao(*Banco(relatorios, fonte), declaracao);
        achou = ie.has_value();
        relatorios->texto = ie.value_or("");
    });
    return erro == 0 && achou ? relatorios->texto.c_str() : nullptr;
}

template <typename Fonte>
const char* Aviso(tarvo_relatorios* relatorios, Fonte fonte, const char* ie, int32_t declaracao,
                  int32_t mascara) {
    const long erro = Chamar(relatorios, [&](tarvo::Relatorios&) {
        relatorios->texto =
            tarvo::Relatorios::Aviso(*Banco(relatorios, fonte), Texto(ie), declaracao, mascara);
    });
    return erro == 0 ? relatorios->texto.c_str() : nullptr;
}

} // namespace

extern "C" {

const char* tarvo_relatorios_versao(void) {
    return TARVO_VERSAO;
}

tarvo_relatorios* tarvo_relatorios_criar(void) {
    try {
        return new tarvo_relatorios();
    } catch (...) {
        return nullptr;
    }
}

void tarvo_relatorios_destruir(tarvo_relatorios* relatorios) {
    delete relatorios;
}

long tarvo_relatorios_executar(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t opcoes_selecionadas) {
    return Mostrar(relatorios, &tarvo::Relatorios::Executar, banco, ie, declaracao,
                   opcoes_selecionadas);
}

long tarvo_relatorios_executar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao,
                                       int32_t opcoes_selecionadas) {
    return Mostrar(relatorios, &tarvo::Relatorios::Executar, caminho_banco, ie, declaracao,
                   opcoes_selecionadas);
}

long tarvo_relatorios_exportar(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t mascara, const char* pasta_pdf,
                               const char* pasta_json) {
    return Exportar(relatorios, banco, ie, declaracao, mascara, pasta_pdf, pasta_json);
}

long tarvo_relatorios_exportar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao, int32_t mascara,
                                       const char* pasta_pdf, const char* pasta_json) {
    return Exportar(relatorios, caminho_banco, ie, declaracao, mascara, pasta_pdf, pasta_json);
}

long tarvo_relatorios_exportar_pdf_unico(tarvo_relatorios* relatorios, sqlite3* banco,
                                         const char* ie, int32_t declaracao, int32_t mascara,
                                         const char* caminho_pdf) {
    return ExportarPdfUnico(relatorios, banco, ie, declaracao, mascara, caminho_pdf);
}

long tarvo_relatorios_exportar_pdf_unico_arquivo(tarvo_relatorios* relatorios,
                                                 const char* caminho_banco, const char* ie,
                                                 int32_t declaracao, int32_t mascara,
                                                 const char* caminho_pdf) {
    return ExportarPdfUnico(relatorios, caminho_banco, ie, declaracao, mascara, caminho_pdf);
}

long tarvo_relatorios_visualizar(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                                 int32_t declaracao, int32_t mascara) {
    return Mostrar(relatorios, &tarvo::Relatorios::Visualizar, banco, ie, declaracao, mascara);
}

long tarvo_relatorios_visualizar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                         const char* ie, int32_t declaracao, int32_t mascara) {
    return Mostrar(relatorios, &tarvo::Relatorios::Visualizar, caminho_banco, ie, declaracao,
                   mascara);
}

long tarvo_relatorios_imprimir(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t mascara) {
    return Mostrar(relatorios, &tarvo::Relatorios::Imprimir, banco, ie, declaracao, mascara);
}

long tarvo_relatorios_imprimir_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao, int32_t mascara) {
    return Mostrar(relatorios, &tarvo::Relatorios::Imprimir, caminho_banco, ie, declaracao,
                   mascara);
}

long tarvo_relatorios_definir_acompanhamento(tarvo_relatorios* relatorios,
                                             tarvo_acompanhamento funcao, void* dados) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        objeto.DefinirAcompanhamento(Acompanhamento(funcao, dados));
    });
}

long tarvo_relatorios_executar_pedido(tarvo_relatorios* relatorios, const tarvo_pedido* pedido) {
    return MostrarPedido(relatorios, &tarvo::Relatorios::Executar, pedido);
}

long tarvo_relatorios_visualizar_pedido(tarvo_relatorios* relatorios, const tarvo_pedido* pedido) {
    return MostrarPedido(relatorios, &tarvo::Relatorios::Visualizar, pedido);
}

long tarvo_relatorios_imprimir_pedido(tarvo_relatorios* relatorios, const tarvo_pedido* pedido) {
    return MostrarPedido(relatorios, &tarvo::Relatorios::Imprimir, pedido);
}

long tarvo_relatorios_exportar_pedido(tarvo_relatorios* relatorios, const tarvo_pedido* pedido,
                                      const char* pasta_pdf, const char* pasta_json,
                                      const char* arquivo_pdf_unico) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        if (Texto(pasta_pdf).empty() && Texto(pasta_json).empty() &&
            Texto(arquivo_pdf_unico).empty())
            throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido,
                              "Nenhuma saída indicada (pasta de PDF ou JSON, ou arquivo PDF).");
        objeto.Exportar(PedidoC(pedido).Pedido(), Texto(pasta_pdf), Texto(pasta_json),
                        Texto(arquivo_pdf_unico));
    });
}

long tarvo_relatorios_definir_tempo_limite(tarvo_relatorios* relatorios, double segundos) {
    return Chamar(relatorios, [&](tarvo::Relatorios&) {
        tarvo::VigilanciaConsultas::VerificarTempoLimite(segundos);
        relatorios->tempoLimite = segundos;
    });
}

long tarvo_relatorios_aguardar_janelas(tarvo_relatorios* relatorios) {
    return Chamar(relatorios, [](tarvo::Relatorios& objeto) { objeto.AguardarJanelas(); });
}

const char* tarvo_relatorios_ie_da_declaracao(tarvo_relatorios* relatorios, sqlite3* banco,
                                              int32_t declaracao) {
    return IEDaDeclaracao(relatorios, banco, declaracao);
}

const char* tarvo_relatorios_ie_da_declaracao_arquivo(tarvo_relatorios* relatorios,
                                                      const char* caminho_banco,
                                                      int32_t declaracao) {
    return IEDaDeclaracao(relatorios, caminho_banco, declaracao);
}

const char* tarvo_relatorios_aviso(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                                   int32_t declaracao, int32_t mascara) {
    return Aviso(relatorios, banco, ie, declaracao, mascara);
}

const char* tarvo_relatorios_aviso_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                           const char* ie, int32_t declaracao, int32_t mascara) {
    return Aviso(relatorios, caminho_banco, ie, declaracao, mascara);
}

long tarvo_relatorios_escolher_declaracao(tarvo_relatorios* relatorios, const char* caminho_banco,
                                          tarvo_declaracao_escolhida* escolhida) {
    if (escolhida != nullptr)
        *escolhida = {nullptr, 0, nullptr};
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        if (escolhida == nullptr)
            throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido, "Invalid argument.");
        relatorios->escolhida = objeto.EscolherDeclaracao(Texto(caminho_banco));
        if (relatorios->escolhida)
            *escolhida = {relatorios->escolhida->Banco.c_str(), relatorios->escolhida->Declaracao,
                          relatorios->escolhida->IE.c_str()};
    });
}

long tarvo_relatorios_erro_numero(const tarvo_relatorios* relatorios) {
    return relatorios == nullptr ? tarvo::Erro::ObjetoInvalido : relatorios->erroNumero;
}

const char* tarvo_relatorios_erro_origem(const tarvo_relatorios* relatorios) {
    return relatorios == nullptr ? TARVO_ORIGEM_BIBLIOTECA : relatorios->erroOrigem.c_str();
}

const char* tarvo_relatorios_erro_descricao(const tarvo_relatorios* relatorios) {
    return relatorios == nullptr ? "Object invalid or no longer set."
                                 : relatorios->erroDescricao.c_str();
}

} // extern "C"
