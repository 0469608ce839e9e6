#pragma once

#include "reports/DadosDeclaracao.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tarvo {

// The modal list in which the user picks one of the declarations of a
// database file: number, taxpayer, state registration and year, one row
// each. Enter or a double click opens the current row, Esc cancels.
class frmEscolhaDeclaracao : public QDialog {
    Q_OBJECT

public:
    using Linha = DadosDeclaracao::Resumo;

    frmEscolhaDeclaracao(const std::string& arquivo, std::vector<Linha> linhas);
    ~frmEscolhaDeclaracao() override;

    // The row opened; nothing when the dialog was cancelled or closed.
    const Linha* Escolhida() const;

    // The child widgets, owned by the dialog.
    QLabel* const lblArquivo;
    QTreeWidget* const lstDeclaracoes;
    QPushButton* const cmdAbrir;
    QPushButton* const cmdCancelar;

private:
    const std::vector<Linha> linhas_;
    int escolhida_ = -1;

    void cmdAbrir_Click();
};

} // namespace tarvo
