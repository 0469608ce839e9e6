#include "engine/MotorRelatorio.h"

#include "common/Andamento.h"
#include "engine/Documento.h"
#include "engine/JanelaPrevia.h"
#include "engine/MomentoSaida.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"
#include <RelatoriosTarvo/Erro.h>

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

void VerificarNumero(double valor, const char* nome) {
    if (!std::isfinite(valor)) {
        throw Erro(Erro::ArgumentoInvalido, std::string("Valor inválido para ") + nome + ".",
                   origem);
    }
}

void VerificarArea(double x, double y, double largura, double altura) {
    VerificarNumero(x, "a posição X");
    VerificarNumero(y, "a posição Y");
    VerificarNumero(largura, "a largura");
    VerificarNumero(altura, "a altura");
}

void VerificarFigura(const Figura& figura) {
    if (figura.Imagem().isNull()) {
        throw Erro(Erro::FiguraInvalida,
                   "A figura \"" + figura.Nome() + "\" está vazia e não pode ser desenhada.",
                   origem);
    }
}

void VerificarTexto(int32_t horizontal, int32_t vertical, double tamanho) {
    if (horizontal < 0 || horizontal > 2 || vertical < 0 || vertical > 2) {
        throw Erro(Erro::ArgumentoInvalido, "Alinhamento de texto inválido.", origem);
    }
    if (!std::isfinite(tamanho) || tamanho <= 0) {
        throw Erro(Erro::ArgumentoInvalido, "Tamanho de fonte inválido.", origem);
    }
}

} // namespace

struct MotorRelatorio::Impl {
    // The preview window holds a snapshot of the document it shows; a change
    // after that goes to a copy, so the window never sees a document change
    // under it.
    std::shared_ptr<Documento> documento = std::make_shared<Documento>();
    std::unique_ptr<JanelaPrevia> janela;
    Andamento* andamento = nullptr;

    Documento& Gravavel() {
        if (documento.use_count() > 1) {
            documento = std::make_shared<Documento>(*documento);
        }
        return *documento;
    }

    ~Impl() {
        // Widgets cannot be torn down once the application is gone; the
        // process is ending then anyway.
        if (janela && QCoreApplication::instance() == nullptr) {
            (void)janela.release();
        }
    }
};

MotorRelatorio::MotorRelatorio() : impl_(std::make_unique<Impl>()) {}

MotorRelatorio::~MotorRelatorio() = default;

void MotorRelatorio::IniciarDocumento() {
    impl_->documento = std::make_shared<Documento>();
    impl_->documento->IniciarDocumento();
}

void MotorRelatorio::DefinirTitulo(const std::string& titulo) {
    impl_->Gravavel().DefinirTitulo(titulo);
}

void MotorRelatorio::DefinirTituloResumido(const std::string& titulo) {
    impl_->Gravavel().DefinirTituloResumido(titulo);
}

void MotorRelatorio::DefinirIcone(const Figura& icone) {
    VerificarFigura(icone);
    impl_->Gravavel().DefinirIcone(icone);
}

void MotorRelatorio::DefinirOrientacao(const int32_t& orientacao) {
    if (orientacao != 0 && orientacao != 1) {
        throw Erro(Erro::ArgumentoInvalido, "Orientação inválida: use 0 (retrato) ou 1 (paisagem).",
                   origem);
    }
    impl_->Gravavel().DefinirOrientacao(orientacao);
}

void MotorRelatorio::DefinirMargens(const double& esquerda, const double& superior,
                                    const double& direita, const double& inferior) {
    for (const double margem : {esquerda, superior, direita, inferior}) {
        if (!std::isfinite(margem) || margem < 0) {
            throw Erro(Erro::ArgumentoInvalido, "Margem inválida.", origem);
        }
    }
    impl_->Gravavel().DefinirMargens({esquerda, superior, direita, inferior});
}

void MotorRelatorio::NovaPagina() {
    if (impl_->andamento != nullptr)
        impl_->andamento->Pagina();
    impl_->Gravavel().NovaPagina();
}

void MotorRelatorio::AdicionarRetangulo(const double& x, const double& y, const double& largura,
                                        const double& altura, const int32_t& preenchido,
                                        const int32_t& corContorno, const int32_t& corPreenchimento,
                                        const int32_t& estilo) {
    VerificarArea(x, y, largura, altura);
    impl_->Gravavel().Adicionar(
        Retangulo{x, y, largura, altura, preenchido, corContorno, corPreenchimento, estilo});
}

void MotorRelatorio::AdicionarCaixa(const double& x, const double& y, const double& largura,
                                    const double& altura, const int32_t& arredondamento,
                                    const double& espessura, const int32_t& corContorno,
                                    const int32_t& corFundo, const int32_t& estilo) {
    VerificarArea(x, y, largura, altura);
    VerificarNumero(espessura, "a espessura");
    impl_->Gravavel().Adicionar(
        Caixa{x, y, largura, altura, arredondamento, espessura, corContorno, corFundo, estilo});
}

void MotorRelatorio::AdicionarTexto(const double& x, const double& y, const double& largura,
                                    const double& altura, const std::string& texto,
                                    const int32_t& alinhamentoHorizontal,
                                    const int32_t& alinhamentoVertical, const std::string& fonte,
                                    const double& tamanho, const int32_t& negrito,
                                    const int32_t& italico, const int32_t& sublinhado,
                                    const int32_t& cor) {
    VerificarArea(x, y, largura, altura);
    VerificarTexto(alinhamentoHorizontal, alinhamentoVertical, tamanho);
    Documento& documento = impl_->Gravavel();
    documento.Adicionar(
        Texto{{x, y, largura, altura, documento.Internar(texto), alinhamentoHorizontal,
               alinhamentoVertical, documento.Internar(fonte), tamanho, negrito, italico,
               sublinhado, cor}});
}

