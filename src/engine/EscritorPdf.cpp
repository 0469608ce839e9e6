#include "engine/EscritorPdf.h"

#include <RelatoriosTarvo/Erro.h>

#include "common/Andamento.h"
#include "common/ArquivoAtomico.h"
#include "engine/CompressorFlate.h"
#include "engine/ConteudoPagina.h"
#include "engine/Documento.h"
#include "engine/EstruturaPdf.h"
#include "engine/FonteArquivo.h"
#include "engine/FontePdf.h"
#include "engine/Leiaute.h"
#include "engine/MomentoSaida.h"
#include "engine/ObjetosPdf.h"
#include "engine/Renderizador.h"

#include <QDateTime>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <thread>
#include <unordered_map>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;

// The offset from UTC as +HH?mm with `separador` between hours and minutes.
std::string Deslocamento(const QDateTime& momento, const char* separador, const char* fim) {
    const int minutos = momento.offsetFromUtc() / 60;
    const int absoluto = minutos < 0 ? -minutos : minutos;
    const auto doisDigitos = [](std::string& saida, int valor) {
        saida += static_cast<char>('0' + valor / 10 % 10);
        saida += static_cast<char>('0' + valor % 10);
    };
    std::string saida(1, minutos < 0 ? '-' : '+');
    doisDigitos(saida, absoluto / 60);
    saida += separador;
    doisDigitos(saida, absoluto % 60);
    saida += fim;
    return saida;
}

// D:YYYYMMDDHHmmSS+HH'mm' for the properties.
std::string DataPdf(const QDateTime& momento) {
    return "D:" + momento.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() +
           Deslocamento(momento, "'", "'");
}

// The same instant as XMP writes it.
std::string DataXmp(const QDateTime& momento) {
    return momento.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString() +
           Deslocamento(momento, ":", "");
}

std::string Xml(const std::string& texto) {
    std::string saida;
    for (const char c : texto) {
        switch (c) {
        case '&':
            saida += "&amp;";
            break;
        case '<':
            saida += "&lt;";
            break;
        case '>':
            saida += "&gt;";
            break;
        case '"':
            saida += "&quot;";
            break;
        default:
            // Control characters have no place in XML 1.0.
            saida += (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') ? ' ' : c;
        }
    }
    return saida;
}

// The pages of a part, in the order they are written.
std::vector<int> PaginasDe(const EscritorPdf::Parte& parte) {
    if (!parte.paginas.empty())
        return parte.paginas;
    // A PDF needs at least one page: an empty document gives a blank one.
    std::vector<int> todas(static_cast<size_t>(std::max(parte.documento->NumeroPaginas(), 1)));
    for (size_t i = 0; i < todas.size(); ++i)
        todas[i] = static_cast<int>(i + 1);
    return todas;
}

// A picture as an RGB image, its transparency (if any) as a soft mask.
void EscreverFigura(ObjetosPdf& objetos, int numero, const QImage& imagem) {
    const QImage rgb = imagem.convertToFormat(QImage::Format_RGB888);
    const auto largura = static_cast<size_t>(rgb.width());
    std::string dados;
    dados.reserve(largura * 3 * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        dados.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), largura * 3);
    const std::string dimensoes = "/Type /XObject /Subtype /Image /Width " +
                                  std::to_string(rgb.width()) + " /Height " +
                                  std::to_string(rgb.height()) + " /BitsPerComponent 8";
    std::string mascara;
    if (imagem.hasAlphaChannel()) {
        const QImage alfa = imagem.convertToFormat(QImage::Format_Alpha8);
        std::string opacidade;
        bool opaca = true;
        for (int y = 0; y < alfa.height(); ++y) {
            const char* linha = reinterpret_cast<const char*>(alfa.constScanLine(y));
            opacidade.append(linha, largura);
            opaca = opaca && std::all_of(linha, linha + largura,
                                         [](char a) { return static_cast<uint8_t>(a) == 255; });
        }
        if (!opaca) {
            const int numeroMascara = objetos.Reservar();
            objetos.Fluxo(numeroMascara, dimensoes + " /ColorSpace /DeviceGray", opacidade, true);
            mascara = " /SMask " + ObjetosPdf::Ref(numeroMascara);
        }
    }
    objetos.Fluxo(numero, dimensoes + " /ColorSpace /DeviceRGB" + mascara, dados, true);
}

