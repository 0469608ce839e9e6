#include "reports/RelatorioBase.h"

#include "common/Formato.h"
#include "common/Funcoes.h"
#include "common/frmFiguras.h"
#include "data/Conexao.h"
#include "reports/DadosDeclaracao.h"

#include <utility>

namespace tarvo {

namespace {
constexpr int32_t Verdadeiro = -1;
constexpr int32_t Falso = 0;
const std::string Arial = "Arial";
} // namespace

RelatorioBase::RelatorioBase(Configuracao configuracao)
    : configuracao_(std::move(configuracao)), motor_(std::make_unique<MotorRelatorio>()) {}

RelatorioBase::~RelatorioBase() = default;

MotorRelatorio& RelatorioBase::Motor() {
    return *motor_;
}

void RelatorioBase::Exibir() {
    Motor().ExibirDocumento();
}

void RelatorioBase::Ocultar() {
    Motor().OcultarDocumento();
}

void RelatorioBase::Imprimir(const std::string& impressora) {
    const int32_t semDialogo = 0;
    Motor().ImprimirDocumento(semDialogo, impressora);
}

std::unique_ptr<Recordset> RelatorioBase::Abrir(const Database& BancoDados,
                                                const std::string& sql) {
    return Conexao::De(BancoDados).OpenRecordset(sql, Conexao::dbOpenForwardOnly);
}

std::string RelatorioBase::ConsultaContribuinte(const int32_t& Declaracao) {
    return DadosDeclaracao::ConsultaContribuinte(Declaracao);
}

void RelatorioBase::IniciarDocumento() {
    separadores_ = Formato::SeparadoresRegionais();
    MotorRelatorio& motor = Motor();
    motor.IniciarDocumento();
    motor.DefinirTitulo(configuracao_.titulo);
    motor.DefinirTituloResumido(configuracao_.tituloResumido);
    motor.DefinirIcone(frmFiguras::imgIconeR());
    motor.DefinirOrientacao(configuracao_.orientacao);
    const double margem = 2.0;
    motor.DefinirMargens(margem, margem, margem, margem);
}

double RelatorioBase::Largura() const {
    return configuracao_.orientacao == 0 ? 17.0 : 25.7;
}

double RelatorioBase::RodapeY() const {
    return configuracao_.orientacao == 0 ? 25.0 : 16.3;
}

void RelatorioBase::CabecalhoPadrao(const Construcao& c, const double& X, const double& Y) {
    const double W = Largura();
    const bool retrato = configuracao_.orientacao == 0;
    const double G = retrato ? 2.0 : 6.0;
    const double GW = retrato ? 13.0 : 13.7;
    const double T = configuracao_.topoTitulo;
    const double HT = configuracao_.alturaTitulo;

    // The first line sits at the page origin whatever X and Y are.
    Texto(0, 0, W, 0.3, "Declaração do Vantiro", Esquerda, Topo, 8, false);
    if (configuracao_.identificacao) {
        const std::string identificacao =
            Funcoes::CampoLogico(c.rsContribuinte->Fields("Consistente"))
                ? Funcoes::CampoTexto(c.rsContribuinte->Fields("ChaveInterna"))
                : "Declaração Não Consistida";
        Texto(0, 0, W, 0.3, identificacao, Direita, Topo, 8, false);
    }
    Regua(X, Y + 0.5, W);
    Motor().AdicionarImagem(X + 0.1, Y + 0.65, 1.74, 1.89, frmFiguras::imgBrasaoOstranaColorido(),
                            Falso);
    Texto(X + G, Y + 0.85, GW, 0.7, "Governo do Estado de Ostrana", Centro, Meio, 14, true,
          Vermelho);
    Texto(X + G, Y + 1.65, GW, 0.7, "Secretaria de Estado dos Negócios da Quintara", Centro, Meio,
          14, true, Vermelho);
    Regua(X, Y + 2.6, W);
    Caixa(X, Y + T, W, HT);
    TextoMultilinha(X + 0.1, Y + T, W - 0.2, HT, configuracao_.tituloCabecalho, Centro, Meio,
                    configuracao_.tamanhoTitulo, true, Verde);
}

void RelatorioBase::BlocoContribuinte(const Construcao& c, const double& X, const double& Y0,
                                      bool regraFinal) {
    const double W = Largura();
    Caixa(X, Y0, W, 0.6);
    Texto(X + 0.1, Y0, W - 0.2, 0.6, "Contribuinte", Esquerda, Meio, 12, true, Verde);
    CaixaCampo(X, Y0 + 0.6, W, 0.6, "Razão Social",
               Funcoes::CampoTexto(c.rsContribuinte->Fields("RazãoSocial")));

    std::string tipo;
    switch (Funcoes::CampoLong(c.rsContribuinte->Fields("Tipo"))) {
    case 1:
        tipo = "Normal";
        break;
    case 2:
        tipo = "Substitutiva";
        break;
    case 3:
        tipo = "Coligida";
        break;
    default:
        break;
    }
    const std::pair<const char*, std::string> caixas[] = {
        {"Inscrição Estadual", Funcoes::CampoTexto(c.rsContribuinte->Fields("tblContribuinte.IE"))},
        {"CNPJ", Funcoes::CampoTexto(c.rsContribuinte->Fields("CNPJ"))},
        {"CNAE", Funcoes::CampoTexto(c.rsContribuinte->Fields("CNAE"))},
        {"Tipo da Declaração", tipo},
        {"Exercício", Formato::Ano(Funcoes::CampoLong(c.rsContribuinte->Fields("Exercício")))},
    };
    for (int k = 0; k < 5; ++k)
        CaixaCampoPequeno(X + k * W / 5, Y0 + 1.2, W / 5, 0.6, caixas[k].first, caixas[k].second);
    if (regraFinal)
        Regua(X, Y0 + 2.0, W);
}

void RelatorioBase::RodapePagina(const double& X, const double& Y) {
    const double W = Largura();
    Regua(X, Y + 0.2, W);
    Texto(X, Y + 0.4, W / 3, 0.3, "%%D", Esquerda, Meio, 6, false);
    Texto(X + W / 3, Y + 0.4, W / 3, 0.3, "%%H", Centro, Meio, 6, false);
    Texto(X + 2 * W / 3, Y + 0.4, W / 3, 0.3, "Página %%p de %%P", Direita, Meio, 6, false);
}

void RelatorioBase::CaixaCampo(const double& X, const double& Y, const double& Largura,
                               const double& Altura, const std::string& Rotulo,
                               const std::string& Valor) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Topo, 6, true);
    Texto(X + 0.2, Y, Largura - 0.4, Altura, Valor, Esquerda, Base, 8, false);
}

