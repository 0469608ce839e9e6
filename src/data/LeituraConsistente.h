#pragma once

struct sqlite3;

namespace tarvo {

class Database;

// One read transaction over the queries of a report build, so that they all
// read the same snapshot of the database even while a host writes to it: the
// totals of a report always agree with its detail lines. On a borrowed
// connection that is already inside a transaction, the build joins it and
// leaves it to its owner.
class LeituraConsistente {
public:
    explicit LeituraConsistente(const Database& banco);
    // Ends the transaction it began when Terminar was not reached (a build
    // that failed); the error on its way is the one that counts.
    ~LeituraConsistente();
    LeituraConsistente(const LeituraConsistente&) = delete;
    LeituraConsistente& operator=(const LeituraConsistente&) = delete;

    // Ends the transaction this object began; SQLite's failure raises its Erro.
    void Terminar();

private:
    sqlite3* db_;
    bool iniciada_ = false;
};

} // namespace tarvo
