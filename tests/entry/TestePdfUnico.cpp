// The whole declaration in one PDF, read back with poppler and qpdf as a
// reader of the file would: every selected report in list order with its own
// pages, a bookmark per report at its first page, the document's properties.

#include "support/BancoTeste.h"
#include "support/LeitorPdf.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tarvo::teste {
namespace {

std::string Sql(const char* caminho) {
    std::ifstream arquivo(caminho);
    std::stringstream texto;
    texto << arquivo.rdbuf();
    return texto.str();
}

// The text of one page, the placeholders' date and time left out (the two
// files are written a moment apart).
std::string TextoPagina(const std::string& pdf, int pagina) {
    QString texto = QString::fromStdString(
        Executar("pdftotext", {"-f", std::to_string(pagina), "-l", std::to_string(pagina),
                               "-layout", pdf, "-"}));
    texto.remove(QRegularExpression(R"(\d\d/\d\d/\d\d\d\d|\d\d:\d\d:\d\d)"));
    return texto.toStdString();
}

std::string Informacao(const std::string& pdf, const std::string& chave) {
    const QString info = QString::fromStdString(Executar("pdfinfo", {pdf}));
    const auto achado = QRegularExpression("^" + QString::fromStdString(chave) + R"(:\s*(.*)$)",
                                           QRegularExpression::MultilineOption)
                            .match(info);
    return achado.hasMatch() ? achado.captured(1).toStdString() : std::string();
}

TEST(PdfUnico, TodosOsRelatoriosComMarcadoresEPropriedades) {
    BancoTeste banco;
    banco.Executar(Sql(TARVO_FONTE_DIR "/demo/demo.sql"));
    const QTemporaryDir pasta;
    const std::string unico = pasta.filePath("nova/declaracao.pdf").toStdString();
    const std::string separados = pasta.filePath("pdf").toStdString();
    // Reports 1, 3, 6, 8 and 10: portrait and landscape, one page and several.
    QProcess programa;
    programa.start(TARVO_PROGRAMA,
                   {"--banco", QString::fromStdString(banco.Caminho()), "--declaracao", "1",
                    "--selecao", QString::number(1 | 4 | 32 | 128 | 512), "--pdf-unico",
                    QString::fromStdString(unico), "--pdf", QString::fromStdString(separados)});
    ASSERT_TRUE(programa.waitForFinished(60000));
    ASSERT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();

    const PdfLido lido = LerPdf(unico);
    const QStringList arquivos = QDir(QString::fromStdString(separados)).entryList(QDir::Files);
    ASSERT_EQ(arquivos.size(), 5);
    const char* const titulos[] = {
        "1 - Cadastro do Contribuinte", "3 - Saídas", "6 - Informações para a DIPAM - Código 1",
        "8 - Informações para a DIPAM - Código 3", "10 - Resumo de Receita Bruta"};
    std::vector<int> primeiras;
    int pagina = 1;
    for (const QString& arquivo : arquivos) {
        const std::string proprio = separados + "/" + arquivo.toStdString();
        const PdfLido relatorio = LerPdf(proprio);
        primeiras.push_back(pagina);
        for (size_t p = 0; p < relatorio.paginas.size(); ++p, ++pagina) {
            ASSERT_LE(pagina, static_cast<int>(lido.paginas.size()));
            EXPECT_EQ(lido.paginas[pagina - 1].largura, relatorio.paginas[p].largura);
            EXPECT_EQ(lido.paginas[pagina - 1].altura, relatorio.paginas[p].altura);
            EXPECT_EQ(TextoPagina(unico, pagina), TextoPagina(proprio, static_cast<int>(p) + 1))
                << arquivo.toStdString() << " página " << p + 1;
        }
        // Each report's own file carries the declaration it shows.
        EXPECT_EQ(Informacao(proprio, "Creator"), "RelatoriosTarvo 1.0");
        EXPECT_NE(Informacao(proprio, "Subject").find("110.042.490.114"), std::string::npos);
    }
    EXPECT_EQ(pagina - 1, static_cast<int>(lido.paginas.size()));
    EXPECT_GT(lido.paginas.size(), 5u);

    const QJsonObject json =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(Executar("qpdf", {"--json", "--json-key=outlines", unico})))
            .object();
    const QJsonArray marcadores = json["outlines"].toArray();
    ASSERT_EQ(marcadores.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(marcadores[i]["title"].toString().toStdString(), titulos[i]);
        EXPECT_EQ(marcadores[i]["destpageposfrom1"].toInt(), primeiras[static_cast<size_t>(i)]);
    }
    // The file opens with the bookmarks shown.
    const QString trailer =
        QString::fromStdString(Executar("qpdf", {"--show-object=trailer", unico}));
    const auto raiz = QRegularExpression(R"(/Root (\d+) 0 R)").match(trailer);
    ASSERT_TRUE(raiz.hasMatch()) << trailer.toStdString();
    EXPECT_NE(Executar("qpdf", {"--show-object=" + raiz.captured(1).toStdString(), unico})
                  .find("/PageMode /UseOutlines"),
              std::string::npos);

    EXPECT_EQ(Informacao(unico, "Title"), "Relatórios da Declaração do Vantiro");
    EXPECT_EQ(Informacao(unico, "Subject"),
              "Declaração 1 — IE 110.042.490.114, exercício 2003, Distribuidora de Alimentos São "
              "Tomé Ltda");
    EXPECT_EQ(Informacao(unico, "Creator"), "RelatoriosTarvo 1.0");
    EXPECT_EQ(Informacao(unico, "Producer"), "RelatoriosTarvo 1.0");
    EXPECT_FALSE(Informacao(unico, "CreationDate").empty());
    EXPECT_NE(Executar("qpdf", {"--check", unico}).find("No syntax or stream encoding errors"),
              std::string::npos);
}

} // namespace
} // namespace tarvo::teste
