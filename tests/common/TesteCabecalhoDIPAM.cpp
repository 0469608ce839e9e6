#include "common/Erro.h"
#include "common/Funcoes.h"
#include "data/Database.h"
#include "support/BancoTeste.h"

#include <gtest/gtest.h>

using tarvo::Database;
using tarvo::Funcoes;
using tarvo::teste::BancoTeste;

// Each code group starts with its own character, so every lookup finds at
// most one row whatever order the database returns.
TEST(CabecalhoCodigoDIPAM, CabecalhosDosGrupos) {
    BancoTeste banco;
    banco.Executar("INSERT INTO tblCódigosDIPAM (Código, Cabeçalho) VALUES "
                   "('1', 'Valores do grupo 1.'), ('2', 'Reticências..'), ('3', NULL), "
                   "('4', ''), ('5', '.'), ('6', 'Ponto. No meio'), "
                   "('70', 'Código 70.'), ('8.2', 'Código 8.2'), ('''x', 'Apóstrofo.');");
    const Database db(banco.Caminho());
    const std::pair<const char*, const char*> casos[] = {
        {"1", "Valores do grupo 1"}, // one trailing stop goes
        {"2", "Reticências."},       // only one
        {"3", ""},                   // Null
        {"4", ""},
        {"5", ""},
        {"6", "Ponto. No meio"},
        {"7", "Código 70"}, // only the first character of the code is compared
        {"8", "Código 8.2"},
        {"9", ""}, // no row
        // A quote is compared as a character, never run as SQL.
        {"'", "Apóstrofo"},
        {"1' or '1'='1", ""},
        {"'; DROP TABLE tblCódigosDIPAM; --", ""},
    };
    for (const auto& [codigo, esperado] : casos)
        EXPECT_EQ(Funcoes::CabecalhoCodigoDIPAM(db, codigo), esperado) << codigo;
}

TEST(CabecalhoCodigoDIPAM, ErroDoBancoPassaAdiante) {
    BancoTeste banco;
    banco.Executar("DROP TABLE tblCódigosDIPAM;");
    const Database db(banco.Caminho());
    EXPECT_THROW(Funcoes::CabecalhoCodigoDIPAM(db, "1"), tarvo::Erro);
}
