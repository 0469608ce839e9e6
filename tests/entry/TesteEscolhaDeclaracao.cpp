// Relatorios::EscolherDeclaracao through the real file dialog, declaration
// list and message box under the offscreen platform: each modal window is
// worked, as it comes up, by the next step of the test.

#include "entry/frmEscolhaDeclaracao.h"
#include "support/BancoTeste.h"
#include <RelatoriosTarvo/Relatorios.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tarvo {
namespace {

using Passo = std::function<void(QWidget&)>;

class TesteEscolhaDeclaracao : public ::testing::Test {
protected:
    TesteEscolhaDeclaracao() {
        // Out of number order, and one declaration without its taxpayer.
        banco.Executar(
            "INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila Ltda');"
            "INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('456', 'Brito & Filhos');"
            "INSERT INTO tblDeclaração (Declaração, IE, Exercício) VALUES (9, '456', 2004);"
            "INSERT INTO tblDeclaração (Declaração, IE, Exercício) VALUES (7, '123', 2003);"
            "INSERT INTO tblDeclaração (Declaração, IE, Exercício) VALUES (8, '999', 2003);");
    }

    // Runs EscolherDeclaracao while `passos` work its modal windows in turn;
    // a window left up, or one more than the steps, is closed and fails the
    // test, so that nothing hangs.
    std::optional<DeclaracaoEscolhida> Escolher(const std::string& caminho,
                                                std::vector<Passo> passos) {
        size_t dado = 0;
        // Goes null with the window, so that the next one is seen as new
        // even at the same address.
        QPointer<QWidget> anterior;
        QTimer vigia;
        vigia.setInterval(10);
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            QWidget* const janela = QApplication::activeModalWidget();
            if (janela == nullptr || janela == anterior.data())
                return;
            anterior = janela;
            if (dado < passos.size()) {
                passos[dado++](*janela);
                QTimer::singleShot(2000, janela, [janela] {
                    if (janela->isVisible()) {
                        ADD_FAILURE()
                            << "janela deixada aberta: " << janela->windowTitle().toStdString();
                        janela->close();
                    }
                });
            } else {
                ADD_FAILURE() << "janela a mais: " << janela->windowTitle().toStdString();
                janela->close();
            }
        });
        vigia.start();
        std::optional<DeclaracaoEscolhida> escolhida = relatorios.EscolherDeclaracao(caminho);
        EXPECT_EQ(dado, passos.size()) << "passos que não chegaram a agir";
        return escolhida;
    }

    // A step for the declaration list, or a failure for any other window.
    template <typename Acao> static Passo NaLista(Acao acao) {
        return [acao](QWidget& janela) {
            auto* const lista = qobject_cast<frmEscolhaDeclaracao*>(&janela);
            if (lista == nullptr) {
                ADD_FAILURE() << "não é a lista: " << janela.metaObject()->className();
                janela.close();
                return;
            }
            acao(*lista);
        };
    }

    teste::BancoTeste banco;
    Relatorios relatorios;
};

TEST_F(TesteEscolhaDeclaracao, ListaEmOrdemEEscolhaPeloTeclado) {
    std::optional<DeclaracaoEscolhida> escolhida =
        Escolher(banco.Caminho(), {NaLista([](frmEscolhaDeclaracao& lista) {
                     QTreeWidget& arvore = *lista.lstDeclaracoes;
                     EXPECT_EQ(lista.windowTitle(), QString("Escolha da Declaração"));
                     EXPECT_EQ(arvore.headerItem()->text(1), QString("Contribuinte"));
                     ASSERT_EQ(arvore.topLevelItemCount(), 3);
                     const QStringList linhas[] = {{"7", "Ávila Ltda", "123", "2003"},
                                                   {"8", "", "999", "2003"},
                                                   {"9", "Brito & Filhos", "456", "2004"}};
                     for (int i = 0; i < 3; ++i)
                         for (int coluna = 0; coluna < 4; ++coluna)
                             EXPECT_EQ(arvore.topLevelItem(i)->text(coluna), linhas[i][coluna]);
                     // The first row is current and the list has the focus.
                     EXPECT_EQ(arvore.currentItem(), arvore.topLevelItem(0));
                     EXPECT_EQ(lista.focusWidget(), &arvore);
                     QTest::keyClick(&arvore, Qt::Key_End);
                     QTest::keyClick(&arvore, Qt::Key_Return);
                 })});
    ASSERT_TRUE(escolhida.has_value());
    EXPECT_EQ(escolhida->Banco, banco.Caminho());
    EXPECT_EQ(escolhida->Declaracao, 9);
    EXPECT_EQ(escolhida->IE, "456");

    // A double click opens the row clicked; Esc cancels.
    escolhida =
        Escolher(banco.Caminho(), {NaLista([](frmEscolhaDeclaracao& lista) {
                     QTreeWidget& arvore = *lista.lstDeclaracoes;
                     const QRect linha = arvore.visualItemRect(arvore.topLevelItem(1));
                     // The press of a double click's first click, then the second.
                     QTest::mouseClick(arvore.viewport(), Qt::LeftButton, {}, linha.center());
                     QTest::mouseDClick(arvore.viewport(), Qt::LeftButton, {}, linha.center());
                 })});
    ASSERT_TRUE(escolhida.has_value());
    EXPECT_EQ(escolhida->Declaracao, 8);
    escolhida = Escolher(banco.Caminho(), {NaLista([](frmEscolhaDeclaracao& lista) {
                             QTest::keyClick(lista.lstDeclaracoes, Qt::Key_Escape);
                         })});
    EXPECT_FALSE(escolhida.has_value());
}

