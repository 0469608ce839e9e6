#pragma once

#include <QDialog>

#include <cstdint>

class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace tarvo {

// The modal dialog in which the user ticks reports and asks for a preview or
// a printout. It knows nothing about reports: its owner fills the list, shows
// it, and reads the list and lngModoSaida once it is hidden or closed.
class frmImpressaoRelatorios : public QDialog {
    Q_OBJECT

public:
    frmImpressaoRelatorios();
    ~frmImpressaoRelatorios() override;

    // 0 nothing asked (the window was closed), 1 preview, 2 print.
    int32_t lngModoSaida = 0;

    // The child widgets, owned by the dialog.
    QLabel* const Label1;
    QListWidget* const lstSelecao;
    QPushButton* const cmdSelecionarTodos;
    QPushButton* const cmdVisualizar;
    QPushButton* const cmdImprimir;

protected:
    // Esc is no shortcut here: the dialog has no cancel button.
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void cmdSelecionarTodos_Click();
    void cmdVisualizar_Click();
    void cmdImprimir_Click();
};

} // namespace tarvo
