#pragma once

#include <QDateTime>
#include <QString>

#include <string_view>

namespace tarvo {

// The placeholders of a document's texts and what stands in for them on a
// page: "%%D" the date and "%%H" the time of one instant, "%%p" the page
// number, "%%P" the number of pages. Whatever draws or searches the texts
// replaces them the same way.
class Marcadores {
public:
    Marcadores(const QDateTime& momento, int totalPaginas);

    QString Substituir(std::string_view texto, int pagina) const;
    // What a text element shows on `pagina`: placeholders replaced, and its
    // line breaks made spaces for a one-line text or one "\n" each for a
    // wrapped one.
    QString Mostrado(std::string_view texto, bool multilinha, int pagina) const;

    // UTF-8 text as a QString.
    static QString Utf8(std::string_view texto);

private:
    QString data_;
    QString hora_;
    QString total_;
};

} // namespace tarvo
