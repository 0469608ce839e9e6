#include "entry/Relatorios.h"

#include "common/Erro.h"
#include "data/LeituraConsistente.h"
#include "entry/frmImpressaoRelatorios.h"
#include "reports/RelatorioCadastro.h"
#include "reports/RelatorioDIPAMCodigo1.h"
#include "reports/RelatorioDIPAMCodigo2.h"
#include "reports/RelatorioDIPAMCodigo3.h"
#include "reports/RelatorioEntInterestad.h"
#include "reports/RelatorioEntradas.h"
#include "reports/RelatorioResImpostoDecl.h"
#include "reports/RelatorioResReceitaBruta.h"
#include "reports/RelatorioSaiInterestad.h"
#include "reports/RelatorioSaidas.h"

#include <QListWidget>

#include <array>

namespace tarvo {

namespace {

struct LinhaTabela {
    std::string textoLista;
    std::string nomeClasse;
};

const std::array<LinhaTabela, Relatorios::Quantidade>& Tabela() {
    static const std::array<LinhaTabela, Relatorios::Quantidade> tabela = {{
        {"1 - Cadastro do Contribuinte", "RelatorioCadastro"},
        {"2 - Entradas", "RelatorioEntradas"},
        {"3 - Saídas", "RelatorioSaidas"},
        {"4 - Informação das Operações e Prestações de Entradas Interestaduais - ICMS",
         "RelatorioEntInterestad"},
        {"5 - Informação das Operações e Prestações de Saídas Interestaduais - ICMS",
         "RelatorioSaiInterestad"},
        {"6 - Informações para a DIPAM - Código 1", "RelatorioDIPAMCodigo1"},
        {"7 - Informações para a DIPAM - Código 2", "RelatorioDIPAMCodigo2"},
        {"8 - Informações para a DIPAM - Código 3", "RelatorioDIPAMCodigo3"},
        {"9 - Resumo do Imposto Declarado", "RelatorioResImpostoDecl"},
        {"10 - Resumo de Receita Bruta", "RelatorioResReceitaBruta"},
    }};
    return tabela;
}

const LinhaTabela& Linha(int posicao) {
    if (posicao < 0 || posicao >= Relatorios::Quantidade)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    return Tabela()[static_cast<size_t>(posicao)];
}

// Clears a flag however the scope is left.
class Marca {
public:
    explicit Marca(bool& flag) : flag_(flag) { flag_ = true; }
    ~Marca() { flag_ = false; }
    Marca(const Marca&) = delete;
    Marca& operator=(const Marca&) = delete;

private:
    bool& flag_;
};

} // namespace

Relatorios::Relatorios()
    : relatorioCadastro_(std::make_unique<RelatorioCadastro>()),
      relatorioEntradas_(std::make_unique<RelatorioEntradas>()),
      relatorioSaidas_(std::make_unique<RelatorioSaidas>()),
      relatorioEntInterestad_(std::make_unique<RelatorioEntInterestad>()),
      relatorioSaiInterestad_(std::make_unique<RelatorioSaiInterestad>()),
      relatorioDIPAMCodigo1_(std::make_unique<RelatorioDIPAMCodigo1>()),
      relatorioDIPAMCodigo2_(std::make_unique<RelatorioDIPAMCodigo2>()),
      relatorioDIPAMCodigo3_(std::make_unique<RelatorioDIPAMCodigo3>()),
      relatorioResImpostoDecl_(std::make_unique<RelatorioResImpostoDecl>()),
      relatorioResReceitaBruta_(std::make_unique<RelatorioResReceitaBruta>()) {}

// The reports go in table order, then the dialog; the application last.
Relatorios::~Relatorios() {
    relatorioCadastro_.reset();
    relatorioEntradas_.reset();
    relatorioSaidas_.reset();
    relatorioEntInterestad_.reset();
    relatorioSaiInterestad_.reset();
    relatorioDIPAMCodigo1_.reset();
    relatorioDIPAMCodigo2_.reset();
    relatorioDIPAMCodigo3_.reset();
    relatorioResImpostoDecl_.reset();
    relatorioResReceitaBruta_.reset();
    dialogo_.reset();
}

void Relatorios::Executar(const Database& BancoDados, const std::string& IE,
                          const int32_t& Declaracao, const int32_t& OpcoesSelecionadas) {
    // A second call from inside the first one's dialog would destroy the
    // dialog that is still running.
    if (emExecucao_)
        throw Erro(Erro::FormularioJaExibido, "Form already displayed; can't show modally");
    PrepararAplicacao(AplicacaoQt::Uso::Janelas);
    const Marca marca(emExecucao_);

    for (int i = 0; i < Quantidade; ++i)
        Relatorio(i).Ocultar();

    dialogo_ = std::make_unique<frmImpressaoRelatorios>();
    QListWidget& lista = *dialogo_->lstSelecao;
    lista.clear();
    for (int i = 0; i < Quantidade; ++i)
        lista.insertItem(i, QString::fromStdString(TextoLista(i)));
    for (int i = 0; i < lista.count(); ++i) {
        const int32_t bit = int32_t{1} << i;
        if ((OpcoesSelecionadas & bit) != 0)
            lista.item(i)->setSelected(true);
    }
    // Making an item current must not select it.
    lista.setCurrentRow(0, QItemSelectionModel::NoUpdate);

    dialogo_->exec();

    const int32_t modo = dialogo_->lngModoSaida;
    if (modo == 1 || modo == 2) {
        for (int i = 0; i < Quantidade; ++i) {
            if (!lista.item(i)->isSelected())
                continue;
            Construir(i, BancoDados, IE, Declaracao);
            if (dialogo_->lngModoSaida == 1)
                Relatorio(i).Exibir();
            else if (dialogo_->lngModoSaida == 2)
                Relatorio(i).Imprimir();
        }
    }
    dialogo_->hide();
}

const std::string& Relatorios::TextoLista(int posicao) {
    return Linha(posicao).textoLista;
}

const std::string& Relatorios::NomeClasse(int posicao) {
    return Linha(posicao).nomeClasse;
}

RelatorioBase& Relatorios::Relatorio(int posicao) const {
    switch (posicao) {
    case 0:
        return *relatorioCadastro_;
    case 1:
        return *relatorioEntradas_;
    case 2:
        return *relatorioSaidas_;
    case 3:
        return *relatorioEntInterestad_;
    case 4:
        return *relatorioSaiInterestad_;
    case 5:
        return *relatorioDIPAMCodigo1_;
    case 6:
        return *relatorioDIPAMCodigo2_;
    case 7:
        return *relatorioDIPAMCodigo3_;
    case 8:
        return *relatorioResImpostoDecl_;
    case 9:
        return *relatorioResReceitaBruta_;
    default:
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    }
}

void Relatorios::Construir(int posicao, const Database& BancoDados, const std::string& IE,
                           const int32_t& Declaracao) {
    try {
        ConstruirRelatorio(posicao, BancoDados, IE, Declaracao);
    } catch (const Erro& erro) {
        // A field that cannot be read names itself; the report it was read
        // for completes the picture.
        const long numero = erro.Numero();
        if (numero != Erro::TipoIncompativel && numero != Erro::Overflow &&
            numero != Erro::ItemNaoEncontrado)
            throw;
        throw Erro(numero, erro.Descricao() + ", no relatório \"" + TextoLista(posicao) + "\"",
                   erro.Origem());
    }
}

void Relatorios::ConstruirRelatorio(int posicao, const Database& BancoDados, const std::string& IE,
                                    const int32_t& Declaracao) {
    LeituraConsistente leitura(BancoDados);
    switch (posicao) {
    case 0:
        relatorioCadastro_->Construir(BancoDados, IE);
        break;
    case 1:
        relatorioEntradas_->Construir(BancoDados, Declaracao);
        break;
    case 2:
        relatorioSaidas_->Construir(BancoDados, Declaracao);
        break;
    case 3:
        relatorioEntInterestad_->Construir(BancoDados, Declaracao);
        break;
    case 4:
        relatorioSaiInterestad_->Construir(BancoDados, Declaracao);
        break;
    case 5:
        relatorioDIPAMCodigo1_->Construir(BancoDados, Declaracao);
        break;
    case 6:
        relatorioDIPAMCodigo2_->Construir(BancoDados, Declaracao);
        break;
    case 7:
        relatorioDIPAMCodigo3_->Construir(BancoDados, Declaracao);
        break;
    case 8:
        relatorioResImpostoDecl_->Construir(BancoDados, Declaracao);
        break;
    case 9:
        relatorioResReceitaBruta_->Construir(BancoDados, Declaracao);
        break;
    default:
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    }
    leitura.Terminar();
}

void Relatorios::PrepararAplicacao(AplicacaoQt::Uso uso) {
    aplicacao_ = AplicacaoQt::Garantir(uso);
}

} // namespace tarvo
