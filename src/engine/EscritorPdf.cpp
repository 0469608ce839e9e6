#include "engine/EscritorPdf.h"

#include <RelatoriosTarvo/Erro.h>

#include "common/Andamento.h"
#include "common/ArquivoAtomico.h"
#include "engine/AcabamentoPdf.h"
#include "engine/DispositivoArquivo.h"
#include "engine/Documento.h"
#include "engine/Renderizador.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace tarvo {

namespace {

const char* const origem = TARVO_ORIGEM_MOTOR;
constexpr int resolucaoPdf = 1200;

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

// Qt paints the chosen pages of every part, each part in its own
// orientation.
void Pintar(const std::vector<EscritorPdf::Parte>& partes, const std::string& titulo,
            const QDateTime& momento, ArquivoAtomico& arquivo, Andamento* andamento) {
    DispositivoArquivo dispositivo(arquivo);
    QPdfWriter escritor(&dispositivo);
    escritor.setResolution(resolucaoPdf);
    escritor.setPageLayout(Renderizador::Folha(*partes.front().documento));
    escritor.setTitle(QString::fromStdString(titulo));
    QPainter painter;
    if (!painter.begin(&escritor)) {
        dispositivo.ExigirSucesso();
        throw arquivo.Falha("o PDF não pôde ser iniciado", origem);
    }
    bool primeira = true;
    for (const EscritorPdf::Parte& parte : partes) {
        const Documento& documento = *parte.documento;
        Renderizador renderizador(documento, momento);
        for (const int pagina : PaginasDe(parte)) {
            if (!primeira) {
                escritor.setPageLayout(Renderizador::Folha(documento));
                if (!escritor.newPage()) {
                    dispositivo.ExigirSucesso();
                    throw arquivo.Falha("a página seguinte não pôde ser iniciada", origem);
                }
            }
            primeira = false;
            if (andamento != nullptr)
                andamento->Pagina();
            if (pagina >= 1 && pagina <= documento.NumeroPaginas())
                renderizador.DesenharPagina(painter, pagina);
        }
    }
    if (!painter.end()) {
        dispositivo.ExigirSucesso();
        throw arquivo.Falha("o PDF não pôde ser concluído", origem);
    }
    dispositivo.ExigirSucesso();
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
    const std::string& caminho = arquivo.Caminho();
    if (partes.empty())
        throw Erro(Erro::ArgumentoInvalido, "Nenhum documento para gravar em \"" + caminho + "\".",
                   origem);
    const QDateTime momento = QDateTime::currentDateTime();
    std::vector<std::string> protegidos;
    for (const Parte& parte : partes) {
        const std::vector<std::string>& doDocumento = parte.documento->Protegidos();
        protegidos.insert(protegidos.end(), doDocumento.begin(), doDocumento.end());
    }
    // Qt's pages go to a temporary beside the destination that is never put
    // in place; qpdf reads it and writes the final file.
    ArquivoAtomico paginas(caminho, protegidos);
    Pintar(partes, propriedades.titulo, momento, paginas, andamento);
    paginas.Descarregar();

    std::vector<AcabamentoPdf::Marcador> marcadores;
    size_t inicio = 0;
    for (const Parte& parte : partes) {
        if (!parte.marcador.empty())
            marcadores.push_back({parte.marcador, inicio});
        inicio += PaginasDe(parte).size();
    }
    AcabamentoPdf::Acabar(paginas.Leitura(),
                          {propriedades.titulo, propriedades.assunto, DataPdf(momento)}, marcadores,
                          arquivo, andamento);
    arquivo.Descarregar();
}

} // namespace tarvo
