#pragma once

#include "engine/TrabalhoCups.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tarvo {

// The print dialog, the project's own on libcups: the printer (the default
// first), all pages, the current page or a list of pages and ranges ("1,3",
// "2-5"), copies and their collation, the reversed order and two-sided
// printing. The pages it names are the ones the job holds, so no print
// server filters them again. Imprimir refuses, with a word, a list it
// cannot read or a page the document lacks.
class DialogoImpressao : public QDialog {
    Q_OBJECT

public:
    // `paginaAtual` 0 offers no current page.
    DialogoImpressao(int total, int paginaAtual, QWidget* pai);

    std::string Impressora() const;
    // The pages chosen, in printing order; valid once the dialog is accepted.
    std::vector<int> Paginas() const;
    TrabalhoCups::Opcoes Opcoes() const;

    QComboBox* cmbImpressora;
    QRadioButton* optTodas;
    QRadioButton* optAtual;
    QRadioButton* optPaginas;
    QLineEdit* txtPaginas;
    QSpinBox* spnCopias;
    QCheckBox* chkAgrupar;
    QCheckBox* chkInverter;
    QCheckBox* chkFrenteVerso;

    void accept() override;

private:
    // The pages, or empty with `problema` set to a sentence for the user.
    std::vector<int> Escolhidas(QString* problema) const;

    const int total_;
    const int paginaAtual_;
};

} // namespace tarvo
