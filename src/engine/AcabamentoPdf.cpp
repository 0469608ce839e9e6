#include "engine/AcabamentoPdf.h"

#include <RelatoriosTarvo/Erro.h>

#include "common/Andamento.h"
#include "common/ArquivoAtomico.h"
#include "engine/PipelineArquivo.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>

namespace tarvo {

namespace {

void DefinirPropriedades(QPDF& pdf, const AcabamentoPdf::Propriedades& propriedades) {
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    // The producer Qt wrote ("Qt 6.4.2") gets qpdf's part added.
    QPDFObjectHandle produtor = info.getKey("/Producer");
    const std::string qt = produtor.isString() ? produtor.getUTF8Value() + ", " : std::string();
    info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(propriedades.titulo));
    info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(propriedades.assunto));
    info.replaceKey("/Creator", QPDFObjectHandle::newUnicodeString(std::string("RelatoriosTarvo ") +
                                                                   TARVO_VERSAO_CURTA));
    info.replaceKey("/Producer",
                    QPDFObjectHandle::newUnicodeString(qt + "qpdf " + QPDF::QPDFVersion()));
    info.replaceKey("/CreationDate", QPDFObjectHandle::newString(propriedades.data));
    info.replaceKey("/ModDate", QPDFObjectHandle::newString(propriedades.data));
}

// One bookmark a marker, in order, each at the top of its page.
void Marcar(QPDF& pdf, const std::vector<AcabamentoPdf::Marcador>& marcadores) {
    if (marcadores.empty())
        return;
    const std::vector<QPDFPageObjectHelper> paginas = QPDFPageDocumentHelper(pdf).getAllPages();
    QPDFObjectHandle contorno = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    contorno.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    QPDFObjectHandle anterior;
    for (const AcabamentoPdf::Marcador& marcador : marcadores) {
        // The page at its top, at the reader's zoom.
        QPDFObjectHandle destino = QPDFObjectHandle::newArray(
            {paginas.at(marcador.pagina).getObjectHandle(), QPDFObjectHandle::newName("/XYZ"),
             QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull(),
             QPDFObjectHandle::newNull()});
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(marcador.titulo));
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
    }
    contorno.replaceKey("/Count",
                        QPDFObjectHandle::newInteger(static_cast<long long>(marcadores.size())));
    QPDFObjectHandle raiz = pdf.getRoot();
    raiz.replaceKey("/Outlines", contorno);
    raiz.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

// qpdf reports each percent written; a stop asked for meanwhile ends the
// writing there.
class Verificacao : public QPDFWriter::ProgressReporter {
public:
    explicit Verificacao(Andamento& andamento) : andamento_(andamento) {}
    void reportProgress(int) override { andamento_.Verificar(); }

private:
    Andamento& andamento_;
};

} // namespace

void AcabamentoPdf::Acabar(const std::string& entrada, const Propriedades& propriedades,
                           const std::vector<Marcador>& marcadores, ArquivoAtomico& saida,
                           Andamento* andamento) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(entrada.c_str());
        DefinirPropriedades(pdf, propriedades);
        Marcar(pdf, marcadores);
        PipelineArquivo arquivo(saida);
        QPDFWriter escritor(pdf);
        escritor.setOutputPipeline(&arquivo);
        escritor.setDecodeLevel(qpdf_dl_none);
        escritor.setCompressStreams(false);
        if (andamento != nullptr)
            escritor.registerProgressReporter(std::make_shared<Verificacao>(*andamento));
        escritor.write();
    } catch (const Erro&) {
        throw;
    } catch (const std::exception& erro) {
        throw saida.Falha(erro.what(), TARVO_ORIGEM_MOTOR);
    }
}

} // namespace tarvo
