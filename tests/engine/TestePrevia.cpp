// The preview window under the offscreen platform: continuous pages and the
// page box, keys and wheel, zoom steps and the typed zoom, tiles against the
// page image, thumbnails, find, the empty document, dragging and full
// screen, saving and its Cancelar, what is remembered between runs, closing
// and the cascade.

#include "ProcessoFilho.h"
#include "engine/Documento.h"
#include "engine/JanelaPrevia.h"
#include "engine/LocalizadorTexto.h"
#include "engine/ModeloMiniaturas.h"
#include "engine/MotorRelatorio.h"
#include "engine/PreferenciasPrevia.h"
#include "engine/VistaPaginas.h"
#include "support/LeitorPdf.h"
#include <RelatoriosTarvo/Erro.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <thread>

namespace tarvo::teste {
namespace {

void Paginas(MotorRelatorio& motor, int quantidade) {
    for (int pagina = 1; pagina <= quantidade; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        motor.AdicionarRetangulo(0, 0.5, 17, 0.1, -1, 0x808000, 0x808000, 1);
        motor.AdicionarTexto(0, 1, 17, 0.5, "Informações p/ DIPAM", 1, 1, "Arial", 12, -1, 0, 0,
                             0xFF);
        motor.AdicionarTextoMultilinha(1, 3, 6, 2, "Primeira linha\r\nsegunda linha com texto", 2,
                                       0, "Arial", 9, 0, 0, 0, 0);
        motor.AdicionarTexto(0, 24, 17, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
}

// Every test starts from no remembered settings (the test program's own
// XDG_CONFIG_HOME) and leaves none.
void EsquecerPreferencias() {
    QSettings("RelatoriosTarvo", "Previa").clear();
}

// Answers each modal window that comes up while it lives.
struct Responder {
    explicit Responder(const std::function<void(QWidget&)>& resposta) {
        QObject::connect(&relogio, &QTimer::timeout, [resposta] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                resposta(*modal);
            }
        });
        relogio.start(20);
    }
    QTimer relogio;
};

// Chooses `caminho` in a save dialog and accepts it; false for another window.
bool SalvarComo(QWidget& janela, const QString& caminho) {
    auto* dialogo = qobject_cast<QFileDialog*>(&janela);
    if (dialogo == nullptr) {
        return false;
    }
    // The file name field takes a selection only while it has no focus.
    if (QWidget* const foco = QApplication::focusWidget()) {
        foco->clearFocus();
    }
    dialogo->selectFile(caminho);
    static_cast<QDialog*>(dialogo)->accept();
    return true;
}

struct Previa {
    explicit Previa(int paginas, int32_t orientacao = 0, bool lembrar = false) {
        if (!lembrar) {
            EsquecerPreferencias();
        }
        motor.IniciarDocumento();
        motor.DefinirTitulo("Relatório de Informações para a DIPAM - Código 1");
        motor.DefinirTituloResumido("Informações p/ DIPAM - Cód. 1");
        motor.DefinirOrientacao(orientacao);
        Paginas(motor, paginas);
        motor.ExibirDocumento();
        janela = static_cast<JanelaPrevia*>(motor.Janela());
        if (!lembrar) {
            janela->resize(700, 800);
        }
        vista = janela->findChild<VistaPaginas*>("vista");
        QApplication::processEvents();
    }
    QLineEdit* CaixaPagina() const { return janela->findChild<QLineEdit*>("numeroPagina"); }
    int Caixa() const { return CaixaPagina()->text().toInt(); }
    QLineEdit* CampoZoom() const {
        return janela->findChild<QComboBox*>("escolhaZoom")->lineEdit();
    }
    // Clicked into, as the box takes the focus only from the mouse, then
    // typed over and Enter.
    void Digitar(QLineEdit* campo, const QString& texto) const {
        // Active, as under the user's hands: the zoom box completes only then.
        janela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela));
        QTest::mouseClick(campo, Qt::LeftButton);
        ASSERT_TRUE(campo->hasFocus());
        campo->selectAll();
        QTest::keyClicks(campo, texto);
        QTest::keyClick(campo, Qt::Key_Return);
    }
    QString Aviso() const { return janela->statusBar()->currentMessage(); }
    QString Zoom() const { return janela->findChild<QComboBox*>("escolhaZoom")->currentText(); }
    QAction* Acao(const QString& texto) const {
        for (QAction* acao : janela->findChildren<QAction*>()) {
            if (acao->text() == texto) {
                return acao;
            }
        }
        ADD_FAILURE() << "no action " << texto.toStdString();
        return nullptr;
    }
    // A tool bar's button, pressed with the mouse.
    void Clicar(const QString& acao) const {
        QWidget* botao = janela->findChild<QToolBar*>()->widgetForAction(Acao(acao));
        ASSERT_NE(botao, nullptr) << acao.toStdString();
        QTest::mouseClick(botao, Qt::LeftButton);
    }
    void Tecla(int tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier) const {
        QTest::keyClick(vista, static_cast<Qt::Key>(tecla), modificadores);
    }
    int Rolagem() const { return vista->verticalScrollBar()->value(); }

