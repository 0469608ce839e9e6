#pragma once

#include <QElapsedTimer>

#include <memory>
#include <string>

class QProgressDialog;

namespace tarvo {

// The window that tells, while reports are built for the preview or the
// printer, which one is under way and how far it got, with a Cancelar. It
// shows itself only when the work lasts; until then nothing flickers.
class DialogoAndamento {
public:
    explicit DialogoAndamento(int relatorios);
    ~DialogoAndamento();
    DialogoAndamento(const DialogoAndamento&) = delete;
    DialogoAndamento& operator=(const DialogoAndamento&) = delete;

    // Shows `texto` with report `relatorio` (from 1) under way and lets the
    // window answer; false once Cancelar was pressed.
    bool Atualizar(int relatorio, const std::string& texto);

private:
    std::unique_ptr<QProgressDialog> dialogo_;
    QElapsedTimer eventos_;
};

} // namespace tarvo
