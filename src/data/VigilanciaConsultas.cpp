#include "data/VigilanciaConsultas.h"

#include "common/Andamento.h"
#include <RelatoriosTarvo/Erro.h>

#include <sqlite3.h>

#include <cmath>

namespace tarvo {

namespace {

// Virtual machine steps between two looks at the clock: well under a
// millisecond of work.
constexpr int kPassos = 1000;

} // namespace

VigilanciaConsultas::VigilanciaConsultas(sqlite3* db) : db_(db) {}

void VigilanciaConsultas::VerificarTempoLimite(double segundos) {
    // Beyond a few decades it is no limit, and the clock would overflow.
    if (!std::isfinite(segundos) || segundos < 0 || segundos > 1e9)
        throw Erro(Erro::ArgumentoInvalido, "Tempo limite inválido: é preciso um número de "
                                            "segundos de 0 a 1000000000.");
}

void VigilanciaConsultas::DefinirTempoLimite(double segundos) {
    VerificarTempoLimite(segundos);
    limite_ = segundos;
    Instalar();
}

void VigilanciaConsultas::Acompanhar(Andamento* andamento) {
    andamento_ = andamento;
    parado_ = false;
    Instalar();
}

void VigilanciaConsultas::Soltar() {
    limite_ = 0;
    andamento_ = nullptr;
    Instalar();
}

void VigilanciaConsultas::Instalar() {
    if (db_ == nullptr)
        return;
    if (limite_ > 0 || andamento_ != nullptr)
        sqlite3_progress_handler(db_, kPassos, &VigilanciaConsultas::Manipulador, this);
    else
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
}

void VigilanciaConsultas::AntesDoPasso(Relogio::time_point abertura) {
    esgotado_ = false;
    parado_ = false;
    prazo_.reset();
    if (limite_ > 0)
        prazo_ = abertura + std::chrono::duration_cast<Relogio::duration>(
                                std::chrono::duration<double>(limite_));
    // A query that streams rows without end is stopped between rows too.
    if (prazo_ && Relogio::now() >= *prazo_) {
        esgotado_ = true;
        throw Andamento::TempoEsgotado(limite_);
    }
}

void VigilanciaConsultas::Linha() {
    if (andamento_ != nullptr)
        andamento_->Linha();
}

std::optional<Erro> VigilanciaConsultas::Motivo() const {
    if (esgotado_)
        return Andamento::TempoEsgotado(limite_);
    if (parado_)
        return Andamento::Interrupcao();
    return std::nullopt;
}

int VigilanciaConsultas::Manipulador(void* dados) {
    auto& vigilancia = *static_cast<VigilanciaConsultas*>(dados);
    if (vigilancia.prazo_ && Relogio::now() >= *vigilancia.prazo_)
        vigilancia.esgotado_ = true;
    else if (vigilancia.andamento_ != nullptr && vigilancia.andamento_->DeveParar())
        vigilancia.parado_ = true;
    return vigilancia.esgotado_ || vigilancia.parado_ ? 1 : 0;
}

} // namespace tarvo
