// Printing on a real CUPS queue, TarvoPDF, the default printer of the tests'
// own scheduler (scripts/cups-teste.sh), whose backend keeps every job as a
// PDF file; and the errors when printing cannot happen.

#include "ProcessoFilho.h"
#include "engine/DialogoImpressao.h"
#include "engine/DialogoPropriedades.h"
#include "engine/Documento.h"
#include "engine/ImpressorasCups.h"
#include "engine/JanelaPrevia.h"
#include "engine/MotorRelatorio.h"
#include "engine/PreferenciasImpressao.h"
#include "engine/SaidaDocumento.h"
#include "support/Erros.h"
#include "support/LeitorPdf.h"
#include "support/Spool.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace tarvo::teste {
namespace {

const QString filaQueRecusa = QStringLiteral("TarvoRecusa");

#define EXIGIR_FILA()                                                                              \
    if (const std::string motivo = MotivoSemFilaDeTeste(); !motivo.empty()) {                      \
        GTEST_SKIP() << motivo;                                                                    \
    }

// A word no earlier run printed.
std::string Marca() {
    return "Marca" + std::to_string(QRandomGenerator::global()->bounded(100000000, 999999999));
}

void Documento(MotorRelatorio& motor, const std::string& marca, int32_t orientacao) {
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.DefinirOrientacao(orientacao);
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    for (int pagina = 1; pagina <= 2; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        motor.AdicionarTexto(0, 0, 17, 0.5, marca, 0, 0, "Arial", 10, 0, 0, 0, 0);
        motor.AdicionarTexto(0, 15, 17, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
}

// The PDF that the queue kept for the job holding `marca`, read and then
// removed.
PdfLido Impresso(const std::string& marca) {
    const std::string caminho = PdfImpresso(marca);
    if (caminho.empty())
        return {};
    const PdfLido lido = LerPdf(caminho);
    QFile::remove(QString::fromStdString(caminho));
    return lido;
}

TEST(Impressao, ImprimeNaImpressoraPadrao) {
    EXIGIR_FILA();
    MotorRelatorio vazio;
    vazio.IniciarDocumento();
    EXPECT_NO_THROW(vazio.ImprimirDocumento(0)); // nothing to print, nothing sent

    for (const int32_t orientacao : {0, 1}) {
        const std::string marca = Marca();
        MotorRelatorio motor;
        Documento(motor, marca, orientacao);
        motor.ImprimirDocumento(0);
        const PdfLido pdf = Impresso(marca);
        ASSERT_EQ(pdf.paginas.size(), 2u) << "no printed PDF holds " << marca;
        EXPECT_NE(pdf.Texto().find("Página 1 de 2"), std::string::npos);
        EXPECT_NE(pdf.Texto().find("Página 2 de 2"), std::string::npos);
        // The queue keeps the job as Qt sent it: A4 pages in the document's
        // orientation (a landscape page is a turned sheet, not content turned
        // on an upright one), the text upright 2 cm from the top-left corner.
        const bool paisagem = orientacao == 1;
        const Palavra palavra = pdf.Achar(marca).at(0);
        const double folga = 2.5;
        EXPECT_NEAR(pdf.paginas[0].largura, (paisagem ? 29.7 : 21.0) * pontosPorCm, folga);
        EXPECT_NEAR(pdf.paginas[0].altura, (paisagem ? 21.0 : 29.7) * pontosPorCm, folga);
        EXPECT_NEAR(palavra.xMin, margem, folga);
        EXPECT_NEAR(palavra.yMin, margem, folga);
        EXPECT_GT(palavra.xMax - palavra.xMin, palavra.yMax - palavra.yMin);
    }
}

TEST(Impressao, DialogoCanceladoNaoImprimeNemFalha) {
    EXIGIR_FILA();
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    bool cancelado = false;
    QTimer cancelar;
    QObject::connect(&cancelar, &QTimer::timeout, [&] {
        if (auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogo->reject();
            cancelado = true;
        }
    });
    cancelar.start(20);
    EXPECT_NO_THROW(motor.ImprimirDocumento(-1));
    EXPECT_TRUE(cancelado);
}

TEST(Impressao, FilaQueRecusaTrabalhosLevantaErro) {
    EXIGIR_FILA();
    ASSERT_FALSE(QPrinterInfo::printerInfo(filaQueRecusa).isNull());
    // The default destination, for this process only.
    const QByteArray anterior = qgetenv("LPDEST");
    qputenv("LPDEST", filaQueRecusa.toUtf8());
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    const Erro erro = ErroDe([&] { motor.ImprimirDocumento(0); });
    EXPECT_EQ(erro.Numero(), Erro::FalhaImpressao);
    // CUPS's own reason follows the printer's name.
    const std::string inicio = "A impressora \"TarvoRecusa\" recusou o documento: ";
    EXPECT_EQ(erro.Descricao().rfind(inicio, 0), 0u) << erro.Descricao();
    EXPECT_NE(erro.Descricao().find("not accepting jobs"), std::string::npos) << erro.Descricao();
    if (anterior.isNull()) {
        qunsetenv("LPDEST");
    } else {
        qputenv("LPDEST", anterior);
    }
}

// The page numbers ("Página p de P") of a printed PDF's pages, in order.
std::vector<int> NumerosDasPaginas(const PdfLido& pdf) {
    std::vector<int> numeros;
    for (size_t indice = 1; indice <= pdf.paginas.size(); ++indice) {
        int numero = 0;
        for (size_t i = 0; i + 1 < pdf.palavras.size(); ++i) {
            if (pdf.palavras[i].pagina == static_cast<int>(indice) &&
                pdf.palavras[i].texto == "Página")
                numero = std::atoi(pdf.palavras[i + 1].texto.c_str());
        }
        numeros.push_back(numero);
    }
    return numeros;
}

// A document of `paginas` pages, each with `marca` and its number, shown in
// the preview.
void DocumentoNaPrevia(MotorRelatorio& motor, const std::string& marca, int paginas) {
    motor.IniciarDocumento();
    motor.DefinirTitulo(marca);
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        if (pagina > 1)
            motor.NovaPagina();
        motor.AdicionarTexto(0, 0, 17, 0.5, marca, 0, 0, "Arial", 10, 0, 0, 0, 0);
        motor.AdicionarTexto(0, 15, 17, 0.3, "Página %%p de %%P", 2, 1, "Arial", 6, 0, 0, 0, 0);
    }
    motor.ExibirDocumento();
}

// Prints through the print dialog, choosing as a user would: `escolher`
// sets the dialog's fields, then Imprimir is pressed.
void ImprimirComDialogo(MotorRelatorio& motor,
                        const std::function<void(DialogoImpressao&)>& escolher) {
    bool escolheu = false;
    QTimer escolha;
    QObject::connect(&escolha, &QTimer::timeout, [&] {
        auto* dialogo = qobject_cast<DialogoImpressao*>(QApplication::activeModalWidget());
        if (dialogo == nullptr)
            return;
        escolha.stop();
        escolher(*dialogo);
        dialogo->accept();
        escolheu = true;
    });
    escolha.start(20);
    motor.ImprimirDocumento(-1);
    EXPECT_TRUE(escolheu);
}

void Digitar(DialogoImpressao& dialogo, const char* paginas) {
    dialogo.txtPaginas->clear();
    QTest::keyClicks(dialogo.txtPaginas, QString::fromUtf8(paginas));
}

// Imprimir refuses the choice with `aviso`, and the dialog stays.
void AceitarAvisando(DialogoImpressao& dialogo, const char* aviso) {
    bool avisou = false;
    QTimer::singleShot(0, [&] {
        if (auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(caixa->text(), QString::fromUtf8(aviso));
            caixa->accept();
            avisou = true;
        }
    });
    dialogo.accept();
    EXPECT_TRUE(avisou);
    EXPECT_TRUE(dialogo.isVisible());
}

// Pages as a user picks them in the print dialog: the queue (a raw one)
// receives exactly those pages, in that order.
TEST(Impressao, DialogoImprimeExatamenteAsPaginasEscolhidas) {
    EXIGIR_FILA();
    struct Caso {
        const char* nome;
        std::function<void(DialogoImpressao&)> escolher;
        std::vector<int> esperadas;
    };
    const std::vector<Caso> casos = {
        {"lista", [](DialogoImpressao& d) { Digitar(d, "1,3-4"); }, {1, 3, 4}},
        {"intervalo", [](DialogoImpressao& d) { Digitar(d, "2-5"); }, {2, 3, 4, 5}},
        {"atual", [](DialogoImpressao& d) { d.optAtual->setChecked(true); }, {2}},
        {"invertida",
         [](DialogoImpressao& d) { d.chkInverter->setChecked(true); },
         {5, 4, 3, 2, 1}},
        {"lista-invertida",
         [](DialogoImpressao& d) {
             Digitar(d, "1, 3");
             d.chkInverter->setChecked(true);
         },
         {3, 1}},
        // Odd and even are the document's page numbers, within the range.
        {"impares",
         [](DialogoImpressao& d) { d.cmbParidade->setCurrentIndex(DialogoImpressao::Impares); },
         {1, 3, 5}},
        {"pares-do-intervalo-invertidas",
         [](DialogoImpressao& d) {
             Digitar(d, "2-5");
             d.cmbParidade->setCurrentIndex(DialogoImpressao::Pares);
             d.chkInverter->setChecked(true);
         },
         {4, 2}},
        {"atual-par-sem-impares",
         [](DialogoImpressao& d) {
             d.optAtual->setChecked(true);
             d.cmbParidade->setCurrentIndex(DialogoImpressao::Impares);
             AceitarAvisando(d, "Não há página ímpar entre as escolhidas.");
             d.cmbParidade->setCurrentIndex(DialogoImpressao::Pares);
         },
         {2}},
        // A page the report lacks is said, and the dialog waits for a list
        // it can print.
        {"corrigida",
         [](DialogoImpressao& d) {
             Digitar(d, "4-9");
             AceitarAvisando(d, "A página 9 não existe: o relatório tem 5.");
             Digitar(d, "4-5");
         },
         {4, 5}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        MotorRelatorio motor;
        const std::string marca = Marca();
        DocumentoNaPrevia(motor, marca, 5);
        static_cast<JanelaPrevia*>(motor.Janela())->IrParaPagina(2);
        ImprimirComDialogo(motor, caso.escolher);
        const PdfLido pdf = Impresso(marca);
        EXPECT_EQ(NumerosDasPaginas(pdf), caso.esperadas);
    }
}

// Copies and their collation reach CUPS as the job's options (the raw queue
// keeps the document once).
TEST(Impressao, DialogoPassaCopiasAoCups) {
    EXIGIR_FILA();
    for (const bool agrupar : {false, true}) {
        MotorRelatorio motor;
        const std::string marca = Marca();
        DocumentoNaPrevia(motor, marca, 2);
        ImprimirComDialogo(motor, [&](DialogoImpressao& d) {
            d.spnCopias->setValue(3);
            d.chkAgrupar->setChecked(agrupar);
        });
        const std::string caminho = PdfImpresso(marca);
        ASSERT_FALSE(caminho.empty());
        const TrabalhoNaFila trabalho = TrabalhoDoArquivo(caminho);
        EXPECT_EQ(trabalho.copias, "3");
        EXPECT_EQ(trabalho.documentosMultiplos, agrupar ? "separate-documents-collated-copies"
                                                        : "separate-documents-uncollated-copies");
        EXPECT_EQ(NumerosDasPaginas(LerPdf(caminho)), (std::vector<int>{1, 2}));
        QFile::remove(QString::fromStdString(caminho));
    }
    // Without the dialog, one copy.
    const std::string marca = Marca();
    MotorRelatorio motor;
    Documento(motor, marca, 0);
    motor.ImprimirDocumento(0);
    const std::string caminho = PdfImpresso(marca);
    ASSERT_FALSE(caminho.empty());
    EXPECT_EQ(TrabalhoDoArquivo(caminho).copias, "1");
    QFile::remove(QString::fromStdString(caminho));
}

// The printer chosen in the dialog, with its state, and the options of its
// Propriedades: the job goes to that queue with them as CUPS options, each
// page in its report's orientation, and the next dialog starts from them. A
// settings file that cannot be written changes nothing else.
TEST(Impressao, ImpressoraEPropriedadesEscolhidasELembradas) {
    EXIGIR_FILA();
    const std::string marca = Marca();
    MotorRelatorio motor;
    Documento(motor, marca, 1);
    const std::pair<const char*, const char*> escolhas[] = {{"media", "na_letter_8.5x11in"},
                                                            {"sides", "two-sided-short-edge"},
                                                            {"print-color-mode", "color"},
                                                            {"print-quality", "5"}};
    ImprimirComDialogo(motor, [&](DialogoImpressao& d) {
        EXPECT_EQ(d.Impressora(), "TarvoPDF");
        EXPECT_EQ(d.lblPropriedades->text(), "A impressora não oferece opções a escolher");
        d.cmbImpressora->setCurrentIndex(d.cmbImpressora->findData("TarvoRecusa"));
        EXPECT_EQ(d.lblSituacao->text(), "Parada: Tampa aberta; não aceita trabalhos\nLocal: "
                                         "Depósito\nFila de teste que recusa todo trabalho");
        d.cmbImpressora->setCurrentIndex(d.cmbImpressora->findData("TarvoOpcoes"));
        EXPECT_TRUE(d.lblSituacao->text().startsWith("Pronta\nLocal: Sala de testes\n"));
        QTimer::singleShot(0, [&] {
            auto* p = qobject_cast<DialogoPropriedades*>(QApplication::activeModalWidget());
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->Campo("orientation-requested"), nullptr);
            for (const auto& [opcao, valor] : escolhas) {
                ASSERT_NE(p->Campo(opcao), nullptr) << opcao;
                p->Campo(opcao)->setCurrentIndex(p->Campo(opcao)->findData(valor));
            }
            p->accept();
        });
        QTest::mouseClick(d.cmdPropriedades, Qt::LeftButton);
        EXPECT_EQ(d.lblPropriedades->text(), "Carta (216 × 279 mm); Frente e verso, virando na "
                                             "borda curta; Colorida; Alta");
        d.spnCopias->setValue(2);
    });
    const std::string caminho = PdfImpresso(marca, "TarvoOpcoes");
    ASSERT_FALSE(caminho.empty());
    const TrabalhoNaFila trabalho = TrabalhoDoArquivo(caminho);
    EXPECT_EQ(trabalho.copias, "2");
    for (const auto& [opcao, valor] : escolhas) {
        EXPECT_NE(trabalho.propriedades.find(std::string(opcao) + "=" + valor), std::string::npos)
            << trabalho.propriedades;
    }
    const PdfLido pdf = LerPdf(caminho);
    ASSERT_EQ(pdf.paginas.size(), 2u);
    for (const PaginaPdf& pagina : pdf.paginas) {
        EXPECT_NEAR(pagina.largura, 29.7 * pontosPorCm, 2.5);
        EXPECT_NEAR(pagina.altura, 21.0 * pontosPorCm, 2.5);
    }
    QFile::remove(QString::fromStdString(caminho));
    {
        const DialogoImpressao seguinte(2, 0, nullptr);
        EXPECT_EQ(seguinte.Impressora(), "TarvoOpcoes");
        EXPECT_EQ(seguinte.Opcoes().propriedades.size(), std::size(escolhas));
    }

    // The settings file's name is taken by a folder.
    QTemporaryDir configuracao;
    ASSERT_TRUE(QDir(configuracao.path()).mkpath("RelatoriosTarvo/impressao.conf"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuracao.path());
    const std::string outra = Marca();
    MotorRelatorio outroMotor;
    Documento(outroMotor, outra, 0);
    ImprimirComDialogo(outroMotor,
                       [](DialogoImpressao& d) { EXPECT_EQ(d.Impressora(), "TarvoPDF"); });
    EXPECT_EQ(Impresso(outra).paginas.size(), 2u);
    EXPECT_EQ(DialogoImpressao(2, 0, nullptr).Impressora(), "TarvoPDF");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

// Remembered options the printer no longer offers are dropped rather than
// sent to CUPS; "Padrões da impressora" goes back to the printer's defaults.
TEST(Impressao, PropriedadesLembradasSoAsQueAImpressoraOferece) {
    EXIGIR_FILA();
    PreferenciasImpressao::Guardar(
        "TarvoOpcoes", PreferenciasImpressao::Propriedades{{"media", "iso_a0_841x1189mm"},
                                                           {"sides", "two-sided-long-edge"},
                                                           {"finishings", "4"}});
    const DialogoImpressao dialogo(3, 0, nullptr);
    EXPECT_EQ(dialogo.Impressora(), "TarvoOpcoes");
    EXPECT_EQ(dialogo.Opcoes().propriedades,
              (PreferenciasImpressao::Propriedades{{"sides", "two-sided-long-edge"}}));
    EXPECT_EQ(dialogo.lblPropriedades->text(), "Frente e verso, virando na borda longa");

    DialogoPropriedades propriedades("TarvoOpcoes", ImpressorasCups::Opcoes("TarvoOpcoes"),
                                     dialogo.Opcoes().propriedades, nullptr);
    EXPECT_EQ(propriedades.Campo("sides")->currentData().toString(), "two-sided-long-edge");
    QTest::mouseClick(propriedades.cmdPadroes, Qt::LeftButton);
    EXPECT_EQ(propriedades.Escolhidas(),
              (PreferenciasImpressao::Propriedades{{"media", "iso_a4_210x297mm"},
                                                   {"sides", "one-sided"},
                                                   {"print-color-mode", "monochrome"},
                                                   {"print-quality", "4"}}));
    PreferenciasImpressao::Guardar("TarvoPDF", PreferenciasImpressao::Propriedades{});
}

// The state as the dialog words it, from what CUPS says.
TEST(Impressao, SituacaoDaImpressoraEmPortugues) {
    using Situacao = ImpressorasCups::Situacao;
    const Situacao pronta{"A", true, IPP_PSTATE_IDLE, true, {}, "", ""};
    Situacao semPapel{"B",
                      false,
                      IPP_PSTATE_PROCESSING,
                      true,
                      {"media-empty-error", "cover-open-warning", "com.exemplo-x"},
                      "",
                      ""};
    const Situacao parada{"C", false, IPP_PSTATE_STOPPED, false, {"paused"}, "", ""};
    EXPECT_EQ(ImpressorasCups::Descrever(pronta, ""), "Pronta");
    EXPECT_EQ(ImpressorasCups::Descrever(semPapel, ""),
              "Imprimindo: sem papel, tampa aberta, com.exemplo-x");
    EXPECT_EQ(ImpressorasCups::Descrever(semPapel, "Coloque papel A4"),
              "Imprimindo: Coloque papel A4");
    EXPECT_EQ(ImpressorasCups::Descrever(parada, ""), "Parada; não aceita trabalhos");
}

// A document of many pages, titled `marca`, for the tests of Cancelar.
std::unique_ptr<class tarvo::Documento> DocumentoLongo(const std::string& marca) {
    auto documento = std::make_unique<class tarvo::Documento>();
    for (int pagina = 1; pagina <= 400; ++pagina) {
        documento->NovaPagina();
        documento->Adicionar(Texto{{0.0, 0.0, 17.0, 0.5, documento->Internar(marca), 0, 0,
                                    documento->Internar("Arial"), 10.0, 0, 0, 0, 0}});
    }
    return documento;
}

// No PDF the queue kept holds `marca`.
void NenhumaPaginaCom(const std::string& marca) {
    QDirIterator trabalhos(QStringLiteral(TARVO_BUILD_DIR "/cups/saida"), {"job-*.pdf"});
    while (trabalhos.hasNext())
        EXPECT_EQ(LerPdf(trabalhos.next().toStdString()).Texto().find(marca), std::string::npos);
}

// Cancelar in the progress window while the PDF is made: no job is created,
// and the next job is the first the queue keeps.
// Prints `documento` with the progress window and presses its Cancelar as
// soon as `quando` says so; whether it was pressed.
bool ImprimirCancelando(const tarvo::Documento& documento,
                        const std::function<bool(const QProgressDialog&)>& quando) {
    bool cancelou = false;
    QTimer cancelar;
    QObject::connect(&cancelar, &QTimer::timeout, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            auto* progresso = qobject_cast<QProgressDialog*>(janela);
            if (progresso != nullptr && quando(*progresso)) {
                progresso->cancel();
                cancelou = true;
            }
        }
    });
    cancelar.start(0);
    SaidaDocumento::OpcoesImpressao opcoes;
    opcoes.progresso = true;
    EXPECT_NO_THROW(SaidaDocumento::Impressora(documento, opcoes));
    return cancelou;
}

TEST(Impressao, CancelarNoProgressoNaoImprimeNada) {
    EXIGIR_FILA();
    const std::string cancelada = Marca();
    const auto documento = DocumentoLongo(cancelada);
    // At the first events the job lets through, however fast it is laid out.
    ASSERT_TRUE(ImprimirCancelando(*documento, [](const QProgressDialog&) { return true; }));

    const std::string seguinte = Marca();
    MotorRelatorio outro;
    Documento(outro, seguinte, 0);
    outro.ImprimirDocumento(0);
    ASSERT_EQ(Impresso(seguinte).paginas.size(), 2u);
    NenhumaPaginaCom(cancelada);
}

// Cancelar once the PDF is being sent: the job CUPS created is cancelled
// there, and none of its pages is printed.
TEST(Impressao, CancelarNoEnvioCancelaOTrabalhoNoCups) {
    EXIGIR_FILA();
    const std::string cancelada = Marca();
    auto documento = DocumentoLongo(cancelada);
    documento->DefinirTitulo(cancelada);
    ASSERT_TRUE(ImprimirCancelando(*documento, [](const QProgressDialog& progresso) {
        return progresso.labelText().startsWith("Enviando");
    }));

    const std::vector<TrabalhoNaFila> trabalhos = TrabalhosChamados(cancelada);
    ASSERT_EQ(trabalhos.size(), 1u);
    EXPECT_EQ(trabalhos[0].estado, "canceled");
    // The next job goes through, and the cancelled one left nothing.
    const std::string seguinte = Marca();
    MotorRelatorio outro;
    Documento(outro, seguinte, 0);
    outro.ImprimirDocumento(0);
    ASSERT_EQ(Impresso(seguinte).paginas.size(), 2u);
    NenhumaPaginaCom(cancelada);
}

// The CUPS client points at a server that does not exist.
TEST(Impressao, SemImpressoraLevantaErro) {
    if (!NoProcessoFilho("Impressao.SemImpressoraLevantaErro",
                         {{"CUPS_SERVER", "/tmp/tarvo-cups-inexistente.sock"},
                          {"LPDEST", ""},
                          {"PRINTER", ""}})) {
        return;
    }
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    MotorRelatorio motor;
    Documento(motor, Marca(), 0);
    EXPECT_EQ(NumeroDoErro([&] { motor.ImprimirDocumento(0); }), Erro::SemImpressora);
    EXPECT_EQ(NumeroDoErro([&] { motor.ImprimirDocumento(-1); }), Erro::SemImpressora);
}

} // namespace
} // namespace tarvo::teste
