// The command-line program as its users run it: headless export to PDF and
// JSON, the file names, error reporting and the options.

#include "support/BancoTeste.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    Resultado r = Rodar({"--banco", Banco(), "--selecao", "5", "--json", Pasta("j")});
    ASSERT_EQ(r.status, 0) << r.erros;
    EXPECT_EQ(Arquivos("j"), QStringList({"01-RelatorioCadastro.json", "03-RelatorioSaidas.json"}));
    EXPECT_FALSE(QDir(Pasta("j")).exists("../pdf"));

    // The files written before the failing report stay.
    banco.Executar("DROP TABLE tblDeclaração;");
    r = Rodar({"--banco", Banco(), "--ie", "123", "--declaracao", "7", "--selecao", "3", "--json",
               Pasta("k")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.erros.find("erro 1: no such table: tblDeclaração\n"), std::string::npos) << r.erros;
    EXPECT_EQ(Arquivos("k"), QStringList({"01-RelatorioCadastro.json"}));
}

TEST_F(TesteLinhaComando, BancoAusenteOuIlegivel) {
    const QString ausente = Pasta("nao-existe.db");
    Resultado r = Rodar({"--banco", ausente, "--json", Pasta("j")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.erros.find("erro 14: " + ausente.toStdString() + ": unable to open database file"),
              std::string::npos)
        << r.erros;
    EXPECT_FALSE(QFile::exists(ausente));

    QFile texto(Pasta("texto.db"));
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.write(QByteArray(4096, 'x'));
    texto.close();
    r = Rodar({"--banco", texto.fileName(), "--json", Pasta("j")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.erros.find("erro 26: " + texto.fileName().toStdString() +
                           ": file is not a database"),
              std::string::npos)
        << r.erros;
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
    const Resultado r =
        Rodar({"--banco", Banco()}, {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.erros.find("nenhuma tela"), std::string::npos) << r.erros;
}

} // namespace
} // namespace tarvo
