#include "engine/ConteudoPagina.h"

#include "common/Figura.h"
#include "engine/Documento.h"
#include "engine/FontePdf.h"
#include "engine/Leiaute.h"
#include "engine/ObjetosPdf.h"
#include "engine/Renderizador.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <type_traits>
#include <variant>

namespace tarvo {

namespace {

constexpr double porCm = Leiaute::pontosPorCm;
constexpr double porMm = Leiaute::pontosPorCm / 10;
// How far a Bézier control point lies along the tangent for a quarter circle.
constexpr double kappa = 0.5522847498;

// A glyph's two-byte code inside a literal string: only the delimiters,
// the backslash and a carriage return (which readers would take for a line
// end) need escaping, so a code costs two bytes where hexadecimal costs four.
void Codigo(std::string& saida, uint32_t glifo) {
    for (const unsigned byte : {(glifo >> 8) & 0xFF, glifo & 0xFF}) {
        if (byte == '(' || byte == ')' || byte == '\\') {
            saida += '\\';
            saida += static_cast<char>(byte);
        } else if (byte == '\r') {
            saida += "\\r";
        } else {
            saida += static_cast<char>(byte);
        }
    }
}

// What a reader should copy for a cluster: the laid-out text, with any
// control character as a space (a tab in the data is drawn as one), in
// `saida`.
void Copiavel(std::u16string& saida, const QString& texto, qsizetype inicio, qsizetype fim) {
    saida.clear();
    for (qsizetype i = std::max<qsizetype>(inicio, 0); i < std::min(fim, texto.size()); ++i) {
        const char16_t u = texto[i].unicode();
        saida += (u < 0x20 || (u >= 0x7F && u < 0xA0)) ? u' ' : u;
    }
}

} // namespace

ConteudoPagina::ConteudoPagina(const Documento& documento, const PaginaDisposta& disposta,
                               int pagina, const Fontes& fontes, const Figuras& figuras,
                               const Artefatos& artefatos, std::string buffer)
    : documento_(documento), fontes_(fontes), figuras_(figuras), artefatos_(artefatos),
      fluxo_(std::move(buffer)) {
    altura_ = Renderizador::TamanhoPapel(documento).height() * porCm;
    const Margens& margens = documento.Definicoes().margens;
    origem_ = QPointF(margens.esquerda * porCm, margens.superior * porCm);
    fluxo_.clear();
    fluxo_.reserve(32 * 1024);
    const Documento::Pagina elementos = documento.Elementos(pagina);
    marcados_.reserve(elementos.size());
    size_t indice = 0;
    for (const Elemento& elemento : elementos) {
        std::visit(
            [&](const auto& e) {
                using Tipo = std::decay_t<decltype(e)>;
                if constexpr (std::is_base_of_v<CamposTexto, Tipo>)
                    Desenhar(e, disposta.Texto(indice), indice);
                else if constexpr (std::is_same_v<Tipo, Imagem>)
                    Desenhar(e, indice);
                else
                    Desenhar(e);
            },
            elemento);
        ++indice;
    }
    FimArtefato();
}

std::string ConteudoPagina::Recursos() const {
    std::string recursos = "<<";
    if (!fontesUsadas_.empty()) {
        recursos += " /Font <<";
        for (const int fonte : fontesUsadas_)
            recursos += " /F" + std::to_string(fonte) + ' ' + ObjetosPdf::Ref(fonte);
        recursos += " >>";
    }
    if (!figurasUsadas_.empty()) {
        recursos += " /XObject <<";
        for (const int figura : figurasUsadas_)
            recursos += " /I" + std::to_string(figura) + ' ' + ObjetosPdf::Ref(figura);
        recursos += " >>";
    }
    return recursos + " >>";
}

QRectF ConteudoPagina::Area(double x, double y, double largura, double altura) const {
    // A negative width or height counts from the other side, as in Qt.
    return QRectF(origem_.x() + x * porCm, origem_.y() + y * porCm, largura * porCm, altura * porCm)
        .normalized();
}

void ConteudoPagina::N(double valor) {
    ObjetosPdf::Numero(fluxo_, valor);
    fluxo_ += ' ';
}

// A point of the sheet (y down) in PDF space (y up).
void ConteudoPagina::Ponto(double x, double y) {
    N(x);
    N(altura_ - y);
}

void ConteudoPagina::Retang(const QRectF& area) {
    Ponto(area.left(), area.bottom());
    N(area.width());
    N(area.height());
    fluxo_ += "re ";
}

void ConteudoPagina::Pintar(const char* operador) {
    if (pendente_ != nullptr && (operador == nullptr || std::string_view(pendente_) != operador)) {
        fluxo_ += pendente_;
        fluxo_ += '\n';
    }
    pendente_ = operador;
}

void ConteudoPagina::Preenchimento(QRgb cor) {
    if (estado_.preenchimento == cor)
        return;
    Pintar(nullptr);
    Cor(cor, "g\n", "rg\n");
    estado_.preenchimento = cor;
}

void ConteudoPagina::Traco(QRgb cor) {
    if (estado_.traco == cor)
        return;
    Pintar(nullptr);
    Cor(cor, "G\n", "RG\n");
    estado_.traco = cor;
}

// A colour with the operator for a grey (black, white: one number) or for
// red, green and blue.
void ConteudoPagina::Cor(QRgb cor, const char* cinza, const char* rgb) {
    if (qRed(cor) == qGreen(cor) && qGreen(cor) == qBlue(cor)) {
        N(qRed(cor) / 255.0);
        fluxo_ += cinza;
    } else {
        N(qRed(cor) / 255.0);
        N(qGreen(cor) / 255.0);
        N(qBlue(cor) / 255.0);
        fluxo_ += rgb;
    }
}

void ConteudoPagina::Largura(double largura) {
    if (estado_.largura == largura)
        return;
    Pintar(nullptr);
    N(largura);
    fluxo_ += "w\n";
    estado_.largura = largura;
}

void ConteudoPagina::Artefato() {
    if (!artefato_) {
        fluxo_ += "/Artifact BMC\n";
        artefato_ = true;
    }
}

void ConteudoPagina::FimArtefato() {
    Pintar(nullptr);
    if (artefato_) {
        fluxo_ += "EMC\n";
        artefato_ = false;
    }
}

void ConteudoPagina::Desenhar(const Retangulo& retangulo) {
    const QRectF area = Area(retangulo.x, retangulo.y, retangulo.largura, retangulo.altura);
    if (retangulo.preenchido != 0) {
        Artefato();
        Preenchimento(Leiaute::Cor(retangulo.corPreenchimento));
        Retang(area);
        Pintar("f");
    } else if (retangulo.estilo != 0) {
        Artefato();
        Traco(Leiaute::Cor(retangulo.corContorno));
        Largura(pixelPdf);
        Retang(area);
        Pintar("S");
    }
}

void ConteudoPagina::Desenhar(const Caixa& caixa) {
    const QRectF area = Area(caixa.x, caixa.y, caixa.largura, caixa.altura);
    Artefato();
    Preenchimento(Leiaute::Cor(caixa.corFundo));
    const bool contorno = caixa.estilo != 0;
    if (contorno) {
        Traco(Leiaute::Cor(caixa.corContorno));
        Largura(std::max(caixa.espessura * porMm, pixelPdf));
    }
    const double raio = caixa.arredondamento * porMm;
    if (raio <= 0) {
        Retang(area);
        // Filled and outlined, each box on its own: a later fill may cover
        // an earlier outline.
        Pintar(contorno ? "B" : "f");
        if (contorno)
            Pintar(nullptr);
        return;
    }
    Pintar(nullptr);
    const double rx = std::min(raio, area.width() / 2);
    const double ry = std::min(raio, area.height() / 2);
    const double e = area.left(), d = area.right(), t = area.top(), b = area.bottom();
    const auto curva = [this](double x1, double y1, double x2, double y2, double x3, double y3) {
        Ponto(x1, y1);
        Ponto(x2, y2);
        Ponto(x3, y3);
        fluxo_ += "c ";
    };
    // Clockwise on the sheet from the top edge's left end.
    Ponto(e + rx, t);
    fluxo_ += "m ";
    Ponto(d - rx, t);
    fluxo_ += "l ";
    curva(d - rx + kappa * rx, t, d, t + ry - kappa * ry, d, t + ry);
    Ponto(d, b - ry);
    fluxo_ += "l ";
    curva(d, b - ry + kappa * ry, d - rx + kappa * rx, b, d - rx, b);
    Ponto(e + rx, b);
    fluxo_ += "l ";
    curva(e + rx - kappa * rx, b, e, b - ry + kappa * ry, e, b - ry);
    Ponto(e, t + ry);
    fluxo_ += "l ";
    curva(e, t + ry - kappa * ry, e + rx - kappa * rx, t, e + rx, t);
    fluxo_ += contorno ? "b\n" : "h f\n";
}

void ConteudoPagina::Desenhar(const CamposTexto& campos, const TextoDisposto* texto,
                              size_t elemento) {
    if (texto == nullptr || texto->linhas.empty())
        return;
    FimArtefato();
    const QRectF area = Area(campos.x, campos.y, campos.largura, campos.altura);
    const bool marcadores = documento_.TextoDe(campos.texto).find("%%") != std::string_view::npos;
    if (artefatos_(texto->texto, area, marcadores)) {
        fluxo_ += "/Artifact <</Type /Pagination>> BDC\n";
    } else {
        const int id = static_cast<int>(marcados_.size());
        marcados_.push_back({id, false, elemento, area, texto->texto, {}});
        fluxo_ += "/P <</MCID ";
        fluxo_ += std::to_string(id);
        fluxo_ += ">> BDC\n";
    }
    const Estado antes = estado_;
    if (texto->recorte) {
        fluxo_ += "q ";
        Retang(*texto->recorte);
        fluxo_ += "W n\n";
    }
    Preenchimento(texto->cor);
    fluxo_ += "BT\n";
    linhaTexto_ = {0, 0};
    for (const LinhaDisposta& linha : texto->linhas) {
        for (const CorridaGlifos& corrida : linha.corridas)
            Corrida(corrida, *texto);
    }
    fluxo_ += "ET\n";
    if (texto->sublinhado) {
        for (const LinhaDisposta& linha : texto->linhas) {
            if (linha.direita <= linha.bordas.front())
                continue;
            const double meia = texto->espessuraSublinhado / 2;
            const double centro = linha.base + texto->posicaoSublinhado;
            QRectF faixa(QPointF(linha.bordas.front(), centro - meia),
                         QPointF(linha.direita, centro + meia));
            if (faixa.height() < pixelPdf)
                faixa.setHeight(pixelPdf);
            Retang(faixa);
            fluxo_ += "f\n";
        }
    }
    if (texto->recorte) {
        fluxo_ += "Q\n";
        estado_ = antes;
        fonteAtual_ = -1; // the font set inside went with the Q
    }
    fluxo_ += "EMC\n";
}

void ConteudoPagina::Corrida(const CorridaGlifos& corrida, const TextoDisposto& texto) {
    const size_t quantos = corrida.glifos.size();
    if (quantos == 0 || corrida.fonte == nullptr)
        return;
    FontePdf& fonte = fontes_(*corrida.fonte);
    fontesUsadas_.insert(fonte.Objeto());
    if (fonte.Objeto() != fonteAtual_ || corrida.tamanho != tamanhoAtual_) {
        fluxo_ += "/F";
        fluxo_ += std::to_string(fonte.Objeto());
        fluxo_ += ' ';
        N(corrida.tamanho);
        fluxo_ += "Tf\n";
        fonteAtual_ = fonte.Objeto();
        tamanhoAtual_ = corrida.tamanho;
    }

    // Each glyph stands for its cluster's text, the first glyph of the
    // cluster for all of it; where the font's map cannot say that, the run
    // carries its text as ActualText.
    bool mapeado = true;
    qsizetype inicio = corrida.fim;
    std::u16string copia;
    for (size_t i = 0; i < quantos; ++i) {
        const qsizetype grupo = corrida.grupos[i];
        inicio = std::min(inicio, grupo);
        copia.clear();
        if (i == 0 || corrida.grupos[i - 1] != corrida.grupos[i]) {
            qsizetype fim = corrida.fim;
            for (size_t j = i + 1; j < quantos; ++j) {
                if (corrida.grupos[j] != corrida.grupos[i]) {
                    fim = corrida.grupos[j];
                    break;
                }
            }
            if (fim <= grupo)
                fim = corrida.fim;
            Copiavel(copia, texto.texto, grupo, fim);
        }
        if (!fonte.Mapear(corrida.glifos[i], copia))
            mapeado = false;
    }
    if (!mapeado) {
        Copiavel(copia, texto.texto, inicio, corrida.fim);
        fluxo_ += "/Span <</ActualText " + ObjetosPdf::Texto(QString::fromStdU16String(copia)) +
                  ">> BDC\n";
    }

    // Glyphs at the layout's positions: the pen moves by the widths the
    // reader knows, and a TJ adjustment makes up the difference (kerning).
    const double porUnidade = corrida.tamanho / 1000.0;
    size_t i = 0;
    while (i < quantos) {
        const QPointF inicioTrecho = corrida.origem + corrida.posicoes[i];
        // Td moves from the previous stretch's start, in whole thousandths
        // so that no rounding adds up along a text.
        const long long x = std::llround(inicioTrecho.x() * 1000);
        const long long y = std::llround((altura_ - inicioTrecho.y()) * 1000);
        N(static_cast<double>(x - linhaTexto_.first) / 1000);
        N(static_cast<double>(y - linhaTexto_.second) / 1000);
        linhaTexto_ = {x, y};
        fluxo_ += "Td [";
        double caneta = 0;
        bool aberto = false;
        for (; i < quantos; ++i) {
            const QPointF posicao = corrida.origem + corrida.posicoes[i];
            // A glyph raised or lowered starts a new stretch.
            if (posicao.y() != inicioTrecho.y())
                break;
            const double alvo = posicao.x() - inicioTrecho.x();
            // In whole thousandths of an em (a few thousandths of a point);
            // what rounding leaves is carried to the next glyph.
            const double ajuste = std::round((caneta - alvo) / porUnidade);
            if (ajuste != 0) {
                if (aberto)
                    fluxo_ += ')';
                aberto = false;
                ObjetosPdf::Numero(fluxo_, ajuste);
                caneta -= ajuste * porUnidade;
            }
            if (!aberto)
                fluxo_ += '(';
            aberto = true;
            Codigo(fluxo_, corrida.glifos[i]);
            caneta += fonte.Largura(corrida.glifos[i]) * porUnidade;
        }
        if (aberto)
            fluxo_ += ')';
        fluxo_ += "] TJ\n";
    }
    if (!mapeado)
        fluxo_ += "EMC\n";
}

void ConteudoPagina::Desenhar(const Imagem& imagem, size_t elemento) {
    const Figura& original = documento_.FiguraDe(imagem.figura);
    const QImage& figura = original.Imagem();
    if (figura.isNull())
        return;
    const int objeto = figuras_(imagem.figura);
    const QRectF area = Area(imagem.x, imagem.y, imagem.largura, imagem.altura);
    QRectF destino = area;
    if (imagem.modo != 0) {
        const QSizeF tamanho = QSizeF(figura.size()).scaled(area.size(), Qt::KeepAspectRatio);
        destino = QRectF(QPointF(), tamanho);
        destino.moveCenter(area.center());
    }
    FimArtefato();
    figurasUsadas_.insert(objeto);
    const int id = static_cast<int>(marcados_.size());
    marcados_.push_back({id, true, elemento, destino, QString(), original.Nome()});
    fluxo_ += "/Figure <</MCID " + std::to_string(id) + ">> BDC\nq ";
    N(destino.width());
    fluxo_ += "0 0 ";
    N(destino.height());
    Ponto(destino.left(), destino.bottom());
    fluxo_ += "cm /I" + std::to_string(objeto) + " Do Q\nEMC\n";
}

} // namespace tarvo
