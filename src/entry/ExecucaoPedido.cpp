#include "entry/ExecucaoPedido.h"

#include "common/Andamento.h"
#include "engine/CursorOcupado.h"
#include "engine/DialogoAndamento.h"
#include "engine/ImpressorasCups.h"
#include "engine/JanelaPrevia.h"
#include "entry/ConjuntoRelatorios.h"
#include "reports/RelatorioBase.h"
#include <RelatoriosTarvo/Pedido.h>

#include <string>
#include <vector>

namespace tarvo {

namespace {

// "3 - Saídas" and "relatório 2 de 5, 12 páginas", for the window that tells
// how far the build got.
std::string TextoAndamento(const Progresso& progresso) {
    std::string texto = TabelaRelatorios::TextoLista(progresso.posicao) + "\nrelatório " +
                        std::to_string(progresso.relatorio) + " de " +
                        std::to_string(progresso.relatorios);
    if (progresso.paginas > 0)
        texto += ", " + std::to_string(progresso.paginas) +
                 (progresso.paginas == 1 ? " página" : " páginas");
    return texto;
}

} // namespace

ExecucaoPedido::ExecucaoPedido(ConjuntoRelatorios& relatorios) : relatorios_(relatorios) {}

void ExecucaoPedido::Visualizar(const Pedido& pedido) {
    relatorios_.PrepararAplicacao(AplicacaoQt::Uso::Janelas);
    relatorios_.Ocultar();
    std::vector<QWidget*> janelas;
    ConstruirComJanela(
        pedido, [&](int i) { return TabelaRelatorios::Selecionado(pedido.Mascara, i); },
        [&](int i) {
            relatorios_.Relatorio(i).Exibir();
            janelas.push_back(relatorios_.Relatorio(i).Motor().Janela());
        });
    JanelaPrevia::Cascata(janelas);
}

void ExecucaoPedido::Imprimir(const Pedido& pedido) {
    relatorios_.PrepararAplicacao(AplicacaoQt::Uso::SemJanelas);
    const int relatorios = TabelaRelatorios::Selecionados(pedido.Mascara);
    // Nothing selected prints nothing, printer or not.
    const std::string impressora =
        relatorios > 0 ? ImpressorasCups::Verificar(pedido.Impressora) : std::string();
    Andamento andamento(pedido.Acompanhamento);
    int relatorio = 0;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i) {
        if (!TabelaRelatorios::Selecionado(pedido.Mascara, i))
            continue;
        andamento.IniciarRelatorio(i, ++relatorio, relatorios);
        relatorios_.Construir(i, pedido, &andamento);
        relatorios_.Relatorio(i).Motor().ImprimirSemJanelas(impressora);
    }
}

void ExecucaoPedido::ConstruirComJanela(const Pedido& pedido,
                                        const std::function<bool(int)>& selecionado,
                                        const std::function<void(int)>& saida) {
    int relatorios = 0;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i)
        relatorios += selecionado(i) ? 1 : 0;
    const CursorOcupado ocupado;
    DialogoAndamento janela(relatorios);
    Andamento andamento([&](const Progresso& progresso) {
        if (pedido.Acompanhamento && !pedido.Acompanhamento(progresso))
            return false;
        return janela.Atualizar(progresso.relatorio, TextoAndamento(progresso));
    });
    int relatorio = 0;
    for (int i = 0; i < ConjuntoRelatorios::Quantidade; ++i) {
        if (!selecionado(i))
            continue;
        andamento.IniciarRelatorio(i, ++relatorio, relatorios);
        relatorios_.Construir(i, pedido, &andamento);
        saida(i);
    }
}

} // namespace tarvo
