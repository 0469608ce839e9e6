#include <RelatoriosTarvo/Relatorios.h>

#include "common/Formato.h"
#include "entry/ConjuntoRelatorios.h"
#include "entry/EscolhaDeclaracao.h"
#include "entry/ExportadorRelatorios.h"

namespace tarvo {

Relatorios::Relatorios() : conjunto_(std::make_unique<ConjuntoRelatorios>()) {}

Relatorios::~Relatorios() = default;

void Relatorios::Executar(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& OpcoesSelecionadas) {
    conjunto_->Executar(BancoDados, IE, Declaracao, OpcoesSelecionadas);
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
    return ExportadorRelatorios(*conjunto_)
        .Exportar(BancoDados, IE, Declaracao, Mascara, PastaPdf, PastaJson, ArquivoPdfUnico);
}

void Relatorios::ExportarPdfUnico(const Database& BancoDados, const std::string& IE,
                                  const int32_t& Declaracao, const int32_t& Mascara,
                                  const std::string& ArquivoPdfUnico) {
    Exportar(BancoDados, IE, Declaracao, Mascara, "", "", ArquivoPdfUnico);
}

void Relatorios::Visualizar(const Database& BancoDados, const std::string& IE,
                            const int32_t& Declaracao, const int32_t& Mascara) {
    conjunto_->Visualizar(BancoDados, IE, Declaracao, Mascara);
}

void Relatorios::Imprimir(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& Mascara) {
    conjunto_->Imprimir(BancoDados, IE, Declaracao, Mascara);
}

void Relatorios::DefinirAcompanhamento(Acompanhamento acompanhamento) {
    conjunto_->DefinirAcompanhamento(std::move(acompanhamento));
}

void Relatorios::VerificarDestinos(const int32_t& Mascara, const std::string& PastaPdf,
                                   const std::string& PastaJson,
                                   const std::string& ArquivoPdfUnico) {
    ExportadorRelatorios::VerificarDestinos(
        ExportadorRelatorios::Destinos(Mascara, PastaPdf, PastaJson, ArquivoPdfUnico), {});
}

void Relatorios::AguardarJanelas() {
    conjunto_->AguardarJanelas();
}

std::optional<DeclaracaoEscolhida> Relatorios::EscolherDeclaracao(const std::string& Banco) {
    return EscolhaDeclaracao::Escolher(*conjunto_, Banco);
}

std::optional<std::string> Relatorios::IEDaDeclaracao(const Database& BancoDados,
                                                      const int32_t& Declaracao) {
    return ConjuntoRelatorios::IEDaDeclaracao(BancoDados, Declaracao);
}

std::string Relatorios::Aviso(const Database& BancoDados, const std::string& IE,
                              const int32_t& Declaracao, const int32_t& Mascara) {
    return ConjuntoRelatorios::Aviso(BancoDados, IE, Declaracao, Mascara);
}

std::string Relatorios::TextoLista(int posicao) {
    return ConjuntoRelatorios::TextoLista(posicao);
}

std::string Relatorios::NomeClasse(int posicao) {
    return ConjuntoRelatorios::NomeClasse(posicao);
}

std::string Relatorios::NomeArquivo(int posicao, const std::string& extensao) {
    return ExportadorRelatorios::NomeArquivo(posicao, extensao);
}

bool Relatorios::LocalidadeConhecida(const std::string& Nome) {
    return Formato::LocalidadeConhecida(Nome);
}

} // namespace tarvo
