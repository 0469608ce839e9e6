#pragma once

#include "entry/AplicacaoQt.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarvo {

class Database;
class RelatorioBase;
class RelatorioCadastro;
class RelatorioEntradas;
class RelatorioSaidas;
class RelatorioEntInterestad;
class RelatorioSaiInterestad;
class RelatorioDIPAMCodigo1;
class RelatorioDIPAMCodigo2;
class RelatorioDIPAMCodigo3;
class RelatorioResImpostoDecl;
class RelatorioResReceitaBruta;
class frmImpressaoRelatorios;

// The library's way in: one object holds the ten reports, in table order,
// and Executar lets the user pick some of them in a modal dialog and
// previews or prints them. Preview windows stay open after Executar returns
// and are served by the host's event loop.
class Relatorios {
public:
    static constexpr int Quantidade = 10;

    Relatorios();
    ~Relatorios();
    Relatorios(const Relatorios&) = delete;
    Relatorios& operator=(const Relatorios&) = delete;

    // Closes the previews of the last call, shows the dialog with bit i of
    // OpcoesSelecionadas pre-selecting list position i, then builds every
    // selected report in table order and previews or prints it. Errors pass
    // on unchanged (tarvo::Erro); the reports already handed out stay so.
    void Executar(const Database& BancoDados, const std::string& IE, const int32_t& Declaracao,
                  const int32_t& OpcoesSelecionadas);

    // The text of list position 0 to 9 ("1 - Cadastro do Contribuinte").
    static const std::string& TextoLista(int posicao);
    // The class of the report at a list position ("RelatorioCadastro").
    static const std::string& NomeClasse(int posicao);

    // The report at a list position (Erro 3001 outside 0 to 9).
    RelatorioBase& Relatorio(int posicao) const;
    // Builds the report at a list position: the registration report from
    // the IE, the nine others from the declaration number.
    void Construir(int posicao, const Database& BancoDados, const std::string& IE,
                   const int32_t& Declaracao);

    // The dialog of the last Executar, hidden; nullptr before the first.
    frmImpressaoRelatorios* Dialogo() const { return dialogo_.get(); }

    // Makes sure the process has the Qt application this use needs and
    // keeps it at least as long as this object.
    void PrepararAplicacao(AplicacaoQt::Uso uso);

private:
    void ConstruirRelatorio(int posicao, const Database& BancoDados, const std::string& IE,
                            const int32_t& Declaracao);

    // Declared first so that it goes last, after every window.
    std::shared_ptr<AplicacaoQt> aplicacao_;

    std::unique_ptr<RelatorioCadastro> relatorioCadastro_;
    std::unique_ptr<RelatorioEntradas> relatorioEntradas_;
    std::unique_ptr<RelatorioSaidas> relatorioSaidas_;
    std::unique_ptr<RelatorioEntInterestad> relatorioEntInterestad_;
    std::unique_ptr<RelatorioSaiInterestad> relatorioSaiInterestad_;
    std::unique_ptr<RelatorioDIPAMCodigo1> relatorioDIPAMCodigo1_;
    std::unique_ptr<RelatorioDIPAMCodigo2> relatorioDIPAMCodigo2_;
    std::unique_ptr<RelatorioDIPAMCodigo3> relatorioDIPAMCodigo3_;
    std::unique_ptr<RelatorioResImpostoDecl> relatorioResImpostoDecl_;
    std::unique_ptr<RelatorioResReceitaBruta> relatorioResReceitaBruta_;

    std::unique_ptr<frmImpressaoRelatorios> dialogo_;

    // Set while the dialog of a call is up, when the host's own events may
    // run and call again.
    bool emExecucao_ = false;
};

} // namespace tarvo
