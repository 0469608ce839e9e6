#include "entry/EscolhaDeclaracao.h"

#include "common/frmFiguras.h"
#include "entry/ConjuntoRelatorios.h"
#include "reports/DadosDeclaracao.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Erro.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardPaths>

#include <map>

namespace tarvo {

namespace {

const QString titulo = QStringLiteral("Relatórios da Declaração do Vantiro");

QIcon Icone() {
    return QIcon(QPixmap::fromImage(frmFiguras::imgIconeR().Imagem()));
}

// The documents folder, or the home folder where there is none.
QString PastaInicial() {
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documentos.isEmpty() && QDir(documentos).exists() ? documentos : QDir::homePath();
}

std::optional<std::string> PerguntarArquivo(const QString& pasta) {
    QFileDialog dialogo(nullptr, QStringLiteral("Abrir o banco de dados da declaração"), pasta);
    dialogo.setWindowIcon(Icone());
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setNameFilters({QStringLiteral("Bancos de dados de declarações (*.db *.sqlite "
                                           "*.sqlite3)"),
                            QStringLiteral("Todos os arquivos (*)")});
    // Portuguese even where Qt's own translation is not installed.
    dialogo.setLabelText(QFileDialog::LookIn, QStringLiteral("Examinar:"));
    dialogo.setLabelText(QFileDialog::FileName, QStringLiteral("Nome do arquivo:"));
    dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo de arquivo:"));
    dialogo.setLabelText(QFileDialog::Accept, QStringLiteral("&Abrir"));
    dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    // Room for the name, size, type and date columns.
    dialogo.resize(820, 520);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo.selectedFiles().front().toStdString();
}

void Avisar(const QString& texto, const QString& detalhe) {
    QMessageBox caixa(QMessageBox::Warning, titulo, texto, QMessageBox::Ok);
    caixa.setWindowIcon(Icone());
    caixa.setInformativeText(detalhe);
    caixa.exec();
}

QString Nome(const std::string& caminho) {
    return QFileInfo(QString::fromStdString(caminho)).fileName();
}

} // namespace

std::optional<DeclaracaoEscolhida> EscolhaDeclaracao::Escolher(ConjuntoRelatorios& conjunto,
                                                               const std::string& banco) {
    std::string caminho = banco;
    QString pasta;
    for (;;) {
        if (caminho.empty()) {
            conjunto.PrepararAplicacao(AplicacaoQt::Uso::Janelas);
            if (pasta.isEmpty())
                pasta = PastaInicial();
            const std::optional<std::string> arquivo = PerguntarArquivo(pasta);
            if (!arquivo)
                return std::nullopt;
            caminho = *arquivo;
        }
        std::optional<Erro> erro;
        try {
            const Database bancoDados(caminho);
            const std::vector<frmEscolhaDeclaracao::Linha> linhas =
                DadosDeclaracao::Declaracoes(bancoDados);
            if (linhas.size() == 1)
                return DeclaracaoEscolhida{caminho, linhas.front().declaracao, linhas.front().ie};
            if (!linhas.empty()) {
                conjunto.PrepararAplicacao(AplicacaoQt::Uso::Janelas);
                frmEscolhaDeclaracao dialogo(caminho, linhas);
                dialogo.exec();
                const frmEscolhaDeclaracao::Linha* const escolhida = dialogo.Escolhida();
                if (escolhida == nullptr)
                    return std::nullopt;
                return DeclaracaoEscolhida{caminho, escolhida->declaracao, escolhida->ie};
            }
            erro = Erro(Erro::SemRegistroAtual,
                        caminho + ": não há nenhuma declaração no arquivo (a tabela "
                                  "tblDeclaração está vazia)");
        } catch (const Erro& levantado) {
            erro = levantado;
        }
        // The file cannot be used: said in a message, and the file dialog
        // asks again from its folder. Without a display, the file's own
        // error is the answer.
        try {
            conjunto.PrepararAplicacao(AplicacaoQt::Uso::Janelas);
        } catch (const Erro&) {
            throw *erro;
        }
        Avisar(QStringLiteral("Não foi possível abrir uma declaração do arquivo \"%1\".")
                   .arg(Nome(caminho)),
               QStringLiteral("erro %1%2: %3")
                   .arg(erro->Numero())
                   .arg(erro->DoSqlite() ? QStringLiteral(" (SQLite)") : QString())
                   .arg(QString::fromStdString(erro->Descricao())));
        pasta = QFileInfo(QString::fromStdString(caminho)).absolutePath();
        caminho.clear();
    }
}

} // namespace tarvo
