#pragma once

#include "engine/ImpressorasCups.h"
#include "engine/PreferenciasImpressao.h"
#include "engine/TrabalhoCups.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tarvo {

// The print dialog, the project's own on libcups: the printer (the default
// first) with its state and its Propriedades, all pages, the current page
// or a list of pages and ranges ("1,3", "2-5"), of which all, the odd or the
// even pages, copies and their collation, and the reversed order. The pages
// it names are the ones the job holds, so no print server filters them
// again. Imprimir refuses, with a word, a list it cannot read or a choice
// without pages, and remembers the printer and its options for next time.
class DialogoImpressao : public QDialog {
    Q_OBJECT

public:
    // `paginaAtual` 0 offers no current page. The printer shown first is
    // `impressora`, else the last one printed on, else CUPS's default.
    DialogoImpressao(int total, int paginaAtual, QWidget* pai, const std::string& impressora = "");

    std::string Impressora() const;
    // The pages chosen, in printing order; valid once the dialog is accepted.
    std::vector<int> Paginas() const;
    TrabalhoCups::Opcoes Opcoes() const;

    // The entries of cmbParidade.
    enum Paridade { TodasDoIntervalo, Impares, Pares };

    QComboBox* cmbImpressora; // the destination's name as item data
    QPushButton* cmdPropriedades;
    QLabel* lblSituacao;
    QLabel* lblPropriedades;
    QRadioButton* optTodas;
    QRadioButton* optAtual;
    QRadioButton* optPaginas;
    QLineEdit* txtPaginas;
    QComboBox* cmbParidade;
    QSpinBox* spnCopias;
    QCheckBox* chkAgrupar;
    QCheckBox* chkInverter;

    void accept() override;
    // The printer's Propriedades dialog (cmdPropriedades).
    void EditarPropriedades();

private:
    // The pages, or empty with `problema` set to a sentence for the user.
    std::vector<int> Escolhidas(QString* problema) const;
    // The state and options of the printer now chosen.
    void ImpressoraEscolhida();
    void MostrarPropriedades();
    // Grows the dialog to what its labels now say.
    void Ajustar();

    const int total_;
    const int paginaAtual_;
    // What the printer offers; `erroOpcoes_` when CUPS could not say.
    std::vector<ImpressorasCups::Opcao> opcoesImpressora_;
    QString erroOpcoes_;
    // The options chosen for this printer, in Propriedades or remembered;
    // empty leaves all to the queue's defaults.
    PreferenciasImpressao::Propriedades propriedades_;
};

} // namespace tarvo
