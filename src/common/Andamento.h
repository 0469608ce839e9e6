#pragma once

#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Progresso.h>

#include <chrono>
#include <functional>
#include <string>

namespace tarvo {

// The progress of one call that builds and writes reports, and the way to
// stop it: the reports count their rows and pages here, the writers their
// pages, and the caller's function hears of it and may ask to stop. From
// then on every check raises Erro::Interrompido, so the call unwinds, leaving
// nothing half-written.
class Andamento {
public:
    using Funcao = std::function<bool(const Progresso&)>;

    explicit Andamento(Funcao funcao);

    void IniciarRelatorio(int posicao, int relatorio, int relatorios);
    // The report's files are written from here on; pages count again.
    void IniciarGravacao();
    void Linha();
    void Pagina();
    // Tells the caller where things stand; raises when it asks to stop.
    void Verificar();
    // For SQLite's progress handler, which must not raise: asks the caller
    // at most every tenth of a second; true when the call is to stop.
    bool DeveParar();

    const Progresso& Estado() const { return progresso_; }

    // The error of a call stopped by its caller or by a time limit.
    static Erro Interrupcao();
    static Erro TempoEsgotado(double segundos);

private:
    Funcao funcao_;
    Progresso progresso_;
    bool parado_ = false;
    std::chrono::steady_clock::time_point ultimaConsulta_;
};

} // namespace tarvo