// The sRGB profile the OutputIntent names; empty when it cannot be read.
std::string PerfilSrgb(const std::string& caminho) {
    QFile arquivo(caminho.empty() ? QStringLiteral(TARVO_PERFIL_SRGB)
                                  : QString::fromStdString(caminho));
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    const QByteArray dados = arquivo.readAll();
    return dados.toStdString();
}

// One page being written: its content is compressed with its neighbours'
// on another core.
struct PaginaPendente {
    int objeto;
    int conteudo;
    std::string fluxo;
    std::string recursos;
    int chaveEstrutura; // -1 for none
    QSizeF tamanho;     // points
};

// A batch of pages whose content is being compressed. Another core takes
// the pages one by one; this thread takes some too while it would otherwise
// wait, so neither core sits idle.
struct LoteComprimido {
    explicit LoteComprimido(std::vector<PaginaPendente> pendentes)
        : paginas(std::move(pendentes)), comprimidos(paginas.size()) {}

    // Compresses the next page nobody has taken; false when none is left.
    bool ComprimirUma(CompressorFlate& compressor) {
        const size_t i = proxima.fetch_add(1);
        if (i >= paginas.size())
            return false;
        comprimidos[i] = compressor.Comprimir(paginas[i].fluxo);
        return true;
    }
    void ComprimirRestantes(CompressorFlate& compressor) {
        while (ComprimirUma(compressor)) {
        }
    }

    std::vector<PaginaPendente> paginas;
    std::vector<std::string> comprimidos;
    std::atomic<size_t> proxima{0};
};

class Escrita {
public:
    Escrita(ArquivoAtomico& arquivo, const QDateTime& momento, Andamento* andamento)
        : objetos_(arquivo), momento_(momento), andamento_(andamento), estrutura_(objetos_),
          catalogo_(objetos_.Reservar()), arvorePaginas_(objetos_.Reservar()),
          // With one core, the layout and the compression run in turn on
          // this thread.
          modo_(std::thread::hardware_concurrency() > 1 ? std::launch::async
                                                        : std::launch::deferred) {}

    void Parte(const EscritorPdf::Parte& parte, const std::string& tituloSecao);
    std::vector<int> Concluir(const std::vector<std::pair<std::string, size_t>>& marcadores,
                              const EscritorPdf::Propriedades& propriedades);

private:
    FontePdf& Fonte(const FonteArquivo& fonte);
    // One page, `disposta` null for a page the document does not have.
    void Pagina(const Documento& documento, int pagina, const PaginaDisposta* disposta,
                const QSizeF& papel, const ConteudoPagina::Fontes& fontes,
                const ConteudoPagina::Figuras& imagens, const ConteudoPagina::Artefatos& artefatos);
    void EscreverLote();
    void GravarLoteComprimido();
    // Compresses pages of the batch under way until `pronto` is ready or
    // no page is left.
    template <class T> void AjudarAte(const std::future<T>& pronto);

    ObjetosPdf objetos_;
    const QDateTime momento_;
    Andamento* andamento_;
    EstruturaPdf estrutura_;
    const int catalogo_;
    const int arvorePaginas_;
    const std::launch modo_;
    // Pages compressed together, about half a megabyte of content.
    static constexpr size_t paginasPorLote = 32;
    // The layouts stay until the end: the fonts are embedded from their files.
    std::vector<std::unique_ptr<Leiaute>> leiautes_;
    std::vector<std::unique_ptr<FontePdf>> fontes_;
    std::map<std::pair<std::string, unsigned>, FontePdf*> fontesPorArquivo_;
    std::unordered_map<const FonteArquivo*, FontePdf*> fontesPorFace_;
    std::vector<int> paginas_;
    std::vector<PaginaPendente> pendentes_;
    std::shared_ptr<LoteComprimido> lote_;
    std::future<void> compressao_;
    CompressorFlate compressor_;
    std::vector<std::string> buffers_;
};

FontePdf& Escrita::Fonte(const FonteArquivo& fonte) {
    const auto face = fontesPorFace_.find(&fonte);
    if (face != fontesPorFace_.end())
        return *face->second;
    // The same file from another part's layout is the same PDF font.
    FontePdf*& pdf = fontesPorArquivo_[{fonte.Caminho(), fonte.Indice()}];
    if (pdf == nullptr) {
        fontes_.push_back(std::make_unique<FontePdf>(fonte, objetos_.Reservar()));
        pdf = fontes_.back().get();
    }
    fontesPorFace_[&fonte] = pdf;
    return *pdf;
}

