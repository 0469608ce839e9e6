#pragma once

#include "engine/ConteudoPagina.h"

#include <QRectF>
#include <QString>

#include <string>
#include <vector>

namespace tarvo {

class ObjetosPdf;

// The structure tree of a tagged PDF, built page by page as the pages are
// written: the document, one section per part headed by its title, the
// texts that stand side by side on one line as a table row of cells
// (consecutive rows one table, across pages), the other texts as
// paragraphs, the pictures as figures with alternate text. The page header
// a part repeats on every page after its first (the texts drawn first, the
// same and in the same place as on the first page) and the texts with page
// placeholders (footers) are artifacts, so a reader that follows the tags
// reads a report's title and then its rows in order.
class EstruturaPdf {
public:
    explicit EstruturaPdf(ObjetosPdf& objetos);

    int Raiz() const { return raiz_; }

    // A part begins: its section's title, and the titles its header may show.
    void IniciarSecao(const std::string& titulo, std::vector<QString> titulos);
    void IniciarPagina();
    // Asked for each text of the page, in drawing order.
    bool Artefato(const QString& texto, const QRectF& area, bool marcadores);
    // The page's marked content; gives the page's /StructParents key.
    int ConcluirPagina(int pagina, const std::vector<ConteudoPagina::Marcado>& marcados);
    // Writes the sections, the document, the root and the parent tree.
    void Concluir();

    // The alternate text of a picture, by its name.
    static std::string TextoAlternativo(const std::string& nomeFigura);

private:
    struct Texto {
        QString texto;
        QRectF area;
    };

    bool Titulo(const QString& texto) const;
    void FecharLinha();
    void FecharTabela();
    void FecharSecao();
    int Elemento(const char* tipo, int pai, int pagina, int mcid, const std::string& extra = {});

    ObjetosPdf& objetos_;
    const int raiz_;
    const int documento_;
    std::vector<int> secoes_;
    std::vector<int> arvorePais_; // one array object per page

    int secao_ = 0;
    std::string tituloSecao_;
    std::vector<QString> titulos_;
    std::vector<int> filhosSecao_;
    bool titulado_ = false;
    int paginasSecao_ = 0;
    std::vector<Texto> primeiraPagina_;
    size_t prefixo_ = 0; // texts of this page matched with the first page's so far
    bool noCabecalho_ = true;

    int tabela_ = 0; // the open table, 0 for none
    std::vector<int> linhasTabela_;
    size_t celulasTabela_ = 0; // in its first row
    // The row being gathered: its cells' MCIDs and their place.
    std::vector<int> linha_;
    QRectF areaLinha_;
    int paginaLinha_ = 0;
    std::vector<int>* pais_ = nullptr; // the page's parent array, by MCID
    std::string corpo_;                // the element being written
};

} // namespace tarvo
