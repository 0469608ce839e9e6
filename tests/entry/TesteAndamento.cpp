// What a host sees of a call while it runs, and how it stops one: the
// progress callback, the time limit of the database's queries, and the
// Cancelar of the window shown while the preview's reports are built. A
// stopped call raises erro 31301 and leaves nothing half-written.

#include "support/BancoTeste.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>
#include <RelatoriosTarvo/Relatorios.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace tarvo {
namespace {

class TesteAndamento : public ::testing::Test {
protected:
    TesteAndamento() {
        banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                       "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                       "VALUES (7, '123', 1, 2003, 1);"
                       "INSERT INTO tblReferência (Declaração, Ref) VALUES (7, 1), (7, 2);");
    }
    QStringList Tudo() const {
        return QDir(pasta.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    teste::BancoTeste banco;
    QTemporaryDir pasta;
};

TEST_F(TesteAndamento, ChamadaContaRelatoriosEPaginasEParaQuandoPedido) {
    const Database bancoDados(banco.Caminho());
    Relatorios relatorios;
    std::vector<Progresso> vistos;
    relatorios.DefinirAcompanhamento([&](const Progresso& progresso) {
        vistos.push_back(progresso);
        return true;
    });
    relatorios.Exportar(bancoDados, "123", 7, 6, pasta.path().toStdString(), "",
                        pasta.filePath("tudo.pdf").toStdString());
    // Reports 2 and 3 in order, each announced, then written; then the
    // single file.
    ASSERT_FALSE(vistos.empty());
    EXPECT_EQ(vistos.front().posicao, 1);
    EXPECT_EQ(vistos.front().relatorio, 1);
    EXPECT_EQ(vistos.front().relatorios, 2);
    EXPECT_EQ(vistos.back().posicao, 2);
    EXPECT_TRUE(vistos.back().gravando);
    int gravandoPaginas = 0;
    for (size_t i = 1; i < vistos.size(); ++i) {
        EXPECT_GE(vistos[i].relatorio, vistos[i - 1].relatorio);
        gravandoPaginas += vistos[i].gravando && vistos[i].paginas > 0 ? 1 : 0;
    }
    EXPECT_GE(gravandoPaginas, 3);

    // Stopped while the second report is written: its file does not appear,
    // the first report's stays, and no temporary is left.
    const QStringList antes = Tudo();
    for (const QString& nome : antes)
        QFile::remove(pasta.filePath(nome));
    relatorios.DefinirAcompanhamento(
        [](const Progresso& progresso) { return !(progresso.posicao == 2 && progresso.gravando); });
    const Erro erro = teste::ErroDe([&] {
        relatorios.Exportar(bancoDados, "123", 7, 6, pasta.path().toStdString(), "",
                            pasta.filePath("tudo.pdf").toStdString());
    });
    EXPECT_EQ(erro.Numero(), Erro::Interrompido);
    EXPECT_EQ(erro.Descricao(), "interrompido pelo usuário");
    EXPECT_EQ(Tudo(), QStringList{"02-RelatorioEntradas.pdf"});
}

// A request carries its own callback; one object serves requests in a row as
// fresh objects would, whatever happened to the one before.
TEST_F(TesteAndamento, PedidosSeguidosSaoIndependentes) {
    banco.Executar("INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                   "VALUES (8, '123', 2, 2004, 0);"
                   "INSERT INTO tblReferência (Declaração, Ref) VALUES (8, 3);");
    const Database bancoDados(banco.Caminho());
    const auto registros = [&](Relatorios& relatorios, const Pedido& pedido) {
        QTemporaryDir saida;
        relatorios.Exportar(pedido, "", saida.path().toStdString());
        QStringList conteudo;
        for (const QString& nome : QDir(saida.path()).entryList(QDir::Files, QDir::Name)) {
            QFile arquivo(saida.filePath(nome));
            EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly));
            conteudo << nome + ":" + QString::fromUtf8(arquivo.readAll());
        }
        return conteudo;
    };
    int vistosPeloPrimeiro = 0;
    Pedido primeiro{&bancoDados,
                    "123",
                    7,
                    1023,
                    [&](const Progresso& progresso) {
                        ++vistosPeloPrimeiro;
                        return progresso.posicao < 9; // stops at the last report
                    },
                    {}};
    const Pedido segundo{&bancoDados, "123", 8, 1023, {}, {}};

