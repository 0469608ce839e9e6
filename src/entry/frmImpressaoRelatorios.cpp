#include "entry/frmImpressaoRelatorios.h"

#include "common/frmFiguras.h"

#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace tarvo {

namespace {

// "MS Sans Serif" 8.25 pt bold; where it is missing the system's sans serif
// stands in.
QFont FonteSistema() {
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPointSizeF(8.25);
    fonte.setBold(true);
    return fonte;
}

// "Arial" 9 pt bold, or its metric twin Liberation Sans.
QFont FonteBotao() {
    QFont fonte;
    fonte.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPointSizeF(9);
    fonte.setBold(true);
    return fonte;
}

QPushButton* NovoBotao(QWidget* pai, const char* nome, const char* texto) {
    QPushButton* const botao = new QPushButton(QString::fromUtf8(texto), pai);
    botao->setObjectName(QString::fromUtf8(nome));
    botao->setFont(FonteBotao());
    // Neither Enter nor Esc may press a button of this dialog.
    botao->setAutoDefault(false);
    botao->setDefault(false);
    return botao;
}

} // namespace

frmImpressaoRelatorios::frmImpressaoRelatorios()
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      Label1(new QLabel(QStringLiteral("Seleção de Relatórios"), this)),
      lstSelecao(new QListWidget(this)),
      cmdSelecionarTodos(
          NovoBotao(this, "cmdSelecionarTodos", "Selecionar / Limpar Todos os Relatórios")),
      cmdVisualizar(NovoBotao(this, "cmdVisualizar", "Visualizar Relatórios Selecionados")),
      cmdImprimir(NovoBotao(this, "cmdImprimir", "Imprimir Relatórios Selecionados")) {
    setObjectName(QStringLiteral("frmImpressaoRelatorios"));
    setWindowTitle(QStringLiteral("Impressão de Relatórios"));
    setWindowIcon(QIcon(QPixmap::fromImage(frmFiguras::imgIconeR().Imagem())));
    setFixedSize(537, 289);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(FonteSistema());
    // The label is sized to its text, whatever the fallback font measures.
    Label1->move(8, 8);
    Label1->adjustSize();

    lstSelecao->setObjectName(QStringLiteral("lstSelecao"));
    lstSelecao->setFont(FonteSistema());
    lstSelecao->setGeometry(8, 24, 521, 154);
    // A click toggles one item; any number may be selected.
    lstSelecao->setSelectionMode(QAbstractItemView::MultiSelection);

    cmdSelecionarTodos->setGeometry(8, 192, 521, 25);
    cmdVisualizar->setGeometry(8, 224, 521, 25);
    cmdImprimir->setGeometry(8, 256, 521, 25);

    setTabOrder(cmdVisualizar, cmdImprimir);
    setTabOrder(cmdImprimir, lstSelecao);
    setTabOrder(lstSelecao, cmdSelecionarTodos);
    cmdVisualizar->setFocus();

    connect(cmdSelecionarTodos, &QPushButton::clicked, this,
            &frmImpressaoRelatorios::cmdSelecionarTodos_Click);
    connect(cmdVisualizar, &QPushButton::clicked, this,
            &frmImpressaoRelatorios::cmdVisualizar_Click);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmImpressaoRelatorios::cmdImprimir_Click);

    const QRect tela = screen()->availableGeometry();
    move(tela.center() - rect().center());
}

frmImpressaoRelatorios::~frmImpressaoRelatorios() = default;

void frmImpressaoRelatorios::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

// Clears the list only when every item is already selected; otherwise
// selects them all.
void frmImpressaoRelatorios::cmdSelecionarTodos_Click() {
    bool todosSelecionados = true;
    for (int i = 0; i < lstSelecao->count(); ++i) {
        if (!lstSelecao->item(i)->isSelected()) {
            todosSelecionados = false;
            break;
        }
    }
    for (int i = 0; i < lstSelecao->count(); ++i)
        lstSelecao->item(i)->setSelected(!todosSelecionados);
}

// Hiding ends the modal display; the dialog stays loaded so that its owner
// can still read the selection.
void frmImpressaoRelatorios::cmdVisualizar_Click() {
    lngModoSaida = 1;
    hide();
}

void frmImpressaoRelatorios::cmdImprimir_Click() {
    lngModoSaida = 2;
    hide();
}

} // namespace tarvo
