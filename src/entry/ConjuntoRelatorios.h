#pragma once

#include "common/Andamento.h"
#include "entry/AplicacaoQt.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

class Database;
class RelatorioBase;
class Relatorios;
class frmImpressaoRelatorios;

// What a Relatorios object holds: the ten report instances in list order, the
// selection dialog of the last Executar and the Qt application they need.
// The list itself (texts, classes, how each report is built) is one table.
class ConjuntoRelatorios {
public:
    static constexpr int Quantidade = 10;

    // The set behind a public Relatorios object.
    static ConjuntoRelatorios& De(Relatorios& relatorios);
    static const ConjuntoRelatorios& De(const Relatorios& relatorios);

    ConjuntoRelatorios();
    ~ConjuntoRelatorios();
    ConjuntoRelatorios(const ConjuntoRelatorios&) = delete;
    ConjuntoRelatorios& operator=(const ConjuntoRelatorios&) = delete;

    void Executar(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                  const int32_t& OpcoesSelecionadas);

    // Without the dialog: builds the reports of mask bits 0 to 9 in list
    // order and previews them (the previews of an earlier call closed
    // first), cascaded with the first in front; or prints each on the
    // default printer without any window.
    void Visualizar(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                    const int32_t& Mascara);
    void Imprimir(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                  const int32_t& Mascara);

    // Builds the report at a list position on one snapshot of the database:
    // the registration report from the IE, the nine others from the
    // declaration. Every error raised on the way names the report. The
    // rows and pages counted go to `andamento`, which may stop the build.
    void Construir(int posicao, const Database& BancoDados, const std::string& IE,
                   const int32_t& Declaracao, Andamento* andamento = nullptr);

    // The host's progress callback for the calls that follow.
    void DefinirAcompanhamento(Andamento::Funcao funcao) { acompanhamento_ = std::move(funcao); }
    // The progress of a new call, reporting to the host's callback.
    Andamento NovoAndamento() const { return Andamento(acompanhamento_); }
    // How many of the ten the mask selects.
    static int Selecionados(const int32_t& Mascara);
    // The report at a list position (Erro 3001 outside 0 to 9).
    RelatorioBase& Relatorio(int posicao) const;

    // Runs the Qt event loop while a preview window of this set is visible.
    void AguardarJanelas();
    bool AlgumaJanelaVisivel() const;

    // The dialog of the last Executar, hidden; nullptr before the first.
    frmImpressaoRelatorios* Dialogo() const { return dialogo_.get(); }

    // Makes sure the process has the Qt application this use needs and
    // keeps it at least as long as this object.
    void PrepararAplicacao(AplicacaoQt::Uso uso);

    static std::optional<std::string> IEDaDeclaracao(const Database& BancoDados,
                                                     const int32_t& Declaracao);
    static std::string Aviso(const Database& BancoDados, const std::string& IE,
                             const int32_t& Declaracao, const int32_t& Mascara);

    static const std::string& TextoLista(int posicao);
    static const std::string& NomeClasse(int posicao);
    // Whether bit `posicao` of the mask is set.
    static bool Selecionado(const int32_t& Mascara, int posicao);

private:
    // Declared first so that it goes last, after every window.
    std::shared_ptr<AplicacaoQt> aplicacao_;
    std::vector<std::unique_ptr<RelatorioBase>> relatorios_;
    std::unique_ptr<frmImpressaoRelatorios> dialogo_;
    // Set while the dialog of a call is up, when the host's own events may
    // run and call again.
    bool emExecucao_ = false;
    Andamento::Funcao acompanhamento_;

    // Builds the selected reports with a window that tells how far it got
    // and offers Cancelar, and hands each one to `saida` as it is built.
    template <typename Selecao, typename Saida>
    void ConstruirComJanela(const Database& BancoDados, const std::string& IE,
                            const int32_t& Declaracao, Selecao selecionado, Saida saida);
};

} // namespace tarvo
