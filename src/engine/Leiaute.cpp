#include "engine/Leiaute.h"

#include "engine/Documento.h"
#include "engine/Elementos.h"

#include <RelatoriosTarvo/Erro.h>

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace tarvo {

namespace {

// Reports have always been laid out on a 1200 dpi device, whose font sizes
// are whole dots and whose wrapped lines stand on whole dots: the layout
// keeps both, so that texts stay where they always were.
constexpr double pontosPorDot = 72.0 / 1200.0;

double ArredondarAcima(double pontos) {
    return std::ceil(pontos / pontosPorDot - 1e-6) * pontosPorDot;
}

double Tamanho(double pontos) {
    return std::max(1.0, std::round(pontos / pontosPorDot)) * pontosPorDot;
}

bool Espaco(char16_t letra) {
    return letra == u' ' || letra == u'\t' || letra == u'\n' || letra == 0x00A0 || letra == 0x2028;
}

// Marks and invisible controls go with the font of the character before
// them; everything else, spaces too, takes the text's font when it has it.
bool Acompanha(char32_t letra) {
    const int8_t tipo = u_charType(static_cast<UChar32>(letra));
    return tipo == U_NON_SPACING_MARK || tipo == U_ENCLOSING_MARK || tipo == U_CONTROL_CHAR ||
           tipo == U_FORMAT_CHAR;
}

} // namespace

QRgb Leiaute::Cor(int32_t valor) {
    const auto bits = static_cast<uint32_t>(valor);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

const TextoDisposto* PaginaDisposta::Texto(size_t elemento) const {
    const auto achado =
        std::lower_bound(textos.begin(), textos.end(), elemento,
                         [](const TextoDisposto& t, size_t e) { return t.elemento < e; });
    return achado != textos.end() && achado->elemento == elemento ? &*achado : nullptr;
}

Leiaute::Leiaute(const Documento& documento, const QDateTime& momento)
    : documento_(documento), momento_(momento), marcadores_(momento, documento.NumeroPaginas()) {}

Leiaute::~Leiaute() = default;

std::shared_ptr<const PaginaDisposta> Leiaute::Pagina(int pagina) {
    for (auto it = paginas_.begin(); it != paginas_.end(); ++it) {
        if (it->first == pagina) {
            paginas_.splice(paginas_.begin(), paginas_, it);
            return it->second;
        }
    }
    auto disposta = std::make_shared<PaginaDisposta>();
    const Documento::Pagina elementos = documento_.Elementos(pagina);
    disposta->textos.reserve(elementos.size());
    size_t indice = 0;
    for (const Elemento& elemento : elementos) {
        if (const auto* texto = std::get_if<Texto>(&elemento)) {
            disposta->textos.push_back(Dispor(*texto, false, indice, pagina, &disposta->memoria));
        } else if (const auto* multilinha = std::get_if<TextoMultilinha>(&elemento)) {
            disposta->textos.push_back(
                Dispor(*multilinha, true, indice, pagina, &disposta->memoria));
        }
        ++indice;
    }
    paginas_.emplace_front(pagina, std::move(disposta));
    if (paginas_.size() > limitePaginas) {
        paginas_.pop_back();
    }
    return paginas_.front().second;
}

// The text in runs of one font each: the text's own font wherever it has
// the character, otherwise a fallback that has it; marks and
// invisible controls stay with what comes before them.
std::shared_ptr<const Leiaute::Moldagem> Leiaute::Moldar(const FonteArquivo& fonte,
                                                         const QString& texto) {
    auto& daFonte = moldados_[&fonte];
    if (const auto achado = daFonte.find(texto); achado != daFonte.end()) {
        return achado->second;
    }
    if (textosMoldados_ >= limiteTextosMoldados) {
        // Emptied, their tables kept for the next ones.
        for (auto& [face, textos] : moldados_) {
            textos.clear();
        }
        conhecidos_.clear();
        textosMoldados_ = 0;
    }

    const std::u16string_view unidades(reinterpret_cast<const char16_t*>(texto.utf16()),
                                       static_cast<size_t>(texto.size()));
    auto moldagem = std::make_shared<Moldagem>();
    moldagem->unidades = unidades.size();

    std::vector<std::pair<size_t, const FonteArquivo*>> trechos; // start of each run
    for (size_t i = 0; i < unidades.size();) {
        char32_t letra = unidades[i];
        size_t passo = 1;
        if (QChar::isHighSurrogate(unidades[i]) && i + 1 < unidades.size() &&
            QChar::isLowSurrogate(unidades[i + 1])) {
            letra = QChar::surrogateToUcs4(unidades[i], unidades[i + 1]);
            passo = 2;
        }
        const FonteArquivo* escolhida = &fonte;
        if (fonte.Tem(letra)) {
            escolhida = &fonte;
        } else if (!trechos.empty() && Acompanha(letra)) {
            escolhida = trechos.back().second;
        } else {
            const FonteArquivo* substituta = fontes_.Substituta(fonte, letra);
            escolhida = substituta != nullptr ? substituta : &fonte;
        }
        if (trechos.empty() || trechos.back().second != escolhida) {
            trechos.emplace_back(i, escolhida);
        }
        i += passo;
    }

    for (size_t t = 0; t < trechos.size(); ++t) {
        const size_t inicio = trechos[t].first;
        const size_t fim = t + 1 < trechos.size() ? trechos[t + 1].first : unidades.size();
        moldagem->segmentos.push_back(
            {trechos[t].second, inicio, fim,
             trechos[t].second->Moldar(unidades, inicio, fim, buffer_.get())});
    }
    ++textosMoldados_;
    return daFonte.emplace(texto, std::move(moldagem)).first->second;
}

// Pen positions and character boundaries at `tamanho` points. Each advance
// is a whole number of 1200 dpi dots, as Qt's font engine gives them at that
// resolution, so that texts stand where they always stood in the PDF; each
// cluster's advance is shared by the characters it covers.
void Leiaute::Medir(const Moldagem& moldagem, double tamanho, Medidas& medidas) {
    medidas.bordas.assign(moldagem.unidades + 1, 0.0);
    medidas.canetas.clear();
    double caneta = 0;
    for (const Segmento& segmento : moldagem.segmentos) {
        const FonteArquivo::Moldado& m = segmento.moldado;
        size_t g = 0;
        while (g < m.size()) {
            const uint32_t grupo = m[g].grupo;
            const double comeco = caneta;
            size_t proximo = g;
            while (proximo < m.size() && m[proximo].grupo == grupo) {
                medidas.canetas.push_back(caneta);
                caneta += m[proximo++].avanco * tamanho;
            }
            const size_t ate = proximo < m.size() ? m[proximo].grupo : segmento.fim;
            const size_t quantos = ate > grupo ? ate - grupo : 1;
            for (size_t k = 0; k < quantos && grupo + k < moldagem.unidades; ++k) {
                medidas.bordas[grupo + k] =
                    comeco + (caneta - comeco) * double(k) / double(quantos);
            }
            g = proximo;
        }
    }
    medidas.bordas.back() = caneta;
}

// One line of `disposto`: the text [inicio, fim) of `moldagem`, its left end
// at x and its box from `topo`.
void Leiaute::Linha(TextoDisposto& disposto, const Moldagem& moldagem, const Medidas& medidas,
                    qsizetype inicio, qsizetype fim, double x, double topo, double subida,
                    double altura, double tamanho) const {
    Memoria* const memoria = disposto.linhas.get_allocator().resource();
    LinhaDisposta linha(memoria);
    linha.inicio = inicio;
    linha.fim = fim;
    linha.topo = topo;
    linha.base = topo + subida;
    linha.altura = altura;
    const double zero = medidas.bordas[static_cast<size_t>(inicio)];
    linha.bordas.reserve(static_cast<size_t>(fim - inicio + 1));
    for (qsizetype i = inicio; i <= fim; ++i) {
        linha.bordas.push_back(x + medidas.bordas[static_cast<size_t>(i)] - zero);
    }
    qsizetype tinta = fim;
    while (tinta > inicio && Espaco(disposto.texto[tinta - 1].unicode())) {
        --tinta;
    }
    linha.direita = linha.bordas[static_cast<size_t>(tinta - inicio)];

    const QPointF origem(x, linha.base);
    linha.corridas.reserve(moldagem.segmentos.size());
    size_t primeiroGlifo = 0; // the segment's first pen in `medidas.canetas`
    for (const Segmento& segmento : moldagem.segmentos) {
        const FonteArquivo::Moldado& m = segmento.moldado;
        const size_t canetas = primeiroGlifo;
        primeiroGlifo += m.size();
        if (static_cast<qsizetype>(segmento.fim) <= inicio ||
            static_cast<qsizetype>(segmento.inicio) >= fim) {
            continue;
        }
        CorridaGlifos corrida(memoria);
        corrida.glifos.reserve(m.size());
        corrida.posicoes.reserve(m.size());
        corrida.grupos.reserve(m.size());
        for (size_t g = 0; g < m.size(); ++g) {
            const auto grupo = static_cast<qsizetype>(m[g].grupo);
            if (grupo >= inicio && grupo < fim) {
                corrida.glifos.push_back(m[g].glifo);
                corrida.posicoes.emplace_back(medidas.canetas[canetas + g] - zero +
                                                  m[g].deslocamentoX * tamanho,
                                              -m[g].deslocamentoY * tamanho);
                corrida.grupos.push_back(m[g].grupo);
            }
        }
        if (corrida.glifos.empty()) {
            continue;
        }
        corrida.fonte = segmento.fonte;
        corrida.tamanho = tamanho;
        corrida.origem = origem;
        corrida.inicio = std::max<qsizetype>(inicio, corrida.grupos.front());
        corrida.fim = std::min<qsizetype>(fim, m.back().grupo + 1);
        linha.corridas.push_back(std::move(corrida));
    }
    disposto.linhas.push_back(std::move(linha));
}

TextoDisposto Leiaute::Dispor(const CamposTexto& campos, bool multilinha, size_t elemento,
                              int pagina, Memoria* memoria) {
    TextoDisposto disposto(memoria);
    disposto.elemento = elemento;
    const auto conhecido = conhecidos_.find(campos.texto.indice);
    const bool guardado =
        conhecido != conhecidos_.end() && conhecido->second.multilinha == multilinha;
    const std::string_view original = documento_.TextoDe(campos.texto);
    disposto.texto =
        guardado ? conhecido->second.mostrado : marcadores_.Mostrado(original, multilinha, pagina);
    disposto.cor = Cor(campos.cor);
    if (disposto.texto.isEmpty()) {
        return disposto;
    }
    // A document names few fonts, on every text: found once per name.
    const FonteArquivo*& escolhida =
        fontesDosTextos_[{campos.fonte.indice, campos.negrito != 0, campos.italico != 0}];
    if (escolhida == nullptr) {
        escolhida = &fontes_.Principal(documento_.TextoDe(campos.fonte), campos.negrito != 0,
                                       campos.italico != 0);
    }
    const FonteArquivo& fonte = *escolhida;
    const double tamanho = Tamanho(campos.tamanho);
    disposto.sublinhado = campos.sublinhado != 0;
    disposto.posicaoSublinhado = fonte.PosicaoSublinhado() * tamanho;
    disposto.espessuraSublinhado = fonte.EspessuraSublinhado() * tamanho;

    const Margens& margens = documento_.Definicoes().margens;
    const QRectF area((margens.esquerda + campos.x) * pontosPorCm,
                      (margens.superior + campos.y) * pontosPorCm, campos.largura * pontosPorCm,
                      campos.altura * pontosPorCm);
    std::shared_ptr<const Moldagem> moldagem;
    if (guardado && conhecido->second.fonte == &fonte) {
        moldagem = conhecido->second.moldagem;
    } else {
        // Shaping may empty the stores: `conhecido` is not used after it.
        moldagem = Moldar(fonte, disposto.texto);
        if (original.find("%%") == std::string_view::npos) {
            conhecidos_.insert_or_assign(
                campos.texto.indice, TextoConhecido{disposto.texto, multilinha, &fonte, moldagem});
        }
    }
    Medir(*moldagem, tamanho, medidas_);
    const Medidas& medidas = medidas_;
    const double subida = fonte.Subida() * tamanho;
    const double altura = (fonte.Subida() + fonte.Descida()) * tamanho;
    const auto n = disposto.texto.size();

    if (!multilinha) {
        const double largura = medidas.bordas.back();
        const QPointF canto = PosicaoLinha(area, largura, altura, campos.alinhamentoHorizontal,
                                           campos.alinhamentoVertical);
        if (largura > area.width() || altura > area.height()) {
            disposto.recorte = area;
        }
        Linha(disposto, *moldagem, medidas, 0, n, canto.x(), canto.y(), subida, altura, tamanho);
        return disposto;
    }

    // Line-break opportunities, hard ones (after a line break) marked.
    const icu::UnicodeString unicode(false, reinterpret_cast<const UChar*>(disposto.texto.utf16()),
                                     static_cast<int32_t>(n));
    if (!quebras_) {
        UErrorCode estado = U_ZERO_ERROR;
        quebras_.reset(icu::BreakIterator::createLineInstance(icu::Locale("pt", "BR"), estado));
        if (U_FAILURE(estado)) {
            quebras_.reset();
            throw Erro(Erro::Interno,
                       std::string("Quebra de linhas indisponível: ") + u_errorName(estado) + ".",
                       TARVO_ORIGEM_MOTOR);
        }
    }
    icu::BreakIterator* const quebras = quebras_.get();
    quebras->setText(unicode);

    const auto largura = [&](qsizetype de, qsizetype ate) {
        while (ate > de && Espaco(disposto.texto[ate - 1].unicode())) {
            --ate;
        }
        return medidas.bordas[static_cast<size_t>(ate)] - medidas.bordas[static_cast<size_t>(de)];
    };
    struct Trecho {
        qsizetype inicio, fim;
        double largura;
    };
    std::vector<Trecho> linhas;
    const double maxima = std::max(0.0, area.width());
    qsizetype inicio = 0;
    while (inicio < n) {
        qsizetype fim = -1;
        bool dura = false;
        for (int32_t q = quebras->following(static_cast<int32_t>(inicio));
             q != icu::BreakIterator::DONE; q = quebras->next()) {
            const bool forcada = quebras->getRuleStatus() >= UBRK_LINE_HARD &&
                                 quebras->getRuleStatus() < UBRK_LINE_HARD_LIMIT;
            if (fim >= 0 && largura(inicio, q) > maxima) {
                break;
            }
            fim = q;
            if (forcada) {
                dura = true;
                break;
            }
        }
        qsizetype ate = fim;
        if (dura && ate > inicio && disposto.texto[ate - 1] == u'\n') {
            --ate;
        }
        linhas.push_back({inicio, ate, largura(inicio, ate)});
        inicio = fim;
    }
    if (disposto.texto.endsWith(u'\n')) {
        linhas.push_back({n, n, 0.0});
    }

    // Lines one under another, a leading apart; past the rectangle's bottom
    // no more are laid.
    const double entrelinha = fonte.Entrelinha() * tamanho;
    std::vector<double> posicoes;
    double total = -entrelinha;
    double larguraBloco = 0;
    for (const Trecho& linha : linhas) {
        total = ArredondarAcima(total + entrelinha);
        posicoes.push_back(total);
        total += altura;
        larguraBloco = std::max(larguraBloco, linha.largura);
        if (total >= area.height()) {
            break;
        }
    }
    double y = area.top();
    if (campos.alinhamentoVertical == 2) {
        y += area.height() - total;
    } else if (campos.alinhamentoVertical == 1) {
        y += (area.height() - total) / 2;
    }
    const QPointF bloco = PosicaoLinha(area, larguraBloco, 0, campos.alinhamentoHorizontal, 0);
    if (!area.contains(QRectF(bloco.x(), y, larguraBloco, total))) {
        disposto.recorte = area;
    }
    for (size_t i = 0; i < posicoes.size(); ++i) {
        const QPointF canto =
            PosicaoLinha(area, linhas[i].largura, 0, campos.alinhamentoHorizontal, 0);
        Linha(disposto, *moldagem, medidas, linhas[i].inicio, linhas[i].fim, canto.x(),
              y + posicoes[i], subida, altura, tamanho);
    }
    return disposto;
}

QPointF Leiaute::PosicaoLinha(const QRectF& area, double largura, double altura, int32_t horizontal,
                              int32_t vertical) {
    double x = area.left();
    if (horizontal == 1) {
        x += (area.width() - largura) / 2.0;
    } else if (horizontal == 2) {
        x = area.right() - largura;
    }
    double topo = area.top();
    if (vertical == 1) {
        topo += (area.height() - altura) / 2.0;
    } else if (vertical == 2) {
        topo = area.bottom() - altura;
    }
    return QPointF(x, topo);
}

} // namespace tarvo