    Relatorios usado;
    EXPECT_EQ(teste::NumeroDoErro([&] { registros(usado, primeiro); }), Erro::Interrompido);
    const int depoisDoPrimeiro = vistosPeloPrimeiro;
    Relatorios novo;
    EXPECT_EQ(registros(usado, segundo), registros(novo, segundo));
    EXPECT_EQ(vistosPeloPrimeiro, depoisDoPrimeiro);
    primeiro.Acompanhamento = nullptr;
    Relatorios outro;
    EXPECT_EQ(registros(usado, primeiro), registros(outro, primeiro));
    EXPECT_NE(registros(usado, primeiro), registros(usado, segundo));
}

TEST_F(TesteAndamento, ConsultaSemFimParaPeloAcompanhamentoOuPeloTempoLimite) {
    banco.EstadosSemFim(7);
    Database bancoDados(banco.Caminho());
    Relatorios relatorios;
    int chamadas = 0;
    relatorios.DefinirAcompanhamento([&](const Progresso& progresso) {
        // The endless query still lets the callback be heard.
        return progresso.posicao != 3 || ++chamadas < 5;
    });
    Erro erro = teste::ErroDe(
        [&] { relatorios.Exportar(bancoDados, "123", 7, 8, pasta.path().toStdString(), ""); });
    EXPECT_EQ(erro.Numero(), Erro::Interrompido);
    EXPECT_EQ(erro.Descricao(), "interrompido pelo usuário, no relatório \"4 - Informação das "
                                "Operações e Prestações de Entradas Interestaduais - ICMS\"");
    EXPECT_EQ(chamadas, 5);

    relatorios.DefinirAcompanhamento(nullptr);
    bancoDados.DefinirTempoLimite(0.25);
    erro = teste::ErroDe(
        [&] { relatorios.Exportar(bancoDados, "123", 7, 8, pasta.path().toStdString(), ""); });
    EXPECT_EQ(erro.Numero(), Erro::Interrompido);
    EXPECT_EQ(
        erro.Descricao().rfind("interrompido: a consulta passou do tempo limite de 0.25 s", 0), 0u)
        << erro.Descricao();
    EXPECT_TRUE(Tudo().isEmpty());
    EXPECT_EQ(teste::NumeroDoErro([&] { bancoDados.DefinirTempoLimite(-1); }),
              Erro::ArgumentoInvalido);

    // The same connection serves the next call as before.
    bancoDados.DefinirTempoLimite(0);
    EXPECT_EQ(relatorios.Exportar(bancoDados, "123", 7, 1, pasta.path().toStdString(), "").size(),
              1u);
}

TEST_F(TesteAndamento, CancelarDaJanelaDeAndamentoParaAVisualizacao) {
    banco.EstadosSemFim(7);
    const Database bancoDados(banco.Caminho());
    Relatorios relatorios;
    // Clicks Cancelar as a user would, once the window shows itself.
    bool clicou = false;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            auto* const andamento = qobject_cast<QProgressDialog*>(janela);
            if (andamento == nullptr || !andamento->isVisible() || clicou)
                continue;
            EXPECT_NE(andamento->labelText().indexOf("4 - Informação das Operações"), -1);
            for (QPushButton* botao : andamento->findChildren<QPushButton*>()) {
                EXPECT_EQ(botao->text(), "Cancelar");
                QTest::mouseClick(botao, Qt::LeftButton);
                clicou = true;
            }
        }
    });
    relogio.start(50);
    const Erro erro = teste::ErroDe([&] { relatorios.Visualizar(bancoDados, "123", 7, 9); });
    EXPECT_TRUE(clicou);
    EXPECT_EQ(erro.Numero(), Erro::Interrompido);
    EXPECT_EQ(erro.Descricao().rfind("interrompido pelo usuário", 0), 0u) << erro.Descricao();
    // The report built before the stop is shown; the window of progress is gone.
    for (QWidget* janela : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QProgressDialog*>(janela) != nullptr && janela->isVisible());
}

} // namespace
} // namespace tarvo