    MotorRelatorio motor;
    JanelaPrevia* janela = nullptr;
    VistaPaginas* vista = nullptr;
};

TEST(Previa, PaginasContinuasTeclasRodaECaixaDePagina) {
    Previa previa(6);
    EXPECT_EQ(previa.janela->windowTitle(),
              QString("Relatório de Informações para a DIPAM - Código 1"));
    EXPECT_EQ(previa.Caixa(), 1);
    const double altura =
        previa.vista->RetanguloPagina(2).top() - previa.vista->RetanguloPagina(1).top();
    // The wheel goes on past the end of page 1 into page 2.
    for (int i = 0; i < 12; ++i) {
        QWheelEvent roda(QPointF(100, 100), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(previa.vista->viewport(), &roda);
    }
    EXPECT_EQ(previa.Rolagem(), 12 * 120);
    EXPECT_EQ(previa.Caixa(),
              previa.Rolagem() + previa.vista->viewport()->height() / 2 > altura ? 2 : 1);
    // PgDn is a screenful less a line, never the top of the next page.
    const int antes = previa.Rolagem();
    previa.Tecla(Qt::Key_PageDown);
    EXPECT_EQ(previa.Rolagem() - antes, previa.vista->viewport()->height() - 40);
    previa.Tecla(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(previa.Rolagem(), antes);
    previa.Tecla(Qt::Key_Down);
    EXPECT_EQ(previa.Rolagem(), antes + 40);
    previa.Tecla(Qt::Key_End);
    EXPECT_EQ(previa.Rolagem(), previa.vista->verticalScrollBar()->maximum());
    EXPECT_EQ(previa.Caixa(), 6);
    previa.Tecla(Qt::Key_Home);
    EXPECT_EQ(previa.Rolagem(), 0);
    EXPECT_EQ(previa.Caixa(), 1);

    // A page typed in the box, then Ctrl+End still reaches the end.
    previa.Digitar(previa.CaixaPagina(), "4");
    EXPECT_EQ(previa.Caixa(), 4);
    EXPECT_NEAR(previa.vista->RetanguloPagina(4).top(), VistaPaginas::margem, 1);
    EXPECT_TRUE(previa.vista->hasFocus());
    EXPECT_TRUE(previa.Aviso().isEmpty());
    QTest::keyClick(previa.janela, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(previa.Caixa(), 6);
    previa.Acao("Página anterior")->trigger();
    EXPECT_EQ(previa.Caixa(), 5);

    // In whole-page mode PgDn turns the page.
    previa.Acao("Página inteira")->trigger();
    previa.Tecla(Qt::Key_Home);
    previa.Tecla(Qt::Key_PageDown);
    EXPECT_EQ(previa.Caixa(), 2);
    EXPECT_EQ(previa.vista->horizontalScrollBar()->maximum(), 0);
}

// Any number is taken; past either end it goes to that end and says why.
TEST(Previa, CaixaDePaginaAceitaQualquerNumeroEAvisaForaDoRelatorio) {
    Previa previa(6);
    for (const auto& [texto, pagina] : std::vector<std::pair<QString, int>>{
             {"9999", 6}, {"3", 3}, {"123456789012345678901234567890", 6}, {"0", 1}}) {
        previa.Digitar(previa.CaixaPagina(), texto);
        EXPECT_EQ(previa.Caixa(), pagina);
        EXPECT_EQ(previa.vista->PaginaAtual(), pagina);
        EXPECT_EQ(previa.Aviso(), texto == "3" ? QString() : QString("O relatório tem 6 páginas"));
    }
    // Esc leaves the box, not the window, and keeps the page.
    QTest::mouseClick(previa.CaixaPagina(), Qt::LeftButton);
    QTest::keyClicks(previa.CaixaPagina(), "5");
    QTest::keyClick(previa.CaixaPagina(), Qt::Key_Escape);
    EXPECT_EQ(previa.Caixa(), 1);
    EXPECT_TRUE(previa.janela->isVisible());
}

// "Página inteira" shows the current page alone, from its top, whatever part
// of two pages was in view.
TEST(Previa, PaginaInteiraMostraAPaginaAtualSozinha) {
    Previa previa(6);
    previa.vista->verticalScrollBar()->setValue(qRound(
        previa.vista->RetanguloPagina(3).top() + previa.vista->RetanguloPagina(3).height() / 3));
    ASSERT_EQ(previa.Caixa(), 3);
    previa.Acao("Página inteira")->trigger();
    const QRectF folha = previa.vista->RetanguloPagina(3);
    const double altura = previa.vista->viewport()->height();
    EXPECT_NEAR(folha.top(), VistaPaginas::margem, 1);
    EXPECT_LE(folha.bottom(), altura);
    // The next page begins below the view's bottom margin.
    EXPECT_GE(previa.vista->RetanguloPagina(4).top(), altura - VistaPaginas::margem);
    EXPECT_EQ(previa.Caixa(), 3);
}

TEST(Previa, ZoomPorPassosDigitadoEComARodaNoPonto) {
    Previa previa(3);
    previa.janela->resize(300, 500); // fitting the width gives less than 50%
    QApplication::processEvents();
    const double ajustado = previa.vista->Zoom();
    ASSERT_LT(ajustado, 0.5);
    EXPECT_EQ(previa.Zoom(), QString("%1%").arg(qRound(ajustado * 100)));
    EXPECT_TRUE(previa.Acao("Ajustar à largura")->isChecked());
    previa.Acao("Reduzir")->trigger(); // never enlarges
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.25);
    previa.Acao("Reduzir")->trigger();
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.25);
    EXPECT_FALSE(previa.Acao("Reduzir")->isEnabled());
    previa.Acao("Ampliar")->trigger();
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.5);
    QTest::keyClick(previa.vista, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.75);
    QTest::keyClick(previa.vista, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.5);
    QTest::keyClick(previa.vista, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 0.75);
    EXPECT_FALSE(previa.Acao("Ajustar à largura")->isChecked());

    // What is typed is the zoom, never a step the list would complete it to.
    previa.janela->resize(700, 800); // the zoom box in the tool bar again
    const std::vector<std::pair<QString, double>> digitados = {
        {"130", 1.3},      {"20", 0.2},   {"10", 0.1}, {"40%", 0.4},  {"12,5", 0.125},
        {"87.5 %", 0.875}, {"9999", 4.0}, {"0", 0.1},  {"texto", 0.1}};
    for (const auto& [texto, zoom] : digitados) {
        previa.Digitar(previa.CampoZoom(), texto);
        EXPECT_DOUBLE_EQ(previa.vista->Zoom(), zoom) << texto.toStdString();
        EXPECT_TRUE(previa.vista->hasFocus());
    }
    previa.Digitar(previa.CampoZoom(), "12,5");
    EXPECT_EQ(previa.Zoom(), QString("12,5%"));
    previa.Digitar(previa.CampoZoom(), "130");
    EXPECT_EQ(previa.Zoom(), QString("130%"));
    for (int i = 0; i < 6; ++i) {
        previa.Acao("Ampliar")->trigger();
    }
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 4.0);
    EXPECT_FALSE(previa.Acao("Ampliar")->isEnabled());

    // Ctrl+wheel keeps the point under the mouse where it was.
    previa.Acao("Tamanho real")->trigger();
    previa.vista->verticalScrollBar()->setValue(900);
    const QPointF mouse(120, 200);
    const auto ponto = [&] {
        const QRectF folha = previa.vista->RetanguloPagina(2);
        return QPointF((mouse.x() - folha.left()) / folha.width(),
                       (mouse.y() - folha.top()) / folha.height());
    };
    const QPointF antes = ponto();
    QWheelEvent roda(mouse, QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(previa.vista->viewport(), &roda);
    EXPECT_DOUBLE_EQ(previa.vista->Zoom(), 1.25);
    EXPECT_NEAR(ponto().x(), antes.x(), 0.005);
    EXPECT_NEAR(ponto().y(), antes.y(), 0.005);
}

