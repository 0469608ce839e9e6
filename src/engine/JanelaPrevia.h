#pragma once

#include "engine/LocalizadorTexto.h"

#include <QByteArray>
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
class QStackedWidget;

namespace tarvo {

class Documento;
class ModeloMiniaturas;
class VistaPaginas;

// The preview window of one engine: the pages in one continuous scroll,
// thumbnails, find, zoom, dragging with the hand, full screen, printing and
// saving as PDF. Every action is in the menu bar; printing and saving lead
// the tool bar, so a narrow window never hides them. The window's place, the
// zoom, the thumbnails and the folder of the last PDF are remembered between
// runs (PreferenciasPrevia).
class JanelaPrevia : public QMainWindow {
    Q_OBJECT

public:
    JanelaPrevia();
    ~JanelaPrevia() override;

    // Shows `documento` (a snapshot that no longer changes) and brings the
    // window to the front. The first time, and when the orientation
    // changes, the window takes the place it last had for that orientation,
    // or else a size that suits the page on this screen.
    void Mostrar(std::shared_ptr<const Documento> documento);

    int PaginaAtual() const;
    void IrParaPagina(int pagina);

    // A file name for saving a document with this title, safe on every
    // system: no / \ : * ? " < > | or control characters, no leading or
    // trailing spaces or dots, no device name, never empty.
    static QString NomeSugerido(const std::string& titulo);

    // Places windows in a cascade within their screen's free area, shrunk
    // where needed so that none runs off it and every title stays in sight,
    // with the first in front. One preview alone keeps the place it
    // remembered.
    static void Cascata(const std::vector<QWidget*>& janelas);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;

private:
    void CriarAcoes();
    void CriarMenus();
    void CriarBarra();
    void CriarBusca();
    void CriarMiniaturas();
    void AtualizarControles();
    void AtualizarZoom();
    void AplicarZoomDigitado();
    void IrParaPaginaDigitada();
    void Dimensionar();
    void AlternarTelaCheia();
    void Escapar();
    void GuardarPreferencias();
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
    // The window took a place remembered from an earlier run.
    bool lembrada_ = false;
    bool miniaturasLembradas_ = false;
    // The geometry before full screen, which is what is remembered.
    QByteArray geometriaNormal_;
    // Marking the current page's thumbnail, as opposed to the user moving
    // through the thumbnails.
    bool marcandoMiniatura_ = false;
    // Saving or printing, which let events run: neither starts again inside.
    bool ocupada_ = false;

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
    QLineEdit* numeroPagina_ = nullptr;
    QLabel* totalPaginas_ = nullptr;
    QComboBox* escolhaZoom_ = nullptr;
    QAction* imprimir_ = nullptr;
    QAction* salvar_ = nullptr;
    QAction* fechar_ = nullptr;
    QAction* copiar_ = nullptr;
    QAction* selecionarTudo_ = nullptr;
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
    QAction* mao_ = nullptr;
    QAction* telaCheia_ = nullptr;
};

} // namespace tarvo
