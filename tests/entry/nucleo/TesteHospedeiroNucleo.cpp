// A host whose Qt application is a QCoreApplication (a service, a command-line
// tool): it exports all ten reports of the demo declaration, as PDF and JSON
// and as the single PDF, since writing files needs nothing of Qt's GUI; the
// preview, which does, is refused with the reason.
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int falhas = 0;

void Verificar(bool condicao, const char* texto, int linha) {
    if (!condicao) {
        std::fprintf(stderr, "%s:%d: falhou: %s\n", __FILE__, linha, texto);
        ++falhas;
    }
}
#define VERIFICAR(condicao) Verificar((condicao), #condicao, __LINE__)

bool Executar(sqlite3* db, const char* arquivo) {
    std::ifstream entrada(arquivo);
    std::stringstream texto;
    texto << entrada.rdbuf();
    return entrada && sqlite3_exec(db, texto.str().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication aplicacao(argc, argv);
    QTemporaryDir pasta;
    const std::string banco = pasta.filePath(QStringLiteral("demo.db")).toStdString();
    sqlite3* db = nullptr;
    if (!pasta.isValid() || sqlite3_open(banco.c_str(), &db) != SQLITE_OK ||
        !Executar(db, TARVO_ESQUEMA_SQL) || !Executar(db, TARVO_DEMO_SQL) ||
        sqlite3_close(db) != SQLITE_OK)
        return 2;

    const std::string saida = pasta.filePath(QStringLiteral("saida")).toStdString();
    tarvo::Relatorios relatorios;
    try {
        const tarvo::Database bancoDados(banco);
        const auto gravados = relatorios.Exportar(bancoDados, "110.042.490.114", 1, 1023, saida,
                                                  saida, saida + "/todos.pdf");
        VERIFICAR(gravados.size() == 21);
        VERIFICAR(QDir(QString::fromStdString(saida)).entryList(QDir::Files).size() == 21);
    } catch (const tarvo::Erro& erro) {
        std::fprintf(stderr, "erro %ld: %s\n", erro.Numero(), erro.what());
        ++falhas;
    }
    long numero = 0;
    try {
        const tarvo::Database bancoDados(banco);
        relatorios.Visualizar({&bancoDados, "110.042.490.114", 1, 1, {}, {}});
    } catch (const tarvo::Erro& erro) {
        numero = erro.Numero();
    }
    VERIFICAR(numero == tarvo::Erro::FalhaInterface);
    return falhas == 0 ? 0 : 1;
}
