#include "engine/Fontes.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

#include <array>
#include <mutex>
#include <utility>

namespace tarvo {

namespace {

const std::array<std::pair<const char*, const char*>, 3> equivalentes = {{
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
}};

std::mutex trava;
// Whether the application that exists now has the fonts.
bool registradas = false;

} // namespace

// Application fonts belong to the Qt application they were added to: the
// library's own, made again for a later call (maybe on another thread),
// needs them again.
void Fontes::Registrar() {
    const std::lock_guard<std::mutex> guarda(trava);
    if (registradas)
        return;
    QGuiApplication* const aplicacao = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (aplicacao == nullptr)
        return;
    const QDir pasta("/usr/share/fonts/truetype/liberation2");
    for (const QString& arquivo : pasta.entryList({"*.ttf"}, QDir::Files)) {
        QFontDatabase::addApplicationFont(pasta.filePath(arquivo));
    }
    for (const auto& [nome, familia] : equivalentes) {
        QFont::insertSubstitution(nome, familia);
    }
    registradas = true;
    QObject::connect(aplicacao, &QObject::destroyed, [] {
        const std::lock_guard<std::mutex> guarda(trava);
        registradas = false;
    });
}

QString Fontes::Familia(std::string_view nome) {
    const QString texto = QString::fromUtf8(nome.data(), static_cast<qsizetype>(nome.size()));
    for (const auto& [original, familia] : equivalentes) {
        if (texto.compare(QLatin1String(original), Qt::CaseInsensitive) == 0) {
            return QString::fromLatin1(familia);
        }
    }
    return texto;
}

} // namespace tarvo
