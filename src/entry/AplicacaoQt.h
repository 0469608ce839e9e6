#pragma once

#include <QtGlobal>

#include <memory>
#include <optional>

class QApplication;
class QTranslator;

namespace tarvo {

// The Qt application object that the dialog, the preview windows and
// printing need on the calling thread. A host that runs Qt keeps its own; for
// a host that does not, the library creates one when a use first needs it and
// keeps it while any holder lives, so that no window outlives it and nothing
// is left for the exit. Building the reports and writing their files need no
// Qt application: a holder for that use claims the thread without making one.
// Holders exist only on one thread, the application's (or, before there is
// one, the first holder's): any other thread is refused while they live, and
// may start afresh once the last holder is gone.
class AplicacaoQt {
public:
    enum class Uso {
        Janelas,    // the dialog and the preview windows
        SemJanelas, // printing: drawing without windows
        Arquivos    // building the reports and writing PDF and JSON files
    };

    // A holder of the process's application, created here when there is none.
    // Raises Erro FalhaInterface when that application cannot serve the use:
    // windows without any display, a core-only application, another thread.
    static std::shared_ptr<AplicacaoQt> Garantir(Uso uso);

    // Whether Qt has a platform to show windows on: a display or a platform
    // named by QT_QPA_PLATFORM.
    static bool TelaDisponivel();

    ~AplicacaoQt();
    AplicacaoQt(const AplicacaoQt&) = delete;
    AplicacaoQt& operator=(const AplicacaoQt&) = delete;

private:
    AplicacaoQt();
    // Creates the application `uso` needs when there is none in the process.
    void Preparar(Uso uso);
    void Verificar(Uso uso) const;
    void Traduzir();

    // QApplication keeps references to its argument count and vector: they
    // live as long as it does.
    struct Argumentos;

    // Made while a host's application was running, which stays the host's.
    const bool hospedeiro_;
    std::unique_ptr<Argumentos> argumentos_;
    std::unique_ptr<QApplication> aplicacao_;
    // Made offscreen, without a display: it cannot show windows.
    bool semTela_ = false;
    // Whether Qt's texts were looked after for the application in use.
    bool traduzido_ = false;
    // Qt's own Portuguese texts for its standard dialogs (print, files,
    // messages), installed while this holder lives; declared after the
    // application so that it goes first.
    std::unique_ptr<QTranslator> traducao_;
    // The message handler before ours, while ours silences Qt (a host that
    // runs no Qt of its own).
    std::optional<QtMessageHandler> manipuladorAnterior_;
};

} // namespace tarvo
