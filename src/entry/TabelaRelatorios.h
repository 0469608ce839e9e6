#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tarvo {

class Database;
class RelatorioBase;
struct Pedido;

// The ten reports in list order: the text of each list item, its class,
// how it is made and built (the registration report from the IE, the nine
// others from the declaration), and what its files are about.
class TabelaRelatorios {
public:
    static constexpr int Quantidade = 10;

    // "1 - Cadastro do Contribuinte"; Erro 3001 outside 0 to 9.
    static const std::string& TextoLista(int posicao);
    // "RelatorioCadastro".
    static const std::string& NomeClasse(int posicao);
    // "06-RelatorioDIPAMCodigo1.pdf" for position 5 and "pdf".
    static std::string NomeArquivo(int posicao, const std::string& extensao);

    static std::unique_ptr<RelatorioBase> Criar(int posicao);
    // Calls the report's Construir with the argument it takes.
    static void Construir(int posicao, RelatorioBase& relatorio, const Pedido& pedido);
    // The subject of the report's files.
    static std::string Assunto(int posicao, const Pedido& pedido);

    // Whether bit `posicao` of the mask is set, and how many of the ten are.
    static bool Selecionado(const int32_t& Mascara, int posicao);
    static int Selecionados(const int32_t& Mascara);
};

} // namespace tarvo
