#include "entry/ConjuntoRelatorios.h"

#include "common/Andamento.h"
#include "data/Conexao.h"
#include "data/LeituraConsistente.h"
#include "data/VigilanciaConsultas.h"
#include "reports/RelatorioBase.h"
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

#include <functional>
#include <utility>

namespace tarvo {

namespace {

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

// Hears of every event of the application, and lets it go on its way.
class FiltroEventos : public QObject {
public:
    using Funcao = std::function<void(QObject*, QEvent*)>;
    explicit FiltroEventos(Funcao funcao) : funcao_(std::move(funcao)) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        funcao_(objeto, evento);
        return false;
    }

private:
    Funcao funcao_;
};

} // namespace

ConjuntoRelatorios::ConjuntoRelatorios() {
    for (int i = 0; i < Quantidade; ++i)
        relatorios_.push_back(TabelaRelatorios::Criar(i));
}

// The reports go in list order; the application last.
ConjuntoRelatorios::~ConjuntoRelatorios() {
    for (std::unique_ptr<RelatorioBase>& relatorio : relatorios_)
        relatorio.reset();
}

void ConjuntoRelatorios::Construir(int posicao, const Pedido& pedido, Andamento* andamento) {
    const std::string& texto = TabelaRelatorios::TextoLista(posicao);
    if (pedido.BancoDados == nullptr)
        throw Erro(Erro::ArgumentoInvalido, "Invalid argument.");
    try {
        const Conexao& conexao = Conexao::De(*pedido.BancoDados);
        LeituraConsistente leitura(*pedido.BancoDados);
        RelatorioBase& relatorio = Relatorio(posicao);
        {
            // Let go before the transaction ends, which must not be
            // interrupted.
            const Acompanhado acompanhado(conexao.Vigilancia(), relatorio.Motor(), andamento);
            TabelaRelatorios::Construir(posicao, relatorio, pedido);
            // Read after the report, so that a missing table fails in the report.
            relatorio.Motor().DefinirAssunto(TabelaRelatorios::Assunto(posicao, pedido));
        }
        relatorio.Motor().ProtegerArquivos(conexao.Arquivos());
        leitura.Terminar();
    } catch (const Erro& erro) {
        // What went wrong names itself (a field, a table, a file); the
        // report it happened in completes the picture.
        throw Erro(erro.Numero(), erro.Descricao() + ", no relatório \"" + texto + "\"",
                   erro.Origem());
    }
}

RelatorioBase& ConjuntoRelatorios::Relatorio(int posicao) const {
    TabelaRelatorios::TextoLista(posicao);
    return *relatorios_[static_cast<size_t>(posicao)];
}

void ConjuntoRelatorios::Ocultar() {
    for (const std::unique_ptr<RelatorioBase>& relatorio : relatorios_)
        relatorio->Ocultar();
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
    // Closing a preview only hides it: the loop ends as the last one hides,
    // in that same turn, whichever preview it is (one shown meanwhile too).
    QEventLoop laco;
    FiltroEventos ocultas([&](QObject* objeto, QEvent* evento) {
        if (evento->type() == QEvent::Hide && objeto->isWidgetType() &&
            static_cast<QWidget*>(objeto)->isWindow() && !AlgumaJanelaVisivel())
            laco.quit();
    });
    QCoreApplication::instance()->installEventFilter(&ocultas);
    laco.exec();
}

void ConjuntoRelatorios::PrepararAplicacao(AplicacaoQt::Uso uso) {
    aplicacao_ = AplicacaoQt::Garantir(uso);
}

} // namespace tarvo
