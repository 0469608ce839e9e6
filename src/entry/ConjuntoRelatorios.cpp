#include "entry/ConjuntoRelatorios.h"

#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include "common/Formato.h"
#include "common/Funcoes.h"
#include "data/Conexao.h"
#include "data/LeituraConsistente.h"
#include "data/Recordset.h"
#include "data/VigilanciaConsultas.h"
#include "engine/CursorOcupado.h"
#include "engine/DialogoAndamento.h"
#include "engine/JanelaPrevia.h"
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

#include <QEventLoop>
#include <QListWidget>
#include <QTimer>

#include <array>
#include <utility>

namespace tarvo {

namespace {

using Construcao = void (*)(RelatorioBase& relatorio, const Database& BancoDados,
                            const std::string& IE, const int32_t& Declaracao);
using FuncaoAssunto = std::string (*)(const Database& BancoDados, const std::string& IE,
                                      const int32_t& Declaracao);

struct LinhaTabela {
    std::string textoLista;
    std::string nomeClasse;
    std::unique_ptr<RelatorioBase> (*criar)();
    Construcao construir;
    FuncaoAssunto assunto;
};

// The declaration's row with its taxpayer's, as the reports' first query
// joins them.
std::unique_ptr<Recordset> DeclaracaoComContribuinte(const Database& BancoDados,
                                                     const int32_t& Declaracao) {
    return Conexao::De(BancoDados)
        .OpenRecordset("select tblContribuinte.IE, RazãoSocial, Exercício from tblContribuinte, "
                       "tblDeclaração where tblContribuinte.IE = tblDeclaração.IE and "
                       "tblDeclaração.Declaração = " +
                       std::to_string(Declaracao));
}

std::string AssuntoDaDeclaracao(const Database& BancoDados, const std::string&,
                                const int32_t& Declaracao) {
    const std::unique_ptr<Recordset> linha = DeclaracaoComContribuinte(BancoDados, Declaracao);
    std::string assunto = "Declaração " + std::to_string(Declaracao);
    if (!linha->Eof())
        assunto += " — IE " + Funcoes::CampoTexto(linha->Fields("IE")) + ", exercício " +
                   Formato::Ano(Funcoes::CampoLong(linha->Fields("Exercício"))) + ", " +
                   Funcoes::CampoTexto(linha->Fields("RazãoSocial"));
    return assunto;
}

// The registration report is the taxpayer's, whatever the declaration.
std::string AssuntoDoContribuinte(const Database& BancoDados, const std::string& IE,
                                  const int32_t&) {
    const std::unique_ptr<Recordset> linha =
        Conexao::De(BancoDados)
            .OpenRecordset("select IE, RazãoSocial from tblContribuinte where IE = '" +
                           Conexao::DobrarAspas(IE) + "'");
    std::string assunto = "IE " + IE;
    if (!linha->Eof())
        assunto += ", " + Funcoes::CampoTexto(linha->Fields("RazãoSocial"));
    return assunto;
}

template <class R> std::unique_ptr<RelatorioBase> Criar() {
    return std::make_unique<R>();
}

template <class R>
void ConstruirPeloIE(RelatorioBase& relatorio, const Database& BancoDados, const std::string& IE,
                     const int32_t&) {
    static_cast<R&>(relatorio).Construir(BancoDados, IE);
}

template <class R>
void ConstruirPelaDeclaracao(RelatorioBase& relatorio, const Database& BancoDados,
                             const std::string&, const int32_t& Declaracao) {
    static_cast<R&>(relatorio).Construir(BancoDados, Declaracao);
}

template <class R> LinhaTabela PeloIE(const char* texto, const char* classe) {
    return {texto, classe, Criar<R>, ConstruirPeloIE<R>, AssuntoDoContribuinte};
}

template <class R> LinhaTabela PelaDeclaracao(const char* texto, const char* classe) {
    return {texto, classe, Criar<R>, ConstruirPelaDeclaracao<R>, AssuntoDaDeclaracao};
}

// The ten reports in list order: the text of the list item, the class, and
// the argument its build takes.
const std::array<LinhaTabela, ConjuntoRelatorios::Quantidade>& Tabela() {
    static const std::array<LinhaTabela, ConjuntoRelatorios::Quantidade> tabela = {
        PeloIE<RelatorioCadastro>("1 - Cadastro do Contribuinte", "RelatorioCadastro"),
        PelaDeclaracao<RelatorioEntradas>("2 - Entradas", "RelatorioEntradas"),
        PelaDeclaracao<RelatorioSaidas>("3 - Saídas", "RelatorioSaidas"),
        PelaDeclaracao<RelatorioEntInterestad>(
            "4 - Informação das Operações e Prestações de Entradas Interestaduais - ICMS",
            "RelatorioEntInterestad"),
        PelaDeclaracao<RelatorioSaiInterestad>(
            "5 - Informação das Operações e Prestações de Saídas Interestaduais - ICMS",
            "RelatorioSaiInterestad"),
        PelaDeclaracao<RelatorioDIPAMCodigo1>("6 - Informações para a DIPAM - Código 1",
                                              "RelatorioDIPAMCodigo1"),
        PelaDeclaracao<RelatorioDIPAMCodigo2>("7 - Informações para a DIPAM - Código 2",
                                              "RelatorioDIPAMCodigo2"),
        PelaDeclaracao<RelatorioDIPAMCodigo3>("8 - Informações para a DIPAM - Código 3",
                                              "RelatorioDIPAMCodigo3"),
        PelaDeclaracao<RelatorioResImpostoDecl>("9 - Resumo do Imposto Declarado",
                                                "RelatorioResImpostoDecl"),
        PelaDeclaracao<RelatorioResReceitaBruta>("10 - Resumo de Receita Bruta",
                                                 "RelatorioResReceitaBruta"),
    };
    return tabela;
}

const LinhaTabela& LinhaDe(int posicao) {
    if (posicao < 0 || posicao >= ConjuntoRelatorios::Quantidade)
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

bool TemLinha(const Database& BancoDados, const std::string& sql) {
    return !Conexao::De(BancoDados).OpenRecordset(sql)->Eof();
}

// "o relatório 3", "os relatórios 2 e 5", "os relatórios 2 a 10".
std::string ListaRelatorios(const std::vector<int>& numeros) {
    if (numeros.size() == 1)
        return "o relatório " + std::to_string(numeros.front());
    const bool seguidos = numeros.back() - numeros.front() + 1 == static_cast<int>(numeros.size());
    std::string texto = "os relatórios ";
    if (seguidos && numeros.size() > 2)
        return texto + std::to_string(numeros.front()) + " a " + std::to_string(numeros.back());
    for (size_t i = 0; i < numeros.size(); ++i) {
        texto += i == 0 ? "" : i + 1 == numeros.size() ? " e " : ", ";
        texto += std::to_string(numeros[i]);
    }
    return texto;
}

std::string EmBranco(const std::vector<int>& numeros) {
    return ListaRelatorios(numeros) + (numeros.size() == 1 ? " sai em branco" : " saem em branco");
}

// "3 - Saídas" and "relatório 2 de 5, 12 páginas", for the window that tells
// how far the build got.
std::string TextoAndamento(const Progresso& progresso) {
    std::string texto = ConjuntoRelatorios::TextoLista(progresso.posicao) + "\nrelatório " +
                        std::to_string(progresso.relatorio) + " de " +
                        std::to_string(progresso.relatorios);
    if (progresso.paginas > 0)
        texto += ", " + std::to_string(progresso.paginas) +
                 (progresso.paginas == 1 ? " página" : " páginas");
    return texto;
}

// The build's progress goes to the connection's queries and to the report's
// engine for as long as the build lasts.
class Acompanhado {
public:
    Acompanhado(VigilanciaConsultas& vigilancia, MotorRelatorio& motor, Andamento* andamento)
        : vigilancia_(vigilancia), motor_(motor) {
        vigilancia_.Acompanhar(andamento);
        motor_.Acompanhar(andamento);
    }
    ~Acompanhado() {
        vigilancia_.Acompanhar(nullptr);
        motor_.Acompanhar(nullptr);
    }
    Acompanhado(const Acompanhado&) = delete;
    Acompanhado& operator=(const Acompanhado&) = delete;

private:
    VigilanciaConsultas& vigilancia_;
    MotorRelatorio& motor_;
};

} // namespace

ConjuntoRelatorios& ConjuntoRelatorios::De(Relatorios& relatorios) {
    return *relatorios.conjunto_;
}

const ConjuntoRelatorios& ConjuntoRelatorios::De(const Relatorios& relatorios) {
    return *relatorios.conjunto_;
}

ConjuntoRelatorios::ConjuntoRelatorios() {
    for (const LinhaTabela& linha : Tabela())
        relatorios_.push_back(linha.criar());
}

// The reports go in list order, then the dialog; the application last.
ConjuntoRelatorios::~ConjuntoRelatorios() {
    for (std::unique_ptr<RelatorioBase>& relatorio : relatorios_)
        relatorio.reset();
    dialogo_.reset();
}

void ConjuntoRelatorios::Executar(const Database& BancoDados, const std::string& IE,
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
        if (Selecionado(OpcoesSelecionadas, i))
            lista.item(i)->setSelected(true);
    }
    // Making an item current must not select it.
    lista.setCurrentRow(0, QItemSelectionModel::NoUpdate);

