#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include "data/VigilanciaConsultas.h"

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
    } catch (const tarvo::Erro& levantado) {
        erro = levantado;
    } catch (const std::bad_alloc&) {
        erro = tarvo::Erro(tarvo::Erro::SemMemoria, "Out of memory");
    } catch (const std::exception& excecao) {
        erro = tarvo::Erro(tarvo::Erro::Interno, std::string("Internal error: ") + excecao.what());
    } catch (...) {
        erro = tarvo::Erro(tarvo::Erro::Interno, "Internal error");
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
        if (funcao == nullptr) {
            objeto.DefinirAcompanhamento(nullptr);
            return;
        }
        objeto.DefinirAcompanhamento([funcao, dados](const tarvo::Progresso& progresso) {
            const tarvo_progresso estado = {progresso.posicao,    progresso.relatorio,
                                            progresso.relatorios, progresso.linhas,
                                            progresso.paginas,    progresso.gravando ? 1 : 0};
            return funcao(&estado, dados) == 0;
        });
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