// The view draws tiles; on screen they must equal the page image of the
// same resolution, pixel for pixel.
TEST(Previa, BlocosIguaisAImagemDaPagina) {
    Previa previa(3);
    previa.vista->DefinirZoom(1.5);
    previa.vista->verticalScrollBar()->setValue(1200);
    const QImage tela =
        previa.vista->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRectF folha = previa.vista->RetanguloPagina(2);
    const QImage pagina = previa.motor.RenderizarPagina(2, previa.vista->Dpi());
    const QRect visivel =
        folha.toRect().intersected(QRect(QPoint(0, 0), tela.size())).adjusted(0, 0, -1, -1);
    ASSERT_GT(visivel.height(), 200);
    int diferentes = 0;
    // The date and time of the preview are its own instant; the rest match.
    for (int y = visivel.top(); y < visivel.bottom(); y += 3) {
        for (int x = visivel.left(); x < visivel.right(); ++x) {
            const QPoint naPagina = QPoint(x, y) - folha.topLeft().toPoint();
            diferentes += tela.pixel(x, y) != pagina.pixel(naPagina);
        }
    }
    EXPECT_EQ(diferentes, 0);
}

// At 400% on a screen of scale 2 a page is 9,000 pixels wide: the view keeps
// its tiles within budget wherever it scrolls.
TEST(Previa, MemoriaLimitadaEmQualquerZoomEEscala) {
    if (!NoProcessoFilho("Previa.MemoriaLimitadaEmQualquerZoomEEscala",
                         {{"QT_SCALE_FACTOR", "2"}})) {
        return;
    }
    Previa previa(40);
    previa.vista->DefinirZoom(4.0);
    EXPECT_EQ(previa.vista->Dpi(), qRound(previa.vista->logicalDpiX() * 4.0 * 2));
    QScrollBar* barra = previa.vista->verticalScrollBar();
    for (int passo = 0; passo < 60 && barra->value() < barra->maximum(); ++passo) {
        barra->setValue(barra->value() + barra->pageStep() * 3);
        previa.vista->viewport()->repaint();
        QApplication::processEvents();
        EXPECT_LE(previa.vista->Blocos().Bytes(), VistaPaginas::orcamentoBlocos + (40u << 20));
    }
    EXPECT_GT(previa.Caixa(), 1);
}