void MotorRelatorio::AdicionarTextoMultilinha(
    const double& x, const double& y, const double& largura, const double& altura,
    const std::string& texto, const int32_t& alinhamentoHorizontal,
    const int32_t& alinhamentoVertical, const std::string& fonte, const double& tamanho,
    const int32_t& negrito, const int32_t& italico, const int32_t& sublinhado, const int32_t& cor) {
    VerificarArea(x, y, largura, altura);
    VerificarTexto(alinhamentoHorizontal, alinhamentoVertical, tamanho);
    Documento& documento = impl_->Gravavel();
    documento.Adicionar(
        TextoMultilinha{{x, y, largura, altura, documento.Internar(texto), alinhamentoHorizontal,
                         alinhamentoVertical, documento.Internar(fonte), tamanho, negrito, italico,
                         sublinhado, cor}});
}

void MotorRelatorio::AdicionarImagem(const double& x, const double& y, const double& largura,
                                     const double& altura, const Figura& figura,
                                     const int32_t& modo) {
    VerificarArea(x, y, largura, altura);
    VerificarFigura(figura);
    Documento& documento = impl_->Gravavel();
    documento.Adicionar(Imagem{x, y, largura, altura, documento.Compartilhar(figura), modo});
}

void MotorRelatorio::ExibirDocumento() {
    SaidaDocumento::ExigirAplicacao(true);
    if (!impl_->janela) {
        impl_->janela = std::make_unique<JanelaPrevia>();
    }
    // Shown means built: the spare capacity goes back before it is shared.
    if (impl_->documento.use_count() == 1) {
        impl_->documento->Compactar();
    }
    impl_->janela->Mostrar(impl_->documento);
}

void MotorRelatorio::OcultarDocumento() {
    if (impl_->janela) {
        impl_->janela->hide();
    }
}

void MotorRelatorio::ImprimirDocumento(const int32_t& mostrarDialogo,
                                       const std::string& impressora) {
    JanelaPrevia* janela =
        impl_->janela && impl_->janela->isVisible() ? impl_->janela.get() : nullptr;
    SaidaDocumento::OpcoesImpressao opcoes;
    opcoes.dialogo = mostrarDialogo != 0;
    opcoes.impressora = impressora;
    opcoes.pai = janela;
    opcoes.paginaAtual = janela != nullptr ? janela->PaginaAtual() : 0;
    // Progress shows where windows do; it keeps the events running, so the
    // snapshot printed is held here whatever the host does meanwhile.
    opcoes.progresso = SaidaDocumento::JanelasVisiveis();
    const std::shared_ptr<const Documento> documento = impl_->documento;
    SaidaDocumento::Impressora(*documento, opcoes);
}

void MotorRelatorio::ImprimirSemJanelas(const std::string& impressora) {
    const std::shared_ptr<const Documento> documento = impl_->documento;
    SaidaDocumento::OpcoesImpressao opcoes;
    opcoes.impressora = impressora;
    SaidaDocumento::Impressora(*documento, opcoes);
}

std::vector<Chamada> MotorRelatorio::Chamadas() const {
    return impl_->documento->Chamadas();
}

std::string MotorRelatorio::Json() const {
    return SaidaDocumento::Json(*impl_->documento);
}

int MotorRelatorio::NumeroPaginas() const {
    return impl_->documento->NumeroPaginas();
}

void MotorRelatorio::DefinirAssunto(const std::string& assunto) {
    impl_->Gravavel().DefinirAssunto(assunto);
}

const std::string& MotorRelatorio::Assunto() const {
    return impl_->documento->Assunto();
}

void MotorRelatorio::ProtegerArquivos(std::vector<std::string> arquivos) {
    impl_->Gravavel().DefinirProtegidos(std::move(arquivos));
}

void MotorRelatorio::Acompanhar(Andamento* andamento) {
    impl_->andamento = andamento;
}

void MotorRelatorio::SalvarPdf(const std::string& caminho, Andamento* andamento) const {
    SaidaDocumento::Pdf(*impl_->documento, caminho, andamento);
}

void MotorRelatorio::SalvarPdfUnico(const std::vector<ParteUnica>& partes,
                                    const std::string& titulo, const std::string& assunto,
                                    const std::string& caminho, Andamento* andamento) {
    std::vector<SaidaDocumento::Parte> documentos;
    for (const ParteUnica& parte : partes)
        documentos.push_back({parte.motor->impl_->documento.get(), parte.marcador});
    SaidaDocumento::PdfUnico(documentos, titulo, assunto, caminho, andamento);
}

void MotorRelatorio::SalvarJson(const std::string& caminho) const {
    SaidaDocumento::SalvarJson(*impl_->documento, caminho);
}

QImage MotorRelatorio::RenderizarPagina(int pagina, double dpi) const {
    if (!std::isfinite(dpi) || dpi < 1 || dpi > 1200) {
        throw Erro(Erro::ArgumentoInvalido,
                   "Resolução fora do intervalo de 1 a 1200 pontos por polegada.", origem);
    }
    Renderizador renderizador(*impl_->documento, MomentoSaida::Agora());
    return SaidaDocumento::Imagem(*impl_->documento, renderizador, pagina,
                                  static_cast<int>(std::lround(dpi)));
}

bool MotorRelatorio::JanelaVisivel() const {
    return impl_->janela && impl_->janela->isVisible();
}

QWidget* MotorRelatorio::Janela() const {
    return impl_->janela.get();
}

size_t MotorRelatorio::BytesDocumento() const {
    return impl_->documento->BytesOcupados();
}

} // namespace tarvo
