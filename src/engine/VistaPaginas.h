#pragma once

#include "engine/CacheBlocos.h"

#include <QAbstractScrollArea>
#include <QPointF>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tarvo {

class Documento;
class Leiaute;
class SelecaoTexto;
class Renderizador;

// All pages of a document in one vertical scroll, with a gap and a shadow
// between them. Only what is in view is drawn, in tiles rendered from the
// record at the zoom's resolution and kept in a bounded cache, plus a little
// ahead in the direction of scrolling; so memory stays bounded at any zoom
// and screen scale, and a document of thousands of pages opens at once.
// Tiles are painted in device pixels, so they match the page image of the
// same resolution pixel for pixel.
class VistaPaginas : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class Ajuste { Largura, Pagina, Fixo };

    // Zoom 1.0 is the paper's real size on this screen.
    static constexpr double zoomMinimo = 0.1;
    static constexpr double zoomMaximo = 4.0;
    // Logical pixels around and between pages.
    static constexpr int margem = 12;
    // Bytes of rendered tiles kept.
    static constexpr size_t orcamentoBlocos = size_t{48} << 20;

    explicit VistaPaginas(QWidget* pai = nullptr);
    ~VistaPaginas() override;

    // Shows a document from its first page, its texts as `leiaute` lays
    // them out (shared with the thumbnails and find).
    void DefinirDocumento(std::shared_ptr<const Documento> documento,
                          std::shared_ptr<Leiaute> leiaute);
    int NumeroPaginas() const;

    // The zoom levels the zoom steps go through.
    static const std::vector<double>& Niveis();
    // The next level strictly above (passo > 0) or below `atual`; `atual`
    // itself when there is none.
    static double NivelSeguinte(double atual, int passo);

    Ajuste ModoAjuste() const { return ajuste_; }
    void DefinirAjuste(Ajuste ajuste);
    // A fixed zoom, keeping the document point at `ancora` (viewport
    // coordinates) in place; without it, the top of the current page.
    void DefinirZoom(double zoom, std::optional<QPointF> ancora = std::nullopt);
    void MudarZoom(int passo, std::optional<QPointF> ancora = std::nullopt);
    // The zoom shown, fitting modes included.
    double Zoom() const;

    // The page most in view (or the one just gone to), from 1; 0 when empty.
    int PaginaAtual() const { return paginaAtual_; }
    void IrParaPagina(int pagina);
    void IrParaInicio();
    void IrParaFim();
    // Scrolls the least that brings an area of a page (centimetres from the
    // sheet's corner) into view, centring it when it was out of view.
    void MostrarArea(int pagina, const QRectF& areaCm);

    // With the hand on, the left button drags the pages; the middle button
    // always does.
    void DefinirMao(bool mao);
    bool Mao() const { return mao_; }

    // Highlights: the rectangles (centimetres) to mark on a page, and the one
    // hit that is current.
    using Destaques = std::function<std::vector<QRectF>(int pagina)>;
    void DefinirDestaques(Destaques destaques, int paginaAtual = 0,
                          const std::vector<QRectF>& atual = {});

    // Text selected with the left button (without the hand), as the page
    // shows it; copied to the clipboard by Copiar.
    QString TextoSelecionado() const;
    void Copiar() const;
    // Every character of the current page.
    void SelecionarTudo();

    // Where a page is, in viewport coordinates (logical pixels).
    QRectF RetanguloPagina(int pagina) const;
    // The resolution pages are rendered at, in dots per inch.
    int Dpi() const { return dpi_; }
    const CacheBlocos& Blocos() const { return blocos_; }

signals:
    void PaginaMudou(int pagina);
    void ZoomMudou();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // A document point as page and fraction of the page, held at a viewport
    // point while the zoom changes.
    struct Ancora {
        int pagina;
        double fx;
        double fy;
        QPointF ponto;
    };
    struct Grade {
        int largura; // tile size in device pixels
        int altura;
        int colunas;
        int linhas;
    };

    QSizeF PapelLogico() const; // the sheet at zoom 1.0, logical pixels
    double ZoomAjustado() const;
    void Reorganizar(std::optional<Ancora> ancora);
    Ancora AncoraEm(QPointF ponto) const;
    Ancora AncoraPadrao() const;
    void Restaurar(const Ancora& ancora);
    void AtualizarBarras();
    void AtualizarPaginaAtual();
    void Rolar(int valor, int alvo);
    double Topo(int pagina) const; // in content coordinates
    double EsquerdaConteudo() const;
    int PaginaEm(double y) const;
    Grade GradeBlocos() const;
    QRect AreaBloco(const Grade& grade, int coluna, int linha) const;
    const QImage& Bloco(int pagina, int coluna, int linha);
    QImage Renderizar(int pagina, const QRect& area);
    QRectF ParaVista(int pagina, const QRectF& areaCm) const;
    void AdiantarBlocos();
    void AtualizarCursor();
    std::pair<int, QPointF> PontoNaPagina(const QPointF& ponto) const;

    std::shared_ptr<const Documento> documento_;
    std::unique_ptr<Renderizador> renderizador_;
    Ajuste ajuste_ = Ajuste::Largura;
    double zoomFixo_ = 1.0;
    double zoom_ = 1.0;    // in effect
    int dpi_ = 96;         // device dots per inch of the rendered pages
    QSize tamanhoPagina_;  // device pixels
    QSizeF tamanhoLogico_; // logical pixels
    double dpr_ = 1.0;
    int paginaAtual_ = 0;
    int alvo_ = 0; // the page gone to, while the view stays there
    int valorAlvo_ = -1;
    int direcao_ = 1; // of the last scroll, for the tiles ahead
    int rodaAcumulada_ = 0;
    CacheBlocos blocos_;
    QTimer adiantar_;
    Destaques destaques_;
    int paginaDestaque_ = 0;
    std::vector<QRectF> destaqueAtual_;
    bool mao_ = false;
    // The button that drags the pages, and the last point it was at.
    Qt::MouseButton arrasto_ = Qt::NoButton;
    QPoint pontoArrasto_;
    std::unique_ptr<SelecaoTexto> selecao_;
    bool selecionando_ = false;
};

} // namespace tarvo
