#pragma once

// Helpers shared by the report tests: a taxpayer and declaration in a test
// database, and ways to look into the calls a report made on its engine.

#include "engine/MotorRelatorio.h"
#include "support/BancoTeste.h"
#include <RelatoriosTarvo/Database.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarvo::teste {

// A consistent declaration 7 of taxpayer "123.456.789.110" for 2003.
inline void InserirDeclaracao(BancoTeste& banco, int declaracao = 7,
                              const std::string& consistente = "1") {
    banco.Executar("INSERT INTO tblContribuinte (IE, RazãoSocial, CNPJ, CNAE, Município, UF) "
                   "VALUES ('123.456.789.110', 'Comércio de Peças Ávila Ltda', "
                   "'12.345.678/0001-90', '4530-7/03', 'São José dos Campos', 'OS');");
    banco.Executar("INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente, "
                   "ChaveInterna) VALUES (" +
                   std::to_string(declaracao) + ", '123.456.789.110', 1, 2003, " + consistente +
                   ", 'ABCD-1234');");
}

// The calls of report R built for declaration 7.
template <class R> std::vector<Chamada> Construir(const BancoTeste& banco) {
    const Database bd(banco.Caminho());
    R relatorio;
    relatorio.Construir(bd, 7);
    return relatorio.Motor().Chamadas();
}

inline double Num(const Argumento& a) {
    return std::get<double>(a);
}
inline int32_t Long(const Argumento& a) {
    return std::get<int32_t>(a);
}
inline const std::string& Str(const Argumento& a) {
    return std::get<std::string>(a);
}

// The calls with the given operation name, in order.
inline std::vector<Chamada> Filtrar(const std::vector<Chamada>& chamadas, const std::string& op) {
    std::vector<Chamada> r;
    for (const auto& c : chamadas)
        if (c.op == op)
            r.push_back(c);
    return r;
}

// The AdicionarTexto / AdicionarTextoMultilinha calls whose text is exactly `texto`.
inline std::vector<Chamada> Textos(const std::vector<Chamada>& chamadas, const std::string& texto) {
    std::vector<Chamada> r;
    for (const auto& c : chamadas)
        if ((c.op == "AdicionarTexto" || c.op == "AdicionarTextoMultilinha") &&
            Str(c.args[4]) == texto)
            r.push_back(c);
    return r;
}

// The calls split by page: everything before the first element belongs to
// the set-up (index 0 of the result is the set-up, then one entry a page).
inline std::vector<std::vector<Chamada>> PorPagina(const std::vector<Chamada>& chamadas) {
    std::vector<std::vector<Chamada>> paginas(1);
    bool temElemento = false;
    for (const auto& c : chamadas) {
        const bool elemento = c.op.rfind("Adicionar", 0) == 0;
        if (c.op == "NovaPagina") {
            paginas.emplace_back();
            continue;
        }
        if (elemento && !temElemento) {
            temElemento = true;
            paginas.emplace_back();
        }
        paginas.back().push_back(c);
    }
    return paginas;
}

} // namespace tarvo::teste
