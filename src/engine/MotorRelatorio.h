#pragma once

#include "common/Figura.h"
#include "engine/Chamada.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace tarvo {

class Andamento;

// The page-layout, preview and print engine. A document is the ordered record
// of the calls since IniciarDocumento; rendering replays that record on a PDF
// writer, an image, the printer or the preview window, all on A4 paper.
//
// Pages: the first element opens page 1 and NovaPagina starts the next one;
// a NovaPagina before any element has no page to close and changes nothing,
// so a document without elements has no pages. Arguments that cannot be drawn
// (a non-finite number, an empty picture, an alignment other than 0 to 2, a
// font size not above zero, an unknown orientation, a negative margin) raise
// Erro and are not recorded.
//
// ExibirDocumento needs a QApplication on its thread. ImprimirDocumento with 0
// prints on the default printer, with any other value through the print
// dialog (cancelling it prints nothing), with a progress window that can
// cancel the job where windows can be seen; with no printer it raises
// Erro::SemImpressora, and Erro::FalhaImpressao when the job is refused. An
// empty document sends no job.
class MotorRelatorio {
public:
    MotorRelatorio();
    ~MotorRelatorio();
    MotorRelatorio(const MotorRelatorio&) = delete;
    MotorRelatorio& operator=(const MotorRelatorio&) = delete;

    void IniciarDocumento();
    void DefinirTitulo(const std::string& titulo);
    void DefinirTituloResumido(const std::string& titulo);
    void DefinirIcone(const Figura& icone);
    void DefinirOrientacao(const int32_t& orientacao); // 0 portrait, 1 landscape
    void DefinirMargens(const double& esquerda, const double& superior, const double& direita,
                        const double& inferior);
    void NovaPagina();
    void AdicionarRetangulo(const double& x, const double& y, const double& largura,
                            const double& altura, const int32_t& preenchido,
                            const int32_t& corContorno, const int32_t& corPreenchimento,
                            const int32_t& estilo);
    void AdicionarCaixa(const double& x, const double& y, const double& largura,
                        const double& altura, const int32_t& arredondamento,
                        const double& espessura, const int32_t& corContorno,
                        const int32_t& corFundo, const int32_t& estilo);
    void AdicionarTexto(const double& x, const double& y, const double& largura,
                        const double& altura, const std::string& texto,
                        const int32_t& alinhamentoHorizontal, const int32_t& alinhamentoVertical,
                        const std::string& fonte, const double& tamanho, const int32_t& negrito,
                        const int32_t& italico, const int32_t& sublinhado, const int32_t& cor);
    void AdicionarTextoMultilinha(const double& x, const double& y, const double& largura,
                                  const double& altura, const std::string& texto,
                                  const int32_t& alinhamentoHorizontal,
                                  const int32_t& alinhamentoVertical, const std::string& fonte,
                                  const double& tamanho, const int32_t& negrito,
                                  const int32_t& italico, const int32_t& sublinhado,
                                  const int32_t& cor);
    void AdicionarImagem(const double& x, const double& y, const double& largura,
                         const double& altura, const Figura& figura, const int32_t& modo);
    void ExibirDocumento();
    void OcultarDocumento();
    // `impressora` is CUPS's name of the printer, "" for the default one;
    // the dialog shows it first.
    void ImprimirDocumento(const int32_t& mostrarDialogo, const std::string& impressora = "");
    // Every page on `impressora` (the default printer for ""), with no
    // dialog or progress window.
    void ImprimirSemJanelas(const std::string& impressora = "");

    // Reading the document back (not part of a report's calls).
    std::vector<Chamada> Chamadas() const;
    std::string Json() const; // {"chamadas": [{"op": ..., "args": [...]}, ...]}
    int NumeroPaginas() const;
    // Files appear whole or not at all; Erro::GravacaoArquivo names the file
    // and the reason when one cannot be written. An empty document gives a
    // PDF of one blank page.
    // What the document is about, for the properties of its PDF files; not
    // one of the recorded calls. IniciarDocumento clears it.
    void DefinirAssunto(const std::string& assunto);
    const std::string& Assunto() const;
    // Files the document's outputs never replace (the database it comes
    // from); not one of the recorded calls. IniciarDocumento clears it.
    void ProtegerArquivos(std::vector<std::string> arquivos);
    // The progress of the build under way: NovaPagina counts its pages and
    // stops the build when asked to. nullptr when the build ends.
    void Acompanhar(Andamento* andamento);
    // Writing counts the pages written in `andamento`, which may stop it.
    void SalvarPdf(const std::string& caminho, Andamento* andamento = nullptr) const;
    void SalvarJson(const std::string& caminho) const;
    // The documents of several engines in one PDF, in order, each keeping
    // its orientation and page numbering, with one bookmark per engine.
    struct ParteUnica {
        const MotorRelatorio* motor;
        std::string marcador;
    };
    static void SalvarPdfUnico(const std::vector<ParteUnica>& partes, const std::string& titulo,
                               const std::string& assunto, const std::string& caminho,
                               Andamento* andamento = nullptr);
    // pagina counts from 1; dpi from 1 to 1200, rounded to a whole number.
    QImage RenderizarPagina(int pagina, double dpi) const;
    bool JanelaVisivel() const;
    QWidget* Janela() const;       // the preview window, null until first shown
    size_t BytesDocumento() const; // memory held by the record of the document

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tarvo
