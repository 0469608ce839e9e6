// The preview window under the offscreen platform: title, icon, pages,
// navigation, hiding and showing again, snapshots and ownership.

#include "support/LeitorPdf.h"
#include "ProcessoFilho.h"
#include "engine/MotorRelatorio.h"
#include "engine/PaginaPrevia.h"
#include <RelatoriosTarvo/Erro.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

namespace tarvo::teste {
namespace {

void Paginas(MotorRelatorio& motor, int quantidade) {
    for (int pagina = 1; pagina <= quantidade; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        motor.AdicionarRetangulo(0, 0.5, 25.7, 0.1, -1, 0x808000, 0x808000, 1);
        motor.AdicionarTexto(0, 16.4, 25.7, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
}

QSpinBox* NumeroPagina(QWidget* janela) {
    return janela->findChild<QSpinBox*>();
}

void Acionar(QWidget* janela, const QString& texto) {
    for (QAction* acao : janela->findChildren<QAction*>()) {
        if (acao->text() == texto) {
            acao->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no action " << texto.toStdString();
}

TEST(Previa, AbreComTituloEIconeOcultaEReabre) {
    QImage azul(32, 32, QImage::Format_RGB32);
    azul.fill(Qt::blue);
    MotorRelatorio motor;
    motor.OcultarDocumento(); // nothing shown yet: no failure
    EXPECT_EQ(motor.Janela(), nullptr);
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Saídas");
    motor.DefinirTituloResumido("Saídas");
    motor.DefinirIcone(Figura("imgIconeR", azul));
    motor.DefinirOrientacao(1);
    Paginas(motor, 3);

    motor.ExibirDocumento();
    ASSERT_TRUE(motor.JanelaVisivel());
    QWidget* janela = motor.Janela();
    EXPECT_EQ(janela->windowTitle(), QString("Relatório de Saídas"));
    EXPECT_EQ(janela->windowIcon().pixmap(32).toImage().pixelColor(16, 16), QColor(Qt::blue));
    const auto* folha = janela->findChild<PaginaPrevia*>();
    ASSERT_NE(folha, nullptr);
    EXPECT_GT(folha->Imagem().width(), folha->Imagem().height()); // landscape
    EXPECT_EQ(NumeroPagina(janela)->value(), 1);
    EXPECT_EQ(NumeroPagina(janela)->maximum(), 3);
    Acionar(janela, "Próxima");
    Acionar(janela, "Próxima");
    Acionar(janela, "Próxima"); // stays on the last page
    EXPECT_EQ(NumeroPagina(janela)->value(), 3);
    Acionar(janela, "Primeira");
    EXPECT_EQ(NumeroPagina(janela)->value(), 1);

    motor.OcultarDocumento();
    EXPECT_FALSE(motor.JanelaVisivel());
    motor.ExibirDocumento();
    EXPECT_TRUE(motor.JanelaVisivel());
    EXPECT_EQ(motor.Janela(), janela);
}

TEST(Previa, DocumentoVazioMostraPreviaVazia) {
    MotorRelatorio nuncaIniciado;
    nuncaIniciado.ExibirDocumento();
    EXPECT_TRUE(nuncaIniciado.JanelaVisivel());
    MotorRelatorio motor;
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.ExibirDocumento();
    ASSERT_TRUE(motor.JanelaVisivel());
    EXPECT_TRUE(motor.Janela()->findChild<PaginaPrevia*>()->Imagem().isNull());
    EXPECT_EQ(NumeroPagina(motor.Janela())->maximum(), 0);
}

TEST(Previa, JanelaMostraODocumentoExibidoEPertenceAoMotor) {
    QPointer<QWidget> janela;
    {
        MotorRelatorio outro;
        outro.IniciarDocumento();
        Paginas(outro, 1);
        outro.ExibirDocumento();

        MotorRelatorio motor;
        motor.IniciarDocumento();
        motor.DefinirTitulo("Primeiro");
        Paginas(motor, 1);
        motor.ExibirDocumento();
        janela = motor.Janela();
        // Changes after the call show only when the document is shown again.
        motor.NovaPagina();
        Paginas(motor, 1);
        EXPECT_EQ(motor.NumeroPaginas(), 2);
        EXPECT_EQ(NumeroPagina(janela)->maximum(), 1);
        motor.IniciarDocumento();
        motor.DefinirTitulo("Segundo");
        Paginas(motor, 4);
        EXPECT_EQ(janela->windowTitle(), QString("Primeiro"));
        motor.ExibirDocumento();
        EXPECT_EQ(janela->windowTitle(), QString("Segundo"));
        EXPECT_EQ(NumeroPagina(janela)->maximum(), 4);
        EXPECT_TRUE(outro.JanelaVisivel()); // windows of several engines at once
    }
    EXPECT_TRUE(janela.isNull()); // destroyed with its engine
}

TEST(Previa, ForaDaThreadDaInterfaceLevantaErro) {
    MotorRelatorio motor;
    long numero = 0;
    std::thread([&] {
        try {
            motor.ExibirDocumento();
        } catch (const Erro& erro) {
            numero = erro.Numero();
        }
    }).join();
    EXPECT_EQ(numero, Erro::FalhaInterface);
    EXPECT_EQ(motor.Janela(), nullptr);
}

TEST(Previa, ZoomESalvarComoPdf) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    motor.DefinirOrientacao(1);
    Paginas(motor, 2);
    motor.ExibirDocumento();
    QWidget* janela = motor.Janela();
    const auto* folha = janela->findChild<PaginaPrevia*>();
    const int inicial = folha->Imagem().width();
    Acionar(janela, "Ampliar");
    const int ampliada = folha->Imagem().width();
    EXPECT_GT(ampliada, inicial);
    Acionar(janela, "Reduzir");
    EXPECT_LT(folha->Imagem().width(), ampliada);

    QTemporaryDir pasta;
    const QString caminho = pasta.filePath("previa");
    QTimer responder;
    QObject::connect(&responder, &QTimer::timeout, [&] {
        if (auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            // Typed, as a user would: the dialog reads its folder asynchronously.
            dialogo->findChild<QLineEdit*>("fileNameEdit")->setText(caminho);
            static_cast<QDialog*>(dialogo)->accept();
        }
    });
    responder.start(20);
    Acionar(janela, "Salvar PDF…");
    const std::string texto = TextoPdf((caminho + ".pdf").toStdString());
    EXPECT_NE(texto.find("Página 2 de 2"), std::string::npos);
}

// On a screen of two device pixels to the logical pixel the page is rendered
// at twice the resolution and shown at the same logical size.
TEST(Previa, TelaDeAltaDensidade) {
    if (!NoProcessoFilho("Previa.TelaDeAltaDensidade", {{"QT_SCALE_FACTOR", "2"}})) {
        return;
    }
    MotorRelatorio motor;
    motor.IniciarDocumento();
    Paginas(motor, 1);
    motor.ExibirDocumento();
    const QImage& imagem = motor.Janela()->findChild<PaginaPrevia*>()->Imagem();
    EXPECT_EQ(imagem.devicePixelRatio(), 2.0);
    EXPECT_EQ(imagem.width(), qRound(imagem.deviceIndependentSize().width() * 2));
    EXPECT_GE(imagem.width(), motor.Janela()->width()); // finer than the window's logical pixels
}

} // namespace
} // namespace tarvo::teste
