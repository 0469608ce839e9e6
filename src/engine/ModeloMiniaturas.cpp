#include "engine/ModeloMiniaturas.h"

#include "engine/Documento.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"

#include <cmath>

namespace tarvo {

namespace {

// Kilobytes of thumbnails kept: a few screenfuls of the side panel.
constexpr int kilobytesMiniaturas = 8 * 1024;

} // namespace

ModeloMiniaturas::ModeloMiniaturas(QObject* pai)
    : QAbstractListModel(pai), cache_(kilobytesMiniaturas) {}

ModeloMiniaturas::~ModeloMiniaturas() = default;

void ModeloMiniaturas::DefinirDocumento(std::shared_ptr<const Documento> documento,
                                        std::shared_ptr<Leiaute> leiaute, double razaoPixels) {
    beginResetModel();
    cache_.clear();
    renderizador_ = std::make_unique<Renderizador>(std::move(leiaute));
    documento_ = std::move(documento);
    razaoPixels_ = razaoPixels;
    const double polegadas = Renderizador::TamanhoPapel(*documento_).width() / 2.54;
    dpi_ = std::max(1, static_cast<int>(std::floor(largura * razaoPixels_ / polegadas)));
    endResetModel();
}

QSize ModeloMiniaturas::Tamanho() const {
    if (!documento_) {
        return QSize(largura, largura);
    }
    const QSizeF papel = Renderizador::TamanhoPapel(*documento_) / 2.54 * dpi_ / razaoPixels_;
    return papel.toSize();
}

int ModeloMiniaturas::rowCount(const QModelIndex& pai) const {
    return pai.isValid() || !documento_ ? 0 : documento_->NumeroPaginas();
}

QVariant ModeloMiniaturas::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid() || indice.row() >= rowCount()) {
        return {};
    }
    const int pagina = indice.row() + 1;
    switch (papel) {
    case Qt::DisplayRole:
        return QString::number(pagina);
    case Qt::ToolTipRole:
        return QStringLiteral("Página %1").arg(pagina);
    case Qt::DecorationRole:
        return Miniatura(pagina);
    case Qt::TextAlignmentRole:
        return Qt::AlignCenter;
    default:
        return {};
    }
}

QPixmap ModeloMiniaturas::Miniatura(int pagina) const {
    if (const QPixmap* guardada = cache_.object(pagina)) {
        return *guardada;
    }
    // The page and the resolution are always in range here.
    QImage imagem = SaidaDocumento::Imagem(*documento_, *renderizador_, pagina, dpi_);
    imagem.setDevicePixelRatio(razaoPixels_);
    auto* miniatura = new QPixmap(QPixmap::fromImage(imagem));
    const QPixmap copia = *miniatura;
    cache_.insert(pagina, miniatura, std::max<qsizetype>(1, imagem.sizeInBytes() / 1024));
    return copia;
}

} // namespace tarvo
