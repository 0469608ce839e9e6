// The command-line program against unlucky and hostile runs, on real files:
// outputs that would land on the database or on each other, special files,
// standard output, a database whose query never ends, a time limit and the
// signals that stop a run. After every refused or stopped run the database
// is byte for byte what it was, and no temporary is left anywhere.

#include "engine/MotorRelatorio.h"
#include "entry/ConjuntoRelatorios.h"
#include "reports/RelatorioBase.h"
#include "support/BancoTeste.h"
#include "support/Erros.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Pedido.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>

namespace tarvo {
namespace {

struct Resultado {
    int status = -1;
    QByteArray saida;
    std::string erros;
};

QByteArray Conteudo(const QString& caminho) {
    QFile arquivo(caminho);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

class TesteSaidasDoPrograma : public ::testing::Test {
protected:
    TesteSaidasDoPrograma() {
        banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                       "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                       "VALUES (7, '123', 1, 2003, 1);");
    }

    QString Banco() const { return QString::fromStdString(banco.Caminho()); }
    QString Em(const QString& nome) const { return pasta.filePath(nome); }
    // Every entry of a folder, hidden ones included.
    QStringList Tudo(const QString& nome) const {
        return QDir(Em(nome)).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    void Iniciar(QProcess& processo, const QStringList& argumentos) const {
        processo.setWorkingDirectory(pasta.path());
        processo.start(QStringLiteral(TARVO_PROGRAMA), argumentos);
        ASSERT_TRUE(processo.waitForStarted());
    }
    Resultado Rodar(const QStringList& argumentos) const {
        QProcess processo;
        Iniciar(processo, QStringList{"--banco", Banco(), "--declaracao", "7"} + argumentos);
        processo.waitForFinished(-1);
        return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
                processo.readAllStandardOutput(), processo.readAllStandardError().toStdString()};
    }

    teste::BancoTeste banco;
    QTemporaryDir pasta;
};

TEST_F(TesteSaidasDoPrograma, NuncaGravaSobreOBanco) {
    const QByteArray original = Conteudo(Banco());
    const QString nome = QFileInfo(Banco()).fileName();
    const QString dir = QFileInfo(Banco()).absolutePath();
    const QString pai = QFileInfo(dir).fileName();
    for (const QString& destino :
         {Banco(), dir + "/../" + pai + "/" + nome, Banco() + "-wal", Banco() + "-journal"}) {
        const Resultado r = Rodar({"--pdf-unico", destino});
        EXPECT_EQ(r.status, 1) << destino.toStdString();
        EXPECT_EQ(r.erros, "erro 31101: Não foi possível gravar o arquivo \"" +
                               destino.toStdString() + "\": é o mesmo arquivo que \"" +
                               Banco().toStdString() + (destino.endsWith("-wal") ? "-wal" : "") +
                               (destino.endsWith("-journal") ? "-journal" : "") +
                               "\", do banco de dados da declaração\n");
    }
    EXPECT_EQ(Conteudo(Banco()), original);
    EXPECT_FALSE(QFile::exists(Banco() + "-wal"));
    EXPECT_FALSE(QFile::exists(Banco() + "-journal"));

    // A database that bears the name of a report's file, in the --pdf folder.
    QDir().mkpath(Em("s"));
    ASSERT_TRUE(QFile::copy(Banco(), Em("s/03-RelatorioSaidas.pdf")));
    QProcess processo;
    Iniciar(processo, {"--banco", "s/03-RelatorioSaidas.pdf", "--declaracao", "7", "--pdf", "s"});
    processo.waitForFinished(-1);
    EXPECT_EQ(processo.exitCode(), 1);
    EXPECT_EQ(Conteudo(Em("s/03-RelatorioSaidas.pdf")), original);
    EXPECT_EQ(Tudo("s"), QStringList{"03-RelatorioSaidas.pdf"});
}

// A report built keeps its database protected wherever it is saved later, as
// the preview's "Salvar PDF…" does.
TEST_F(TesteSaidasDoPrograma, RelatorioConstruidoNaoSalvaSobreSeuBanco) {
    const QByteArray original = Conteudo(Banco());
    const Database bancoDados(banco.Caminho());
    ConjuntoRelatorios relatorios;
    relatorios.PrepararAplicacao(AplicacaoQt::Uso::Arquivos);
    relatorios.Construir(1, Pedido{&bancoDados, "123", 7, 2, {}, {}});
    const MotorRelatorio& motor = relatorios.Relatorio(1).Motor();
    EXPECT_EQ(teste::NumeroDoErro([&] { motor.SalvarPdf(banco.Caminho()); }),
              Erro::GravacaoArquivo);
    EXPECT_EQ(teste::NumeroDoErro([&] { motor.SalvarJson(banco.Caminho() + "-journal"); }),
              Erro::GravacaoArquivo);
    EXPECT_EQ(Conteudo(Banco()), original);
    EXPECT_FALSE(QFile::exists(Banco() + "-journal"));
}

TEST_F(TesteSaidasDoPrograma, TransacaoAindaNoWalSobrevive) {
    // A writer commits while checkpoints wait: the row lives only in the -wal.
    sqlite3* escritor = nullptr;
    ASSERT_EQ(sqlite3_open(banco.Caminho().c_str(), &escritor), SQLITE_OK);
    const char* sql = "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                      "INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('9', 'Só no WAL');";
    ASSERT_EQ(sqlite3_exec(escritor, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    const QByteArray wal = Conteudo(Banco() + "-wal");
    ASSERT_FALSE(wal.isEmpty());

    const Resultado r = Rodar({"--pdf-unico", Banco() + "-wal"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.erros.find("do banco de dados da declaração"), std::string::npos);
    EXPECT_EQ(Conteudo(Banco() + "-wal"), wal);
    sqlite3_close(escritor);

    sqlite3* leitor = nullptr;
    ASSERT_EQ(sqlite3_open(banco.Caminho().c_str(), &leitor), SQLITE_OK);
    sqlite3_stmt* consulta = nullptr;
    sqlite3_prepare_v2(leitor, "SELECT count(*) FROM tblContribuinte WHERE IE = '9'", -1, &consulta,
                       nullptr);
    ASSERT_EQ(sqlite3_step(consulta), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(consulta, 0), 1);
    sqlite3_finalize(consulta);
    sqlite3_close(leitor);
}

TEST_F(TesteSaidasDoPrograma, SaidasQueColidemOuNaoSaoArquivosSaoErrosDeUso) {
    Resultado r = Rodar({"--pdf", "s", "--json", "s", "--pdf-unico", "s/03-RelatorioSaidas.pdf"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.erros,
              "erro 31101: Não foi possível gravar o arquivo \"s/03-RelatorioSaidas.pdf\": "
              "é o mesmo arquivo que \"s/03-RelatorioSaidas.pdf\", outra saída desta "
              "exportação\n");
    EXPECT_FALSE(QFile::exists(Em("s")));

    ASSERT_EQ(::mkfifo(Em("fila").toLocal8Bit().constData(), 0644), 0);
    // The program's standard output is a pipe: a link to it is one too.
    ASSERT_TRUE(QFile::link("/proc/self/fd/1", Em("saida")));
    for (const char* destino : {"fila", "saida"}) {
        r = Rodar({"--pdf-unico", destino});
        EXPECT_EQ(r.status, 2) << destino;
        EXPECT_NE(r.erros.find("não é um arquivo comum: é um pipe (FIFO)"), std::string::npos);
    }
    struct stat info {};
    ASSERT_EQ(::stat(Em("fila").toLocal8Bit().constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(QFileInfo(Em("saida")).isSymLink());

    if (geteuid() == 0) {
        ASSERT_EQ(::mknod(Em("nulo").toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        r = Rodar({"--pdf-unico", "nulo"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.erros.find("é um dispositivo"), std::string::npos);
    }

    // "-" is the standard output, here a pipe.
    r = Rodar({"--pdf-unico", "-", "--selecao", "3"});
    ASSERT_EQ(r.status, 0) << r.erros;
    EXPECT_TRUE(r.saida.startsWith("%PDF-"));
    EXPECT_TRUE(r.saida.trimmed().endsWith("%%EOF"));
    // Nothing was made beside them.
    for (const QString& nome : Tudo("."))
        EXPECT_TRUE(nome == "fila" || nome == "saida" || nome == "nulo") << nome.toStdString();
}

TEST_F(TesteSaidasDoPrograma, TempoLimiteParaConsultaSemFim) {
    banco.EstadosSemFim(7);
    const Resultado r = Rodar({"--selecao", "9", "--pdf", "s", "--tempo-limite", "0.5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.erros, "erro 31301: interrompido: a consulta passou do tempo limite de 0.5 s, "
                       "no relatório \"4 - Informação das Operações e Prestações de Entradas "
                       "Interestaduais - ICMS\"\n");
    // The report before it was written whole; nothing else is there.
    EXPECT_EQ(Tudo("s"), QStringList{"01-RelatorioCadastro.pdf"});
}

TEST_F(TesteSaidasDoPrograma, SinaisParamSemDeixarNada) {
    banco.EstadosSemFim(7);
    for (const int sinal : {SIGINT, SIGTERM, SIGHUP}) {
        const QString saida = QStringLiteral("s%1").arg(sinal);
        QProcess processo;
        Iniciar(processo, {"--banco", Banco(), "--declaracao", "7", "--selecao", "15", "--pdf",
                           saida, "--pdf-unico", saida + "/tudo.pdf"});
        // Reports 1 to 3 are written, then report 4 runs its endless query.
        QElapsedTimer espera;
        espera.start();
        while (!QFile::exists(Em(saida + "/03-RelatorioSaidas.pdf")) && espera.elapsed() < 60000)
            QThread::msleep(20);
        QThread::msleep(200);
        ::kill(static_cast<pid_t>(processo.processId()), sinal);
        ASSERT_TRUE(processo.waitForFinished(30000)) << "o sinal " << sinal << " não parou";
        EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(processo.exitCode(), 128 + sinal);
        EXPECT_NE(processo.readAllStandardError().indexOf("interrompido pelo usuário"), -1);
        EXPECT_EQ(Tudo(saida), (QStringList{"01-RelatorioCadastro.pdf", "02-RelatorioEntradas.pdf",
                                            "03-RelatorioSaidas.pdf"}));
    }
}

} // namespace
} // namespace tarvo
