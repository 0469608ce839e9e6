#include "engine/DialogoImpressao.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageRanges>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvo {

DialogoImpressao::DialogoImpressao(int total, int paginaAtual, QWidget* pai)
    : QDialog(pai), cmbImpressora(new QComboBox(this)),
      optTodas(new QRadioButton(QStringLiteral("&Todas"), this)),
      optAtual(new QRadioButton(QStringLiteral("Página &atual (%1)").arg(paginaAtual), this)),
      optPaginas(new QRadioButton(QStringLiteral("&Páginas:"), this)),
      txtPaginas(new QLineEdit(this)), spnCopias(new QSpinBox(this)),
      chkAgrupar(new QCheckBox(QStringLiteral("&Intercalar as cópias"), this)),
      chkInverter(new QCheckBox(QStringLiteral("Ordem &inversa"), this)),
      chkFrenteVerso(new QCheckBox(QStringLiteral("&Frente e verso"), this)), total_(total),
      paginaAtual_(paginaAtual) {
    setWindowTitle(QStringLiteral("Imprimir"));

    const std::string padrao = TrabalhoCups::ImpressoraPadrao();
    if (!padrao.empty())
        cmbImpressora->addItem(QString::fromStdString(padrao));
    for (const std::string& nome : TrabalhoCups::Impressoras()) {
        if (nome != padrao)
            cmbImpressora->addItem(QString::fromStdString(nome));
    }

    optTodas->setChecked(true);
    optAtual->setVisible(paginaAtual > 0);
    txtPaginas->setPlaceholderText(QStringLiteral("1,3 ou 2-5"));
    txtPaginas->setToolTip(
        QStringLiteral("Páginas e intervalos separados por vírgulas, de 1 a %1").arg(total));
    // Typing a list chooses it.
    connect(txtPaginas, &QLineEdit::textEdited, optPaginas,
            [this] { optPaginas->setChecked(true); });
    spnCopias->setRange(1, 999);
    chkAgrupar->setChecked(true);

    auto* paginas = new QGroupBox(QStringLiteral("Páginas (o relatório tem %1)").arg(total), this);
    auto* disposicaoPaginas = new QVBoxLayout(paginas);
    disposicaoPaginas->addWidget(optTodas);
    disposicaoPaginas->addWidget(optAtual);
    auto* lista = new QHBoxLayout;
    lista->addWidget(optPaginas);
    lista->addWidget(txtPaginas, 1);
    disposicaoPaginas->addLayout(lista);

    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("I&mpressora:"), cmbImpressora);
    formulario->addRow(QStringLiteral("&Cópias:"), spnCopias);

    auto* botoes = new QDialogButtonBox(this);
    botoes->addButton(QStringLiteral("Imprimir"), QDialogButtonBox::AcceptRole)->setDefault(true);
    botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(botoes, &QDialogButtonBox::accepted, this, &DialogoImpressao::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &DialogoImpressao::reject);

    auto* disposicao = new QVBoxLayout(this);
    disposicao->addLayout(formulario);
    disposicao->addWidget(paginas);
    disposicao->addWidget(chkAgrupar);
    disposicao->addWidget(chkInverter);
    disposicao->addWidget(chkFrenteVerso);
    disposicao->addWidget(botoes);
}

std::string DialogoImpressao::Impressora() const {
    return cmbImpressora->currentText().toStdString();
}

std::vector<int> DialogoImpressao::Paginas() const {
    return Escolhidas(nullptr);
}

TrabalhoCups::Opcoes DialogoImpressao::Opcoes() const {
    TrabalhoCups::Opcoes opcoes;
    opcoes.copias = spnCopias->value();
    opcoes.agrupar = chkAgrupar->isChecked();
    if (chkFrenteVerso->isChecked())
        opcoes.lados = "two-sided-long-edge";
    return opcoes;
}

void DialogoImpressao::accept() {
    QString problema;
    if (Escolhidas(&problema).empty()) {
        QMessageBox::warning(this, QStringLiteral("Páginas inválidas"), problema);
        txtPaginas->setFocus();
        return;
    }
    QDialog::accept();
}

std::vector<int> DialogoImpressao::Escolhidas(QString* problema) const {
    std::vector<int> paginas;
    const auto incluir = [&](int de, int ate) {
        for (int pagina = std::max(de, 1); pagina <= std::min(ate, total_); ++pagina)
            paginas.push_back(pagina);
    };
    if (optPaginas->isChecked()) {
        const QPageRanges faixas = QPageRanges::fromString(txtPaginas->text().remove(u' '));
        if (faixas.isEmpty() || faixas.firstPage() < 1) {
            if (problema != nullptr)
                *problema = QStringLiteral("\u201c%1\u201d não é uma lista de páginas. Use "
                                           "vírgulas entre páginas e intervalos e um hífen em "
                                           "cada intervalo, como em 1,3 ou 2-5.")
                                .arg(txtPaginas->text());
            return {};
        }
        if (faixas.lastPage() > total_) {
            if (problema != nullptr)
                *problema = QStringLiteral("A página %1 não existe: o relatório tem %2.")
                                .arg(faixas.lastPage())
                                .arg(total_);
            return {};
        }
        for (const QPageRanges::Range& faixa : faixas.toRangeList())
            incluir(faixa.from, faixa.to);
    } else if (optAtual->isChecked() && paginaAtual_ > 0) {
        incluir(paginaAtual_, paginaAtual_);
    } else {
        incluir(1, total_);
    }
    if (chkInverter->isChecked())
        std::reverse(paginas.begin(), paginas.end());
    return paginas;
}

} // namespace tarvo