    dialogo_->exec();

    const int32_t modo = dialogo_->lngModoSaida;
    if (modo == 1 || modo == 2) {
        std::vector<QWidget*> janelas;
        ConstruirComJanela(
            BancoDados, IE, Declaracao, [&](int i) { return lista.item(i)->isSelected(); },
            [&](int i) {
                if (dialogo_->lngModoSaida == 1) {
                    Relatorio(i).Exibir();
                    janelas.push_back(Relatorio(i).Motor().Janela());
                } else if (dialogo_->lngModoSaida == 2) {
                    Relatorio(i).Imprimir();
                }
            });
        JanelaPrevia::Cascata(janelas);
    }
    dialogo_->hide();
}

template <typename Selecao, typename Saida>
void ConjuntoRelatorios::ConstruirComJanela(const Database& BancoDados, const std::string& IE,
                                            const int32_t& Declaracao, Selecao selecionado,
                                            Saida saida) {
    int relatorios = 0;
    for (int i = 0; i < Quantidade; ++i)
        relatorios += selecionado(i) ? 1 : 0;
    const CursorOcupado ocupado;
    DialogoAndamento janela(relatorios);
    const Andamento::Funcao& hospedeiro = acompanhamento_;
    Andamento andamento([&](const Progresso& progresso) {
        if (hospedeiro && !hospedeiro(progresso))
            return false;
        return janela.Atualizar(progresso.relatorio, TextoAndamento(progresso));
    });
    int relatorio = 0;
    for (int i = 0; i < Quantidade; ++i) {
        if (!selecionado(i))
            continue;
        andamento.IniciarRelatorio(i, ++relatorio, relatorios);
        Construir(i, BancoDados, IE, Declaracao, &andamento);
        saida(i);
    }
}

void ConjuntoRelatorios::Visualizar(const Database& BancoDados, const std::string& IE,
                                    const int32_t& Declaracao, const int32_t& Mascara) {
    PrepararAplicacao(AplicacaoQt::Uso::Janelas);
    for (int i = 0; i < Quantidade; ++i)
        Relatorio(i).Ocultar();
    std::vector<QWidget*> janelas;
    ConstruirComJanela(
        BancoDados, IE, Declaracao, [&](int i) { return Selecionado(Mascara, i); },
        [&](int i) {
            Relatorio(i).Exibir();
            janelas.push_back(Relatorio(i).Motor().Janela());
        });
    JanelaPrevia::Cascata(janelas);
}

void ConjuntoRelatorios::Imprimir(const Database& BancoDados, const std::string& IE,
                                  const int32_t& Declaracao, const int32_t& Mascara) {
    PrepararAplicacao(AplicacaoQt::Uso::SemJanelas);
    Andamento andamento = NovoAndamento();
    int relatorio = 0;
    for (int i = 0; i < Quantidade; ++i) {
        if (!Selecionado(Mascara, i))
            continue;
        andamento.IniciarRelatorio(i, ++relatorio, Selecionados(Mascara));
        Construir(i, BancoDados, IE, Declaracao, &andamento);
        Relatorio(i).Motor().ImprimirSemJanelas();
    }
}

void ConjuntoRelatorios::Construir(int posicao, const Database& BancoDados, const std::string& IE,
                                   const int32_t& Declaracao, Andamento* andamento) {
    const LinhaTabela& linha = LinhaDe(posicao);
    try {
        const Conexao& conexao = Conexao::De(BancoDados);
        LeituraConsistente leitura(BancoDados);
        RelatorioBase& relatorio = Relatorio(posicao);
        {
            // Let go before the transaction ends, which must not be
            // interrupted.
            const Acompanhado acompanhado(conexao.Vigilancia(), relatorio.Motor(), andamento);
            linha.construir(relatorio, BancoDados, IE, Declaracao);
            // Read after the report, so that a missing table fails in the report.
            relatorio.Motor().DefinirAssunto(linha.assunto(BancoDados, IE, Declaracao));
        }
        relatorio.Motor().ProtegerArquivos(conexao.Arquivos());
        leitura.Terminar();
    } catch (const Erro& erro) {
        // What went wrong names itself (a field, a table, a file); the
        // report it happened in completes the picture.
        throw Erro(erro.Numero(), erro.Descricao() + ", no relatório \"" + linha.textoLista + "\"",
                   erro.Origem());
    }
}

RelatorioBase& ConjuntoRelatorios::Relatorio(int posicao) const {
    LinhaDe(posicao);
    return *relatorios_[static_cast<size_t>(posicao)];
}

bool ConjuntoRelatorios::AlgumaJanelaVisivel() const {
    for (const std::unique_ptr<RelatorioBase>& relatorio : relatorios_) {
        if (relatorio->Motor().JanelaVisivel())
            return true;
    }
    return false;
}

void ConjuntoRelatorios::AguardarJanelas() {
    if (!AlgumaJanelaVisivel())
        return;
    PrepararAplicacao(AplicacaoQt::Uso::Janelas);
    // Closing a preview only hides it: the loop looks after every event
    // whether one is still up.
    QEventLoop laco;
    QTimer verificacao;
    QObject::connect(&verificacao, &QTimer::timeout, &laco, [&] {
        if (!AlgumaJanelaVisivel())
            laco.quit();
    });
    verificacao.start(50);
    laco.exec();
}

void ConjuntoRelatorios::PrepararAplicacao(AplicacaoQt::Uso uso) {
    aplicacao_ = AplicacaoQt::Garantir(uso);
}

std::optional<std::string> ConjuntoRelatorios::IEDaDeclaracao(const Database& BancoDados,
                                                              const int32_t& Declaracao) {
    const std::unique_ptr<Recordset> registro =
        Conexao::De(BancoDados)
            .OpenRecordset("select IE from tblDeclaração where Declaração = " +
                           std::to_string(Declaracao));
    if (registro->Eof())
        return std::nullopt;
    return Funcoes::CampoTexto(registro->Fields("IE"));
}

std::string ConjuntoRelatorios::Aviso(const Database& BancoDados, const std::string& IE,
                                      const int32_t& Declaracao, const int32_t& Mascara) {
    std::vector<int> daDeclaracao;
    for (int i = 1; i < Quantidade; ++i) {
        if (Selecionado(Mascara, i))
            daDeclaracao.push_back(i + 1);
    }
    const bool cadastro = Selecionado(Mascara, 0);
    if (!cadastro && daDeclaracao.empty())
        return "a seleção " + std::to_string(Mascara) +
               " não escolhe nenhum relatório (os bits 0 a 9 escolhem os relatórios 1 a 10)";

    const std::string numero = std::to_string(Declaracao);
    std::string aviso;
    // The same rows the reports' first query needs.
    if (!daDeclaracao.empty() && DeclaracaoComContribuinte(BancoDados, Declaracao)->Eof()) {
        const bool existe = TemLinha(
            BancoDados, "select Declaração from tblDeclaração where Declaração = " + numero);
        aviso = (existe ? "o contribuinte da declaração " + numero : "a declaração " + numero) +
                " não está no banco de dados: " + EmBranco(daDeclaracao);
    }
    if (cadastro && !TemLinha(BancoDados, "select IE from tblContribuinte where IE = '" +
                                              Conexao::DobrarAspas(IE) + "'")) {
        aviso += (aviso.empty() ? "" : "; ") +
                 std::string("o contribuinte de inscrição estadual \"") + IE +
                 "\" não está no banco de dados: " + EmBranco({1});
    }
    return aviso;
}

const std::string& ConjuntoRelatorios::TextoLista(int posicao) {
    return LinhaDe(posicao).textoLista;
}

const std::string& ConjuntoRelatorios::NomeClasse(int posicao) {
    return LinhaDe(posicao).nomeClasse;
}

int ConjuntoRelatorios::Selecionados(const int32_t& Mascara) {
    int quantidade = 0;
    for (int i = 0; i < Quantidade; ++i)
        quantidade += Selecionado(Mascara, i) ? 1 : 0;
    return quantidade;
}

bool ConjuntoRelatorios::Selecionado(const int32_t& Mascara, int posicao) {
    return (Mascara & (int32_t{1} << posicao)) != 0;
}

} // namespace tarvo
