#pragma once

#include <QAbstractListModel>
#include <QCache>
#include <QPixmap>

#include <memory>

namespace tarvo {

class Documento;
class Leiaute;
class Renderizador;

// The pages of a document as thumbnails for a list view: a thumbnail is
// rendered only when the view asks for it, that is when its row is painted,
// and a bounded number are kept.
class ModeloMiniaturas : public QAbstractListModel {
    Q_OBJECT

public:
    // Thumbnails are this many logical pixels wide.
    static constexpr int largura = 110;

    explicit ModeloMiniaturas(QObject* pai = nullptr);
    ~ModeloMiniaturas() override;

    void DefinirDocumento(std::shared_ptr<const Documento> documento,
                          std::shared_ptr<Leiaute> leiaute, double razaoPixels);
    // The size of every thumbnail, logical pixels.
    QSize Tamanho() const;
    // Thumbnails rendered so far and still kept.
    int Renderizadas() const { return static_cast<int>(cache_.count()); }

    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int papel) const override;

private:
    QPixmap Miniatura(int pagina) const;

    std::shared_ptr<const Documento> documento_;
    std::unique_ptr<Renderizador> renderizador_;
    double razaoPixels_ = 1.0;
    int dpi_ = 1;
    // Rendered on demand from const data(); cost in kilobytes.
    mutable QCache<int, QPixmap> cache_;
};

} // namespace tarvo