void Escrita::Parte(const EscritorPdf::Parte& parte, const std::string& tituloSecao) {
    const Documento& documento = *parte.documento;
    leiautes_.push_back(std::make_unique<Leiaute>(documento, momento_));
    Leiaute& leiaute = *leiautes_.back();
    const QSizeF papel = Renderizador::TamanhoPapel(documento) * Leiaute::pontosPorCm;
    estrutura_.IniciarSecao(tituloSecao,
                            {QString::fromStdString(documento.Definicoes().titulo),
                             QString::fromStdString(documento.Definicoes().tituloResumido)});

    std::map<uint32_t, int> figuras;
    const ConteudoPagina::Fontes fontes = [this](const FonteArquivo& f) -> FontePdf& {
        return Fonte(f);
    };
    const ConteudoPagina::Figuras imagens = [&](IdFigura id) {
        int& numero = figuras[id.indice];
        if (numero == 0) {
            numero = objetos_.Reservar();
            EscreverFigura(objetos_, numero, documento.FiguraDe(id).Imagem());
        }
        return numero;
    };
    const ConteudoPagina::Artefatos artefatos = [this](const QString& texto, const QRectF& area,
                                                       bool marcadores) {
        return estrutura_.Artefato(texto, area, marcadores);
    };
    // The layout, a third of the work, runs a batch of pages ahead on
    // another core while this thread writes the batch before. Only one batch
    // at a time uses the layout, and its pages are read-only once made.
    const std::vector<int> paginas = PaginasDe(parte);
    const auto dispor = [&leiaute, &paginas, &documento](size_t de, size_t ate) {
        std::vector<std::shared_ptr<const PaginaDisposta>> dispostas;
        for (size_t i = de; i < ate; ++i) {
            const int pagina = paginas[i];
            dispostas.push_back(pagina >= 1 && pagina <= documento.NumeroPaginas()
                                    ? leiaute.Pagina(pagina)
                                    : nullptr);
        }
        return dispostas;
    };
    // This thread waits for the first batch with nothing else to do, so the
    // batches start small and double: a page takes about twice as long to
    // draw as to lay out, so each batch is laid out while the one before is
    // drawn.
    const auto fim = [&paginas](size_t de) {
        return std::min(de + std::clamp<size_t>(de, 4, 16), paginas.size());
    };
    auto proximas = std::async(modo_, dispor, 0, fim(0));
    for (size_t de = 0; de < paginas.size(); de = fim(de)) {
        AjudarAte(proximas);
        const std::vector<std::shared_ptr<const PaginaDisposta>> dispostas = proximas.get();
        if (fim(de) < paginas.size())
            proximas = std::async(modo_, dispor, fim(de), fim(fim(de)));
        for (size_t i = 0; i < dispostas.size(); ++i)
            Pagina(documento, paginas[de + i], dispostas[i].get(), papel, fontes, imagens,
                   artefatos);
    }
    EscreverLote();
    GravarLoteComprimido();
}

void Escrita::Pagina(const Documento& documento, int pagina, const PaginaDisposta* disposta,
                     const QSizeF& papel, const ConteudoPagina::Fontes& fontes,
                     const ConteudoPagina::Figuras& imagens,
                     const ConteudoPagina::Artefatos& artefatos) {
    if (andamento_ != nullptr)
        andamento_->Pagina();
    PaginaPendente pendente{objetos_.Reservar(), objetos_.Reservar(), {}, "<< >>", -1, papel};
    if (disposta != nullptr) {
        estrutura_.IniciarPagina();
        std::string buffer;
        if (!buffers_.empty()) {
            buffer = std::move(buffers_.back());
            buffers_.pop_back();
        }
        ConteudoPagina conteudo(documento, *disposta, pagina, fontes, imagens, artefatos,
                                std::move(buffer));
        pendente.fluxo = conteudo.TomarFluxo();
        pendente.recursos = conteudo.Recursos();
        pendente.chaveEstrutura = estrutura_.ConcluirPagina(pendente.objeto, conteudo.Marcados());
    }
    paginas_.push_back(pendente.objeto);
    pendentes_.push_back(std::move(pendente));
    if (pendentes_.size() >= paginasPorLote)
        EscreverLote();
}

// The batch is compressed on another core while this thread draws the
// next one; its objects are written when that one is handed over.
void Escrita::EscreverLote() {
    GravarLoteComprimido();
    if (pendentes_.empty())
        return;
    lote_ = std::make_shared<LoteComprimido>(std::move(pendentes_));
    compressao_ = std::async(modo_, [lote = lote_] {
        CompressorFlate compressor;
        lote->ComprimirRestantes(compressor);
    });
    pendentes_.clear();
}

