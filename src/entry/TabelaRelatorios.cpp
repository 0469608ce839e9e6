#include "entry/TabelaRelatorios.h"

#include "reports/DadosDeclaracao.h"
#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioDIPAMCodigo2.h"
#include "reports/RelatorioDIPAMCodigo3.h"
#include "reports/RelatorioEntInterestad.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResImpostoDecl.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaiInterestad.h"
#include "reports/RelatorioSaidas.h"
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>

#include <array>

namespace tarvo {

namespace {

struct Linha {
    std::string textoLista;
    std::string nomeClasse;
    std::unique_ptr<RelatorioBase> (*criar)();
    void (*construir)(RelatorioBase& relatorio, const Pedido& pedido);
    std::string (*assunto)(const Pedido& pedido);
};

template <class R> std::unique_ptr<RelatorioBase> Criar() {
    return std::make_unique<R>();
}

template <class R> void ConstruirPeloIE(RelatorioBase& relatorio, const Pedido& pedido) {
    static_cast<R&>(relatorio).Construir(*pedido.BancoDados, pedido.IE);
}

template <class R> void ConstruirPelaDeclaracao(RelatorioBase& relatorio, const Pedido& pedido) {
    static_cast<R&>(relatorio).Construir(*pedido.BancoDados, pedido.Declaracao);
}

std::string AssuntoDoContribuinte(const Pedido& pedido) {
    return DadosDeclaracao::AssuntoDoContribuinte(*pedido.BancoDados, pedido.IE);
}

std::string AssuntoDaDeclaracao(const Pedido& pedido) {
    return DadosDeclaracao::AssuntoDaDeclaracao(*pedido.BancoDados, pedido.Declaracao);
}

template <class R> Linha PeloIE(const char* texto, const char* classe) {
    return {texto, classe, Criar<R>, ConstruirPeloIE<R>, AssuntoDoContribuinte};
}

template <class R> Linha PelaDeclaracao(const char* texto, const char* classe) {
    return {texto, classe, Criar<R>, ConstruirPelaDeclaracao<R>, AssuntoDaDeclaracao};
}

const std::array<Linha, TabelaRelatorios::Quantidade>& Tabela() {
    static const std::array<Linha, TabelaRelatorios::Quantidade> tabela = {
        PeloIE<RelatorioCadastro>("1 - Cadastro do Contribuinte", "RelatorioCadastro"),
        PelaDeclaracao<RelatorioEntradas>("2 - Entradas", "RelatorioEntradas"),
        PelaDeclaracao<RelatorioSaidas>("3 - Saídas", "RelatorioSaidas"),
        PelaDeclaracao<RelatorioEntInterestad>(
            "4 - Informação das Operações e Prestações de Entradas Interestaduais - ICMS",
            "RelatorioEntInterestad"),
        PelaDeclaracao<RelatorioSaiInterestad>(
            "5 - Informação das Operações e Prestações de Saídas Interestaduais - ICMS",
            "RelatorioSaiInterestad"),
        PelaDeclaracao<RelatorioDIPAMCodigo1>("6 - Informações para a DIPAM - Código 1",
                                              "RelatorioDIPAMCodigo1"),
        PelaDeclaracao<RelatorioDIPAMCodigo2>("7 - Informações para a DIPAM - Código 2",
                                              "RelatorioDIPAMCodigo2"),
        PelaDeclaracao<RelatorioDIPAMCodigo3>("8 - Informações para a DIPAM - Código 3",
                                              "RelatorioDIPAMCodigo3"),
        PelaDeclaracao<RelatorioResImpostoDecl>("9 - Resumo do Imposto Declarado",
                                                "RelatorioResImpostoDecl"),
        PelaDeclaracao<RelatorioResReceitaBruta>("10 - Resumo de Receita Bruta",
                                                 "RelatorioResReceitaBruta"),
    };
    return tabela;
}

const Linha& LinhaDe(int posicao) {
    if (posicao < 0 || posicao >= TabelaRelatorios::Quantidade)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    return Tabela()[static_cast<size_t>(posicao)];
}

} // namespace

const std::string& TabelaRelatorios::TextoLista(int posicao) {
    return LinhaDe(posicao).textoLista;
}

const std::string& TabelaRelatorios::NomeClasse(int posicao) {
    return LinhaDe(posicao).nomeClasse;
}

std::string TabelaRelatorios::NomeArquivo(int posicao, const std::string& extensao) {
    const std::string numero = std::to_string(posicao + 1);
    const std::string prefixo = numero.size() < 2 ? "0" + numero : numero;
    return prefixo + "-" + NomeClasse(posicao) + "." + extensao;
}

std::unique_ptr<RelatorioBase> TabelaRelatorios::Criar(int posicao) {
    return LinhaDe(posicao).criar();
}

void TabelaRelatorios::Construir(int posicao, RelatorioBase& relatorio, const Pedido& pedido) {
    LinhaDe(posicao).construir(relatorio, pedido);
}

std::string TabelaRelatorios::Assunto(int posicao, const Pedido& pedido) {
    return LinhaDe(posicao).assunto(pedido);
}

bool TabelaRelatorios::Selecionado(const int32_t& Mascara, int posicao) {
    return (Mascara & (int32_t{1} << posicao)) != 0;
}

int TabelaRelatorios::Selecionados(const int32_t& Mascara) {
    int quantidade = 0;
    for (int i = 0; i < Quantidade; ++i)
        quantidade += Selecionado(Mascara, i) ? 1 : 0;
    return quantidade;
}

} // namespace tarvo
