// Uses the installed C++ headers: the public class and its report table.
#include <entry/Relatorios.h>

#include <iostream>

int main() {
    const tarvo::Relatorios relatorios;
    std::cout << tarvo::Relatorios::NomeClasse(9) << "\n";
    return tarvo::Relatorios::NomeClasse(9) == "RelatorioResReceitaBruta" ? 0 : 1;
}
