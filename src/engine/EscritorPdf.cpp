#include "engine/EscritorPdf.h"

#include <RelatoriosTarvo/Erro.h>

#include "common/ArquivoAtomico.h"
#include "engine/DispositivoArquivo.h"
#include "engine/Documento.h"
#include "engine/PipelineArquivo.h"
#include "engine/Renderizador.h"
#include "engine/SaidaDocumento.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>
#include <QtGlobal>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;
constexpr int resolucaoPdf = 1200;

Erro Falha(const std::string& caminho, const std::string& motivo) {
    return Erro(Erro::GravacaoArquivo,
                "Não foi possível gravar o arquivo \"" + caminho + "\": " + motivo, origem);
}

// A PDF date: D:YYYYMMDDHHmmSS+HH'mm'.
std::string DataPdf(const QDateTime& momento) {
    const int deslocamento = momento.offsetFromUtc() / 60;
    const int absoluto = deslocamento < 0 ? -deslocamento : deslocamento;
    return "D:" + momento.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() +
           (deslocamento < 0 ? "-" : "+") +
           QStringLiteral("%1'%2'")
               .arg(absoluto / 60, 2, 10, QLatin1Char('0'))
               .arg(absoluto % 60, 2, 10, QLatin1Char('0'))
               .toStdString();
}

// Qt paints every page of every part, each part in its own orientation.
void Pintar(const std::vector<EscritorPdf::Parte>& partes, const std::string& titulo,
            const QDateTime& momento, DispositivoArquivo& dispositivo,
            const std::string& caminho) {
    QPdfWriter escritor(&dispositivo);
    escritor.setResolution(resolucaoPdf);
    escritor.setPageLayout(SaidaDocumento::Folha(*partes.front().documento));
    escritor.setTitle(QString::fromStdString(titulo));
    QPainter painter;
    if (!painter.begin(&escritor)) {
        dispositivo.ExigirSucesso();
        throw Falha(caminho, "o PDF não pôde ser iniciado");
    }
    bool primeira = true;
    for (const EscritorPdf::Parte& parte : partes) {
        const Documento& documento = *parte.documento;
        Renderizador renderizador(documento, momento);
        // A PDF needs at least one page: an empty document gives a blank one.
        const int paginas = std::max(documento.NumeroPaginas(), 1);
        for (int pagina = 1; pagina <= paginas; ++pagina) {
            if (!primeira) {
                escritor.setPageLayout(SaidaDocumento::Folha(documento));
                if (!escritor.newPage()) {
                    dispositivo.ExigirSucesso();
                    throw Falha(caminho, "a página seguinte não pôde ser iniciada");
                }
            }
            primeira = false;
            if (pagina <= documento.NumeroPaginas())
                renderizador.DesenharPagina(painter, pagina);
        }
    }
    if (!painter.end()) {
        dispositivo.ExigirSucesso();
        throw Falha(caminho, "o PDF não pôde ser concluído");
    }
    dispositivo.ExigirSucesso();
}

void DefinirPropriedades(QPDF& pdf, const EscritorPdf::Propriedades& propriedades,
                         const QDateTime& momento) {
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    const std::string data = DataPdf(momento);
    info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(propriedades.titulo));
    info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(propriedades.assunto));
    info.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString(
                                    std::string("RelatoriosTarvo ") + TARVO_VERSAO_CURTA));
    info.replaceKey("/Producer", QPDFObjectHandle::newUnicodeString(
                                     std::string("Qt ") + qVersion() + ", qpdf " +
                                     QPDF::QPDFVersion()));
    info.replaceKey("/CreationDate", QPDFObjectHandle::newString(data));
    info.replaceKey("/ModDate", QPDFObjectHandle::newString(data));
}

// One bookmark per named part, at its first page, shown when the file opens.
void Marcar(QPDF& pdf, const std::vector<EscritorPdf::Parte>& partes) {
    const std::vector<QPDFPageObjectHelper> paginas = QPDFPageDocumentHelper(pdf).getAllPages();
    QPDFObjectHandle contorno = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    contorno.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    QPDFObjectHandle anterior;
    long long quantidade = 0;
    size_t inicio = 0;
    for (const EscritorPdf::Parte& parte : partes) {
        const size_t primeira = inicio;
        inicio += static_cast<size_t>(std::max(parte.documento->NumeroPaginas(), 1));
        if (parte.marcador.empty())
            continue;
        // The page at its top, at the reader's zoom.
        QPDFObjectHandle destino = QPDFObjectHandle::newArray(
            {paginas.at(primeira).getObjectHandle(), QPDFObjectHandle::newName("/XYZ"),
             QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull(),
             QPDFObjectHandle::newNull()});
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(parte.marcador));
        item.replaceKey("/Parent", contorno);
        item.replaceKey("/Dest", destino);
        if (anterior.isInitialized()) {
            item.replaceKey("/Prev", anterior);
            anterior.replaceKey("/Next", item);
        } else {
            contorno.replaceKey("/First", item);
        }
        contorno.replaceKey("/Last", item);
        anterior = item;
        ++quantidade;
    }
    if (quantidade == 0)
        return;
    contorno.replaceKey("/Count", QPDFObjectHandle::newInteger(quantidade));
    QPDFObjectHandle raiz = pdf.getRoot();
    raiz.replaceKey("/Outlines", contorno);
    raiz.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

} // namespace

void EscritorPdf::Gravar(const std::vector<Parte>& partes, const Propriedades& propriedades,
                         const std::string& caminho) {
    if (partes.empty())
        throw Erro(Erro::ArgumentoInvalido, "Nenhum documento para gravar em \"" + caminho + "\".",
                   origem);
    SaidaDocumento::ExigirAplicacao(false);
    const QDateTime momento = QDateTime::currentDateTime();
    // Qt's pages go to a temporary beside the destination that is never put
    // in place; qpdf reads it and writes the final file.
    ArquivoAtomico paginas(caminho);
    {
        DispositivoArquivo dispositivo(paginas);
        Pintar(partes, propriedades.titulo, momento, dispositivo, caminho);
    }
    paginas.Descarregar();

    ArquivoAtomico arquivo(caminho);
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(paginas.Temporario().c_str());
        DefinirPropriedades(pdf, propriedades, momento);
        Marcar(pdf, partes);
        PipelineArquivo saida(arquivo);
        QPDFWriter escritor(pdf);
        escritor.setOutputPipeline(&saida);
        // The page streams pass through untouched.
        escritor.setDecodeLevel(qpdf_dl_none);
        escritor.setCompressStreams(false);
        escritor.write();
    } catch (const Erro&) {
        throw;
    } catch (const std::exception& erro) {
        throw Falha(caminho, erro.what());
    }
    arquivo.Confirmar();
}

} // namespace tarvo
