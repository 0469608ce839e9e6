// Executar through the real selection dialog under the offscreen platform,
// driven by clicks from a timer while the dialog is up modally.

#include "engine/MotorRelatorio.h"
#include "entry/ConjuntoRelatorios.h"
#include "entry/ExecucaoPedido.h"
#include "entry/SelecaoRelatorios.h"
#include "entry/frmImpressaoRelatorios.h"
#include "reports/RelatorioBase.h"
#include "support/BancoTeste.h"
#include "support/Erros.h"
#include "support/Spool.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace tarvo {
namespace {

using Acao = std::function<void(frmImpressaoRelatorios&)>;

class TesteRelatorios : public ::testing::Test {
protected:
    TesteRelatorios() {
        banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                       "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                       "VALUES (7, '123', 1, 2003, 1);");
    }

    // Runs Executar while `acao` works the dialog; a dialog the action leaves
    // up is closed, so that a failing test cannot hang.
    void Executar(int32_t opcoes, const Acao& acao, SelecaoRelatorios& alvo) {
        bool agiu = false;
        QTimer::singleShot(0, [&] {
            frmImpressaoRelatorios* const dialogo = alvo.Dialogo();
            EXPECT_EQ(QApplication::activeModalWidget(), dialogo);
            agiu = true;
            acao(*dialogo);
            if (dialogo->isVisible())
                dialogo->close();
        });
        const Database bancoDados(banco.Caminho());
        alvo.Executar(Pedido{&bancoDados, "123", 7, opcoes, {}, impressora});
        EXPECT_TRUE(agiu);
    }
    void Executar(int32_t opcoes, const Acao& acao) { Executar(opcoes, acao, selecao); }

    static void Clicar(frmImpressaoRelatorios& dialogo, int posicao) {
        QListWidget* const lista = dialogo.lstSelecao;
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(posicao)).center());
    }

    static std::set<int> Selecionados(const frmImpressaoRelatorios& dialogo) {
        std::set<int> posicoes;
        for (int i = 0; i < dialogo.lstSelecao->count(); ++i)
            if (dialogo.lstSelecao->item(i)->isSelected())
                posicoes.insert(i);
        return posicoes;
    }

    std::set<int> Construidos() const {
        std::set<int> posicoes;
        for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i)
            if (!relatorios.Relatorio(i).Motor().Chamadas().empty())
                posicoes.insert(i);
        return posicoes;
    }

    bool Visivel(int posicao) const {
        return relatorios.Relatorio(posicao).Motor().JanelaVisivel();
    }

    teste::BancoTeste banco;
    ConjuntoRelatorios relatorios;
    SelecaoRelatorios selecao{relatorios};
    // The request's printer.
    std::string impressora;
};

const std::set<int> todos = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST_F(TesteRelatorios, MascaraPreSelecionaEFecharNaoConstroiNada) {
    const std::vector<std::pair<int32_t, std::set<int>>> casos = {
        {0, {}}, {5, {0, 2}}, {1023, todos}, {1024, {}}, {-1024, {}}, {-1, todos}};
    for (const auto& [mascara, esperados] : casos) {
        Executar(mascara, [&](frmImpressaoRelatorios& dialogo) {
            EXPECT_EQ(Selecionados(dialogo), esperados) << "máscara " << mascara;
            EXPECT_EQ(dialogo.lstSelecao->currentRow(), 0);
            ASSERT_EQ(dialogo.lstSelecao->count(), 10);
            EXPECT_EQ(dialogo.lstSelecao->item(2)->text(), QString("3 - Saídas"));
            EXPECT_EQ(dialogo.lstSelecao->item(9)->text(), QString("10 - Resumo de Receita Bruta"));
        });
        EXPECT_EQ(selecao.Dialogo()->lngModoSaida, 0);
        EXPECT_FALSE(selecao.Dialogo()->isVisible());
    }
    EXPECT_TRUE(Construidos().empty());
}

