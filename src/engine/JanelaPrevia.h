#pragma once

#include "engine/LocalizadorTexto.h"

#include <QDateTime>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QListView;
class QSpinBox;
class QStackedWidget;

namespace tarvo {

class Documento;
class ModeloMiniaturas;
class VistaPaginas;

// The preview window of one engine: the pages in one continuous scroll,
// thumbnails, find, zoom, printing and saving as PDF. Every action is in the
// menu bar; printing and saving lead the tool bar, so a narrow window never
// hides them.
class JanelaPrevia : public QMainWindow {
    Q_OBJECT

public:
    JanelaPrevia();
    ~JanelaPrevia() override;

    // Shows `documento` (a snapshot that no longer changes) and brings the
    // window to the front. The first time, and when the orientation
    // changes, the window takes a size that suits the page on this screen.
    void Mostrar(std::shared_ptr<const Documento> documento);

    int PaginaAtual() const;
    void IrParaPagina(int pagina);

    // A file name for saving a document with this title, safe on every
    // system: no / \ : * ? " < > | or control characters, no leading or
    // trailing spaces or dots, no device name, never empty.
    static QString NomeSugerido(const std::string& titulo);

    // Places windows in a cascade within their screen's free area, shrunk
    // where needed so that none runs off it and every title stays in sight,
    // with the first in front.
    static void Cascata(const std::vector<QWidget*>& janelas);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CriarAcoes();
    void CriarMenus();
    void CriarBarra();
    void CriarBusca();
    void CriarMiniaturas();
    void AtualizarControles();
    void AtualizarZoom();
    void AplicarZoomDigitado();
    void Dimensionar();
    void Imprimir();
    void SalvarPdf();
    void AbrirBusca();
    void FecharBusca();
    void Buscar();
    void Avancar(int passo);
    void MostrarOcorrencia();
    const std::vector<QRectF>& RetangulosDaPagina(int pagina);
    void Tentar(const std::function<void()>& acao);

    std::shared_ptr<const Documento> documento_;
    QDateTime momento_;
    std::unique_ptr<LocalizadorTexto> localizador_;
    bool paisagem_ = false;
    bool dimensionada_ = false;

    // Find: the hits of the term searched, the current one, and the
    // highlight rectangles of the pages shown so far.
    QString termo_;
    std::vector<LocalizadorTexto::Ocorrencia> ocorrencias_;
    int atual_ = -1;
    std::map<int, std::vector<QRectF>> retangulos_;
    QTimer buscaAdiada_;

    // Widgets and actions owned by the window.
    VistaPaginas* vista_ = nullptr;
    QStackedWidget* pilha_ = nullptr;
    QLabel* vazio_ = nullptr;
    ModeloMiniaturas* modelo_ = nullptr;
    QListView* miniaturas_ = nullptr;
    QDockWidget* painelMiniaturas_ = nullptr;
    QWidget* barraBusca_ = nullptr;
    QLineEdit* campoBusca_ = nullptr;
    QLabel* resultadoBusca_ = nullptr;
    QSpinBox* numeroPagina_ = nullptr;
    QLabel* totalPaginas_ = nullptr;
    QComboBox* escolhaZoom_ = nullptr;
    QAction* imprimir_ = nullptr;
    QAction* salvar_ = nullptr;
    QAction* fechar_ = nullptr;
    QAction* localizar_ = nullptr;
    QAction* proximaOcorrencia_ = nullptr;
    QAction* ocorrenciaAnterior_ = nullptr;
    QAction* mostrarMiniaturas_ = nullptr;
    QAction* primeira_ = nullptr;
    QAction* anterior_ = nullptr;
    QAction* proxima_ = nullptr;
    QAction* ultima_ = nullptr;
    QAction* reduzir_ = nullptr;
    QAction* ampliar_ = nullptr;
    QAction* tamanhoReal_ = nullptr;
    QAction* ajustarLargura_ = nullptr;
    QAction* paginaInteira_ = nullptr;
};

} // namespace tarvo
