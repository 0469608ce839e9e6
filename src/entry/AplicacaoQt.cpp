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
#include <thread>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

bool Definida(const char* variavel) {
    const char* valor = std::getenv(variavel);
    return valor != nullptr && *valor != '\0';
}

// The one application the library may own is shared by every holder in the
// process; it goes with the last of them. `linha` is the holders' thread
// (none without holders), which stands for the application's until there is
// one.
struct RegistroAplicacao {
    std::weak_ptr<AplicacaoQt> atual;
    std::thread::id linha;
};

RegistroAplicacao& Registro() {
    static RegistroAplicacao registro;
    return registro;
}

// Guards the registry, and the application's creation and destruction, so
// that no thread sees it half made or half gone.
std::mutex& Trava() {
    static std::mutex trava;
    return trava;
}

// Whether the calling thread may use the process's Qt application: the one
// it lives on; while there is none, the holders' thread, or any when there
// is no holder either. Called with the lock held.
bool NaLinhaDaAplicacao() {
    const QCoreApplication* const aplicacao = QCoreApplication::instance();
    if (aplicacao != nullptr)
        return aplicacao->thread() == QThread::currentThread();
    const std::thread::id linha = Registro().linha;
    return linha == std::thread::id() || linha == std::this_thread::get_id();
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
    atual = Registro().atual.lock();
    if (!atual) {
        atual.reset(new AplicacaoQt());
        Registro().atual = atual;
        Registro().linha = std::this_thread::get_id();
    }
    atual->Preparar(uso);
    atual->Verificar(uso);
    return atual;
}

bool AplicacaoQt::TelaDisponivel() {
    return Definida("QT_QPA_PLATFORM") || Definida("DISPLAY") || Definida("WAYLAND_DISPLAY");
}

AplicacaoQt::AplicacaoQt() : hospedeiro_(QCoreApplication::instance() != nullptr) {
    // A host without Qt of its own does not want Qt's notes on its standard
    // error ("XDG_RUNTIME_DIR not set", font fallbacks): they are kept only
    // when asked for.
    if (!hospedeiro_ && !Definida("RELATORIOS_TARVO_DEPURAR"))
        manipuladorAnterior_ = qInstallMessageHandler(SilenciarQt);
}

void AplicacaoQt::Preparar(Uso uso) {
    // The reports and their files are drawn by the library's own layout and
    // PDF writer: loading a platform, its fonts and its plugins for them
    // would only cost time.
    if (uso == Uso::Arquivos)
        return;
    if (QCoreApplication::instance() == nullptr) {
        if (hospedeiro_)
            Falha("A aplicação Qt do processo não existe mais.");
        semTela_ = !TelaDisponivel();
        if (semTela_ && uso == Uso::Janelas)
            Falha("Nenhuma tela disponível para mostrar o diálogo de relatórios.");
        // Without a display the application runs offscreen.
        std::vector<std::string> lista = {"relatorios_tarvo"};
        if (semTela_)
            lista.insert(lista.end(), {"-platform", "offscreen"});
        argumentos_ = std::make_unique<Argumentos>(std::move(lista));
        aplicacao_ = std::make_unique<QApplication>(argumentos_->argc, argumentos_->argv.data());
        // Without a desktop's icon theme the preview's buttons take the icons
        // Debian installs with Qt's dialogs.
        if (QIcon::fromTheme(QStringLiteral("document-print")).isNull())
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    }
    if (!traduzido_) {
        traduzido_ = true;
        Traduzir();
    }
}

AplicacaoQt::~AplicacaoQt() {
    const std::lock_guard<std::mutex> trava(Trava());
    const bool naLinha = NaLinhaDaAplicacao();
    Registro().linha = std::thread::id();
    if (!naLinha && (aplicacao_ || traducao_)) {
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
    if (uso == Uso::Arquivos)
        return;
    // What kind of application each use needs is the engine's one check.
    SaidaDocumento::ExigirAplicacao(uso == Uso::Janelas);
    if (uso == Uso::Janelas && semTela_)
        Falha("Nenhuma tela disponível para mostrar o diálogo de relatórios.");
}

} // namespace tarvo