TEST_F(TesteRelatorios, CliqueDesmarcaEAVisualizacaoUsaASelecaoFinal) {
    Executar(3, [](frmImpressaoRelatorios& dialogo) {
        Clicar(dialogo, 0);
        Clicar(dialogo, 5);
        EXPECT_EQ(Selecionados(dialogo), (std::set<int>{1, 5}));
        QTest::mouseClick(dialogo.cmdVisualizar, Qt::LeftButton);
    });
    EXPECT_EQ(selecao.Dialogo()->lngModoSaida, 1);
    EXPECT_EQ(Selecionados(*selecao.Dialogo()), (std::set<int>{1, 5}));
    EXPECT_EQ(Construidos(), (std::set<int>{1, 5}));
    EXPECT_TRUE(Visivel(1));
    EXPECT_TRUE(Visivel(5));
    EXPECT_FALSE(Visivel(0));
}

TEST_F(TesteRelatorios, ImprimirSemSelecaoNaoFazNada) {
    Executar(0, [](frmImpressaoRelatorios& dialogo) {
        QTest::mouseClick(dialogo.cmdImprimir, Qt::LeftButton);
    });
    EXPECT_EQ(selecao.Dialogo()->lngModoSaida, 2);
    EXPECT_TRUE(Construidos().empty());
}

TEST_F(TesteRelatorios, ImprimirMandaOCadastroParaAImpressoraPadrao) {
    if (const std::string motivo = teste::MotivoSemFilaDeTeste(); !motivo.empty())
        GTEST_SKIP() << motivo;
    const std::string marca = "Impressao" + std::to_string(QDateTime::currentMSecsSinceEpoch());
    banco.Executar("UPDATE tblContribuinte SET RazãoSocial = '" + marca + "';");
    Executar(0, [](frmImpressaoRelatorios& dialogo) {
        Clicar(dialogo, 0);
        QTest::mouseClick(dialogo.cmdImprimir, Qt::LeftButton);
    });
    EXPECT_EQ(Construidos(), (std::set<int>{0}));
    EXPECT_FALSE(Visivel(0));
    const std::string pdf = teste::PdfImpresso(marca);
    ASSERT_FALSE(pdf.empty()) << "no printed PDF holds " << marca;
    QProcess leitura;
    leitura.start("pdftotext", {"-enc", "UTF-8", QString::fromStdString(pdf), "-"});
    leitura.waitForFinished();
    const std::string texto = leitura.readAllStandardOutput().toStdString();
    EXPECT_NE(texto.find("Cadastro do Contribuinte"), std::string::npos);
    EXPECT_NE(texto.find("Página 1 de 1"), std::string::npos);
    QFile::remove(QString::fromStdString(pdf));
}

// The request's printer takes the dialog's Imprimir; one CUPS does not have
// is said before any report is built.
TEST_F(TesteRelatorios, ImprimirMandaOCadastroParaAImpressoraDoPedido) {
    if (const std::string motivo = teste::MotivoSemFilaDeTeste(); !motivo.empty())
        GTEST_SKIP() << motivo;
    const std::string marca = "Pedido" + std::to_string(QDateTime::currentMSecsSinceEpoch());
    banco.Executar("UPDATE tblContribuinte SET RazãoSocial = '" + marca + "';");
    const Acao imprimirCadastro = [](frmImpressaoRelatorios& dialogo) {
        QTest::mouseClick(dialogo.cmdImprimir, Qt::LeftButton);
    };
    impressora = "Inexistente";
    const Erro erro = teste::ErroDe([&] { Executar(1, imprimirCadastro); });
    EXPECT_EQ(erro.Numero(), Erro::SemImpressora);
    EXPECT_EQ(erro.Descricao(), "A impressora \"Inexistente\" não está disponível.");
    EXPECT_TRUE(Construidos().empty());

    impressora = "TarvoOpcoes";
    Executar(1, imprimirCadastro);
    const std::string pdf = teste::PdfImpresso(marca, "TarvoOpcoes");
    ASSERT_FALSE(pdf.empty()) << "TarvoOpcoes kept no job holding " << marca;
    QFile::remove(QString::fromStdString(pdf));
}

