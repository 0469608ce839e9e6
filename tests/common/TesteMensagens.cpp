// Error descriptions as the user reads them: one line, and shortened so that
// what identifies the problem stays.
#include "common/ArquivoAtomico.h"
#include "common/Funcoes.h"
#include <RelatoriosTarvo/Erro.h>

#include "support/Erros.h"
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using tarvo::Erro;

namespace {

using tarvo::teste::ErroDe;

bool Utf8Valido(const std::string& texto) {
    return QString::fromUtf8(texto).toUtf8().toStdString() == texto;
}

bool TerminaCom(const std::string& texto, const std::string& fim) {
    return texto.size() >= fim.size() &&
           texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
}

} // namespace

// A path longer than the system takes: the sentence, the start of the path,
// the file's name and the system's reason all stay; the middle goes, at a
// character boundary.
TEST(Mensagens, CaminhoLongoGuardaOMotivo) {
    const QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    std::string caminho = pasta.path().toStdString();
    while (caminho.size() < 5000)
        caminho += "/pasta-ção";
    caminho += "/relatório.pdf";
    const Erro erro = ErroDe([&] { tarvo::ArquivoAtomico::Gravar(caminho, "x"); });
    const std::string& descricao = erro.Descricao();
    EXPECT_EQ(erro.Numero(), Erro::GravacaoArquivo);
    EXPECT_EQ(descricao.rfind("Não foi possível gravar o arquivo \"" + pasta.path().toStdString() +
                                  "/pasta-ção",
                              0),
              0u)
        << descricao;
    EXPECT_TRUE(TerminaCom(descricao, "/relatório.pdf\": File name too long")) << descricao;
    EXPECT_NE(descricao.find("…"), std::string::npos);
    EXPECT_LE(descricao.size(), 603u);
    EXPECT_TRUE(Utf8Valido(descricao));

    // Line breaks and control characters become one space; bytes that are
    // not UTF-8 become U+FFFD, wherever the cut falls.
    const std::string bruto = "a\r\n\tb\x01 " + std::string(700, '\xC3') + " fim\n";
    const std::string linha = Erro(1, bruto).Descricao();
    EXPECT_EQ(linha.rfind("a b \xEF\xBF\xBD", 0), 0u);
    EXPECT_TRUE(TerminaCom(linha, "\xEF\xBF\xBD fim")) << linha;
    EXPECT_TRUE(Utf8Valido(linha));
    EXPECT_EQ(Erro(1, " curta ").Descricao(), "curta");
}

// A value quoted in a field's error keeps its beginning, which is what
// finds the row.
TEST(Mensagens, ValorDoCampoGuardaOInicio) {
    const tarvo::Campo campo(tarvo::Valor("Valor " + std::string(100, 'x') + " fim"), "Valor",
                             "tblDIPAM");
    const Erro erro = ErroDe([&] { tarvo::Funcoes::CampoMoeda(campo); });
    EXPECT_EQ(erro.Descricao(),
              "Type mismatch: Valor (tblDIPAM) = \"Valor " + std::string(54, 'x') + "…\"");
}
