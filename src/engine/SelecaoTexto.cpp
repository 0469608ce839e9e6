#include "engine/SelecaoTexto.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace tarvo {

namespace {

constexpr double antes = -std::numeric_limits<double>::infinity();
constexpr double depois = std::numeric_limits<double>::infinity();

bool Antes(int paginaA, size_t linhaA, double xA, int paginaB, size_t linhaB, double xB) {
    return std::tie(paginaA, linhaA, xA) < std::tie(paginaB, linhaB, xB);
}

} // namespace

SelecaoTexto::SelecaoTexto(std::shared_ptr<Leiaute> leiaute) : leiaute_(std::move(leiaute)) {}

void SelecaoTexto::Iniciar(int pagina, const QPointF& ponto) {
    ancora_.emplace(pagina, ponto * Leiaute::pontosPorCm);
    Delimitar(*ancora_);
}

void SelecaoTexto::Estender(int pagina, const QPointF& ponto) {
    if (!ancora_) {
        Iniciar(pagina, ponto);
        return;
    }
    Delimitar({pagina, ponto * Leiaute::pontosPorCm});
}

void SelecaoTexto::SelecionarPagina(int pagina) {
    ancora_.emplace(pagina, QPointF(antes, antes));
    Delimitar({pagina, QPointF(depois, depois)});
}

void SelecaoTexto::Limpar() {
    ancora_.reset();
    limites_.reset();
}

bool SelecaoTexto::Vazia() const {
    return Texto().isEmpty();
}

// Where the selection from the anchor to `ponta` begins and ends in reading
// order: dragged upwards or leftwards, it runs from the later point.
void SelecaoTexto::Delimitar(const std::pair<int, QPointF>& ponta) {
    auto a = *ancora_;
    auto b = ponta;
    const Posicao pa = Inicio(a.first, a.second);
    const Posicao pb = Inicio(b.first, b.second);
    if (Antes(pb.pagina, pb.linha, pb.x, pa.pagina, pa.linha, pa.x)) {
        std::swap(a, b);
    }
    limites_.emplace(Inicio(a.first, a.second), Fim(b.first, b.second));
}

// The page's text lines in rows: lines whose baselines are less than half a
// line apart stand on one row.
SelecaoTexto::PaginaLida SelecaoTexto::Ler(int pagina) const {
    PaginaLida lida;
    lida.disposta = leiaute_->Pagina(pagina);
    std::vector<Celula> celulas;
    for (const TextoDisposto& texto : lida.disposta->textos) {
        for (const LinhaDisposta& linha : texto.linhas) {
            if (linha.fim > linha.inicio) {
                celulas.push_back({&texto, &linha});
            }
        }
    }
    std::stable_sort(celulas.begin(), celulas.end(), [](const Celula& a, const Celula& b) {
        return a.linha->base < b.linha->base;
    });
    for (const Celula& celula : celulas) {
        if (lida.linhas.empty() ||
            celula.linha->base - lida.linhas.back().base > celula.linha->altura / 2) {
            lida.linhas.push_back({celula.linha->topo, celula.linha->base, {}});
        }
        Linha& linha = lida.linhas.back();
        linha.topo = std::min(linha.topo, celula.linha->topo);
        linha.celulas.push_back(celula);
    }
    for (Linha& linha : lida.linhas) {
        std::stable_sort(linha.celulas.begin(), linha.celulas.end(),
                         [](const Celula& a, const Celula& b) {
                             return a.linha->bordas.front() < b.linha->bordas.front();
                         });
    }
    return lida;
}

SelecaoTexto::Posicao SelecaoTexto::Inicio(int pagina, const QPointF& pontos) const {
    const PaginaLida lida = Ler(pagina);
    for (size_t i = 0; i < lida.linhas.size(); ++i) {
        const Linha& linha = lida.linhas[i];
        const double fundo = linha.base + (linha.base - linha.topo) / 3;
        if (pontos.y() < linha.topo) {
            return {pagina, i, antes};
        }
        if (pontos.y() <= fundo) {
            return {pagina, i, pontos.x()};
        }
    }
    return {pagina, lida.linhas.size(), antes};
}

