#include "entry/frmEscolhaDeclaracao.h"

#include "common/frmFiguras.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvo {

namespace {

enum Coluna { Numero, Contribuinte, IE, Exercicio, Colunas };

} // namespace

frmEscolhaDeclaracao::frmEscolhaDeclaracao(const std::string& arquivo, std::vector<Linha> linhas)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      lblArquivo(new QLabel(this)), lstDeclaracoes(new QTreeWidget(this)),
      cmdAbrir(new QPushButton(QStringLiteral("&Abrir"), this)),
      cmdCancelar(new QPushButton(QStringLiteral("Cancelar"), this)), linhas_(std::move(linhas)) {
    setWindowTitle(QStringLiteral("Escolha da Declaração"));
    setWindowIcon(QIcon(QPixmap::fromImage(frmFiguras::imgIconeR().Imagem())));

    const QString nome = QFileInfo(QString::fromStdString(arquivo)).fileName();
    lblArquivo->setText(QStringLiteral("O arquivo \"%1\" tem %2 declarações. Escolha a que deseja "
                                       "abrir:")
                            .arg(nome)
                            .arg(linhas_.size()));
    lblArquivo->setToolTip(QString::fromStdString(arquivo));
    lblArquivo->setWordWrap(true);
    lblArquivo->setBuddy(lstDeclaracoes);

    lstDeclaracoes->setColumnCount(Colunas);
    lstDeclaracoes->setHeaderLabels({QStringLiteral("Declaração"), QStringLiteral("Contribuinte"),
                                     QStringLiteral("IE"), QStringLiteral("Exercício")});
    lstDeclaracoes->setRootIsDecorated(false);
    lstDeclaracoes->setUniformRowHeights(true);
    lstDeclaracoes->setAllColumnsShowFocus(true);
    lstDeclaracoes->setAlternatingRowColors(true);
    lstDeclaracoes->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const Linha& linha : linhas_) {
        auto* const item = new QTreeWidgetItem(lstDeclaracoes);
        item->setText(Numero, QString::number(linha.declaracao));
        item->setText(Contribuinte, QString::fromStdString(linha.contribuinte));
        item->setText(IE, QString::fromStdString(linha.ie));
        item->setText(Exercicio, QString::fromStdString(linha.exercicio));
        item->setTextAlignment(Numero, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(Exercicio, Qt::AlignRight | Qt::AlignVCenter);
    }
    // Numbers line up on the right, their headings too.
    lstDeclaracoes->headerItem()->setTextAlignment(Numero, Qt::AlignRight | Qt::AlignVCenter);
    lstDeclaracoes->headerItem()->setTextAlignment(Exercicio, Qt::AlignRight | Qt::AlignVCenter);
    QHeaderView* const cabecalho = lstDeclaracoes->header();
    cabecalho->setStretchLastSection(false);
    cabecalho->setSectionResizeMode(QHeaderView::ResizeToContents);
    cabecalho->setSectionResizeMode(Contribuinte, QHeaderView::Stretch);
    if (lstDeclaracoes->topLevelItemCount() > 0)
        lstDeclaracoes->setCurrentItem(lstDeclaracoes->topLevelItem(0));

    cmdAbrir->setDefault(true);
    auto* const botoes = new QDialogButtonBox(this);
    botoes->addButton(cmdAbrir, QDialogButtonBox::AcceptRole);
    botoes->addButton(cmdCancelar, QDialogButtonBox::RejectRole);
    connect(botoes, &QDialogButtonBox::accepted, this, &frmEscolhaDeclaracao::cmdAbrir_Click);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter in the list reaches the default button; a double click opens the
    // row clicked.
    connect(lstDeclaracoes, &QTreeWidget::itemDoubleClicked, this,
            &frmEscolhaDeclaracao::cmdAbrir_Click);

    auto* const layout = new QVBoxLayout(this);
    layout->addWidget(lblArquivo);
    layout->addWidget(lstDeclaracoes);
    layout->addWidget(botoes);
    resize(620, 340);
    lstDeclaracoes->setFocus();
}

frmEscolhaDeclaracao::~frmEscolhaDeclaracao() = default;

const frmEscolhaDeclaracao::Linha* frmEscolhaDeclaracao::Escolhida() const {
    return escolhida_ < 0 ? nullptr : &linhas_[static_cast<size_t>(escolhida_)];
}

void frmEscolhaDeclaracao::cmdAbrir_Click() {
    const int linha = lstDeclaracoes->indexOfTopLevelItem(lstDeclaracoes->currentItem());
    if (linha < 0)
        return;
    escolhida_ = linha;
    accept();
}

} // namespace tarvo
