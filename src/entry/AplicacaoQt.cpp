#include "entry/AplicacaoQt.h"

#include "engine/SaidaDocumento.h"
#include <RelatoriosTarvo/Erro.h>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QThread>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

bool Definida(const char* variavel) {
    const char* valor = std::getenv(variavel);
    return valor != nullptr && *valor != '\0';
}

// The one application the library may own is shared by every holder in the
// process; it goes with the last of them.
std::weak_ptr<AplicacaoQt>& Registro() {
    static std::weak_ptr<AplicacaoQt> registro;
    return registro;
}

// Guards the registry, and the application's creation and destruction, so
// that no thread sees it half made or half gone.
std::mutex& Trava() {
    static std::mutex trava;
    return trava;
}

// Whether the calling thread may use the process's Qt application: the one
// it lives on, or any while there is none.
bool NaLinhaDaAplicacao() {
    const QCoreApplication* const aplicacao = QCoreApplication::instance();
    return aplicacao == nullptr || aplicacao->thread() == QThread::currentThread();
}

void SilenciarQt(QtMsgType tipo, const QMessageLogContext&, const QString& mensagem) {
    // A fatal message still ends the process, with its reason.
    if (tipo == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(mensagem));
        std::abort();
    }
}

[[noreturn]] void Falha(const std::string& descricao) {
    throw Erro(Erro::FalhaInterface, descricao);
}

} // namespace

struct AplicacaoQt::Argumentos {
    explicit Argumentos(std::vector<std::string> lista) : textos(std::move(lista)) {
        for (std::string& texto : textos)
            argv.push_back(texto.data());
        argv.push_back(nullptr);
        argc = static_cast<int>(textos.size());
    }

    std::vector<std::string> textos;
    std::vector<char*> argv;
    int argc = 0;
};

std::shared_ptr<AplicacaoQt> AplicacaoQt::Garantir(Uso uso) {
    // Declared before the lock: a holder made here and then refused goes
    // after the lock is released, as its destructor takes it too.
    std::shared_ptr<AplicacaoQt> atual;
    const std::lock_guard<std::mutex> trava(Trava());
    // Checked before any holder is handed out, so that a thread that is
    // refused never holds the last reference to another thread's application.
    if (!NaLinhaDaAplicacao())
        Falha("Os relatórios só podem ser usados na linha de execução da aplicação Qt.");
    atual = Registro().lock();
    if (!atual) {
        if (QCoreApplication::instance() != nullptr) {
            atual.reset(new AplicacaoQt(Origem::Hospedeiro));
        } else if (TelaDisponivel()) {
            atual.reset(new AplicacaoQt(Origem::Propria));
        } else if (uso == Uso::SemJanelas) {
            atual.reset(new AplicacaoQt(Origem::PropriaSemTela));
        } else {
            Falha("Nenhuma tela disponível para mostrar o diálogo de relatórios.");
        }
        Registro() = atual;
    }
    atual->Verificar(uso);
    return atual;
}

bool AplicacaoQt::TelaDisponivel() {
    return Definida("QT_QPA_PLATFORM") || Definida("DISPLAY") || Definida("WAYLAND_DISPLAY");
}

AplicacaoQt::AplicacaoQt(Origem origem) : origem_(origem) {
    if (origem_ == Origem::Hospedeiro) {
        Traduzir();
        return;
    }
    // A host without Qt of its own does not want Qt's notes on its standard
    // error ("XDG_RUNTIME_DIR not set", font fallbacks): they are kept only
    // when asked for.
    if (!Definida("RELATORIOS_TARVO_DEPURAR"))
        manipuladorAnterior_ = qInstallMessageHandler(SilenciarQt);
    std::vector<std::string> lista = {"relatorios_tarvo"};
    if (origem_ == Origem::PropriaSemTela)
        lista.insert(lista.end(), {"-platform", "offscreen"});
    argumentos_ = std::make_unique<Argumentos>(std::move(lista));
    aplicacao_ = std::make_unique<QApplication>(argumentos_->argc, argumentos_->argv.data());
    // Without a desktop's icon theme the preview's buttons take the icons
    // Debian installs with Qt's dialogs.
    if (QIcon::fromTheme(QStringLiteral("document-print")).isNull())
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    Traduzir();
}

AplicacaoQt::~AplicacaoQt() {
    const std::lock_guard<std::mutex> trava(Trava());
    if (!NaLinhaDaAplicacao()) {
        // Let go on another thread (a handle passed between threads): Qt
        // cannot take its application down there, so it stays, as a host's
        // would, usable on its own thread, with all it refers to.
        (void)aplicacao_.release();
        (void)argumentos_.release();
        (void)traducao_.release();
        return;
    }
    if (traducao_ && QCoreApplication::instance() != nullptr)
        QCoreApplication::removeTranslator(traducao_.get());
    traducao_.reset();
    // The process's messages are its own again once our application is gone.
    aplicacao_.reset();
    if (manipuladorAnterior_.has_value())
        qInstallMessageHandler(*manipuladorAnterior_);
}

// Debian's qt6-translations-l10n puts qtbase_pt_BR.qm in Qt's translations
// folder. A host whose Qt dialogs are already translated (into any
// language) keeps its own texts.
void AplicacaoQt::Traduzir() {
    const bool traduzido =
        QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel") ||
        QCoreApplication::translate("QPrintDialog", "Print") != QLatin1String("Print");
    if (traduzido)
        return;
    auto traducao = std::make_unique<QTranslator>();
    for (const QString& pasta : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QStringLiteral("/usr/share/qt6/translations")}) {
        if (traducao->load(QStringLiteral("qtbase_pt_BR"), pasta)) {
            QCoreApplication::installTranslator(traducao.get());
            traducao_ = std::move(traducao);
            return;
        }
    }
}

void AplicacaoQt::Verificar(Uso uso) const {
    const QCoreApplication* const aplicacao = QCoreApplication::instance();
    if (aplicacao == nullptr)
        Falha("A aplicação Qt do processo não existe mais.");
    // What kind of application each use needs is the engine's one check.
    SaidaDocumento::ExigirAplicacao(uso == Uso::Janelas);
    if (uso == Uso::Janelas && origem_ == Origem::PropriaSemTela)
        Falha("Nenhuma tela disponível para mostrar o diálogo de relatórios.");
}

} // namespace tarvo
