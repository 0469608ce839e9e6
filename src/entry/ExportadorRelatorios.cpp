#include "entry/ExportadorRelatorios.h"

#include "common/Andamento.h"
#include "common/ArquivoAtomico.h"
#include "common/CaminhoResolvido.h"
#include "data/Conexao.h"
#include "entry/ConjuntoRelatorios.h"
#include "reports/RelatorioBase.h"
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>

#include <filesystem>
#include <optional>
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

std::string CaminhoNaPasta(const std::string& pasta, int posicao, const char* extensao) {
    return (std::filesystem::path(pasta) / TabelaRelatorios::NomeArquivo(posicao, extensao))
        .string();
}

} // namespace

ExportadorRelatorios::ExportadorRelatorios(ConjuntoRelatorios& relatorios)
    : relatorios_(relatorios) {}

std::vector<std::string> ExportadorRelatorios::Destinos(const int32_t& Mascara,
                                                        const std::string& pastaPdf,
                                                        const std::string& pastaJson,
                                                        const std::string& arquivoUnico) {
    std::vector<std::string> destinos;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i) {
        if (!TabelaRelatorios::Selecionado(Mascara, i))
            continue;
        if (!pastaPdf.empty())
            destinos.push_back(CaminhoNaPasta(pastaPdf, i, "pdf"));
        if (!pastaJson.empty())
            destinos.push_back(CaminhoNaPasta(pastaJson, i, "json"));
    }
    if (!arquivoUnico.empty() && TabelaRelatorios::Selecionados(Mascara) > 0)
        destinos.push_back(arquivoUnico);
    return destinos;
}

void ExportadorRelatorios::VerificarDestinos(const std::vector<std::string>& destinos,
                                             const std::vector<std::string>& protegidos) {
    std::vector<CaminhoResolvido> resolvidos;
    for (const std::string& destino : destinos) {
        const std::optional<CaminhoResolvido> resolvido =
            ArquivoAtomico::VerificarDestino(destino, protegidos);
        if (!resolvido)
            continue;
        for (const CaminhoResolvido& anterior : resolvidos) {
            if (anterior.MesmoArquivo(*resolvido))
                throw ArquivoAtomico::FalhaDe(destino, "é o mesmo arquivo que \"" +
                                                           anterior.Original() +
                                                           "\", outra saída desta exportação");
        }
        resolvidos.push_back(*resolvido);
    }
}

std::vector<std::string> ExportadorRelatorios::Exportar(const Pedido& pedido,
                                                        const std::string& pastaPdf,
                                                        const std::string& pastaJson,
                                                        const std::string& arquivoUnico) {
    if (pedido.BancoDados == nullptr)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    const int32_t& Mascara = pedido.Mascara;
    // Every destination is checked before anything is built or written.
    VerificarDestinos(Destinos(Mascara, pastaPdf, pastaJson, arquivoUnico),
                      Conexao::De(*pedido.BancoDados).Arquivos());
    relatorios_.PrepararAplicacao(AplicacaoQt::Uso::Arquivos);
    CriarPasta(pastaPdf);
    CriarPasta(pastaJson);
    if (!arquivoUnico.empty() && arquivoUnico != ArquivoAtomico::SaidaPadrao)
        CriarPasta(std::filesystem::path(arquivoUnico).parent_path().string());

    Andamento andamento(pedido.Acompanhamento);
    const int relatorios = TabelaRelatorios::Selecionados(Mascara);
    std::vector<std::string> gravados;
    std::vector<MotorRelatorio::ParteUnica> partes;
    // The report the single file is about: the declaration's first, or the
    // taxpayer's registration when it is alone.
    const MotorRelatorio* sobre = nullptr;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i) {
        if (!TabelaRelatorios::Selecionado(Mascara, i))
            continue;
        andamento.IniciarRelatorio(i, static_cast<int>(partes.size()) + 1, relatorios);
        relatorios_.Construir(i, pedido, &andamento);
        MotorRelatorio& motor = relatorios_.Relatorio(i).Motor();
        partes.push_back({&motor, TabelaRelatorios::TextoLista(i)});
        if (sobre == nullptr || sobre == &relatorios_.Relatorio(0).Motor())
            sobre = &motor;
        if (!pastaPdf.empty() || !pastaJson.empty())
            andamento.IniciarGravacao();
        if (!pastaPdf.empty()) {
            const std::string caminho = CaminhoNaPasta(pastaPdf, i, "pdf");
            motor.SalvarPdf(caminho, &andamento);
            gravados.push_back(caminho);
        }
        if (!pastaJson.empty()) {
            const std::string caminho = CaminhoNaPasta(pastaJson, i, "json");
            motor.SalvarJson(caminho);
            gravados.push_back(caminho);
        }
    }
    if (!arquivoUnico.empty() && !partes.empty()) {
        andamento.IniciarGravacao();
        MotorRelatorio::SalvarPdfUnico(partes, "Relatórios da Declaração do Vantiro",
                                       sobre->Assunto(), arquivoUnico, &andamento);
        gravados.push_back(arquivoUnico);
    }
    return gravados;
}

} // namespace tarvo
