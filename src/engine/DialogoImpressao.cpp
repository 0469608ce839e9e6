#include "engine/DialogoImpressao.h"

#include "engine/DialogoPropriedades.h"
#include <RelatoriosTarvo/Erro.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageRanges>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvo {

DialogoImpressao::DialogoImpressao(int total, int paginaAtual, QWidget* pai,
                                   const std::string& impressora)
    : QDialog(pai), cmbImpressora(new QComboBox(this)),
      cmdPropriedades(new QPushButton(QStringLiteral("P&ropriedades…"), this)),
      lblSituacao(new QLabel(this)), lblPropriedades(new QLabel(this)),
      optTodas(new QRadioButton(QStringLiteral("&Todas"), this)),
      optAtual(new QRadioButton(QStringLiteral("Página &atual (%1)").arg(paginaAtual), this)),
      optPaginas(new QRadioButton(QStringLiteral("&Páginas:"), this)),
      txtPaginas(new QLineEdit(this)), cmbParidade(new QComboBox(this)),
      spnCopias(new QSpinBox(this)),
      chkAgrupar(new QCheckBox(QStringLiteral("&Intercalar as cópias"), this)),
      chkInverter(new QCheckBox(QStringLiteral("Ordem in&versa"), this)), total_(total),
      paginaAtual_(paginaAtual) {
    setWindowTitle(QStringLiteral("Imprimir"));

    for (const ImpressorasCups::Situacao& destino : ImpressorasCups::Listar()) {
        const QString nome = QString::fromStdString(destino.nome);
        cmbImpressora->addItem(destino.padrao ? QStringLiteral("%1 (padrão)").arg(nome) : nome,
                               nome);
    }
    for (const std::string& preferida : {impressora, PreferenciasImpressao::UltimaImpressora()}) {
        const int indice = cmbImpressora->findData(QString::fromStdString(preferida));
        if (!preferida.empty() && indice >= 0) {
            cmbImpressora->setCurrentIndex(indice);
            break;
        }
    }
    // Room for a printer's state and options without a tall narrow column.
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
    lblSituacao->setWordWrap(true);
    lblPropriedades->setWordWrap(true);
    lblSituacao->setTextInteractionFlags(Qt::TextSelectableByMouse);

    optTodas->setChecked(true);
    optAtual->setVisible(paginaAtual > 0);
    txtPaginas->setPlaceholderText(QStringLiteral("1,3 ou 2-5"));
    txtPaginas->setToolTip(
        QStringLiteral("Páginas e intervalos separados por vírgulas, de 1 a %1").arg(total));
    // Typing a list chooses it, and choosing the list from the keyboard goes
    // on to type it.
    connect(txtPaginas, &QLineEdit::textEdited, optPaginas,
            [this] { optPaginas->setChecked(true); });
    connect(optPaginas, &QRadioButton::clicked, txtPaginas,
            [this] { txtPaginas->setFocus(Qt::OtherFocusReason); });
    cmbParidade->addItem(QStringLiteral("Todas as páginas do intervalo"));
    cmbParidade->addItem(QStringLiteral("Somente páginas ímpares"));
    cmbParidade->addItem(QStringLiteral("Somente páginas pares"));
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
    auto* paridade = new QHBoxLayout;
    auto* rotuloParidade = new QLabel(QStringLiteral("Incl&uir:"), this);
    rotuloParidade->setBuddy(cmbParidade);
    paridade->addWidget(rotuloParidade);
    paridade->addWidget(cmbParidade, 1);
    disposicaoPaginas->addLayout(paridade);

    auto* linhaImpressora = new QHBoxLayout;
    linhaImpressora->addWidget(cmbImpressora, 1);
    linhaImpressora->addWidget(cmdPropriedades);
    auto* rotuloImpressora = new QLabel(QStringLiteral("I&mpressora:"), this);
    rotuloImpressora->setBuddy(cmbImpressora);
    auto* formulario = new QFormLayout;
    formulario->addRow(rotuloImpressora, linhaImpressora);
    formulario->addRow(QStringLiteral("Situação:"), lblSituacao);
    formulario->addRow(QStringLiteral("Opções:"), lblPropriedades);
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
    disposicao->addWidget(botoes);

    // Tab goes down the dialog as it reads.
    setTabOrder(cmbImpressora, cmdPropriedades);
    setTabOrder(cmdPropriedades, spnCopias);
    setTabOrder(spnCopias, optTodas);
    setTabOrder(optTodas, optAtual);
    setTabOrder(optAtual, optPaginas);
    setTabOrder(optPaginas, txtPaginas);
    setTabOrder(txtPaginas, cmbParidade);
    setTabOrder(cmbParidade, chkAgrupar);
    setTabOrder(chkAgrupar, chkInverter);

    connect(cmbImpressora, &QComboBox::currentIndexChanged, this,
            &DialogoImpressao::ImpressoraEscolhida);
    connect(cmdPropriedades, &QPushButton::clicked, this, &DialogoImpressao::EditarPropriedades);
    ImpressoraEscolhida();
}

std::string DialogoImpressao::Impressora() const {
    return cmbImpressora->currentData().toString().toStdString();
}

std::vector<int> DialogoImpressao::Paginas() const {
    return Escolhidas(nullptr);
}

TrabalhoCups::Opcoes DialogoImpressao::Opcoes() const {
    TrabalhoCups::Opcoes opcoes;
    opcoes.copias = spnCopias->value();
    opcoes.agrupar = chkAgrupar->isChecked();
    opcoes.propriedades = propriedades_;
    return opcoes;
}

