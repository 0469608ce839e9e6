#include "support/BancoTeste.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace tarvo::teste {

BancoTeste::BancoTeste() {
    // A folder of its own, so that tests that look at what lies beside the
    // database see only their own files, whatever runs in parallel.
    char modelo[] = "/tmp/tarvo-teste-XXXXXX";
    if (mkdtemp(modelo) == nullptr)
        throw std::runtime_error("mkdtemp falhou");
    pasta_ = modelo;
    caminho_ = pasta_ + "/declaracao.db";
    if (sqlite3_open(caminho_.c_str(), &db_) != SQLITE_OK)
        throw std::runtime_error("não abriu o banco de teste");
    std::ifstream arquivo(TARVO_ESQUEMA_SQL);
    std::stringstream esquema;
    esquema << arquivo.rdbuf();
    // One transaction: a sync per statement would make every test slow.
    Executar("BEGIN;" + esquema.str() + "COMMIT;");
}

BancoTeste::~BancoTeste() {
    sqlite3_close(db_);
    std::filesystem::remove_all(pasta_);
}

void BancoTeste::Executar(const std::string& sql) {
    char* erro = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &erro) != SQLITE_OK) {
        std::string mensagem = erro ? erro : "?";
        sqlite3_free(erro);
        throw std::runtime_error("SQL de teste falhou: " + mensagem + "\n" + sql);
    }
}

void BancoTeste::EstadosSemFim(int declaracao) {
    const std::string numero = std::to_string(declaracao);
    Executar("DROP TABLE tblEstados;"
             "CREATE VIEW tblEstados AS WITH RECURSIVE n(Código) AS (SELECT 0 UNION ALL SELECT "
             "Código + 1 FROM n) SELECT Código, 'SP' AS Estado FROM n;"
             "INSERT INTO tblDetalhesInterUFs (Declaração, Tipo, UF) VALUES (" +
             numero + ", 0, 35), (" + numero + ", 1, 35), (" + numero + ", 2, 35);");
}

} // namespace tarvo::teste
