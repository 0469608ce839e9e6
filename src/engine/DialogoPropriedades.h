#pragma once

#include "engine/ImpressorasCups.h"
#include "engine/PreferenciasImpressao.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace tarvo {

// The print dialog's "Propriedades…": the options a printer offers through
// CUPS (paper, two-sided printing, colour, quality, output bin), one list
// each, starting at the values chosen so far or else the printer's
// defaults. The orientation is none of them: each page keeps its report's.
class DialogoPropriedades : public QDialog {
    Q_OBJECT

public:
    DialogoPropriedades(const std::string& impressora, std::vector<ImpressorasCups::Opcao> opcoes,
                        const PreferenciasImpressao::Propriedades& escolhidas, QWidget* pai);

    // Every option offered with the value chosen, in the printer's order.
    PreferenciasImpressao::Propriedades Escolhidas() const;
    // The list of the option `nome` ("media", "sides", …); nullptr when the
    // printer does not offer it.
    QComboBox* Campo(const std::string& nome) const;

    QPushButton* cmdPadroes;

private:
    void Selecionar(QComboBox* campo, const std::string& valor);

    const std::vector<ImpressorasCups::Opcao> opcoes_;
    std::vector<QComboBox*> campos_; // one per option, in order
};

} // namespace tarvo
