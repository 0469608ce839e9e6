#pragma once

#include <QtGlobal>

#include <memory>
#include <optional>

class QApplication;
class QTranslator;

namespace tarvo {

// The Qt application object that the dialog, the preview windows and the PDF
// writer need on the calling thread. A host that runs Qt keeps its own; for a
// host that does not, the library creates one and keeps it while any holder
// lives, so that no window outlives it and nothing is left for the exit.
// Holders exist only on the application's thread: any other thread is refused
// while it lives, and may create it afresh once the last holder is gone.
class AplicacaoQt {
public:
    enum class Uso {
        Janelas,   // the dialog and the preview windows
        SemJanelas // building and exporting only
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
    // Created without a display, the library's application runs offscreen.
    enum class Origem { Hospedeiro, Propria, PropriaSemTela };

    explicit AplicacaoQt(Origem origem);
    void Verificar(Uso uso) const;
    void Traduzir();

    // QApplication keeps references to its argument count and vector: they
    // live as long as it does.
    struct Argumentos;

    const Origem origem_;
    std::unique_ptr<Argumentos> argumentos_;
    std::unique_ptr<QApplication> aplicacao_;
    // Qt's own Portuguese texts for its standard dialogs (print, files,
    // messages), installed while this holder lives; declared after the
    // application so that it goes first.
    std::unique_ptr<QTranslator> traducao_;
    // The message handler before ours, while ours silences Qt.
    std::optional<QtMessageHandler> manipuladorAnterior_;
};

} // namespace tarvo
