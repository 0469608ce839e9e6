#pragma once

#include <string>

struct sqlite3;

namespace tarvo::teste {

// A temporary declaration database with the real schema, filled by the test
// with plain SQL and removed when the object goes.
class BancoTeste {
public:
    BancoTeste();
    ~BancoTeste();
    BancoTeste(const BancoTeste&) = delete;
    BancoTeste& operator=(const BancoTeste&) = delete;

    // Runs SQL on a separate writable connection (the library under test
    // only ever reads).
    void Executar(const std::string& sql);
    const std::string& Caminho() const { return caminho_; }
    // tblEstados becomes a view without end, joined by rows of declaration
    // `declaracao`: the first query of the interstate reports never ends.
    void EstadosSemFim(int declaracao);

private:
    std::string pasta_;
    std::string caminho_;
    sqlite3* db_ = nullptr;
};

} // namespace tarvo::teste
