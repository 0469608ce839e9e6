// The PDF writer's files read back by independent readers packaged in
// Debian (poppler, MuPDF, Ghostscript, pypdf, pdfminer): the same text in
// each, the fonts embedded as subsets, qpdf's check clean, the archival and
// accessibility entries present and agreeing, and the same bytes from two
// runs with SOURCE_DATE_EPOCH.

#include "engine/Documento.h"
#include "engine/EscritorPdf.h"
#include "engine/MotorRelatorio.h"
#include "support/LeitorPdf.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo::teste {
namespace {

// The texts that used to read wrong somewhere: spaces, dashes, quotes, the
// euro sign, kerned pairs, accents, a tab inside the data.
const std::vector<std::string> frases = {
    "Preço médio — “aspas” 1.234,56 €",
    "Ofício fiscal AVATAR Wave",
    "Distribuidora São Tomé Ltda",
    "coluna\tseguinte",
};
const std::vector<std::string> lidas = {
    "Preço médio — “aspas” 1.234,56 €",
    "Ofício fiscal AVATAR Wave",
    "Distribuidora São Tomé Ltda",
    "coluna seguinte",
};

std::string Escrever(const std::string& caminho) {
    MotorRelatorio motor;
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório “Teste” — €");
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    double y = 0;
    for (const std::string& frase : frases) {
        motor.AdicionarTexto(0, y, 17, 1, frase, 0, 0, "Arial", 11, y > 2 ? -1 : 0, 0, 0, 0);
        y += 1.5;
    }
    motor.AdicionarRetangulo(0, y, 17, 0.1, -1, 0, 0, 1);
    motor.AdicionarTexto(0, y + 1, 17, 0.5, "Página %%p de %%P, %%D", 2, 0, "Arial", 6, 0, 0, 0, 0);
    motor.SalvarPdf(caminho);
    return caminho;
}

std::string Python(const std::string& programa, const std::string& pdf) {
    return Executar("/usr/bin/python3", {"-c", programa, pdf});
}

// Runs of blanks as one space, so that readers that lay lines out with
// several spaces compare equal.
std::string Normalizado(const std::string& texto) {
    return QString::fromStdString(texto).simplified().toStdString();
}

TEST(EscritorPdf, CincoLeitoresLeemOMesmoTexto) {
    QTemporaryDir pasta;
    const std::string pdf = Escrever(pasta.filePath("t.pdf").toStdString());
    const std::map<std::string, std::string> leituras = {
        {"pdftotext", Executar("pdftotext", {"-enc", "UTF-8", pdf, "-"})},
        {"mutool", Executar("mutool", {"draw", "-q", "-F", "txt", "-o", "-", pdf})},
        {"ghostscript", Executar("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER",
                                        "-sDEVICE=txtwrite", "-sOutputFile=-", pdf})},
        {"pypdf", Python("import sys, pypdf\n"
                         "for p in pypdf.PdfReader(sys.argv[1]).pages: print(p.extract_text())",
                         pdf)},
        {"pdfminer", Python("import sys\nfrom pdfminer.high_level import extract_text\n"
                            "print(extract_text(sys.argv[1]))",
                            pdf)},
    };
    for (const auto& [leitor, texto] : leituras) {
        ASSERT_FALSE(texto.empty()) << leitor;
        for (const char c : texto) {
            // Line and page ends only: no tab, no other control character.
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\r' ||
                        c == '\f')
                << leitor << " leu o caractere " << int(c);
        }
        const std::string normalizado = Normalizado(texto);
        for (const std::string& frase : lidas)
            EXPECT_NE(normalizado.find(frase), std::string::npos) << leitor << ": " << texto;
        EXPECT_NE(normalizado.find("Página 1 de 1"), std::string::npos) << leitor;
    }
}

// Every font embedded as a subset, named with its tag in both places, with
// a ToUnicode map; qpdf finds nothing wrong.
TEST(EscritorPdf, FontesSubconjuntoEmbutidasComONomeDoDescritor) {
    QTemporaryDir pasta;
    const std::string pdf = Escrever(pasta.filePath("t.pdf").toStdString());
    const QStringList fontes =
        QString::fromStdString(Executar("pdffonts", {pdf})).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(fontes.size(), 4); // two header lines, regular and bold
    for (qsizetype i = 2; i < fontes.size(); ++i) {
        EXPECT_TRUE(fontes[i].contains(QRegularExpression(
            R"(^[A-Z]{6}\+\S+\s+CID TrueType\s+Identity-H\s+yes\s+yes\s+yes\s)")))
            << fontes[i].toStdString();
    }
    const std::string expandido = pasta.filePath("qdf.pdf").toStdString();
    Executar("qpdf", {"--qdf", "--object-streams=disable", pdf, expandido});
    QFile arquivo(QString::fromStdString(expandido));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QString texto = QString::fromLatin1(arquivo.readAll());
    QStringList base, nomes;
    for (const auto& m : QRegularExpression(R"(/BaseFont /(\S+))").globalMatch(texto))
        base << m.captured(1);
    for (const auto& m : QRegularExpression(R"(/FontName /(\S+))").globalMatch(texto))
        nomes << m.captured(1);
    base.removeDuplicates();
    base.sort();
    nomes.sort();
    EXPECT_EQ(base, nomes);
    EXPECT_NE(Executar("qpdf", {"--check", pdf}).find("No syntax or stream encoding errors"),
              std::string::npos);
}