template <class T> void Escrita::AjudarAte(const std::future<T>& pronto) {
    // A deferred task (one core) runs only when asked for: nothing to wait on.
    while (lote_ && pronto.wait_for(std::chrono::seconds(0)) == std::future_status::timeout &&
           lote_->ComprimirUma(compressor_)) {
    }
}

void Escrita::GravarLoteComprimido() {
    if (!compressao_.valid())
        return;
    lote_->ComprimirRestantes(compressor_);
    // The other core finishes the page it has taken.
    compressao_.get();
    const std::shared_ptr<LoteComprimido> feito = std::move(lote_);
    const LoteComprimido& lote = *feito;
    for (size_t i = 0; i < lote.paginas.size(); ++i) {
        const PaginaPendente& p = lote.paginas[i];
        objetos_.FluxoComprimido(p.conteudo, "", lote.comprimidos[i]);
        std::string pagina = "<< /Type /Page /Parent " + ObjetosPdf::Ref(arvorePaginas_) +
                             " /MediaBox [0 0 " + ObjetosPdf::Numero(p.tamanho.width()) + ' ' +
                             ObjetosPdf::Numero(p.tamanho.height()) + "] /Resources " + p.recursos +
                             " /Contents " + ObjetosPdf::Ref(p.conteudo);
        if (p.chaveEstrutura >= 0)
            pagina += " /StructParents " + std::to_string(p.chaveEstrutura) + " /Tabs /S";
        objetos_.Objeto(p.objeto, pagina + " >>");
    }
    // The streams' memory serves the next batches.
    for (PaginaPendente& p : feito->paginas)
        buffers_.push_back(std::move(p.fluxo));
}

