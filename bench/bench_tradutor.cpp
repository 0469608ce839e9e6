// Translation time of Jet SQL text against its length, for flat condition
// chains and for groups nested as deep as the translator allows, then
// against the depth of the groups in one megabyte: the time per megabyte
// should stay the same as the text grows.
//
//   bench_tradutor          texts of 128 KB to 4 MB, depths of 1 to 200

#include "data/TradutorJet.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

// CPU time of the process, which the load of other processes leaves alone.
double SegundosCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// A WHERE clause of copies of parte up to the given size.
std::string Texto(const std::string& parte, size_t tamanho) {
    std::string sql = "select * from tblEstados where Código = 1";
    while (sql.size() < tamanho)
        sql += parte;
    return sql;
}

void Medir(const std::string& nome, const std::string& sql) {
    const double inicio = SegundosCpu();
    const size_t saida = tarvo::TradutorJet::Traduzir(sql).sql.size();
    const double segundos = SegundosCpu() - inicio;
    std::printf("%-14s %6zu KB  %7.3f s  %6.3f s/MB  (%zu bytes out)\n", nome.c_str(),
                sql.size() >> 10, segundos,
                segundos / (static_cast<double>(sql.size()) / (1 << 20)), saida);
}

std::string Grupo(size_t niveis) {
    return " or " + std::string(niveis, '(') + "Código = 1" + std::string(niveis, ')');
}

} // namespace

int main() {
    const size_t maxima = tarvo::TradutorJet::ProfundidadeMaxima;
    for (size_t tamanho = size_t{128} << 10; tamanho <= size_t{4} << 20; tamanho *= 2) {
        Medir("plano", Texto(" or Código = 1", tamanho));
        Medir("aninhado " + std::to_string(maxima), Texto(Grupo(maxima), tamanho));
    }
    for (const size_t niveis : {size_t{1}, size_t{10}, size_t{50}, size_t{100}, maxima})
        Medir("aninhado " + std::to_string(niveis), Texto(Grupo(niveis), size_t{1} << 20));
    return 0;
}
