// The command-line program as its users run it: headless export to PDF and
// JSON, the file names, error reporting and the options.

#include "support/BancoTeste.h"
#include "support/Spool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tarvo {
namespace {

struct Resultado {
    int status = -1;
    std::string saida;
    std::string erros;
};

Resultado Rodar(const QStringList& argumentos, const QStringList& semVariaveis = {}) {
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const QString& variavel : semVariaveis)
        ambiente.remove(variavel);
    // As from cron or a root shell, where Qt would complain about it.
    ambiente.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess processo;
    processo.setProcessEnvironment(ambiente);
    processo.start(QStringLiteral(TARVO_PROGRAMA), argumentos);
    processo.waitForFinished(-1);
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            processo.readAllStandardOutput().toStdString(),
            processo.readAllStandardError().toStdString()};
}

std::string Texto(const QString& pdf) {
    QProcess processo;
    processo.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    processo.waitForFinished(-1);
    return processo.readAllStandardOutput().toStdString();
}

class TesteLinhaComando : public ::testing::Test {
protected:
    TesteLinhaComando() {
        banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                       "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                       "VALUES (7, '123', 1, 2003, 1);");
    }
    QString Banco() const { return QString::fromStdString(banco.Caminho()); }
    QString Pasta(const char* nome) const { return pasta.filePath(QString::fromUtf8(nome)); }
    QStringList Arquivos(const char* nome) const {
        return QDir(Pasta(nome)).entryList(QDir::Files, QDir::Name);
    }

    teste::BancoTeste banco;
    QTemporaryDir pasta;
};

TEST_F(TesteLinhaComando, ExportaOsDezRelatoriosComOIEDaDeclaracao) {
    const Resultado r = Rodar({"--banco", Banco(), "--declaracao", "7", "--pdf", Pasta("a/pdf"),
                               "--json", Pasta("b/json")});
    ASSERT_EQ(r.status, 0) << r.erros;
    const QStringList nomes = {"01-RelatorioCadastro",       "02-RelatorioEntradas",
                               "03-RelatorioSaidas",         "04-RelatorioEntInterestad",
                               "05-RelatorioSaiInterestad",  "06-RelatorioDIPAMCodigo1",
                               "07-RelatorioDIPAMCodigo2",   "08-RelatorioDIPAMCodigo3",
                               "09-RelatorioResImpostoDecl", "10-RelatorioResReceitaBruta"};
    QStringList pdfs, jsons;
    for (const QString& nome : nomes) {
        pdfs << nome + ".pdf";
        jsons << nome + ".json";
    }
    EXPECT_EQ(Arquivos("a/pdf"), pdfs);
    EXPECT_EQ(Arquivos("b/json"), jsons);
    // The registration report found the taxpayer through the declaration.
    EXPECT_NE(Texto(Pasta("a/pdf/01-RelatorioCadastro.pdf")).find("Ávila"), std::string::npos);
    for (const QString& json : jsons) {
        QFile arquivo(Pasta("b/json") + "/" + json);
        ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
        EXPECT_FALSE(QJsonDocument::fromJson(arquivo.readAll()).isNull()) << json.toStdString();
    }
}

TEST_F(TesteLinhaComando, MascaraEscolheERelatorioComErroParaComMensagem) {
    Resultado r =
        Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "5", "--json", Pasta("j")});
    ASSERT_EQ(r.status, 0) << r.erros;
    EXPECT_EQ(r.erros, "");
    EXPECT_EQ(Arquivos("j"), QStringList({"01-RelatorioCadastro.json", "03-RelatorioSaidas.json"}));
    EXPECT_FALSE(QDir(Pasta("j")).exists("../pdf"));

    // The files written before the failing report stay; SQLite's code is
    // told apart from the library's own numbers.
    banco.Executar("ALTER TABLE tblReferência RENAME COLUMN Ref TO Mês;");
    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "3", "--json", Pasta("k")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros, "erro 1 (SQLite): no such column: tblReferência.Ref, no relatório \"2 - "
                       "Entradas\"\n");
    EXPECT_EQ(Arquivos("k"), QStringList({"01-RelatorioCadastro.json"}));
}