void RelatorioBase::CaixaCampoPequeno(const double& X, const double& Y, const double& Largura,
                                      const double& Altura, const std::string& Rotulo,
                                      const std::string& Valor) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Topo, 6, true);
    Texto(X + 0.2, Y + 0.05, Largura - 0.4, Altura - 0.1, Valor, Esquerda, Base, 6, false);
}

void RelatorioBase::CelulaTitulo(const double& X, const double& Y, const double& Largura,
                                 const double& Altura, const std::string& Texto) {
    Caixa(X, Y, Largura, Altura);
    TextoMultilinha(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Texto, Centro, Topo, 6, true);
}

void RelatorioBase::CelulaTexto(const double& X, const double& Y, const double& Largura,
                                const double& Altura, const std::string& Texto) {
    Caixa(X, Y, Largura, Altura);
    this->Texto(X + 0.1, Y, Largura - 0.2, Altura, Texto, Esquerda, Meio, tamanhoCelula_, false);
}

void RelatorioBase::CelulaNumero(const double& X, const double& Y, const double& Largura,
                                 const double& Altura, const std::string& Texto) {
    Caixa(X, Y, Largura, Altura);
    this->Texto(X + 0.1, Y, Largura - 0.2, Altura, Texto, Direita, Meio, tamanhoCelula_, false);
}

void RelatorioBase::CelulaTextoNegrito(const double& X, const double& Y, const double& Largura,
                                       const double& Altura, const std::string& Texto) {
    Caixa(X, Y, Largura, Altura);
    this->Texto(X + 0.1, Y, Largura - 0.2, Altura, Texto, Esquerda, Meio, 8, true);
}

void RelatorioBase::CelulaNumeroNegrito(const double& X, const double& Y, const double& Largura,
                                        const double& Altura, const std::string& Texto) {
    Caixa(X, Y, Largura, Altura);
    this->Texto(X + 0.1, Y, Largura - 0.2, Altura, Texto, Direita, Meio, 8, true);
}

void RelatorioBase::Caixa(const double& X, const double& Y, const double& Largura,
                          const double& Altura) {
    Motor().AdicionarCaixa(X, Y, Largura, Altura, Falso, 0.1, Preto, Branco, 1);
}

void RelatorioBase::Texto(const double& X, const double& Y, const double& Largura,
                          const double& Altura, const std::string& texto, int32_t horizontal,
                          int32_t vertical, double tamanho, bool negrito, int32_t cor) {
    Motor().AdicionarTexto(X, Y, Largura, Altura, texto, horizontal, vertical, Arial, tamanho,
                           negrito ? Verdadeiro : Falso, Falso, Falso, cor);
}

void RelatorioBase::TextoMultilinha(const double& X, const double& Y, const double& Largura,
                                    const double& Altura, const std::string& texto,
                                    int32_t horizontal, int32_t vertical, double tamanho,
                                    bool negrito, int32_t cor) {
    Motor().AdicionarTextoMultilinha(X, Y, Largura, Altura, texto, horizontal, vertical, Arial,
                                     tamanho, negrito ? Verdadeiro : Falso, Falso, Falso, cor);
}

void RelatorioBase::Regua(const double& X, const double& Y, const double& Largura) {
    Motor().AdicionarRetangulo(X, Y, Largura, 0.1, Verdadeiro, Verde, Verde, 1);
}

std::string RelatorioBase::TextoValor(const Moeda& valor) const {
    return Formato::Valor(valor, separadores_);
}

std::string RelatorioBase::TextoRegime(int32_t regime) {
    switch (regime) {
    case 0:
        return "ME";
    case 1:
        return "EPP-A";
    case 2:
        return "EPP-B";
    default:
        return "";
    }
}

} // namespace tarvo
