#include <RelatoriosTarvo/Relatorios.h>

#include "common/Formato.h"
#include "entry/AvisoRelatorios.h"
#include "entry/ConjuntoRelatorios.h"
#include "entry/EscolhaDeclaracao.h"
#include "entry/ExecucaoPedido.h"
#include "entry/ExportadorRelatorios.h"
#include "entry/SelecaoRelatorios.h"
#include "reports/DadosDeclaracao.h"

#include <optional>

namespace tarvo {

// The dialog is declared first so that it goes after the reports, and made
// once they are there.
struct Relatorios::Impl {
    Impl() { selecao.emplace(conjunto); }

    std::optional<SelecaoRelatorios> selecao;
    ConjuntoRelatorios conjunto;
    Acompanhamento acompanhamento;

    Pedido PedidoDe(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                    const int32_t& Mascara) const {
        return Pedido{&BancoDados, IE, Declaracao, Mascara, acompanhamento, {}};
    }
};

Relatorios::Relatorios() : impl_(std::make_unique<Impl>()) {}

Relatorios::~Relatorios() = default;

void Relatorios::Executar(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& OpcoesSelecionadas) {
    Executar(impl_->PedidoDe(BancoDados, IE, Declaracao, OpcoesSelecionadas));
}

void Relatorios::Executar(const Pedido& pedido) {
    impl_->selecao->Executar(pedido);
}

std::vector<std::string> Relatorios::Exportar(const Database& BancoDados, const std::string& IE,
                                              const int32_t& Declaracao, const int32_t& Mascara,
                                              const std::string& PastaPdf,
                                              const std::string& PastaJson) {
    return Exportar(BancoDados, IE, Declaracao, Mascara, PastaPdf, PastaJson, "");
}

std::vector<std::string> Relatorios::Exportar(const Database& BancoDados, const std::string& IE,
                                              const int32_t& Declaracao, const int32_t& Mascara,
                                              const std::string& PastaPdf,
                                              const std::string& PastaJson,
                                              const std::string& ArquivoPdfUnico) {
    return Exportar(impl_->PedidoDe(BancoDados, IE, Declaracao, Mascara), PastaPdf, PastaJson,
                    ArquivoPdfUnico);
}

std::vector<std::string> Relatorios::Exportar(const Pedido& pedido, const std::string& PastaPdf,
                                              const std::string& PastaJson,
                                              const std::string& ArquivoPdfUnico) {
    return ExportadorRelatorios(impl_->conjunto)
        .Exportar(pedido, PastaPdf, PastaJson, ArquivoPdfUnico);
}

void Relatorios::ExportarPdfUnico(const Database& BancoDados, const std::string& IE,
                                  const int32_t& Declaracao, const int32_t& Mascara,
                                  const std::string& ArquivoPdfUnico) {
    Exportar(BancoDados, IE, Declaracao, Mascara, "", "", ArquivoPdfUnico);
}

void Relatorios::Visualizar(const Database& BancoDados, const std::string& IE,
                            const int32_t& Declaracao, const int32_t& Mascara) {
    Visualizar(impl_->PedidoDe(BancoDados, IE, Declaracao, Mascara));
}

void Relatorios::Visualizar(const Pedido& pedido) {
    ExecucaoPedido(impl_->conjunto).Visualizar(pedido);
}

void Relatorios::Imprimir(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& Mascara) {
    Imprimir(impl_->PedidoDe(BancoDados, IE, Declaracao, Mascara));
}

void Relatorios::Imprimir(const Pedido& pedido) {
    ExecucaoPedido(impl_->conjunto).Imprimir(pedido);
}

void Relatorios::DefinirAcompanhamento(Acompanhamento acompanhamento) {
    impl_->acompanhamento = std::move(acompanhamento);
}

void Relatorios::VerificarDestinos(const int32_t& Mascara, const std::string& PastaPdf,
                                   const std::string& PastaJson,
                                   const std::string& ArquivoPdfUnico) {
    ExportadorRelatorios::VerificarDestinos(
        ExportadorRelatorios::Destinos(Mascara, PastaPdf, PastaJson, ArquivoPdfUnico), {});
}

void Relatorios::AguardarJanelas() {
    impl_->conjunto.AguardarJanelas();
}

std::optional<DeclaracaoEscolhida> Relatorios::EscolherDeclaracao(const std::string& Banco) {
    return EscolhaDeclaracao::Escolher(impl_->conjunto, Banco);
}

std::optional<std::string> Relatorios::IEDaDeclaracao(const Database& BancoDados,
                                                      const int32_t& Declaracao) {
    return DadosDeclaracao::IE(BancoDados, Declaracao);
}

std::string Relatorios::Aviso(const Database& BancoDados, const std::string& IE,
                              const int32_t& Declaracao, const int32_t& Mascara) {
    return AvisoRelatorios::Texto(BancoDados, IE, Declaracao, Mascara);
}

std::string Relatorios::TextoLista(int posicao) {
    return TabelaRelatorios::TextoLista(posicao);
}

std::string Relatorios::NomeClasse(int posicao) {
    return TabelaRelatorios::NomeClasse(posicao);
}

std::string Relatorios::NomeArquivo(int posicao, const std::string& extensao) {
    return TabelaRelatorios::NomeArquivo(posicao, extensao);
}

bool Relatorios::LocalidadeConhecida(const std::string& Nome) {
    return Formato::LocalidadeConhecida(Nome);
}

} // namespace tarvo