TEST_F(TesteEscolhaDeclaracao, UmaDeclaracaoNaoPergunta) {
    banco.Executar("DELETE FROM tblDeclaração WHERE Declaração <> 7;");
    const std::optional<DeclaracaoEscolhida> escolhida = Escolher(banco.Caminho(), {});
    ASSERT_TRUE(escolhida.has_value());
    EXPECT_EQ(escolhida->Declaracao, 7);
    EXPECT_EQ(escolhida->IE, "123");
}

// Without a file, the file dialog asks; a file that is no declaration
// database, or holds none, is said in a message and the dialog asks again,
// from that file's folder.
TEST_F(TesteEscolhaDeclaracao, ArquivoPeloDialogoEArquivosQueNaoServem) {
    const QString pasta = QFileInfo(QString::fromStdString(banco.Caminho())).absolutePath();
    QFile vazio(pasta + "/vazio.db");
    ASSERT_TRUE(vazio.open(QIODevice::WriteOnly));
    vazio.close();
    teste::BancoTeste semDeclaracoes;

    const auto Abrir = [](const QString& arquivo) {
        return [arquivo](QWidget& janela) {
            auto* const dialogo = qobject_cast<QFileDialog*>(&janela);
            ASSERT_NE(dialogo, nullptr) << janela.metaObject()->className();
            EXPECT_EQ(dialogo->windowTitle(), QString("Abrir o banco de dados da declaração"));
            EXPECT_EQ(dialogo->nameFilters().front(),
                      QString("Bancos de dados de declarações (*.db *.sqlite *.sqlite3)"));
            // The file name field takes a selection only while it has no
            // focus, as when the user picks a file in the list.
            if (QWidget* const foco = QApplication::focusWidget())
                foco->clearFocus();
            dialogo->selectFile(arquivo);
            // As the Abrir button does (QFileDialog's own accept is protected).
            static_cast<QDialog&>(*dialogo).accept();
        };
    };
    const auto Mensagem = [](const std::string& esperado) {
        return [esperado](QWidget& janela) {
            auto* const caixa = qobject_cast<QMessageBox*>(&janela);
            ASSERT_NE(caixa, nullptr) << janela.metaObject()->className();
            EXPECT_NE(caixa->informativeText().toStdString().find(esperado), std::string::npos)
                << caixa->informativeText().toStdString();
            QTest::keyClick(caixa, Qt::Key_Return);
        };
    };
    std::optional<DeclaracaoEscolhida> escolhida =
        Escolher("", {Abrir(vazio.fileName()),
                      Mensagem("erro 3078: " + vazio.fileName().toStdString() +
                               ": não é um banco de declarações: falta a tabela tblContribuinte"),
                      [&](QWidget& janela) {
                          auto* const dialogo = qobject_cast<QFileDialog*>(&janela);
                          ASSERT_NE(dialogo, nullptr);
                          EXPECT_EQ(dialogo->directory().absolutePath(), pasta);
                          Abrir(QString::fromStdString(semDeclaracoes.Caminho()))(janela);
                      },
                      Mensagem("erro 3021: " + semDeclaracoes.Caminho() +
                               ": não há nenhuma declaração no arquivo"),
                      Abrir(vazio.fileName()), Mensagem("erro 3078"),
                      Abrir(QString::fromStdString(banco.Caminho())),
                      NaLista([](frmEscolhaDeclaracao& lista) {
                          QTest::keyClick(lista.lstDeclaracoes, Qt::Key_Return);
                      })});
    ASSERT_TRUE(escolhida.has_value());
    EXPECT_EQ(QFileInfo(QString::fromStdString(escolhida->Banco)).canonicalFilePath(),
              QFileInfo(QString::fromStdString(banco.Caminho())).canonicalFilePath());
    EXPECT_EQ(escolhida->Declaracao, 7);
    EXPECT_EQ(vazio.size(), 0);

    // A file given that cannot be used goes the same way; Cancelar in the
    // file dialog gives nothing.
    escolhida = Escolher(vazio.fileName().toStdString(),
                         {Mensagem("erro 3078"), [](QWidget& janela) { janela.close(); }});
    EXPECT_FALSE(escolhida.has_value());
}

} // namespace
} // namespace tarvo