TEST(Previa, MiniaturasSobDemandaMarcamAPaginaEClicamParaIr) {
    Previa previa(200);
    auto* lista = previa.janela->findChild<QListView*>("miniaturas");
    auto* modelo = qobject_cast<ModeloMiniaturas*>(lista->model());
    EXPECT_FALSE(lista->isVisible());
    EXPECT_EQ(modelo->Renderizadas(), 0);
    QTest::keyClick(previa.janela, Qt::Key_F9);
    QApplication::processEvents();
    ASSERT_TRUE(lista->isVisible());
    lista->viewport()->repaint();
    EXPECT_GT(modelo->Renderizadas(), 0);
    EXPECT_LT(modelo->Renderizadas(), 20);
    EXPECT_EQ(lista->currentIndex().row(), 0);
    previa.janela->IrParaPagina(150);
    EXPECT_EQ(lista->currentIndex().row(), 149);
    const QModelIndex indice = modelo->index(148);
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(indice).center());
    EXPECT_EQ(previa.Caixa(), 149);

    // The keys that move through the thumbnails take the view and the page
    // box along; scrolling the view never moves it back.
    ASSERT_TRUE(lista->hasFocus());
    for (const auto& [tecla, pagina] : std::vector<std::pair<Qt::Key, int>>{
             {Qt::Key_Down, 150},
             {Qt::Key_Down, 151},
             {Qt::Key_Up, 150},
             {Qt::Key_End, 200},
             {Qt::Key_Home, 1},
             {Qt::Key_PageDown, lista->currentIndex().row() + 1}}) {
        QTest::keyClick(lista, tecla);
        if (tecla != Qt::Key_PageDown) {
            EXPECT_EQ(lista->currentIndex().row() + 1, pagina);
        }
        EXPECT_EQ(previa.vista->PaginaAtual(), lista->currentIndex().row() + 1);
        EXPECT_EQ(previa.Caixa(), lista->currentIndex().row() + 1);
    }
    EXPECT_GT(previa.Caixa(), 1);
    previa.vista->verticalScrollBar()->setValue(
        previa.Rolagem() + qRound(previa.vista->RetanguloPagina(2).top()) + 100);
    EXPECT_EQ(lista->currentIndex().row(), 1);
    EXPECT_NEAR(previa.vista->RetanguloPagina(2).top(), -100, 1);
}

