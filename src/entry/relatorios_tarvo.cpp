#include "entry/relatorios_tarvo.h"

#include "common/Erro.h"
#include "data/Database.h"
#include "entry/ExportadorRelatorios.h"
#include "entry/Relatorios.h"

#include <exception>
#include <new>
#include <string>

struct tarvo_relatorios {
    tarvo::Relatorios relatorios;
    long erroNumero = 0;
    std::string erroDescricao;
};

namespace {

// The handle's errors come from "Out of memory" and "Internal error" as well
// as from the library's own Erro: no exception may cross into C.
constexpr long SemMemoria = 7;
constexpr long ErroInterno = 51;

template <typename Acao> long Chamar(tarvo_relatorios* relatorios, Acao acao) {
    if (relatorios == nullptr)
        return tarvo::Erro::ObjetoInvalido;
    long numero = 0;
    std::string descricao;
    try {
        acao(relatorios->relatorios);
    } catch (const tarvo::Erro& erro) {
        numero = erro.Numero();
        descricao = erro.Descricao();
    } catch (const std::bad_alloc&) {
        numero = SemMemoria;
        descricao = "Out of memory";
    } catch (const std::exception& erro) {
        numero = ErroInterno;
        descricao = std::string("Internal error: ") + erro.what();
    } catch (...) {
        numero = ErroInterno;
        descricao = "Internal error";
    }
    relatorios->erroNumero = numero;
    relatorios->erroDescricao = descricao;
    return numero;
}

std::string Texto(const char* texto) {
    return texto == nullptr ? std::string() : texto;
}

void ExigirBanco(const void* banco) {
    if (banco == nullptr)
        throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido, "Invalid argument.");
}

void ExigirPasta(const char* pastaPdf, const char* pastaJson) {
    if (Texto(pastaPdf).empty() && Texto(pastaJson).empty())
        throw tarvo::Erro(tarvo::Erro::ArgumentoInvalido,
                          "Nenhuma pasta de saída indicada (PDF ou JSON).");
}

} // namespace

extern "C" {

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
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        ExigirBanco(banco);
        const tarvo::Database BancoDados(banco);
        objeto.Executar(BancoDados, Texto(ie), declaracao, opcoes_selecionadas);
    });
}

long tarvo_relatorios_executar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao,
                                       int32_t opcoes_selecionadas) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        ExigirBanco(caminho_banco);
        const tarvo::Database BancoDados{std::string(caminho_banco)};
        objeto.Executar(BancoDados, Texto(ie), declaracao, opcoes_selecionadas);
    });
}

long tarvo_relatorios_exportar(tarvo_relatorios* relatorios, sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t mascara, const char* pasta_pdf,
                               const char* pasta_json) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        ExigirBanco(banco);
        ExigirPasta(pasta_pdf, pasta_json);
        const tarvo::Database BancoDados(banco);
        tarvo::ExportadorRelatorios(objeto).Exportar(BancoDados, Texto(ie), declaracao, mascara,
                                                     Texto(pasta_pdf), Texto(pasta_json));
    });
}

long tarvo_relatorios_exportar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao, int32_t mascara,
                                       const char* pasta_pdf, const char* pasta_json) {
    return Chamar(relatorios, [&](tarvo::Relatorios& objeto) {
        ExigirBanco(caminho_banco);
        ExigirPasta(pasta_pdf, pasta_json);
        const tarvo::Database BancoDados{std::string(caminho_banco)};
        tarvo::ExportadorRelatorios(objeto).Exportar(BancoDados, Texto(ie), declaracao, mascara,
                                                     Texto(pasta_pdf), Texto(pasta_json));
    });
}

long tarvo_relatorios_erro_numero(const tarvo_relatorios* relatorios) {
    return relatorios == nullptr ? tarvo::Erro::ObjetoInvalido : relatorios->erroNumero;
}

const char* tarvo_relatorios_erro_descricao(const tarvo_relatorios* relatorios) {
    return relatorios == nullptr ? "Object invalid or no longer set."
                                 : relatorios->erroDescricao.c_str();
}

} // extern "C"
