#pragma once

#include <functional>

namespace tarvo {

class ConjuntoRelatorios;
struct Pedido;

// A request run on the report set without the dialog: every selected report
// built in list order on the request's database, then previewed or printed.
class ExecucaoPedido {
public:
    explicit ExecucaoPedido(ConjuntoRelatorios& relatorios);

    // The previews of an earlier call are closed first; the new ones come
    // cascaded with the first of the list in front.
    void Visualizar(const Pedido& pedido);
    // Every selected report on the request's printer (the default one when
    // it names none), without any window; a missing printer is said before
    // anything is built.
    void Imprimir(const Pedido& pedido);

    // Builds the reports `selecionado` picks, in list order, with a window
    // that tells how far the build got and offers Cancelar, and hands each
    // one to `saida` as it is built.
    void ConstruirComJanela(const Pedido& pedido, const std::function<bool(int)>& selecionado,
                            const std::function<void(int)>& saida);

private:
    ConjuntoRelatorios& relatorios_;
};

} // namespace tarvo
