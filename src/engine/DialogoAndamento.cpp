#include "engine/DialogoAndamento.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace tarvo {

namespace {

// Shorter builds never show the window.
constexpr int kEsperaMs = 500;
// How often the window gets to repaint and take a click.
constexpr int kIntervaloEventosMs = 50;

} // namespace

DialogoAndamento::DialogoAndamento(int relatorios)
    : dialogo_(std::make_unique<QProgressDialog>(QStringLiteral("Preparando os relatórios…"),
                                                 QStringLiteral("Cancelar"), 0, relatorios)) {
    dialogo_->setWindowTitle(QStringLiteral("Relatórios"));
    dialogo_->setWindowModality(Qt::ApplicationModal);
    dialogo_->setMinimumDuration(kEsperaMs);
    dialogo_->setAutoReset(false);
    dialogo_->setAutoClose(false);
    // One report gives the bar nothing to count: it just shows that work goes on.
    if (relatorios <= 1)
        dialogo_->setRange(0, 0);
    dialogo_->setValue(0);
    eventos_.start();
}

DialogoAndamento::~DialogoAndamento() = default;

bool DialogoAndamento::Atualizar(int relatorio, const std::string& texto) {
    if (eventos_.elapsed() < kIntervaloEventosMs)
        return !dialogo_->wasCanceled();
    eventos_.restart();
    dialogo_->setLabelText(QString::fromStdString(texto));
    // setValue is what shows the window once the wait is over.
    dialogo_->setValue(relatorio > 0 ? relatorio - 1 : 0);
    QCoreApplication::processEvents();
    return !dialogo_->wasCanceled();
}

} // namespace tarvo