TEST(Previa, LocalizaComMarcadoresSemAcentoNemCaixaEMarcaAsPalavras) {
    Previa previa(3);
    Documento documento;
    documento.Adicionar(Texto{{0.0, 1.0, 17.0, 0.5, documento.Internar("Ação"), 2, 1,
                               documento.Internar("Arial"), 12.0, 0, 0, 0, 0}});
    LocalizadorTexto localizador(documento, QDateTime::currentDateTime());
    const auto acao = localizador.Buscar("acao");
    ASSERT_EQ(acao.size(), 1u);
    const std::vector<QRectF> partes = localizador.Retangulos(acao[0]);
    ASSERT_EQ(partes.size(), 1u);
    // Right-aligned within 2 + 17 cm, on the line 2.0 + 1.0 to 3.5 cm.
    EXPECT_NEAR(partes[0].right(), 19.0, 0.02);
    EXPECT_GT(partes[0].left(), 17.5);
    EXPECT_GE(partes[0].top(), 3.0);
    EXPECT_LE(partes[0].bottom(), 3.5);

    QTest::keyClick(previa.janela, Qt::Key_F, Qt::ControlModifier);
    auto* campo = previa.janela->findChild<QLineEdit*>("campoBusca");
    auto* resultado = previa.janela->findChild<QLabel*>("resultadoBusca");
    ASSERT_TRUE(campo->isVisible());
    QTest::keyClicks(campo, "PAGINA 2 de 3");
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(resultado->text(), QString("1 de 1"));
    EXPECT_EQ(previa.Caixa(), 2);
    campo->setText("linha");
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(resultado->text(), QString("3 de 6")); // from the current page on
    QTest::keyClick(previa.janela, Qt::Key_F3);
    EXPECT_EQ(resultado->text(), QString("4 de 6"));
    QTest::keyClick(previa.janela, Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(previa.janela, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(resultado->text(), QString("2 de 6"));
    // The hit on screen is tinted: highlighted pixels are yellow, not white.
    previa.vista->DefinirZoom(1.0);
    QTest::keyClick(previa.janela, Qt::Key_F3);
    const QImage tela = previa.vista->viewport()->grab().toImage();
    int amarelos = 0;
    for (int y = 0; y < tela.height(); ++y) {
        for (int x = 0; x < tela.width(); ++x) {
            const QColor cor = tela.pixelColor(x, y);
            amarelos += cor.red() > 200 && cor.green() > 120 && cor.blue() < 120;
        }
    }
    EXPECT_GT(amarelos, 50);
    // The answer takes no room from the field.
    const int largura = campo->width();
    campo->setText("nada assim");
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(resultado->text(), QString("Nenhuma ocorrência"));
    QApplication::processEvents();
    EXPECT_EQ(campo->width(), largura);
    QTest::keyClick(campo, Qt::Key_Escape); // leaves the find bar, not the window
    EXPECT_FALSE(campo->isVisible());
    EXPECT_TRUE(previa.janela->isVisible());
}

TEST(Previa, DocumentoVazioMostraAvisoEDesativaAcoes) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.ExibirDocumento();
    QWidget* janela = motor.Janela();
    auto* aviso = janela->findChild<QLabel*>("mensagemVazia");
    ASSERT_TRUE(aviso->isVisible());
    EXPECT_EQ(aviso->text(), QString("Este relatório não tem páginas."));
    for (QAction* acao : janela->findChildren<QAction*>()) {
        for (const char* texto : {"Imprimir…", "Salvar PDF…", "Ampliar", "Reduzir",
                                  "Ajustar à largura", "Localizar…"}) {
            if (acao->text() == texto) {
                EXPECT_FALSE(acao->isEnabled()) << texto;
            }
        }
    }
    EXPECT_FALSE(janela->findChild<QComboBox*>("escolhaZoom")->isEnabled());
    EXPECT_EQ(janela->findChild<QComboBox*>("escolhaZoom")->currentText(), QString("100%"));
    EXPECT_TRUE(janela->findChild<QLineEdit*>("numeroPagina")->text().isEmpty());
    EXPECT_FALSE(janela->findChild<QLineEdit*>("numeroPagina")->isEnabled());
}

TEST(Previa, NomesSugeridosSeguros) {
    EXPECT_EQ(JanelaPrevia::NomeSugerido("Informações p/ DIPAM - Cód. 1"),
              QString("Informações p DIPAM - Cód. 1"));
    EXPECT_EQ(JanelaPrevia::NomeSugerido(" ..a:b*c?\"d<e>f|g\\h. "), QString("a b c d e f g h"));
    EXPECT_EQ(JanelaPrevia::NomeSugerido("/ / ."), QString("Relatório"));
    EXPECT_EQ(JanelaPrevia::NomeSugerido("con"), QString("Relatório con"));
    EXPECT_EQ(JanelaPrevia::NomeSugerido("Entradas\tde\n2003"), QString("Entradas de 2003"));
}

TEST(Previa, SalvarSugereNomeSeguroNaPastaDeDocumentosEDepoisNaUltima) {
    Previa previa(2);
    QTemporaryDir pasta;
    QStringList sugestoes;
    const Responder responder([&](QWidget& janela) {
        if (auto* dialogo = qobject_cast<QFileDialog*>(&janela)) {
            sugestoes << dialogo->selectedFiles().value(0);
            SalvarComo(janela, pasta.filePath(QString("previa%1").arg(sugestoes.size())));
        }
    });
    previa.Acao("Salvar PDF…")->trigger();
    previa.Acao("Salvar PDF…")->trigger();
    ASSERT_EQ(sugestoes.size(), 2);
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(QFileInfo(sugestoes[0]).fileName(), QString("Informações p DIPAM - Cód. 1.pdf"));
    EXPECT_EQ(QFileInfo(sugestoes[0]).absolutePath(),
              QFileInfo(documentos).isDir() ? documentos : QDir::homePath());
    EXPECT_EQ(QFileInfo(sugestoes[1]).absolutePath(), QFileInfo(pasta.path()).absoluteFilePath());
    const std::string texto = TextoPdf(pasta.filePath("previa2.pdf").toStdString());
    EXPECT_NE(texto.find("Página 2 de 2"), std::string::npos);
}

TEST(Previa, EscECtrlWFechamEJanelasEmCascataCabemNaTela) {
    QPointer<QWidget> janela;
    {
        Previa paisagem(1, 1);
        Previa retrato(1, 0);
        // A landscape report opens wider than tall, a portrait one taller.
        paisagem.motor.OcultarDocumento();
        // Hidden, it remembered its test-made size for landscape reports.
        EsquecerPreferencias();
        MotorRelatorio outro;
        outro.IniciarDocumento();
        outro.DefinirOrientacao(1);
        Paginas(outro, 1);
        outro.ExibirDocumento();
        EXPECT_GT(outro.Janela()->width(), outro.Janela()->height());
        std::vector<QWidget*> janelas = {retrato.janela, outro.Janela()};
        JanelaPrevia::Cascata(janelas);
        const QRect livre = retrato.janela->screen()->availableGeometry();
        for (QWidget* cada : janelas) {
            EXPECT_TRUE(livre.contains(cada->frameGeometry())) << cada->frameGeometry().x();
        }
        // The first in front at the bottom right, each title above it in sight.
        EXPECT_GT(retrato.janela->y(), outro.Janela()->y());
        EXPECT_GT(retrato.janela->x(), outro.Janela()->x());

        QTest::keyClick(retrato.vista, Qt::Key_Escape);
        EXPECT_FALSE(retrato.janela->isVisible());
        outro.Janela()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(outro.Janela()));
        QTest::keyClick(outro.Janela(), Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(outro.Janela()->isVisible());
        janela = outro.Janela();
    }
    EXPECT_TRUE(janela.isNull()); // destroyed with its engine
}

// The hand and the middle button drag the pages; F11 toggles full screen,
// and Esc leaves it before it closes the window.
TEST(Previa, MaoEBotaoDoMeioArrastamETelaCheia) {
    Previa previa(6);
    QWidget* area = previa.vista->viewport();
    const auto arrastar = [&](Qt::MouseButton botao, int de, int para) {
        QTest::mousePress(area, botao, {}, QPoint(300, de));
        QTest::mouseMove(area, QPoint(300, para));
        QTest::mouseRelease(area, botao, {}, QPoint(300, para));
    };
    arrastar(Qt::MiddleButton, 500, 200);
    EXPECT_EQ(previa.Rolagem(), 300);
    arrastar(Qt::LeftButton, 500, 200); // selects nothing, moves nothing
    EXPECT_EQ(previa.Rolagem(), 300);
    previa.Clicar("Mão");
    EXPECT_EQ(area->cursor().shape(), Qt::OpenHandCursor);
    arrastar(Qt::LeftButton, 200, 400);
    EXPECT_EQ(previa.Rolagem(), 100);

    QTest::keyClick(previa.janela, Qt::Key_F11);
    EXPECT_TRUE(previa.janela->isFullScreen());
    QTest::keyClick(previa.vista, Qt::Key_Escape);
    EXPECT_FALSE(previa.janela->isFullScreen());
    EXPECT_TRUE(previa.janela->isVisible());
    QTest::keyClick(previa.vista, Qt::Key_Escape);
    EXPECT_FALSE(previa.janela->isVisible());
}

// Size and place per orientation, the zoom, the thumbnails and the folder of
// the last PDF come back in the next preview, from the settings file.
TEST(Previa, LembraJanelaZoomMiniaturasEPastaEntreExecucoes) {
    EsquecerPreferencias();
    QTemporaryDir pasta;
    // Within the offscreen screen, 800 × 600.
    const QRect retrato(40, 50, 400, 500);
    const QRect paisagem(30, 20, 700, 400);
    {
        Previa larga(1, 1, true);
        larga.janela->setGeometry(paisagem);
        larga.Digitar(larga.CampoZoom(), "62,5");
        larga.janela->close();
        Previa alta(3, 0, true);
        EXPECT_DOUBLE_EQ(alta.vista->Zoom(), 0.625);
        alta.janela->setGeometry(retrato);
        alta.Acao("Página inteira")->trigger();
        QTest::keyClick(alta.janela, Qt::Key_F9);
        QTest::keyClick(alta.janela, Qt::Key_F11); // the place before it is kept
        const Responder salvar(
            [&](QWidget& janela) { SalvarComo(janela, pasta.filePath("retrato.pdf")); });
        alta.Acao("Salvar PDF…")->trigger();
        QTest::keyClick(alta.vista, Qt::Key_W, Qt::ControlModifier);
    }
    const QString arquivo = QSettings("RelatoriosTarvo", "Previa").fileName();
    EXPECT_EQ(arquivo, qEnvironmentVariable("XDG_CONFIG_HOME") + "/RelatoriosTarvo/Previa.conf");
    Previa alta(2, 0, true);
    EXPECT_EQ(alta.janela->geometry(), retrato);
    EXPECT_EQ(alta.vista->ModoAjuste(), VistaPaginas::Ajuste::Pagina);
    EXPECT_TRUE(alta.janela->findChild<QListView*>("miniaturas")->isVisible());
    EXPECT_EQ(PreferenciasPrevia::PastaPdf(), pasta.path());
    Previa larga(1, 1, true);
    JanelaPrevia::Cascata({larga.janela}); // alone, it keeps its place
    EXPECT_EQ(larga.janela->geometry(), paisagem);

    // Settings that cannot be written (a file where their folder goes) are
    // left alone, without a word.
    QFile(arquivo).remove();
    QDir(QFileInfo(arquivo).path()).removeRecursively();
    QFile bloqueio(QFileInfo(arquivo).path());
    ASSERT_TRUE(bloqueio.open(QIODevice::WriteOnly));
    bloqueio.close();
    alta.janela->close();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    bloqueio.remove();
    EsquecerPreferencias();
}

// Cancelar (Esc) in the progress of a long save leaves neither the file
// nor a temporary.
TEST(Previa, SalvarLongoMostraAndamentoECancelarNaoGravaNada) {
    Previa previa(20000);
    QTemporaryDir pasta;
    QString rotulo;
    const Responder responder([&](QWidget& janela) {
        auto* andamento = qobject_cast<QProgressDialog*>(&janela);
        if (!SalvarComo(janela, pasta.filePath("longo.pdf")) && andamento != nullptr &&
            andamento->isVisible() && rotulo.isEmpty()) {
            rotulo = andamento->labelText();
            QTest::keyClick(andamento, Qt::Key_Escape);
        }
    });
    // However fast this machine writes, the save lasts until the progress
    // shows: each turn of events it lets through takes a while, as on a slow
    // disk, until Esc is pressed.
    QTimer lento;
    QObject::connect(&lento, &QTimer::timeout, [&] {
        if (rotulo.isEmpty() && QApplication::activeModalWidget() == nullptr)
            QThread::msleep(60);
    });
    lento.start(10);
    previa.Acao("Salvar PDF…")->trigger();
    EXPECT_TRUE(rotulo.contains(" de 20000")) << rotulo.toStdString();
    EXPECT_EQ(QDir(pasta.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList());
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

} // namespace
} // namespace tarvo::teste

namespace tarvo::teste {
namespace {

// Dragging over the page with the left button selects its text, the same
// drag with the hand drags the page instead; Ctrl+C copies what is selected
// and Ctrl+A selects the current page.
TEST(Previa, SelecionarECopiarTexto) {
    Previa previa(2);
    QWidget* const area = previa.vista->viewport();
    const QRectF folha = previa.vista->RetanguloPagina(1);
    const double porCm = folha.width() / 21.0;
    // Across the title's row, from the left margin to the right one.
    const QPoint de = (folha.topLeft() + QPointF(2.5, 3.25) * porCm).toPoint();
    const QPoint ate = (folha.topLeft() + QPointF(18.5, 3.25) * porCm).toPoint();
    QApplication::clipboard()->clear();
    QTest::mousePress(area, Qt::LeftButton, {}, de);
    QTest::mouseMove(area, ate);
    QTest::mouseRelease(area, Qt::LeftButton, {}, ate);
    EXPECT_EQ(previa.vista->TextoSelecionado().toStdString(), "Informações p/ DIPAM");
    QTest::keyClick(previa.janela, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "Informações p/ DIPAM");

    QTest::keyClick(previa.janela, Qt::Key_A, Qt::ControlModifier);
    const std::string pagina =
        "Informações p/ DIPAM\nPrimeira linha\nsegunda linha com texto\nPágina 1 de 2";
    EXPECT_EQ(previa.vista->TextoSelecionado().toStdString(), pagina);

    // With the hand, the same drag moves the page and leaves the selection.
    previa.vista->DefinirMao(true);
    QTest::mousePress(area, Qt::LeftButton, {}, de);
    QTest::mouseMove(area, ate);
    QTest::mouseRelease(area, Qt::LeftButton, {}, ate);
    EXPECT_EQ(previa.vista->TextoSelecionado().toStdString(), pagina);
    previa.vista->DefinirMao(false);
}

} // namespace
} // namespace tarvo::teste