// Without the dialog: the reports of the mask, built under the busy cursor,
// their windows cascaded with the first in front; or printed with no window.
TEST_F(TesteRelatorios, VisualizarSemDialogoEmCascataComCursorOcupado) {
    std::vector<Qt::CursorShape> cursores;
    class Observador : public QObject {
    public:
        explicit Observador(std::vector<Qt::CursorShape>& cursores) : cursores_(cursores) {}
        bool eventFilter(QObject* objeto, QEvent* evento) override {
            const auto* janela = qobject_cast<QWidget*>(objeto);
            if (evento->type() == QEvent::Show && janela != nullptr && janela->isWindow()) {
                const QCursor* cursor = QGuiApplication::overrideCursor();
                cursores_.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
            }
            return false;
        }

    private:
        std::vector<Qt::CursorShape>& cursores_;
    } observador(cursores);
    qApp->installEventFilter(&observador);
    const Database bancoDados(banco.Caminho());
    ExecucaoPedido(relatorios).Visualizar(Pedido{&bancoDados, "123", 7, 5, {}, {}});
    qApp->removeEventFilter(&observador);
    EXPECT_EQ(selecao.Dialogo(), nullptr);
    EXPECT_EQ(Construidos(), (std::set<int>{0, 2}));
    EXPECT_TRUE(Visivel(0));
    EXPECT_TRUE(Visivel(2));
    ASSERT_FALSE(cursores.empty());
    for (const Qt::CursorShape cursor : cursores)
        EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const QWidget* primeira = relatorios.Relatorio(0).Motor().Janela();
    const QWidget* terceira = relatorios.Relatorio(2).Motor().Janela();
    EXPECT_GT(primeira->y(), terceira->y());
    EXPECT_GT(primeira->x(), terceira->x());
    // Qt's own dialogs speak Portuguese too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancelar"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QString("Imprimir"));
}

// The wait ends as the last preview hides, in that turn of the event loop:
// no clock has to tick for it once the window is gone.
TEST_F(TesteRelatorios, AguardarJanelasTerminaQuandoAUltimaSeFecha) {
    const Database bancoDados(banco.Caminho());
    ExecucaoPedido(relatorios).Visualizar(Pedido{&bancoDados, "123", 7, 5, {}, {}});
    QWidget* const primeira = relatorios.Relatorio(0).Motor().Janela();
    QTest::qWait(300); // the windows shown, stacked and painted
    struct Relogios : QObject {
        bool eventFilter(QObject* objeto, QEvent* evento) override {
            oculta = oculta || (evento->type() == QEvent::Hide && objeto == ultima);
            depois += oculta && evento->type() == QEvent::Timer;
            return false;
        }
        QWidget* ultima = nullptr;
        bool oculta = false;
        int depois = 0;
    } relogios;
    relogios.ultima = primeira;
    qApp->installEventFilter(&relogios);
    QMetaObject::invokeMethod(relatorios.Relatorio(2).Motor().Janela(), &QWidget::close,
                              Qt::QueuedConnection);
    QMetaObject::invokeMethod(primeira, &QWidget::close, Qt::QueuedConnection);
    relatorios.AguardarJanelas();
    qApp->removeEventFilter(&relogios);
    EXPECT_FALSE(relatorios.AlgumaJanelaVisivel());
    EXPECT_EQ(relogios.depois, 0);
}

TEST_F(TesteRelatorios, ImprimirSemDialogoNemJanela) {
    if (const std::string motivo = teste::MotivoSemFilaDeTeste(); !motivo.empty())
        GTEST_SKIP() << motivo;
    const std::string marca = "Direto" + std::to_string(QDateTime::currentMSecsSinceEpoch());
    banco.Executar("UPDATE tblContribuinte SET RazãoSocial = '" + marca + "';");
    const Database bancoDados(banco.Caminho());
    ExecucaoPedido(relatorios).Imprimir(Pedido{&bancoDados, "123", 7, 2, {}, {}});
    EXPECT_EQ(Construidos(), (std::set<int>{1}));
    EXPECT_EQ(relatorios.Relatorio(1).Motor().Janela(), nullptr);
    const std::string pdf = teste::PdfImpresso(marca);
    ASSERT_FALSE(pdf.empty()) << "no printed PDF holds " << marca;
    QFile::remove(QString::fromStdString(pdf));
}

