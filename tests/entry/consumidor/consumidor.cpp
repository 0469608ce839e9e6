// Uses the installed C++ headers: the public classes, and an error of the
// library caught by its type across the library's boundary.
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Relatorios.h>

#include <iostream>

int main() {
    const tarvo::Relatorios relatorios;
    std::cout << tarvo::Relatorios::NomeClasse(9) << "\n";
    if (tarvo::Relatorios::NomeClasse(9) != "RelatorioResReceitaBruta")
        return 1;
    try {
        const tarvo::Database banco("/nao/existe.db");
    } catch (const tarvo::Erro& erro) {
        std::cout << "erro " << erro.Numero() << " (" << erro.Origem() << "): " << erro.Descricao()
                  << "\n";
        return erro.DoSqlite() ? 0 : 1;
    }
    return 1;
}
