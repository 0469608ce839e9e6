#pragma once

#include <chrono>
#include <optional>

struct sqlite3;

namespace tarvo {

class Andamento;
class Erro;

// Keeps the queries of one connection from running on without end. SQLite's
// progress handler, installed only while there is something to watch, stops
// a statement that runs past the time limit (counted from the opening of
// its recordset) or when the call's Andamento asks to stop; the recordset
// then raises Erro::Interrompido instead of SQLite's "interrupted".
class VigilanciaConsultas {
public:
    using Relogio = std::chrono::steady_clock;

    explicit VigilanciaConsultas(sqlite3* db);
    VigilanciaConsultas(const VigilanciaConsultas&) = delete;
    VigilanciaConsultas& operator=(const VigilanciaConsultas&) = delete;

    // 0 for none.
    void DefinirTempoLimite(double segundos);
    // Raises Erro::ArgumentoInvalido unless `segundos` is a time limit.
    static void VerificarTempoLimite(double segundos);
    // The Andamento of the call under way, or nullptr when it ends.
    void Acompanhar(Andamento* andamento);
    Andamento* Atual() const { return andamento_; }
    // Gives SQLite's progress handler back (the connection's owner closes it).
    void Soltar();

    // Before stepping a statement whose recordset opened at `abertura`.
    void AntesDoPasso(Relogio::time_point abertura);
    // After the step, whatever it gave: outside steps nothing is timed.
    void DepoisDoPasso() { prazo_.reset(); }
    // After a row was read.
    void Linha();
    // Why SQLite was interrupted, when it was here; nothing otherwise.
    std::optional<Erro> Motivo() const;

private:
    static int Manipulador(void* vigilancia);
    void Instalar();

    sqlite3* db_;
    double limite_ = 0;
    Andamento* andamento_ = nullptr;
    std::optional<Relogio::time_point> prazo_;
    bool esgotado_ = false;
    bool parado_ = false;
};

} // namespace tarvo
