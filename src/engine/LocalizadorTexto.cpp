#include "engine/LocalizadorTexto.h"

#include "engine/Documento.h"

#include <algorithm>
#include <unordered_map>

namespace tarvo {

LocalizadorTexto::LocalizadorTexto(const Documento& documento, const QDateTime& momento)
    : LocalizadorTexto(std::make_shared<Leiaute>(documento, momento)) {}

LocalizadorTexto::LocalizadorTexto(std::shared_ptr<Leiaute> leiaute)
    : leiaute_(std::move(leiaute)), documento_(leiaute_->DocumentoDisposto()),
      marcadores_(leiaute_->Momento(), documento_.NumeroPaginas()) {}

QString LocalizadorTexto::Dobrar(const QString& texto) {
    QString dobrado = texto.toLower();
    for (QChar& letra : dobrado) {
        if (letra.unicode() < 0x80) {
            continue;
        }
        if (letra.decompositionTag() == QChar::Canonical) {
            const QString partes = letra.decomposition();
            if (!partes.isEmpty() && !partes.front().isSurrogate()) {
                letra = partes.front();
            }
        }
    }
    // Lower case may change the length of rare letters; then the positions
    // of the original are kept instead.
    return dobrado.size() == texto.size() ? dobrado : texto;
}

// Digit grouping left out: a '.', ',' or space between a digit and exactly
// three more digits. `origem` gets, for each character kept, its place in
// `texto`, and one past the end.
QString LocalizadorTexto::SemAgrupamento(const QString& texto, std::vector<qsizetype>* origem) {
    QString sem;
    sem.reserve(texto.size());
    origem->clear();
    const auto digito = [&texto](qsizetype i) {
        return i >= 0 && i < texto.size() && texto[i].isDigit();
    };
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        const bool separador = c == u'.' || c == u',' || c == u' ' || c == QChar(0x00A0) ||
                               c == QChar(0x202F);
        if (separador && digito(i - 1) && digito(i + 1) && digito(i + 2) && digito(i + 3) &&
            !digito(i + 4)) {
            continue;
        }
        sem.append(c);
        origem->push_back(i);
    }
    origem->push_back(texto.size());
    return sem;
}

std::vector<LocalizadorTexto::Ocorrencia> LocalizadorTexto::Buscar(const QString& termo) const {
    std::vector<Ocorrencia> ocorrencias;
    const QString procurado = Dobrar(termo);
    if (procurado.trimmed().isEmpty()) {
        return ocorrencias;
    }
    // An amount is found however its digits are grouped ("1015,16" finds
    // "1.015,16"): a term with digits is also looked for with the grouping
    // left out of both.
    std::vector<qsizetype> origemTermo;
    const QString semAgrupamento = SemAgrupamento(procurado, &origemTermo);
    const bool numerico = std::any_of(procurado.cbegin(), procurado.cend(),
                                      [](QChar c) { return c.isDigit(); });
    std::vector<qsizetype> origem;
    // Texts without placeholders read the same on every page: whether one
    // holds the term is worked out once per distinct text.
    std::unordered_map<uint32_t, bool> semOcorrencia;
    for (int pagina = 1; pagina <= documento_.NumeroPaginas(); ++pagina) {
        const size_t elementos = documento_.Elementos(pagina).size();
        for (size_t elemento = 0; elemento < elementos; ++elemento) {
            bool multilinha = false;
            const std::optional<CamposTexto> campos = Texto(pagina, elemento, &multilinha);
            if (!campos) {
                continue;
            }
            const std::string_view bruto = documento_.TextoDe(campos->texto);
            const bool fixo = bruto.find("%%") == std::string_view::npos;
            if (fixo) {
                const auto conhecido = semOcorrencia.find(campos->texto.indice);
                if (conhecido != semOcorrencia.end() && conhecido->second) {
                    continue;
                }
            }
            const QString texto = Dobrar(Mostrado(*campos, multilinha, pagina));
            std::vector<std::pair<qsizetype, qsizetype>> achados; // start, end
            for (qsizetype i = texto.indexOf(procurado); i >= 0;
                 i = texto.indexOf(procurado, i + procurado.size())) {
                achados.emplace_back(i, i + procurado.size());
            }
            if (numerico) {
                const QString sem = SemAgrupamento(texto, &origem);
                for (qsizetype i = sem.indexOf(semAgrupamento); i >= 0;
                     i = sem.indexOf(semAgrupamento, i + semAgrupamento.size())) {
                    const std::pair<qsizetype, qsizetype> achado{
                        origem[static_cast<size_t>(i)],
                        origem[static_cast<size_t>(i + semAgrupamento.size() - 1)] + 1};
                    if (std::find(achados.begin(), achados.end(), achado) == achados.end()) {
                        achados.push_back(achado);
                    }
                }
                std::sort(achados.begin(), achados.end());
            }
            if (fixo) {
                semOcorrencia[campos->texto.indice] = achados.empty();
            }
            for (const auto& [inicio, fim] : achados) {
                ocorrencias.push_back({pagina, elemento, inicio, fim - inicio});
            }
        }
    }
    return ocorrencias;
}

std::optional<CamposTexto> LocalizadorTexto::Texto(int pagina, size_t elemento,
                                                   bool* multilinha) const {
    const Elemento achado = documento_.Elementos(pagina).at(elemento);
    if (const auto* texto = std::get_if<tarvo::Texto>(&achado)) {
        *multilinha = false;
        return *texto;
    }
    if (const auto* texto = std::get_if<TextoMultilinha>(&achado)) {
        *multilinha = true;
        return *texto;
    }
    return std::nullopt;
}

QString LocalizadorTexto::Mostrado(const CamposTexto& texto, bool multilinha, int pagina) const {
    return marcadores_.Mostrado(documento_.TextoDe(texto.texto), multilinha, pagina);
}

std::vector<QRectF> LocalizadorTexto::Retangulos(const Ocorrencia& ocorrencia) const {
    return Retangulos(ocorrencia.pagina, ocorrencia.elemento, ocorrencia.inicio,
                      ocorrencia.inicio + ocorrencia.tamanho);
}

// One rectangle per line the text crosses, from the first glyph's start to
// the last one's end, a line high, clipped as the text is.
std::vector<QRectF> LocalizadorTexto::Retangulos(int pagina, size_t elemento, qsizetype inicio,
                                                 qsizetype fim) const {
    const std::shared_ptr<const PaginaDisposta> disposta = leiaute_->Pagina(pagina);
    const TextoDisposto* texto = disposta->Texto(elemento);
    std::vector<QRectF> retangulos;
    if (texto == nullptr) {
        return retangulos;
    }
    for (const LinhaDisposta& linha : texto->linhas) {
        const qsizetype comeco = std::max(inicio, linha.inicio);
        const qsizetype final = std::min(fim, linha.fim);
        if (comeco >= final) {
            continue;
        }
        QRectF retangulo(
            QPointF(linha.bordas[static_cast<size_t>(comeco - linha.inicio)], linha.topo),
            QPointF(linha.bordas[static_cast<size_t>(final - linha.inicio)],
                    linha.topo + linha.altura));
        if (texto->recorte) {
            retangulo = retangulo.intersected(*texto->recorte);
        }
        if (!retangulo.isEmpty()) {
            retangulos.push_back(QRectF(retangulo.topLeft() / Leiaute::pontosPorCm,
                                        retangulo.size() / Leiaute::pontosPorCm));
        }
    }
    return retangulos;
}

} // namespace tarvo
