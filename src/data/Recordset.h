#pragma once

#include "common/Valor.h"
#include "data/Campo.h"
#include "data/VigilanciaConsultas.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3_stmt;

namespace tarvo {

class Conexao;

// A forward-only recordset over one prepared statement. Fields are found by
// name case-insensitively, or by the qualified name "table.column"; an
// unknown or ambiguous name raises Erro 3265 naming it and the query's
// tables. Reading at the end raises 3021, using a closed recordset 3420.
// Destroying it releases the statement.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // The end-of-data test (DAO's EOF, a reserved macro name in C++).
    bool Eof() const;
    Campo Fields(const std::string& nome) const;
    // Zero-based position in the row.
    Campo Fields(int indice) const;
    int FieldCount() const;
    std::string FieldName(int indice) const;
    void MoveNext();
    void Close();

private:
    friend class Conexao;

    struct FinalizarComando {
        void operator()(sqlite3_stmt* stmt) const;
    };
    using Comando = std::unique_ptr<sqlite3_stmt, FinalizarComando>;

    struct Coluna {
        std::string nome;
        // Case-folded keys for lookups; the table keys are empty for
        // columns that are not taken straight from a table.
        std::string chaveNome;
        std::string chaveTabela;
        std::string chaveOrigem;
        std::string tabela; // as SQLite names it, for messages
        bool moeda = false;
    };

    Recordset(Comando comando, const std::vector<std::string>& colunasMoeda,
              std::vector<std::string> tabelas, std::shared_ptr<VigilanciaConsultas> vigilancia);
    void Avancar();
    void ExigirAberto() const;
    int Indice(const std::string& nome) const;
    Campo Ler(int indice) const;
    static Valor LerValor(sqlite3_stmt* stmt, int indice, bool moeda);
    [[noreturn]] void ItemNaoEncontrado(const std::string& nome) const;

    // Shared with the connection, which may go first.
    std::shared_ptr<VigilanciaConsultas> vigilancia_;
    VigilanciaConsultas::Relogio::time_point abertura_;
    Comando comando_;
    std::vector<Coluna> colunas_;
    std::vector<std::string> tabelas_; // of the FROM clause, for messages
    // Names as the caller spelt them, resolved once.
    mutable std::unordered_map<std::string, int> indices_;
    bool eof_ = true;
};

} // namespace tarvo
