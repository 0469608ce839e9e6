#include "engine/Marcadores.h"

namespace tarvo {

Marcadores::Marcadores(const QDateTime& momento, int totalPaginas)
    : data_(momento.toString(QStringLiteral("dd/MM/yyyy"))),
      hora_(momento.toString(QStringLiteral("HH:mm:ss"))), total_(QString::number(totalPaginas)) {}

QString Marcadores::Utf8(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QString Marcadores::Substituir(std::string_view texto, int pagina) const {
    size_t marca = texto.find("%%");
    if (marca == std::string_view::npos) {
        return Utf8(texto);
    }
    QString resultado;
    size_t inicio = 0;
    while (marca != std::string_view::npos && marca + 2 < texto.size()) {
        resultado += Utf8(texto.substr(inicio, marca - inicio));
        switch (texto[marca + 2]) {
        case 'D':
            resultado += data_;
            break;
        case 'H':
            resultado += hora_;
            break;
        case 'p':
            resultado += QString::number(pagina);
            break;
        case 'P':
            resultado += total_;
            break;
        default:
            // Not a placeholder: keep the "%%" and look on after it.
            resultado += QLatin1String("%%");
            inicio = marca + 2;
            marca = texto.find("%%", inicio);
            continue;
        }
        inicio = marca + 3;
        marca = texto.find("%%", inicio);
    }
    resultado += Utf8(texto.substr(inicio));
    return resultado;
}

QString Marcadores::Mostrado(std::string_view bruto, bool multilinha, int pagina) const {
    QString texto = Substituir(bruto, pagina);
    // Most texts are one line: no need to look through them three times.
    if (bruto.find_first_of("\r\n") == std::string_view::npos)
        return texto;
    const QString quebra = multilinha ? QStringLiteral("\n") : QStringLiteral(" ");
    texto.replace(QLatin1String("\r\n"), quebra);
    texto.replace(QLatin1Char('\r'), quebra);
    if (!multilinha)
        texto.replace(QLatin1Char('\n'), quebra);
    return texto;
}

} // namespace tarvo
