#include "entry/SelecaoRelatorios.h"

#include "engine/ImpressorasCups.h"
#include "engine/JanelaPrevia.h"
#include "entry/ConjuntoRelatorios.h"
#include "entry/ExecucaoPedido.h"
#include "entry/frmImpressaoRelatorios.h"
#include "reports/RelatorioBase.h"
#include <RelatoriosTarvo/Erro.h>
#include <RelatoriosTarvo/Pedido.h>

#include <QListWidget>

#include <vector>

namespace tarvo {

namespace {

// Clears a flag however the scope is left.
class Marca {
public:
    explicit Marca(bool& flag) : flag_(flag) { flag_ = true; }
    ~Marca() { flag_ = false; }
    Marca(const Marca&) = delete;
    Marca& operator=(const Marca&) = delete;

private:
    bool& flag_;
};

} // namespace

SelecaoRelatorios::SelecaoRelatorios(ConjuntoRelatorios& relatorios) : relatorios_(relatorios) {}

SelecaoRelatorios::~SelecaoRelatorios() = default;

void SelecaoRelatorios::Executar(const Pedido& pedido) {
    // A second call from inside the first one's dialog would destroy the
    // dialog that is still running.
    if (emExecucao_)
        throw Erro(Erro::FormularioJaExibido, "Form already displayed; can't show modally");
    aplicacao_ = AplicacaoQt::Garantir(AplicacaoQt::Uso::Janelas);
    relatorios_.PrepararAplicacao(AplicacaoQt::Uso::Janelas);
    const Marca marca(emExecucao_);

    relatorios_.Ocultar();

    dialogo_ = std::make_unique<frmImpressaoRelatorios>();
    QListWidget& lista = *dialogo_->lstSelecao;
    lista.clear();
    for (int i = 0; i < TabelaRelatorios::Quantidade; ++i)
        lista.insertItem(i, QString::fromStdString(TabelaRelatorios::TextoLista(i)));
    for (int i = 0; i < lista.count(); ++i) {
        if (TabelaRelatorios::Selecionado(pedido.Mascara, i))
            lista.item(i)->setSelected(true);
    }
    // Making an item current must not select it.
    lista.setCurrentRow(0, QItemSelectionModel::NoUpdate);

    dialogo_->exec();

    const int32_t modo = dialogo_->lngModoSaida;
    if (modo == 1 || modo == 2) {
        // A printer that is not there is said before anything is built.
        const std::string impressora = modo == 2 && !lista.selectedItems().isEmpty()
                                           ? ImpressorasCups::Verificar(pedido.Impressora)
                                           : std::string();
        std::vector<QWidget*> janelas;
        ExecucaoPedido(relatorios_)
            .ConstruirComJanela(
                pedido, [&](int i) { return lista.item(i)->isSelected(); },
                [&](int i) {
                    if (dialogo_->lngModoSaida == 1) {
                        relatorios_.Relatorio(i).Exibir();
                        janelas.push_back(relatorios_.Relatorio(i).Motor().Janela());
                    } else if (dialogo_->lngModoSaida == 2) {
                        relatorios_.Relatorio(i).Imprimir(impressora);
                    }
                });
        JanelaPrevia::Cascata(janelas);
    }
    dialogo_->hide();
}

} // namespace tarvo