std::vector<int> Escrita::Concluir(const std::vector<std::pair<std::string, size_t>>& marcadores,
                                   const EscritorPdf::Propriedades& propriedades) {
    for (const std::unique_ptr<FontePdf>& fonte : fontes_)
        fonte->Escrever(objetos_);
    estrutura_.Concluir();

    std::string filhos;
    for (const int pagina : paginas_)
        filhos += ObjetosPdf::Ref(pagina) + ' ';
    objetos_.Objeto(arvorePaginas_, "<< /Type /Pages /Kids [" + filhos + "] /Count " +
                                        std::to_string(paginas_.size()) + " >>");

    std::string catalogo = "<< /Type /Catalog /Pages " + ObjetosPdf::Ref(arvorePaginas_);
    if (!marcadores.empty()) {
        // One bookmark a part, each at the top of its first page, at the
        // reader's zoom.
        const int contorno = objetos_.Reservar();
        std::vector<int> itens;
        for (size_t i = 0; i < marcadores.size(); ++i)
            itens.push_back(objetos_.Reservar());
        for (size_t i = 0; i < marcadores.size(); ++i) {
            std::string item = "<< /Title " + ObjetosPdf::Texto(marcadores[i].first) + " /Parent " +
                               ObjetosPdf::Ref(contorno) + " /Dest [" +
                               ObjetosPdf::Ref(paginas_.at(marcadores[i].second)) +
                               " /XYZ null null null]";
            if (i > 0)
                item += " /Prev " + ObjetosPdf::Ref(itens[i - 1]);
            if (i + 1 < itens.size())
                item += " /Next " + ObjetosPdf::Ref(itens[i + 1]);
            objetos_.Objeto(itens[i], item + " >>");
        }
        objetos_.Objeto(contorno, "<< /Type /Outlines /First " + ObjetosPdf::Ref(itens.front()) +
                                      " /Last " + ObjetosPdf::Ref(itens.back()) + " /Count " +
                                      std::to_string(itens.size()) + " >>");
        catalogo += " /Outlines " + ObjetosPdf::Ref(contorno) + " /PageMode /UseOutlines";
    }

    // The properties, the same in the Info dictionary and the XMP metadata.
    const std::string criador = std::string("RelatoriosTarvo ") + TARVO_VERSAO_CURTA;
    const std::string data = DataPdf(momento_);
    std::string info = "<<";
    if (!propriedades.titulo.empty())
        info += " /Title " + ObjetosPdf::Texto(propriedades.titulo);
    if (!propriedades.assunto.empty())
        info += " /Subject " + ObjetosPdf::Texto(propriedades.assunto);
    info += " /Creator " + ObjetosPdf::Texto(criador) + " /Producer " + ObjetosPdf::Texto(criador) +
            " /CreationDate (" + data + ") /ModDate (" + data + ") >>";
    const int informacoes = objetos_.Reservar();
    objetos_.Objeto(informacoes, info);

    const std::string perfil = PerfilSrgb(propriedades.perfilCor);
    const std::string dataXmp = DataXmp(momento_);
    std::string xmp =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
        "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
        "xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
        "<dc:format>application/pdf</dc:format>\n";
    if (!propriedades.titulo.empty())
        xmp += "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" + Xml(propriedades.titulo) +
               "</rdf:li></rdf:Alt></dc:title>\n";
    if (!propriedades.assunto.empty())
        xmp += "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
               Xml(propriedades.assunto) + "</rdf:li></rdf:Alt></dc:description>\n";
    xmp += "<xmp:CreatorTool>" + Xml(criador) + "</xmp:CreatorTool>\n<xmp:CreateDate>" + dataXmp +
           "</xmp:CreateDate>\n<xmp:ModifyDate>" + dataXmp +
           "</xmp:ModifyDate>\n<xmp:MetadataDate>" + dataXmp +
           "</xmp:MetadataDate>\n<pdf:Producer>" + Xml(criador) + "</pdf:Producer>\n";
    // Without the profile the file cannot be PDF/A, and does not say it is.
    if (!perfil.empty())
        xmp += "<pdfaid:part>2</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n";
    xmp += "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
    const int metadados = objetos_.Reservar();
    objetos_.Fluxo(metadados, "/Type /Metadata /Subtype /XML", xmp, false);
    catalogo += " /Metadata " + ObjetosPdf::Ref(metadados);

    if (!perfil.empty()) {
        const int icc = objetos_.Reservar();
        objetos_.Fluxo(icc, "/N 3", perfil, true);
        const int intencao = objetos_.Reservar();
        objetos_.Objeto(intencao, "<< /Type /OutputIntent /S /GTS_PDFA1 "
                                  "/OutputConditionIdentifier (sRGB IEC61966-2.1) "
                                  "/Info (sRGB IEC61966-2.1) /DestOutputProfile " +
                                      ObjetosPdf::Ref(icc) + " >>");
        catalogo += " /OutputIntents [" + ObjetosPdf::Ref(intencao) + "]";
    }
    catalogo += " /MarkInfo << /Marked true >> /Lang (pt-BR) /ViewerPreferences "
                "<< /DisplayDocTitle true >> /StructTreeRoot " +
                ObjetosPdf::Ref(estrutura_.Raiz()) + " >>";
    objetos_.Objeto(catalogo_, catalogo);
    objetos_.Concluir(catalogo_, informacoes);
    return paginas_;
}

} // namespace

void EscritorPdf::Gravar(const std::vector<Parte>& partes, const Propriedades& propriedades,
                         const std::string& caminho, Andamento* andamento) {
    if (partes.empty())
        throw Erro(Erro::ArgumentoInvalido, "Nenhum documento para gravar em \"" + caminho + "\".",
                   origem);
    std::vector<std::string> protegidos;
    for (const Parte& parte : partes) {
        const std::vector<std::string>& doDocumento = parte.documento->Protegidos();
        protegidos.insert(protegidos.end(), doDocumento.begin(), doDocumento.end());
    }
    ArquivoAtomico arquivo(caminho, protegidos);
    Escrever(partes, propriedades, arquivo, andamento);
    arquivo.Confirmar();
}

void EscritorPdf::Escrever(const std::vector<Parte>& partes, const Propriedades& propriedades,
                           ArquivoAtomico& arquivo, Andamento* andamento) {
    if (partes.empty())
        throw Erro(Erro::ArgumentoInvalido,
                   "Nenhum documento para gravar em \"" + arquivo.Caminho() + "\".", origem);
    Escrita escrita(arquivo, MomentoSaida::Agora(), andamento);
    std::vector<std::pair<std::string, size_t>> marcadores;
    size_t inicio = 0;
    for (const Parte& parte : partes) {
        if (!parte.marcador.empty())
            marcadores.emplace_back(parte.marcador, inicio);
        inicio += PaginasDe(parte).size();
        escrita.Parte(parte, parte.marcador.empty() ? parte.documento->Definicoes().titulo
                                                    : parte.marcador);
    }
    escrita.Concluir(marcadores, propriedades);
    arquivo.Descarregar();
}

} // namespace tarvo
