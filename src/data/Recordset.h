#pragma once

#include "common/Valor.h"

#include <string>
#include <vector>

struct sqlite3_stmt;

namespace tarvo {

class Database;

// A forward-only recordset over one prepared statement. Fields are found by
// name case-insensitively, or by the qualified name "table.column"; an
// unknown or ambiguous name raises Erro 3265. Destroying it releases the
// statement.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // The end-of-data test (DAO's EOF, a reserved macro name in C++).
    bool Eof() const;
    Valor Fields(const std::string& nome) const;
    Valor Fields(int indice) const;
    int FieldCount() const;
    std::string FieldName(int indice) const;
    void MoveNext();
    void Close();

private:
    friend class Database;
    Recordset(sqlite3_stmt* stmt, std::vector<bool> colunasMoeda);
    // (implementation members are private to the data layer)
    struct Coluna;
    sqlite3_stmt* stmt_ = nullptr;
    bool eof_ = true;
    std::vector<bool> colunasMoeda_;
};

} // namespace tarvo
