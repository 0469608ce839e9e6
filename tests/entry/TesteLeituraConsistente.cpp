// Reports built while another process writes to the database: every query of
// one build reads the same snapshot, in WAL and in rollback-journal mode.

#include "engine/MotorRelatorio.h"
#include "entry/ConjuntoRelatorios.h"
#include "reports/AuxiliarRelatorios.h"
#include "reports/RelatorioBase.h"
#include "support/BancoTeste.h"
#include <RelatoriosTarvo/Database.h>
#include <RelatoriosTarvo/Pedido.h>

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tarvo::teste {
namespace {

constexpr int kLinhasDIPAM = 20;

// The amounts a document shows ("1,234.00" under the C locale), in cents,
// with how often each appears.
std::map<long long, int> Valores(const std::vector<Chamada>& chamadas) {
    static const QRegularExpression valor(R"(^\d[\d,]*\.\d\d$)");
    std::map<long long, int> valores;
    for (const Chamada& c : chamadas) {
        if (c.op != "AdicionarTexto" && c.op != "AdicionarTextoMultilinha")
            continue;
        QString texto = QString::fromStdString(Str(c.args[4]));
        if (!valor.match(texto).hasMatch())
            continue;
        ++valores[texto.remove(',').remove('.').toLongLong()];
    }
    return valores;
}

class LeituraConsistente : public ::testing::TestWithParam<const char*> {};

TEST_P(LeituraConsistente, TotaisEDetalhesConcordamComEscritorAtivo) {
    BancoTeste banco;
    banco.Executar(std::string("PRAGMA journal_mode=") + GetParam());
    InserirDeclaracao(banco);
    banco.Executar("INSERT INTO tblCódigosDIPAM VALUES ('3.1', 'Outros.', 'Ajustes');"
                   "INSERT INTO tblMunicípios VALUES (1, 'Campinas');");
    for (int mes = 1; mes <= 12; ++mes)
        banco.Executar("INSERT INTO tblReferência VALUES (7, " + std::to_string(mes) +
                       ", 1); INSERT INTO tblEntradas VALUES (7, " + std::to_string(mes) +
                       ", 0, 0, 0);");

    QProcess escritor;
    escritor.start(TARVO_ESCRITOR,
                   {QString::fromStdString(banco.Caminho()), QString::number(kLinhasDIPAM)});
    ASSERT_TRUE(escritor.waitForReadyRead(30000)) << escritor.readAllStandardError().toStdString();

    std::set<long long> vistos;
    ConjuntoRelatorios relatorios;
    for (int vez = 0; vez < 12; ++vez) {
        const Database bd(banco.Caminho());
        // Entries: twelve queries, one a month, all showing one amount.
        relatorios.Construir(1, Pedido{&bd, "", 7, 0, {}, {}});
        const auto entradas = Valores(relatorios.Relatorio(1).Motor().Chamadas());
        ASSERT_EQ(entradas.size(), 1u) << "vez " << vez;
        EXPECT_EQ(entradas.begin()->second, 36);
        // DIPAM code 3: the rows of one transaction and their total.
        relatorios.Construir(7, Pedido{&bd, "", 7, 0, {}, {}});
        const auto dipam = Valores(relatorios.Relatorio(7).Motor().Chamadas());
        ASSERT_EQ(dipam.size(), 2u) << "vez " << vez;
        const long long linha = dipam.begin()->first;
        EXPECT_EQ(dipam.begin()->second, kLinhasDIPAM);
        EXPECT_EQ(dipam.rbegin()->first, linha * kLinhasDIPAM);
        vistos.insert(entradas.begin()->first);
        vistos.insert(linha);
    }
    escritor.kill();
    escritor.waitForFinished();
    // The writer really wrote between the builds.
    EXPECT_GT(vistos.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(WalEDiarioDeReversao, LeituraConsistente,
                         ::testing::Values("WAL", "DELETE"));

} // namespace
} // namespace tarvo::teste