// Only the registration report can be built without tblDeclaração's key: the
// first failing report shows which one came first. SQLite's error keeps its
// code and text, and names the report.
TEST_F(TesteRelatorios, OrdemDaTabelaEErroDoSqliteNomeiaORelatorio) {
    banco.Executar("ALTER TABLE tblDeclaração RENAME COLUMN Declaração TO Número;");
    const Acao acao = [](frmImpressaoRelatorios& dialogo) {
        Clicar(dialogo, 9);
        Clicar(dialogo, 0);
        QTest::mouseClick(dialogo.cmdVisualizar, Qt::LeftButton);
    };
    try {
        Executar(0, acao);
        ADD_FAILURE() << "Executar não falhou";
    } catch (const Erro& erro) {
        EXPECT_EQ(erro.Numero(), 1);
        EXPECT_TRUE(erro.DoSqlite());
        EXPECT_EQ(erro.Descricao(), "no such column: tblDeclaração.Declaração, no relatório \"10 - "
                                    "Resumo de Receita Bruta\"");
    }
    EXPECT_EQ(Construidos(), (std::set<int>{0}));
    EXPECT_TRUE(Visivel(0));

    // The next call closes that preview and replaces the dialog.
    const frmImpressaoRelatorios* const anterior = selecao.Dialogo();
    Executar(0, [&](frmImpressaoRelatorios& dialogo) {
        EXPECT_NE(&dialogo, anterior);
        EXPECT_FALSE(Visivel(0));
    });
    EXPECT_FALSE(Visivel(0));
    EXPECT_EQ(Construidos(), (std::set<int>{0})); // still built
}

TEST_F(TesteRelatorios, ChamadaDeDentroDoDialogoFalhaSemDerrubarAPrimeira) {
    Executar(1, [&](frmImpressaoRelatorios& dialogo) {
        const Database bancoDados(banco.Caminho());
        try {
            selecao.Executar(Pedido{&bancoDados, "123", 7, 0, {}, {}});
            ADD_FAILURE() << "a segunda chamada não falhou";
        } catch (const Erro& erro) {
            EXPECT_EQ(erro.Numero(), Erro::FormularioJaExibido);
        }
        QTest::mouseClick(dialogo.cmdVisualizar, Qt::LeftButton);
    });
    EXPECT_EQ(Construidos(), (std::set<int>{0}));
}

TEST(DialogoImpressao, SelecionarOuLimparTodos) {
    frmImpressaoRelatorios dialogo;
    dialogo.cmdSelecionarTodos->click(); // an empty list: nothing to do
    for (int i = 0; i < 10; ++i)
        dialogo.lstSelecao->addItem(QString::number(i));
    const auto selecionados = [&] { return dialogo.lstSelecao->selectedItems().size(); };

    dialogo.cmdSelecionarTodos->click(); // none selected
    EXPECT_EQ(selecionados(), 10);
    dialogo.cmdSelecionarTodos->click(); // all selected
    EXPECT_EQ(selecionados(), 0);
    for (int i = 1; i < 10; ++i)
        dialogo.lstSelecao->item(i)->setSelected(true);
    dialogo.cmdSelecionarTodos->click(); // nine selected
    EXPECT_EQ(selecionados(), 10);
    EXPECT_EQ(dialogo.lngModoSaida, 0);
}

TEST(DialogoImpressao, JanelaFixaSemBotaoPadraoNemEsc) {
    frmImpressaoRelatorios dialogo;
    dialogo.lstSelecao->addItems({"a", "b"});
    dialogo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialogo));
    EXPECT_EQ(dialogo.windowTitle(), QString("Impressão de Relatórios"));
    EXPECT_EQ(dialogo.size(), QSize(537, 289));
    EXPECT_EQ(dialogo.minimumSize(), dialogo.maximumSize());
    EXPECT_FALSE(dialogo.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(dialogo.windowIcon().isNull());
    const QPoint desvio =
        dialogo.geometry().center() - dialogo.screen()->availableGeometry().center();
    EXPECT_LE(desvio.manhattanLength(), 8); // a frame's width at most

    // Focus starts on the preview button and tabs through print, list, select all.
    EXPECT_EQ(QApplication::focusWidget(), dialogo.cmdVisualizar);
    const std::vector<QWidget*> ordem = {dialogo.cmdImprimir, dialogo.lstSelecao,
                                         dialogo.cmdSelecionarTodos, dialogo.cmdVisualizar};
    for (QWidget* esperado : ordem) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), esperado);
    }

    // Neither Esc nor Enter closes the dialog or presses a button.
    QTest::keyClick(&dialogo, Qt::Key_Escape);
    QTest::keyClick(dialogo.cmdVisualizar, Qt::Key_Return);
    QTest::keyClick(dialogo.lstSelecao, Qt::Key_Enter);
    EXPECT_TRUE(dialogo.isVisible());
    EXPECT_EQ(dialogo.lngModoSaida, 0);
}

} // namespace
} // namespace tarvo