// What the user needs to correct the database: the field, its table, the
// value and the report, on one line.
TEST_F(TesteLinhaComando, ErrosDeCampoDizemOndeEstao) {
    banco.Executar("UPDATE tblDeclaração SET Exercício = 'dois mil';");
    Resultado r =
        Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "2", "--json", Pasta("j")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros, "erro 13: Type mismatch: Exercício (tblDeclaração) = \"dois mil\", no "
                       "relatório \"2 - Entradas\"\n");

    banco.Executar("ALTER TABLE tblContribuinte DROP COLUMN CNPJ;");
    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "8", "--json", Pasta("j")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros, "erro 3265: Item not found in this collection: CNPJ (tblContribuinte, "
                       "tblDeclaração), no relatório \"4 - Informação das Operações e Prestações "
                       "de Entradas Interestaduais - ICMS\"\n");
}

// A declaration or a selection that gives nothing useful is said, on one
// line, and the program still does what it was asked.
TEST_F(TesteLinhaComando, AvisosDoQueSaiEmBranco) {
    Resultado r =
        Rodar({"--banco", Banco(), "--declaracao", "2", "--selecao", "6", "--json", Pasta("j")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.erros, "aviso: a declaração 2 não está no banco de dados: os relatórios 2 e 3 "
                       "saem em branco\n");
    EXPECT_EQ(Arquivos("j").size(), 2);

    r = Rodar({"--banco", Banco(), "--ie", "999", "--declaracao", "7", "--selecao", "1", "--pdf",
               Pasta("p")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.erros, "aviso: o contribuinte de inscrição estadual \"999\" não está no banco de "
                       "dados: o relatório 1 sai em branco\n");

    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "1024", "--pdf", Pasta("q")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.erros, "aviso: a seleção 1024 não escolhe nenhum relatório (os bits 0 a 9 "
                       "escolhem os relatórios 1 a 10)\n");
    EXPECT_TRUE(Arquivos("q").isEmpty());
}

TEST_F(TesteLinhaComando, BancoAusenteOuIlegivel) {
    const QString ausente = Pasta("nao-existe.db");
    const QString fifo = Pasta("fifo.db");
    ASSERT_EQ(mkfifo(fifo.toUtf8().constData(), 0600), 0);
    QFile texto(Pasta("texto.db"));
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.write(QByteArray(4096, 'x'));
    texto.close();
    const std::pair<QString, std::string> casos[] = {
        {ausente, ": unable to open database file (No such file or directory)"},
        {fifo, ": unable to open database file (é um pipe (FIFO))"},
        {pasta.path(), ": unable to open database file (é uma pasta)"},
    };
    for (const auto& [caminho, motivo] : casos) {
        const Resultado r = Rodar({"--banco", caminho, "--json", Pasta("j")});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.erros, "erro 14 (SQLite): " + caminho.toStdString() + motivo + "\n");
    }
    EXPECT_FALSE(QFile::exists(ausente));

    const Resultado r = Rodar({"--banco", texto.fileName(), "--json", Pasta("j")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.erros,
              "erro 26 (SQLite): " + texto.fileName().toStdString() + ": file is not a database\n");
    EXPECT_FALSE(QDir(Pasta("j")).exists());
}

TEST_F(TesteLinhaComando, OpcoesAjudaEVersao) {
    Resultado r = Rodar({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.saida.rfind("Uso: relatorios-tarvo --banco ARQUIVO", 0), 0u);
    r = Rodar({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.saida.rfind("relatorios-tarvo ", 0), 0u);

    for (const QStringList& errados :
         {QStringList{"--banco", Banco(), "--selecao", "tudo", "--json", Pasta("j")},
          QStringList{"--banco", Banco(), "--declaracao", "99999999999"},
          QStringList{"--banco", Banco(), "--cor", "azul"}, QStringList{"--json", Pasta("j")},
          QStringList{"--banco"}}) {
        r = Rodar(errados);
        EXPECT_EQ(r.status, 2) << errados.join(' ').toStdString();
        EXPECT_NE(r.erros.find("--help"), std::string::npos);
    }
    EXPECT_FALSE(QDir(Pasta("j")).exists());
}

// The dialog needs a display: without one, a message instead of Qt's abort.
TEST_F(TesteLinhaComando, DialogoSemTela) {
    const Resultado r = Rodar({"--banco", Banco(), "--declaracao", "7"},
                              {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros,
              "erro 31201: Nenhuma tela disponível para mostrar o diálogo de relatórios.\n");
}

// --imprimir prints the selected reports on the default printer with no
// display; --visualizar needs one; neither goes with an export.
TEST_F(TesteLinhaComando, ImprimirEVisualizarDiretos) {
    Resultado r = Rodar({"--banco", Banco(), "--visualizar", "--imprimir"});
    EXPECT_EQ(r.status, 2);
    r = Rodar({"--banco", Banco(), "--visualizar", "--pdf", Pasta("p")});
    EXPECT_EQ(r.status, 2);
    r = Rodar({"--help"});
    EXPECT_NE(r.saida.find("--visualizar"), std::string::npos);
    EXPECT_NE(r.saida.find("--imprimir"), std::string::npos);
    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--visualizar"},
              {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.erros.find("erro 31201"), std::string::npos) << r.erros;

    if (const std::string motivo = teste::MotivoSemFilaDeTeste(); !motivo.empty())
        GTEST_SKIP() << motivo;
    const std::string marca = "Linha" + std::to_string(QDateTime::currentMSecsSinceEpoch());
    banco.Executar("UPDATE tblContribuinte SET RazãoSocial = '" + marca + "';");
    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "4", "--imprimir"},
              {"DISPLAY", "WAYLAND_DISPLAY"});
    ASSERT_EQ(r.status, 0) << r.erros;
    const std::string pdf = teste::PdfImpresso(marca);
    ASSERT_FALSE(pdf.empty()) << "no printed PDF holds " << marca;
    EXPECT_NE(Texto(QString::fromStdString(pdf)).find("Saídas"), std::string::npos);
    QFile::remove(QString::fromStdString(pdf));
}

// --impressora sends the reports to another queue of CUPS; a printer CUPS
// does not have is said before anything is built, and the option is refused
// where nothing prints without the print dialog.
TEST_F(TesteLinhaComando, ImprimirNaImpressoraEscolhida) {
    const QStringList direto = {"--banco", Banco(), "--declaracao", "7", "--selecao", "1"};
    Resultado r = Rodar(direto + QStringList{"--impressora", "TarvoOpcoes", "--pdf", Pasta("p")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.erros.rfind("relatorios-tarvo: --impressora vale só com --imprimir ou no "
                            "diálogo de relatórios",
                            0),
              0u)
        << r.erros;
    r = Rodar(direto + QStringList{"--impressora=", "--imprimir"});
    EXPECT_EQ(r.status, 2);

    if (const std::string motivo = teste::MotivoSemFilaDeTeste(); !motivo.empty())
        GTEST_SKIP() << motivo;
    const std::string marca = "Outra" + std::to_string(QDateTime::currentMSecsSinceEpoch());
    banco.Executar("UPDATE tblContribuinte SET RazãoSocial = '" + marca + "';");
    r = Rodar(direto + QStringList{"--impressora", "TarvoOpcoes", "--imprimir"});
    ASSERT_EQ(r.status, 0) << r.erros;
    const std::string pdf = teste::PdfImpresso(marca, "TarvoOpcoes");
    ASSERT_FALSE(pdf.empty()) << "TarvoOpcoes kept no job holding " << marca;
    EXPECT_NE(Texto(QString::fromStdString(pdf)).find("Cadastro do Contribuinte"),
              std::string::npos);
    QFile::remove(QString::fromStdString(pdf));

    r = Rodar(direto + QStringList{"--impressora", "Inexistente", "--imprimir"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros, "erro 31103: A impressora \"Inexistente\" não está disponível.\n");
    // Selecting no report prints nothing, and asks for no printer.
    r = Rodar({"--banco", Banco(), "--declaracao", "7", "--selecao", "0", "--impressora",
               "Inexistente", "--imprimir", "--silencioso"});
    EXPECT_EQ(r.status, 0) << r.erros;
}

// A file SQLite opens that holds no declaration (an empty file, or a
// database without one of the ten tables) is refused at once, naming the
// file and the table, with the status of a --banco that cannot be opened.
TEST_F(TesteLinhaComando, BancoSemAsTabelasDaDeclaracao) {
    QFile vazio(Pasta("vazio.db"));
    ASSERT_TRUE(vazio.open(QIODevice::WriteOnly));
    vazio.close();
    banco.Executar("DROP TABLE tblCódigosDIPAM;");
    const std::pair<QString, const char*> casos[] = {{vazio.fileName(), "tblContribuinte"},
                                                     {Banco(), "tblCódigosDIPAM"}};
    for (const auto& [caminho, tabela] : casos) {
        const Resultado r = Rodar({"--banco", caminho, "--declaracao", "7", "--pdf", Pasta("p")});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.erros, "erro 3078: " + caminho.toStdString() +
                               ": não é um banco de declarações: falta a tabela " + tabela + "\n");
    }
    EXPECT_EQ(vazio.size(), 0);
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"vazio.db"}));
}