// The PDF/A-2b identification, the properties the same in the Info
// dictionary and the XMP, the sRGB OutputIntent, the tags, the language, and
// none of what PDF/A forbids; with SOURCE_DATE_EPOCH, its instant
// everywhere and the same bytes twice.
TEST(EscritorPdf, ArquivamentoEtiquetasEReproducao) {
    QTemporaryDir pasta;
    ASSERT_EQ(setenv("SOURCE_DATE_EPOCH", "1700000000", 1), 0);
    const std::string a = Escrever(pasta.filePath("a.pdf").toStdString());
    const std::string b = Escrever(pasta.filePath("b.pdf").toStdString());
    unsetenv("SOURCE_DATE_EPOCH");
    QFile fa(QString::fromStdString(a)), fb(QString::fromStdString(b));
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    const QByteArray bytes = fa.readAll();
    EXPECT_TRUE(bytes == fb.readAll());

    const QString info = QString::fromStdString(Executar("pdfinfo", {"-isodates", a}));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Title:\s+Relatório “Teste” — €\n)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Creator:\s+RelatoriosTarvo 1\.0\n)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Producer:\s+RelatoriosTarvo 1\.0\n)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(CreationDate:\s+2023-11-14T22:13:20)")));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Tagged:\s+yes\n)")));
    EXPECT_NE(TextoPdf(a).find("14/11/2023"), std::string::npos);

    // The XMP is not compressed, so it is in the file as written.
    const std::string xmp = Executar("pdfinfo", {"-meta", a});
    for (const char* esperado :
         {"<pdfaid:part>2</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
          "<rdf:li xml:lang=\"x-default\">Relatório “Teste” — €</rdf:li>",
          "<xmp:CreatorTool>RelatoriosTarvo 1.0</xmp:CreatorTool>",
          "<pdf:Producer>RelatoriosTarvo 1.0</pdf:Producer>",
          "<xmp:CreateDate>2023-11-14T22:13:20+00:00</xmp:CreateDate>",
          "<xmp:ModifyDate>2023-11-14T22:13:20+00:00</xmp:ModifyDate>"}) {
        EXPECT_NE(xmp.find(esperado), std::string::npos) << esperado << "\n" << xmp;
    }
    EXPECT_TRUE(bytes.contains("<pdfaid:part>2</pdfaid:part>"));

    const std::string expandido = pasta.filePath("qdf.pdf").toStdString();
    Executar("qpdf", {"--qdf", "--object-streams=disable", a, expandido});
    QFile arquivo(QString::fromStdString(expandido));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QString todo = QString::fromLatin1(arquivo.readAll());
    for (const char* esperado :
         {"/S /GTS_PDFA1", "/OutputConditionIdentifier (sRGB IEC61966-2.1)", "/N 3",
          "/Lang (pt-BR)", "/Marked true", "/DisplayDocTitle true", "/StructTreeRoot",
          "/S /Document", "/S /Sect", "/Artifact", "/ID ["}) {
        EXPECT_TRUE(todo.contains(QLatin1String(esperado))) << esperado;
    }
    for (const char* proibido : {"/JavaScript", "/JS ", "/Launch", "/AA ", "/OpenAction",
                                 "/LZWDecode", "/Transparency", "/Interpolate true"}) {
        EXPECT_FALSE(todo.contains(QLatin1String(proibido))) << proibido;
    }
}

// Without a colour profile to embed, the file is still written and sound,
// but neither claims PDF/A nor carries an OutputIntent.
TEST(EscritorPdf, SemPerfilDeCorNaoSeDizPdfA) {
    QTemporaryDir pasta;
    Documento documento;
    documento.IniciarDocumento();
    documento.NovaPagina();
    documento.Adicionar(Texto{{0, 0, 10, 1, documento.Internar("Sem perfil de cor"), 0, 0,
                               documento.Internar("Arial"), 11, 0, 0, 0, 0}});
    const std::string caminho = pasta.filePath("sem-perfil.pdf").toStdString();
    EscritorPdf::Gravar({{&documento, ""}},
                        {"Título", "Assunto", pasta.filePath("falta.icc").toStdString()}, caminho);

    EXPECT_NE(Executar("qpdf", {"--check", caminho}).find("No syntax or stream encoding errors"),
              std::string::npos);
    EXPECT_EQ(Normalizado(TextoPdf(caminho)), "Sem perfil de cor");
    const std::string xmp = Executar("pdfinfo", {"-meta", caminho});
    EXPECT_NE(xmp.find("<dc:title>"), std::string::npos) << xmp;
    EXPECT_EQ(xmp.find("<pdfaid:"), std::string::npos) << xmp;
    const std::string expandido = pasta.filePath("qdf.pdf").toStdString();
    Executar("qpdf", {"--qdf", "--object-streams=disable", caminho, expandido});
    QFile arquivo(QString::fromStdString(expandido));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QByteArray todo = arquivo.readAll();
    EXPECT_FALSE(todo.contains("/OutputIntent"));
    EXPECT_FALSE(todo.contains("/ICCBased"));
    EXPECT_TRUE(todo.contains("/StructTreeRoot"));
}

} // namespace
} // namespace tarvo::teste
