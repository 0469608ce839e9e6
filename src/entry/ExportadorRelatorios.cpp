#include "entry/ExportadorRelatorios.h"

#include "entry/ConjuntoRelatorios.h"
#include "reports/RelatorioBase.h"
#include <RelatoriosTarvo/Erro.h>

#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

void CriarPasta(const std::string& pasta) {
    if (pasta.empty())
        return;
    std::error_code erro;
    std::filesystem::create_directories(pasta, erro);
    if (erro)
        throw Erro(Erro::GravacaoArquivo,
                   "Não foi possível criar a pasta " + pasta + ": " + erro.message());
}

} // namespace

ExportadorRelatorios::ExportadorRelatorios(ConjuntoRelatorios& relatorios)
    : relatorios_(relatorios) {}

std::vector<std::string>
ExportadorRelatorios::Exportar(const Database& BancoDados, const std::string& IE,
                               const int32_t& Declaracao, const int32_t& Mascara,
                               const std::string& pastaPdf, const std::string& pastaJson,
                               const std::string& arquivoUnico) {
    relatorios_.PrepararAplicacao(AplicacaoQt::Uso::SemJanelas);
    CriarPasta(pastaPdf);
    CriarPasta(pastaJson);
    if (!arquivoUnico.empty())
        CriarPasta(std::filesystem::path(arquivoUnico).parent_path().string());

    std::vector<std::string> gravados;
    std::vector<MotorRelatorio::ParteUnica> partes;
    // The report the single file is about: the declaration's first, or the
    // taxpayer's registration when it is alone.
    const MotorRelatorio* sobre = nullptr;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i) {
        if (!ConjuntoRelatorios::Selecionado(Mascara, i))
            continue;
        relatorios_.Construir(i, BancoDados, IE, Declaracao);
        MotorRelatorio& motor = relatorios_.Relatorio(i).Motor();
        partes.push_back({&motor, ConjuntoRelatorios::TextoLista(i)});
        if (sobre == nullptr || sobre == &relatorios_.Relatorio(0).Motor())
            sobre = &motor;
        if (!pastaPdf.empty()) {
            const std::string caminho =
                (std::filesystem::path(pastaPdf) / NomeArquivo(i, "pdf")).string();
            motor.SalvarPdf(caminho);
            gravados.push_back(caminho);
        }
        if (!pastaJson.empty()) {
            const std::string caminho =
                (std::filesystem::path(pastaJson) / NomeArquivo(i, "json")).string();
            motor.SalvarJson(caminho);
            gravados.push_back(caminho);
        }
    }
    if (!arquivoUnico.empty() && !partes.empty()) {
        MotorRelatorio::SalvarPdfUnico(partes, "Relatórios da Declaração do Vantiro",
                                       sobre->Assunto(), arquivoUnico);
        gravados.push_back(arquivoUnico);
    }
    return gravados;
}

std::string ExportadorRelatorios::NomeArquivo(int posicao, const std::string& extensao) {
    const std::string numero = std::to_string(posicao + 1);
    const std::string prefixo = numero.size() < 2 ? "0" + numero : numero;
    return prefixo + "-" + ConjuntoRelatorios::NomeClasse(posicao) + "." + extensao;
}

} // namespace tarvo
