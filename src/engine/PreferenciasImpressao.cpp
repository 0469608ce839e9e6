#include "engine/PreferenciasImpressao.h"

#include <QSettings>

namespace tarvo {

namespace {

// The library's own file, whatever names the host gave its application.
QSettings Configuracao() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("RelatoriosTarvo"), QStringLiteral("impressao"));
}

const QString chaveUltima = QStringLiteral("UltimaImpressora");

// A printer's group; the "/" of an instance ("Fila/instância") would make
// a subgroup.
QString Grupo(const std::string& impressora) {
    return QStringLiteral("Opcoes/") + QString::fromStdString(impressora).replace(u'/', u'|');
}

} // namespace

std::string PreferenciasImpressao::UltimaImpressora() {
    return Configuracao().value(chaveUltima).toString().toStdString();
}

PreferenciasImpressao::Propriedades PreferenciasImpressao::Opcoes(const std::string& impressora) {
    QSettings configuracao = Configuracao();
    configuracao.beginGroup(Grupo(impressora));
    Propriedades propriedades;
    for (const QString& chave : configuracao.childKeys())
        propriedades.emplace_back(chave.toStdString(),
                                  configuracao.value(chave).toString().toStdString());
    return propriedades;
}

void PreferenciasImpressao::Guardar(const std::string& impressora,
                                    const std::optional<Propriedades>& propriedades) {
    QSettings configuracao = Configuracao();
    configuracao.setValue(chaveUltima, QString::fromStdString(impressora));
    if (propriedades) {
        configuracao.remove(Grupo(impressora));
        configuracao.beginGroup(Grupo(impressora));
        for (const auto& [nome, valor] : *propriedades)
            configuracao.setValue(QString::fromStdString(nome), QString::fromStdString(valor));
        configuracao.endGroup();
    }
    // A file that cannot be written (status AccessError) is left as it is.
    configuracao.sync();
}

} // namespace tarvo