void DialogoImpressao::ImpressoraEscolhida() {
    const std::string nome = Impressora();
    cmdPropriedades->setEnabled(!nome.empty());
    opcoesImpressora_.clear();
    erroOpcoes_.clear();
    propriedades_.clear();
    if (nome.empty()) {
        lblSituacao->setText(QStringLiteral("Não há impressora instalada ou disponível."));
        lblPropriedades->clear();
        Ajustar();
        return;
    }
    // The state as it is now, not as it was when the dialog opened.
    QStringList linhas;
    for (const ImpressorasCups::Situacao& destino : ImpressorasCups::Listar()) {
        if (destino.nome != nome)
            continue;
        linhas << QString::fromStdString(
            ImpressorasCups::Descrever(destino, ImpressorasCups::Mensagem(nome)));
        if (!destino.local.empty())
            linhas << QStringLiteral("Local: %1").arg(QString::fromStdString(destino.local));
        if (!destino.descricao.empty())
            linhas << QString::fromStdString(destino.descricao);
    }
    if (linhas.isEmpty())
        linhas << QStringLiteral("A impressora não está mais disponível.");
    lblSituacao->setText(linhas.join(u'\n'));

    try {
        opcoesImpressora_ = ImpressorasCups::Opcoes(nome);
    } catch (const Erro& erro) {
        erroOpcoes_ = QString::fromStdString(erro.Descricao());
    }
    // The options remembered for this printer, as far as it still offers them.
    for (const auto& lembrada : PreferenciasImpressao::Opcoes(nome)) {
        const auto& [opcao, valor] = lembrada;
        for (const ImpressorasCups::Opcao& oferecida : opcoesImpressora_) {
            const bool oferece = oferecida.nome == opcao &&
                                 std::any_of(oferecida.escolhas.begin(), oferecida.escolhas.end(),
                                             [&lembrada](const ImpressorasCups::Escolha& e) {
                                                 return e.valor == lembrada.second;
                                             });
            if (oferece)
                propriedades_.emplace_back(opcao, valor);
        }
    }
    MostrarPropriedades();
}

void DialogoImpressao::MostrarPropriedades() {
    if (!erroOpcoes_.isEmpty()) {
        lblPropriedades->setText(erroOpcoes_);
        Ajustar();
        return;
    }
    if (opcoesImpressora_.empty()) {
        lblPropriedades->setText(QStringLiteral("A impressora não oferece opções a escolher"));
        Ajustar();
        return;
    }
    QStringList escolhidas;
    for (const ImpressorasCups::Opcao& oferecida : opcoesImpressora_) {
        for (const auto& [opcao, valor] : propriedades_) {
            for (const ImpressorasCups::Escolha& escolha : oferecida.escolhas) {
                if (oferecida.nome == opcao && escolha.valor == valor)
                    escolhidas << QString::fromStdString(escolha.rotulo);
            }
        }
    }
    lblPropriedades->setText(escolhidas.isEmpty() ? QStringLiteral("Os padrões da impressora")
                                                  : escolhidas.join(QStringLiteral("; ")));
    Ajustar();
}

void DialogoImpressao::Ajustar() {
    // Before it is shown the dialog takes its size from the layout anyway.
    if (!isVisible())
        return;
    const int largura = width();
    adjustSize();
    if (width() < largura)
        resize(largura, height());
}

void DialogoImpressao::EditarPropriedades() {
    const std::string nome = Impressora();
    if (nome.empty())
        return;
    if (!erroOpcoes_.isEmpty()) {
        // CUPS may answer now.
        try {
            opcoesImpressora_ = ImpressorasCups::Opcoes(nome);
            erroOpcoes_.clear();
        } catch (const Erro& erro) {
            QMessageBox::warning(this, QStringLiteral("Propriedades"),
                                 QString::fromStdString(erro.Descricao()));
            return;
        }
    }
    DialogoPropriedades propriedades(nome, opcoesImpressora_, propriedades_, this);
    if (propriedades.exec() == QDialog::Accepted)
        propriedades_ = propriedades.Escolhidas();
    MostrarPropriedades();
}

void DialogoImpressao::accept() {
    QString problema;
    if (Escolhidas(&problema).empty()) {
        QMessageBox::warning(this, QStringLiteral("Páginas inválidas"), problema);
        if (optPaginas->isChecked())
            txtPaginas->setFocus();
        else
            cmbParidade->setFocus();
        return;
    }
    // Options CUPS could not list now are not forgotten for it.
    PreferenciasImpressao::Guardar(
        Impressora(), erroOpcoes_.isEmpty()
                          ? std::optional<PreferenciasImpressao::Propriedades>(propriedades_)
                          : std::nullopt);
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
        if (txtPaginas->text().trimmed().isEmpty()) {
            if (problema != nullptr)
                *problema = QStringLiteral("Digite as páginas a imprimir, como em 1,3 ou 2-5.");
            return {};
        }
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
    // Odd and even are the document's own page numbers.
    const int paridade = cmbParidade->currentIndex();
    if (paridade == Impares || paridade == Pares) {
        const int resto = paridade == Impares ? 1 : 0;
        std::erase_if(paginas, [resto](int pagina) { return pagina % 2 != resto; });
        if (paginas.empty()) {
            if (problema != nullptr)
                *problema = paridade == Impares
                                ? QStringLiteral("Não há página ímpar entre as escolhidas.")
                                : QStringLiteral("Não há página par entre as escolhidas.");
            return {};
        }
    }
    if (chkInverter->isChecked())
        std::reverse(paginas.begin(), paginas.end());
    return paginas;
}

} // namespace tarvo
