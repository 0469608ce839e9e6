#include "engine/DialogoPropriedades.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace tarvo {

DialogoPropriedades::DialogoPropriedades(const std::string& impressora,
                                         std::vector<ImpressorasCups::Opcao> opcoes,
                                         const PreferenciasImpressao::Propriedades& escolhidas,
                                         QWidget* pai)
    : QDialog(pai), cmdPadroes(new QPushButton(QStringLiteral("Pa&drões da impressora"), this)),
      opcoes_(std::move(opcoes)) {
    const QString nome = QString::fromStdString(impressora);
    setWindowTitle(QStringLiteral("Propriedades de %1").arg(nome));

    auto* disposicao = new QVBoxLayout(this);
    auto* formulario = new QFormLayout;
    disposicao->addLayout(formulario);
    for (const ImpressorasCups::Opcao& opcao : opcoes_) {
        auto* campo = new QComboBox(this);
        for (const ImpressorasCups::Escolha& escolha : opcao.escolhas)
            campo->addItem(QString::fromStdString(escolha.rotulo),
                           QString::fromStdString(escolha.valor));
        Selecionar(campo, opcao.padrao);
        for (const auto& [chave, valor] : escolhidas) {
            if (chave == opcao.nome)
                Selecionar(campo, valor);
        }
        // Every label starts with a letter of its own: "&Papel", "&Cor", …
        formulario->addRow(QStringLiteral("&") + QString::fromStdString(opcao.rotulo) + u':',
                           campo);
        campos_.push_back(campo);
    }
    auto* nota = new QLabel(
        opcoes_.empty()
            ? QStringLiteral("A impressora \u201c%1\u201d não oferece opções ao programa.")
                  .arg(nome)
            : QStringLiteral("Cada página sai na orientação do seu relatório."),
        this);
    nota->setWordWrap(true);
    disposicao->addWidget(nota);

    auto* botoes = new QDialogButtonBox(this);
    botoes->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    botoes->addButton(cmdPadroes, QDialogButtonBox::ResetRole);
    cmdPadroes->setVisible(!opcoes_.empty());
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdPadroes, &QPushButton::clicked, this, [this] {
        for (size_t i = 0; i < opcoes_.size(); ++i)
            Selecionar(campos_[i], opcoes_[i].padrao);
    });
    disposicao->addWidget(botoes);
}

void DialogoPropriedades::Selecionar(QComboBox* campo, const std::string& valor) {
    const int indice = campo->findData(QString::fromStdString(valor));
    if (indice >= 0)
        campo->setCurrentIndex(indice);
}

PreferenciasImpressao::Propriedades DialogoPropriedades::Escolhidas() const {
    PreferenciasImpressao::Propriedades escolhidas;
    for (size_t i = 0; i < opcoes_.size(); ++i)
        escolhidas.emplace_back(opcoes_[i].nome,
                                campos_[i]->currentData().toString().toStdString());
    return escolhidas;
}

QComboBox* DialogoPropriedades::Campo(const std::string& nome) const {
    for (size_t i = 0; i < opcoes_.size(); ++i) {
        if (opcoes_[i].nome == nome)
            return campos_[i];
    }
    return nullptr;
}

} // namespace tarvo
