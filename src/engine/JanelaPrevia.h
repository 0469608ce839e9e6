#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace tarvo {

class Documento;
class PaginaPrevia;
class Renderizador;

// The preview window of one engine: page navigation, zoom, printing and
// saving as PDF. Only the page in view is rendered, from the record, so a
// document of thousands of pages opens at once and costs one page image.
class JanelaPrevia : public QMainWindow {
    Q_OBJECT

public:
    JanelaPrevia();
    ~JanelaPrevia() override;

    // Shows `documento` (a snapshot that no longer changes) and brings the
    // window to the front.
    void Mostrar(std::shared_ptr<const Documento> documento);

    int PaginaAtual() const { return pagina_; }
    void IrParaPagina(int pagina);

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    enum class Ajuste { Largura, Pagina, Fixo };

    void CriarBarra();
    void AtualizarControles();
    void Renderizar();
    double Zoom() const;
    void DefinirZoom(Ajuste ajuste, double zoom);
    void MudarZoom(int passo);
    void Imprimir();
    void SalvarPdf();
    void Tentar(const std::function<void()>& acao);

    std::shared_ptr<const Documento> documento_;
    std::unique_ptr<Renderizador> renderizador_;
    int pagina_ = 1;
    Ajuste ajuste_ = Ajuste::Largura;
    double zoom_ = 1.0;
    QTimer reajuste_;

    // Widgets owned by the window.
    QScrollArea* rolagem_ = nullptr;
    PaginaPrevia* folha_ = nullptr;
    QSpinBox* numeroPagina_ = nullptr;
    QLabel* totalPaginas_ = nullptr;
    QComboBox* escolhaZoom_ = nullptr;
    QAction* primeira_ = nullptr;
    QAction* anterior_ = nullptr;
    QAction* proxima_ = nullptr;
    QAction* ultima_ = nullptr;
    QAction* imprimir_ = nullptr;
    QAction* salvar_ = nullptr;
};

} // namespace tarvo
