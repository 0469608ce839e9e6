#include "entry/AvisoRelatorios.h"

#include "entry/TabelaRelatorios.h"
#include "reports/DadosDeclaracao.h"

#include <vector>

namespace tarvo {

namespace {

// "o relatório 3", "os relatórios 2 e 5", "os relatórios 2 a 10".
std::string ListaRelatorios(const std::vector<int>& numeros) {
    if (numeros.size() == 1)
        return "o relatório " + std::to_string(numeros.front());
    const bool seguidos = numeros.back() - numeros.front() + 1 == static_cast<int>(numeros.size());
    std::string texto = "os relatórios ";
    if (seguidos && numeros.size() > 2)
        return texto + std::to_string(numeros.front()) + " a " + std::to_string(numeros.back());
    for (size_t i = 0; i < numeros.size(); ++i) {
        texto += i == 0 ? "" : i + 1 == numeros.size() ? " e " : ", ";
        texto += std::to_string(numeros[i]);
    }
    return texto;
}

std::string EmBranco(const std::vector<int>& numeros) {
    return ListaRelatorios(numeros) + (numeros.size() == 1 ? " sai em branco" : " saem em branco");
}

} // namespace

std::string AvisoRelatorios::Texto(const Database& BancoDados, const std::string& IE,
                                   const int32_t& Declaracao, const int32_t& Mascara) {
    std::vector<int> daDeclaracao;
    for (int i = 1; i < TabelaRelatorios::Quantidade; ++i) {
        if (TabelaRelatorios::Selecionado(Mascara, i))
            daDeclaracao.push_back(i + 1);
    }
    const bool cadastro = TabelaRelatorios::Selecionado(Mascara, 0);
    if (!cadastro && daDeclaracao.empty())
        return "a seleção " + std::to_string(Mascara) +
               " não escolhe nenhum relatório (os bits 0 a 9 escolhem os relatórios 1 a 10)";

    const std::string numero = std::to_string(Declaracao);
    std::string aviso;
    if (!daDeclaracao.empty() &&
        !DadosDeclaracao::ExisteDeclaracaoComContribuinte(BancoDados, Declaracao)) {
        aviso = (DadosDeclaracao::ExisteDeclaracao(BancoDados, Declaracao)
                     ? "o contribuinte da declaração " + numero
                     : "a declaração " + numero) +
                " não está no banco de dados: " + EmBranco(daDeclaracao);
    }
    if (cadastro && !DadosDeclaracao::ExisteContribuinte(BancoDados, IE)) {
        aviso += (aviso.empty() ? "" : "; ") +
                 std::string("o contribuinte de inscrição estadual \"") + IE +
                 "\" não está no banco de dados: " + EmBranco({1});
    }
    return aviso;
}

} // namespace tarvo