// Every option once; the database also as the one argument that is no
// option, as a desktop opens a file, but not both ways.
TEST_F(TesteLinhaComando, OpcaoRepetidaEBancoComoArgumento) {
    const std::pair<QStringList, std::string> casos[] = {
        {{"--banco", Banco(), "--banco", Banco(), "--json", Pasta("j")},
         "a opção --banco foi dada mais de uma vez"},
        {{"--banco", Banco(), "--json", Pasta("j"), "--json=" + Pasta("k")},
         "a opção --json foi dada mais de uma vez"},
        {{"--banco", Banco(), "--silencioso", "--json", Pasta("j"), "--silencioso"},
         "a opção --silencioso foi dada mais de uma vez"},
        {{"-h", "--ajuda"}, "a opção --help foi dada mais de uma vez"},
        {{Banco(), "--banco", Banco(), "--json", Pasta("j")},
         "o banco de dados foi dado mais de uma vez"},
        {{Banco(), Banco(), "--json", Pasta("j")}, "argumento inesperado: " + banco.Caminho()},
    };
    for (const auto& [argumentos, erro] : casos) {
        const Resultado r = Rodar(argumentos);
        EXPECT_EQ(r.status, 2) << argumentos.join(' ').toStdString();
        EXPECT_EQ(r.erros.rfind("relatorios-tarvo: " + erro, 0), 0u) << r.erros;
    }
    EXPECT_FALSE(QDir(Pasta("j")).exists());

    const Resultado r =
        Rodar({Banco(), "--declaracao", "7", "--selecao", "1", "--json", Pasta("j")});
    ASSERT_EQ(r.status, 0) << r.erros;
    EXPECT_EQ(Arquivos("j"), QStringList({"01-RelatorioCadastro.json"}));
}

