#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <string>

class QProgressDialog;
class QWidget;

namespace tarvo {

// The window that tells, while reports are built for the preview or the
// printer, or a document is written, which step is under way and how far it
// got, with a Cancelar. It shows itself only when the work lasts; until then
// nothing flickers.
class DialogoAndamento {
public:
    explicit DialogoAndamento(int relatorios);
    // `passos` steps of other work (pages, say), over `pai`.
    DialogoAndamento(const QString& titulo, const QString& texto, int passos, QWidget* pai);
    ~DialogoAndamento();
    DialogoAndamento(const DialogoAndamento&) = delete;
    DialogoAndamento& operator=(const DialogoAndamento&) = delete;

    // Shows `texto` with step `passo` (from 1: a report, a page) under way
    // and lets the window answer; false once Cancelar was pressed.
    bool Atualizar(int passo, const std::string& texto);

private:
    std::unique_ptr<QProgressDialog> dialogo_;
    QElapsedTimer eventos_;
};

} // namespace tarvo
