#include "engine/TrabalhoCups.h"

#include "engine/ImpressorasCups.h"

#include <RelatoriosTarvo/Erro.h>

#include <algorithm>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;
// How long the scheduler may take to answer the connection.
constexpr int esperaConexaoMs = 30000;

// The text CUPS gives for this thread's last request.
std::string UltimoErroCups() {
    const char* texto = cupsLastErrorString();
    return texto != nullptr && *texto != '\0' ? texto : "erro desconhecido";
}

// The options of one job, freed with the job's request.
class OpcoesCups {
public:
    OpcoesCups() = default;
    ~OpcoesCups() { cupsFreeOptions(quantas_, opcoes_); }
    OpcoesCups(const OpcoesCups&) = delete;
    OpcoesCups& operator=(const OpcoesCups&) = delete;

    void Adicionar(const char* nome, const std::string& valor) {
        quantas_ = cupsAddOption(nome, valor.c_str(), quantas_, &opcoes_);
    }
    int Quantas() const { return quantas_; }
    cups_option_t* Opcoes() const { return opcoes_; }

private:
    int quantas_ = 0;
    cups_option_t* opcoes_ = nullptr;
};

} // namespace

TrabalhoCups::TrabalhoCups(const std::string& impressora) : destinos_(nullptr, LiberarDestinos{0}) {
    cups_dest_t* destinos = nullptr;
    const int quantos = cupsGetDests(&destinos);
    destinos_ = std::unique_ptr<cups_dest_t, LiberarDestinos>(destinos, LiberarDestinos{quantos});
    destino_ = ImpressorasCups::Procurar(destinos, quantos, impressora);
    nome_ = destino_->name;
    // The scheduler CUPS's own calls use (CUPS_SERVER, client.conf), on a
    // connection of the job's own.
    conexao_.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                esperaConexaoMs, nullptr));
    if (!conexao_) {
        throw Erro(Erro::SemImpressora,
                   "A impressora \"" + nome_ + "\" não está disponível: " + UltimoErroCups(),
                   origem);
    }
}

TrabalhoCups::~TrabalhoCups() {
    Cancelar();
}

void TrabalhoCups::Recusa(const std::string& motivo) const {
    throw Erro(Erro::FalhaImpressao,
               "A impressora \"" + nome_ + "\" recusou o documento: " + motivo, origem);
}

void TrabalhoCups::Iniciar(const std::string& titulo, const Opcoes& opcoes) {
    info_.reset(cupsCopyDestInfo(conexao_.get(), destino_));
    if (!info_) {
        throw Erro(Erro::SemImpressora,
                   "A impressora \"" + nome_ + "\" não está disponível: " + UltimoErroCups(),
                   origem);
    }
    OpcoesCups opcoesCups;
    opcoesCups.Adicionar(CUPS_COPIES, std::to_string(std::max(opcoes.copias, 1)));
    if (opcoes.copias > 1) {
        opcoesCups.Adicionar("multiple-document-handling",
                             opcoes.agrupar ? "separate-documents-collated-copies"
                                            : "separate-documents-uncollated-copies");
    }
    for (const auto& [nome, valor] : opcoes.propriedades)
        opcoesCups.Adicionar(nome.c_str(), valor);
    int trabalho = 0;
    const ipp_status_t criado =
        cupsCreateDestJob(conexao_.get(), destino_, info_.get(), &trabalho, titulo.c_str(),
                          opcoesCups.Quantas(), opcoesCups.Opcoes());
    if (criado > IPP_STATUS_OK_EVENTS_COMPLETE || trabalho <= 0)
        Recusa(UltimoErroCups());
    trabalho_ = trabalho;
    if (cupsStartDestDocument(conexao_.get(), destino_, info_.get(), trabalho_, titulo.c_str(),
                              CUPS_FORMAT_PDF, 0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
        Recusa(UltimoErroCups());
    }
    documentoAberto_ = true;
}

void TrabalhoCups::Escrever(std::string_view dados) {
    if (!documentoAberto_)
        Recusa("o documento não foi aberto.");
    if (cupsWriteRequestData(conexao_.get(), dados.data(), dados.size()) != HTTP_STATUS_CONTINUE)
        Recusa(UltimoErroCups());
}

void TrabalhoCups::Concluir() {
    if (!documentoAberto_)
        Recusa("o documento não foi aberto.");
    documentoAberto_ = false;
    if (cupsFinishDestDocument(conexao_.get(), destino_, info_.get()) >
        IPP_STATUS_OK_EVENTS_COMPLETE) {
        Recusa(UltimoErroCups());
    }
    concluido_ = true;
}

void TrabalhoCups::Cancelar() noexcept {
    if (trabalho_ <= 0 || concluido_)
        return;
    // A document half sent is dropped with its connection; the job, which
    // then holds nothing, is cancelled on a connection of its own.
    conexao_.reset();
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, destino_, trabalho_);
    trabalho_ = 0;
}

} // namespace tarvo
