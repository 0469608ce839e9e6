#include "common/Andamento.h"

#include <cstdio>

namespace tarvo {

namespace {

// Rows are many and cheap: the caller hears of them in batches.
constexpr int64_t kLinhasPorAviso = 256;
constexpr std::chrono::milliseconds kIntervaloConsulta(100);

} // namespace

Andamento::Andamento(Funcao funcao) : funcao_(std::move(funcao)) {}

void Andamento::IniciarRelatorio(int posicao, int relatorio, int relatorios) {
    progresso_ = Progresso{};
    progresso_.posicao = posicao;
    progresso_.relatorio = relatorio;
    progresso_.relatorios = relatorios;
    Verificar();
}

void Andamento::IniciarGravacao() {
    progresso_.gravando = true;
    progresso_.paginas = 0;
    Verificar();
}

void Andamento::Linha() {
    if (++progresso_.linhas % kLinhasPorAviso == 0)
        Verificar();
}

void Andamento::Pagina() {
    ++progresso_.paginas;
    Verificar();
}

void Andamento::Verificar() {
    if (!parado_ && funcao_)
        parado_ = !funcao_(progresso_);
    ultimaConsulta_ = std::chrono::steady_clock::now();
    if (parado_)
        throw Interrupcao();
}

bool Andamento::DeveParar() {
    if (parado_ || !funcao_)
        return parado_;
    const auto agora = std::chrono::steady_clock::now();
    if (agora - ultimaConsulta_ >= kIntervaloConsulta) {
        ultimaConsulta_ = agora;
        parado_ = !funcao_(progresso_);
    }
    return parado_;
}

Erro Andamento::Interrupcao() {
    return Erro(Erro::Interrompido, "interrompido pelo usuário");
}

Erro Andamento::TempoEsgotado(double segundos) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "%g", segundos);
    return Erro(Erro::Interrompido,
                std::string("interrompido: a consulta passou do tempo limite de ") + texto + " s");
}

} // namespace tarvo