SelecaoTexto::Posicao SelecaoTexto::Fim(int pagina, const QPointF& pontos) const {
    const PaginaLida lida = Ler(pagina);
    for (size_t i = lida.linhas.size(); i-- > 0;) {
        const Linha& linha = lida.linhas[i];
        const double fundo = linha.base + (linha.base - linha.topo) / 3;
        if (pontos.y() > fundo) {
            return {pagina, i, depois};
        }
        if (pontos.y() >= linha.topo) {
            return {pagina, i, pontos.x()};
        }
    }
    return {pagina, 0, antes};
}

// The selected characters of `pagina`, row by row.
std::vector<std::vector<SelecaoTexto::Trecho>> SelecaoTexto::Trechos(int pagina,
                                                                     const PaginaLida& lida) const {
    std::vector<std::vector<Trecho>> trechos;
    const auto& [inicio, fim] = *limites_;
    for (size_t i = 0; i < lida.linhas.size(); ++i) {
        std::vector<Trecho> daLinha;
        for (const Celula& celula : lida.linhas[i].celulas) {
            const LinhaDisposta& linha = *celula.linha;
            qsizetype de = -1;
            qsizetype ate = -1;
            for (qsizetype c = linha.inicio; c < linha.fim; ++c) {
                const size_t k = static_cast<size_t>(c - linha.inicio);
                const double meio = (linha.bordas[k] + linha.bordas[k + 1]) / 2;
                if (!Antes(pagina, i, meio, inicio.pagina, inicio.linha, inicio.x) &&
                    !Antes(fim.pagina, fim.linha, fim.x, pagina, i, meio)) {
                    de = de < 0 ? c : de;
                    ate = c + 1;
                }
            }
            if (de >= 0) {
                daLinha.push_back({celula, de, ate});
            }
        }
        if (!daLinha.empty()) {
            trechos.push_back(std::move(daLinha));
        }
    }
    return trechos;
}

bool SelecaoTexto::Toca(int pagina) const {
    return limites_ && pagina >= limites_->first.pagina && pagina <= limites_->second.pagina;
}

std::vector<QRectF> SelecaoTexto::Retangulos(int pagina) const {
    std::vector<QRectF> retangulos;
    // Asked on every paint of every page in view: nothing read without need.
    if (!Toca(pagina)) {
        return retangulos;
    }
    const PaginaLida lida = Ler(pagina);
    for (const auto& linha : Trechos(pagina, lida)) {
        for (const Trecho& t : linha) {
            const LinhaDisposta& l = *t.celula.linha;
            QRectF r(QPointF(l.bordas[static_cast<size_t>(t.inicio - l.inicio)], l.topo),
                     QPointF(l.bordas[static_cast<size_t>(t.fim - l.inicio)], l.topo + l.altura));
            if (t.celula.texto->recorte) {
                r = r.intersected(*t.celula.texto->recorte);
            }
            if (!r.isEmpty()) {
                retangulos.push_back(
                    QRectF(r.topLeft() / Leiaute::pontosPorCm, r.size() / Leiaute::pontosPorCm));
            }
        }
    }
    return retangulos;
}

QString SelecaoTexto::Texto() const {
    if (!limites_) {
        return {};
    }
    QStringList linhas;
    for (int pagina = limites_->first.pagina; pagina <= limites_->second.pagina; ++pagina) {
        const PaginaLida lida = Ler(pagina);
        for (const auto& linha : Trechos(pagina, lida)) {
            QStringList celulas;
            for (const Trecho& t : linha) {
                celulas << t.celula.texto->texto.mid(t.inicio, t.fim - t.inicio).trimmed();
            }
            linhas << celulas.join(QLatin1Char('\t'));
        }
    }
    return linhas.join(QLatin1Char('\n'));
}

} // namespace tarvo
