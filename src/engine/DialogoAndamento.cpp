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
    : DialogoAndamento(QStringLiteral("Relatórios"), QStringLiteral("Preparando os relatórios…"),
                       relatorios, nullptr) {}

DialogoAndamento::DialogoAndamento(const QString& titulo, const QString& texto, int passos,
                                   QWidget* pai)
    : dialogo_(
          std::make_unique<QProgressDialog>(texto, QStringLiteral("Cancelar"), 0, passos, pai)) {
    dialogo_->setWindowTitle(titulo);
    // No other window takes input meanwhile: the work goes on under it.
    dialogo_->setWindowModality(Qt::ApplicationModal);
    dialogo_->setMinimumDuration(kEsperaMs);
    dialogo_->setAutoReset(false);
    dialogo_->setAutoClose(false);
    // Esc only hides a progress dialog, and the work would go on unseen: it
    // cancels, as the button does.
    QObject::connect(dialogo_.get(), &QDialog::rejected, dialogo_.get(), &QProgressDialog::cancel);
    // One step gives the bar nothing to count: it just shows that work goes on.
    if (passos <= 1)
        dialogo_->setRange(0, 0);
    dialogo_->setValue(0);
    eventos_.start();
}

DialogoAndamento::~DialogoAndamento() = default;

bool DialogoAndamento::Atualizar(int passo, const std::string& texto) {
    if (eventos_.elapsed() < kIntervaloEventosMs)
        return !dialogo_->wasCanceled();
    eventos_.restart();
    dialogo_->setLabelText(QString::fromStdString(texto));
    // setValue is what shows the window once the wait is over.
    dialogo_->setValue(passo > 0 ? passo - 1 : 0);
    QCoreApplication::processEvents();
    return !dialogo_->wasCanceled();
}

} // namespace tarvo
