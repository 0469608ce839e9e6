#include "LinhaComando.h"

#include <charconv>
#include <set>

namespace tarvo {

namespace {

std::optional<int32_t> Inteiro(const std::string& texto) {
    int32_t valor = 0;
    const char* const fim = texto.data() + texto.size();
    const auto [ponteiro, erro] = std::from_chars(texto.data(), fim, valor);
    if (texto.empty() || erro != std::errc() || ponteiro != fim)
        return std::nullopt;
    return valor;
}

// "2", "2.5" or "2,5" seconds.
std::optional<double> Segundos(std::string texto) {
    for (char& c : texto)
        c = c == ',' ? '.' : c;
    double valor = 0;
    const char* const fim = texto.data() + texto.size();
    const auto [ponteiro, erro] = std::from_chars(texto.data(), fim, valor);
    if (texto.empty() || erro != std::errc() || ponteiro != fim || !(valor >= 0) || valor > 1e9)
        return std::nullopt;
    return valor;
}

} // namespace

LinhaComando LinhaComando::Interpretar(const std::vector<std::string>& argumentos) {
    LinhaComando linha;
    // Every option by its long name, so that an alias given twice is caught.
    std::set<std::string> dadas;
    const auto Nova = [&](const std::string& opcao) {
        if (!dadas.insert(opcao).second)
            linha.erro = "a opção " + opcao + " foi dada mais de uma vez";
        return linha.erro.empty();
    };
    // The database may also come as the one argument that is no option, as a
    // desktop opens a file with the program.
    bool posicional = false;
    bool fimDasOpcoes = false;
    for (size_t i = 0; i < argumentos.size() && linha.erro.empty(); ++i) {
        std::string nome = argumentos[i];
        if (fimDasOpcoes || nome.empty() || nome[0] != '-') {
            if (!linha.banco.empty())
                linha.erro = posicional ? "argumento inesperado: " + nome
                                        : "o banco de dados foi dado mais de uma vez: em --banco "
                                          "e como argumento (" +
                                              nome + ")";
            else if (nome.empty())
                linha.erro = "arquivo vazio como banco de dados";
            linha.banco = nome;
            posicional = true;
            continue;
        }
        if (nome == "--") {
            fimDasOpcoes = true;
            continue;
        }
        if (nome == "-h" || nome == "--help" || nome == "--ajuda") {
            linha.ajuda = Nova("--help");
            continue;
        }
        if (nome == "--version" || nome == "--versao") {
            linha.versao = Nova("--version");
            continue;
        }
        if (nome == "--visualizar" || nome == "--imprimir" || nome == "--silencioso") {
            if (Nova(nome))
                (nome == "--visualizar" ? linha.visualizar
                 : nome == "--imprimir" ? linha.imprimir
                                        : linha.silencioso) = true;
            continue;
        }
        if (nome.rfind("--", 0) != 0) {
            linha.erro = nome == "-" ? "argumento inesperado: -" : "opção desconhecida: " + nome;
            break;
        }
        // "--opção valor" or "--opção=valor".
        std::optional<std::string> valor;
        const size_t igual = nome.find('=');
        if (igual != std::string::npos) {
            valor = nome.substr(igual + 1);
            nome.erase(igual);
        }
        const bool conhecida = nome == "--banco" || nome == "--ie" || nome == "--declaracao" ||
                               nome == "--selecao" || nome == "--pdf" || nome == "--json" ||
                               nome == "--pdf-unico" || nome == "--tempo-limite" ||
                               nome == "--localidade" || nome == "--impressora";
        if (!conhecida) {
            linha.erro = "opção desconhecida: " + nome;
            break;
        }
        if (!Nova(nome))
            break;
        if (!valor) {
            if (i + 1 >= argumentos.size()) {
                linha.erro = "falta o valor de " + nome;
                break;
            }
            valor = argumentos[++i];
        }
        if (nome == "--banco") {
            if (valor->empty())
                linha.erro = "arquivo vazio em --banco";
            else if (posicional)
                linha.erro = "o banco de dados foi dado mais de uma vez: como argumento e em "
                             "--banco (" +
                             *valor + ")";
            linha.banco = *valor;
        } else if (nome == "--ie") {
            linha.ie = *valor;
        } else if (nome == "--declaracao" || nome == "--selecao") {
            const std::optional<int32_t> numero = Inteiro(*valor);
            if (!numero)
                linha.erro = "valor inválido para " + nome + ": \"" + *valor +
                             "\" (é preciso um número inteiro de 32 bits)";
            else if (nome == "--declaracao")
                linha.declaracao = numero;
            else
                linha.selecao = numero;
        } else if (nome == "--tempo-limite") {
            const std::optional<double> segundos = Segundos(*valor);
            if (!segundos)
                linha.erro = "valor inválido para --tempo-limite: \"" + *valor +
                             "\" (é preciso um número de segundos de 0 a 1000000000)";
            else
                linha.tempoLimite = *segundos;
        } else if (nome == "--localidade") {
            if (valor->empty())
                linha.erro = "localidade vazia em --localidade";
            linha.localidade = *valor;
        } else if (nome == "--impressora") {
            if (valor->empty())
                linha.erro = "impressora vazia em --impressora";
            linha.impressora = *valor;
        } else if (valor->empty()) {
            linha.erro = (nome == "--pdf-unico" ? "arquivo vazio em " : "pasta vazia em ") + nome;
        } else if (nome == "--pdf-unico") {
            linha.arquivoPdfUnico = *valor;
        } else if (nome == "--pdf") {
            linha.pastaPdf = *valor;
        } else {
            linha.pastaJson = *valor;
        }
    }
    // Only the dialog can ask for the database.
    if (linha.erro.empty() && !linha.ajuda && !linha.versao && linha.banco.empty() &&
        (linha.Exportacao() || linha.Direto()))
        linha.erro = "falta --banco ARQUIVO";
    if (linha.erro.empty() && linha.visualizar && linha.imprimir)
        linha.erro = "use --visualizar ou --imprimir, não os dois";
    if (linha.erro.empty() && linha.Direto() && linha.Exportacao())
        linha.erro = "--visualizar e --imprimir não se combinam com --pdf, --json ou --pdf-unico";
    // Previews print through the print dialog, which offers every printer.
    if (linha.erro.empty() && !linha.impressora.empty() && (linha.Exportacao() || linha.visualizar))
        linha.erro = "--impressora vale só com --imprimir ou no diálogo de relatórios";
    return linha;
}

int32_t LinhaComando::Mascara() const {
    if (selecao)
        return *selecao;
    return Exportacao() || Direto() ? 1023 : 0;
}

std::string LinhaComando::TextoAjuda() {
    return R"(Uso: relatorios-tarvo --banco ARQUIVO [--ie TEXTO] [--declaracao N]
                        [--selecao MASCARA] [--pdf PASTA] [--json PASTA]
                        [--pdf-unico ARQUIVO] [--visualizar | --imprimir]
                        [--impressora NOME] [--tempo-limite SEGUNDOS]
                        [--localidade NOME] [--silencioso]
       relatorios-tarvo [ARQUIVO]

Visualiza, imprime ou exporta os dez relatórios de uma Declaração do Vantiro.

Opções:
  --banco ARQUIVO      banco de dados SQLite da declaração, aberto só para leitura
  --ie TEXTO           inscrição estadual do contribuinte (relatório 1); sem esta
                       opção, a inscrição da declaração dada em --declaracao, ou ""
  --declaracao N       número da declaração (relatórios 2 a 10); padrão 0 ao
                       exportar, visualizar ou imprimir direto; sem ela, o
                       diálogo pergunta a declaração
  --selecao MASCARA    relatórios escolhidos: o bit i (valor 2 elevado a i) escolhe
                       o relatório i + 1; padrão 1023 (todos) ao exportar,
                       visualizar ou imprimir direto e 0 no diálogo; -1 escolhe
                       todos
  --pdf PASTA          exporta sem diálogo: grava PASTA/NN-Classe.pdf
  --json PASTA         exporta sem diálogo: grava PASTA/NN-Classe.json, o registro
                       do documento no motor de relatórios
  --pdf-unico ARQUIVO  exporta sem diálogo: grava todos os relatórios escolhidos,
                       na ordem da lista, num só PDF, com um marcador por
                       relatório; pode ser combinado com --pdf e --json;
                       "-" grava o PDF na saída padrão (se não for um terminal)
  --visualizar         sem diálogo: abre a visualização dos relatórios escolhidos
                       (o primeiro da lista na frente) e termina quando a última
                       janela é fechada
  --imprimir           sem diálogo nem janela: imprime os relatórios escolhidos na
                       impressora padrão
  --impressora NOME    imprime na impressora NOME do CUPS (como lpstat -e as
                       lista) em vez da padrão, com --imprimir ou no botão
                       Imprimir do diálogo de relatórios
  --tempo-limite SEGUNDOS
                       interrompe o trabalho quando uma consulta ao banco passa
                       desse tempo (padrão: sem limite)
  --localidade NOME    separadores dos valores da localidade NOME (pt_BR,
                       pt_BR.UTF-8, en_US...), como LC_ALL=NOME, em vez dos
                       de LC_ALL, LC_NUMERIC e LANG
  --silencioso         não mostra o andamento nem os avisos na saída de erro
  -h, --help           mostra esta ajuda e sai
  --version            mostra a versão e sai

Sem --pdf, --json, --pdf-unico, --visualizar nem --imprimir, abre o diálogo de
seleção de relatórios; depois de visualizar, o programa termina quando a
última janela de visualização é fechada. Antes, sem --banco, pergunta o banco de
dados numa janela e, sem --declaracao, pergunta a declaração numa lista quando
o banco tem mais de uma. ARQUIVO sozinho é o mesmo que --banco ARQUIVO. Um
atalho da área de trabalho ou um script abre os relatórios de uma declaração
com, por exemplo:
  relatorios-tarvo --banco declaracao.db --declaracao 1 --selecao 32 --visualizar
Ao exportar, não abre janela nenhuma nem precisa de tela. As pastas que faltam
são criadas, e cada arquivo aparece inteiro ou não aparece; nenhum arquivo é
gravado sobre o banco de dados (nem sobre os seus arquivos -wal, -journal e
-shm), sobre outra saída da mesma exportação nem sobre algo que não seja um
arquivo comum. NN é a posição do relatório na lista (01 a 10) e Classe o nome
da sua classe:
  01-RelatorioCadastro         06-RelatorioDIPAMCodigo1
  02-RelatorioEntradas         07-RelatorioDIPAMCodigo2
  03-RelatorioSaidas           08-RelatorioDIPAMCodigo3
  04-RelatorioEntInterestad    09-RelatorioResImpostoDecl
  05-RelatorioSaiInterestad    10-RelatorioResReceitaBruta

Saída: 0 em caso de sucesso (uma linha "aviso: ..." na saída de erro quando
a declaração ou o contribuinte não estão no banco, ou a seleção não escolhe
nenhum relatório); 1 num erro dos relatórios, com a linha "erro N: descrição"
("erro N (SQLite): descrição" para os códigos do SQLite) na saída de erro (os
arquivos já gravados ficam); 2 num erro nas opções (também uma opção dada duas
vezes, uma --localidade desconhecida, duas saídas que são o mesmo arquivo ou uma
saída que não é um arquivo comum) ou num banco de dados que não se pode abrir;
0 também quando o usuário cancela a escolha do banco ou da declaração; 130, 143
ou 129 quando interrompido por Ctrl+C, SIGTERM ou SIGHUP, sem deixar arquivo
pela metade.
)";
}

} // namespace tarvo
