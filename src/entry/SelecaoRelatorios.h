#pragma once

#include "entry/AplicacaoQt.h"

#include <memory>

namespace tarvo {

class ConjuntoRelatorios;
class frmImpressaoRelatorios;
struct Pedido;

// The selection dialog's use: the user picks reports, and they are built
// and previewed or printed.
class SelecaoRelatorios {
public:
    explicit SelecaoRelatorios(ConjuntoRelatorios& relatorios);
    ~SelecaoRelatorios();
    SelecaoRelatorios(const SelecaoRelatorios&) = delete;
    SelecaoRelatorios& operator=(const SelecaoRelatorios&) = delete;

    // Closes the previews of the last call, shows a new dialog with bit i of
    // the request's mask pre-selecting list position i, then builds every
    // report selected when the dialog was left, in list order, and previews
    // or prints it.
    void Executar(const Pedido& pedido);

    // The dialog of the last Executar, hidden; nullptr before the first.
    frmImpressaoRelatorios* Dialogo() const { return dialogo_.get(); }

private:
    ConjuntoRelatorios& relatorios_;
    // Declared before the dialog so that it goes after it.
    std::shared_ptr<AplicacaoQt> aplicacao_;
    std::unique_ptr<frmImpressaoRelatorios> dialogo_;
    // Set while the dialog of a call is up, when the host's own events may
    // run and call again.
    bool emExecucao_ = false;
};

} // namespace tarvo