// --localidade sets the separators of the amounts whatever the environment
// says; "pt_BR" needs no generated locale of that name.
TEST_F(TesteLinhaComando, LocalidadeDaLinhaDeComando) {
    banco.Executar("INSERT INTO tblReferência VALUES (7, 1, 1);"
                   "INSERT INTO tblEntradas VALUES (7, 1, 1234.5, 0, 0);");
    const auto Entradas = [&](const QStringList& extras, const char* pasta) {
        const Resultado r = Rodar(QStringList{"--banco", Banco(), "--declaracao", "7", "--selecao",
                                              "2", "--json", Pasta(pasta)} +
                                  extras);
        EXPECT_EQ(r.status, 0) << r.erros;
        QFile json(Pasta(pasta) + "/02-RelatorioEntradas.json");
        EXPECT_TRUE(json.open(QIODevice::ReadOnly));
        return json.readAll().toStdString();
    };
    // The tests run with LC_ALL=C.UTF-8.
    EXPECT_NE(Entradas({}, "c").find("\"1,234.50\""), std::string::npos);
    for (const char* nome : {"pt_BR", "pt_BR.UTF-8"})
        EXPECT_NE(Entradas({"--localidade", nome}, nome).find("\"1.234,50\""), std::string::npos)
            << nome;
    EXPECT_NE(Entradas({"--localidade=en_US"}, "en").find("\"1,234.50\""), std::string::npos);

    for (const char* nome : {"xx_YY", "portugues", ""}) {
        const Resultado r = Rodar({"--banco", Banco(), "--localidade", nome, "--json", Pasta("x")});
        EXPECT_EQ(r.status, 2) << nome;
        EXPECT_NE(
            r.erros.find(*nome ? "localidade desconhecida em --localidade: \"" + std::string(nome)
                               : std::string("localidade vazia")),
            std::string::npos)
            << r.erros;
    }
    EXPECT_FALSE(QDir(Pasta("x")).exists());
}

// Without a display the program cannot ask: no database is a mistake in the
// options, a database that cannot be used says why, and a choice of
// declarations is the dialog's error.
TEST_F(TesteLinhaComando, EscolhaSemTela) {
    const QStringList semTela = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    Resultado r = Rodar({}, semTela);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.erros.rfind("relatorios-tarvo: falta --banco ARQUIVO", 0), 0u) << r.erros;

    QFile vazio(Pasta("vazio.db"));
    ASSERT_TRUE(vazio.open(QIODevice::WriteOnly));
    vazio.close();
    r = Rodar({vazio.fileName()}, semTela);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.erros, "erro 3078: " + vazio.fileName().toStdString() +
                           ": não é um banco de declarações: falta a tabela tblContribuinte\n");

    banco.Executar("INSERT INTO tblDeclaração (Declaração, IE) VALUES (8, '123');");
    r = Rodar({Banco()}, semTela);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros.rfind("erro 31201: ", 0), 0u) << r.erros;
}

} // namespace
} // namespace tarvo
