#include "common/DataHora.h"
#include <RelatoriosTarvo/Erro.h>

#include <gtest/gtest.h>

using tarvo::DataHora;
using tarvo::Erro;

namespace {

std::array<int, 6> Partes(const DataHora& d) {
    const DataHora::Partes p = d.Civil();
    return {p.ano, p.mes, p.dia, p.hora, p.minuto, p.segundo};
}

} // namespace

TEST(DataHora, NumerosDeDiaDoJet) {
    EXPECT_EQ(DataHora().Serial(), 0.0);
    EXPECT_EQ(Partes(DataHora()), (std::array{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(DataHora::DeCivil(1900, 3, 1).Serial(), 61.0);
    EXPECT_EQ(DataHora::DeCivil(2001, 3, 5).Serial(), 36955.0);
    EXPECT_EQ(DataHora::DeCivil(9999, 12, 31).Serial(), 2958465.0);
    EXPECT_EQ(DataHora::DeCivil(100, 1, 1).Serial(), -657434.0);
    EXPECT_DOUBLE_EQ(DataHora::DeCivil(2001, 3, 5, 14, 30, 0).Serial(), 36955.0 + 14.5 / 24.0);
    EXPECT_EQ(Partes(DataHora::DeCivil(2001, 3, 5, 23, 59, 59)),
              (std::array{2001, 3, 5, 23, 59, 59}));
    // Out-of-range parts roll over.
    EXPECT_EQ(DataHora::DeCivil(2000, 13, 1), DataHora::DeCivil(2001, 1, 1));
    EXPECT_EQ(DataHora::DeCivil(2001, 2, 29), DataHora::DeCivil(2001, 3, 1));
    EXPECT_EQ(DataHora::DeCivil(2001, 3, 5, 24, 0, 0), DataHora::DeCivil(2001, 3, 6));

    for (int64_t dia = -657434; dia <= 2958465; dia += 997) {
        const DataHora::Partes p = DataHora::DeSerial(static_cast<double>(dia)).Civil();
        ASSERT_EQ(DataHora::DeCivil(p.ano, p.mes, p.dia).Serial(), static_cast<double>(dia));
    }
}

TEST(DataHora, NegativosContamAHoraParaFrenteEOSegundoArredonda) {
    // -1.25 is 29/12/1899 06:00: the day towards zero, the fraction as time.
    EXPECT_EQ(DataHora::DeCivil(1899, 12, 29, 6, 0, 0).Serial(), -1.25);
    EXPECT_EQ(Partes(DataHora::DeSerial(-1.25)), (std::array{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(Partes(DataHora::DeSerial(-0.5)), (std::array{1899, 12, 30, 12, 0, 0}));
    EXPECT_EQ(Partes(DataHora::DeCivil(1850, 7, 14, 8, 15, 30)),
              (std::array{1850, 7, 14, 8, 15, 30}));
    EXPECT_EQ(Partes(DataHora::DeSerial(0.99999999)), (std::array{1899, 12, 31, 0, 0, 0}));
    EXPECT_EQ(Partes(DataHora::DeSerial(-1.99999999)), (std::array{1899, 12, 30, 0, 0, 0}));
    EXPECT_FALSE(DataHora::DeSerial(36955.0).TemHora());
    EXPECT_TRUE(DataHora::DeSerial(36955.5).TemHora());
}

TEST(DataHora, TextoIso) {
    const DataHora esperada = DataHora::DeCivil(2001, 3, 5, 14, 30, 0);
    for (const char* texto : {"2001-03-05 14:30:00", "2001-03-05T14:30:00", " 2001-03-05 14:30 "})
        EXPECT_EQ(DataHora::DeTexto(texto), esperada) << texto;
    EXPECT_EQ(DataHora::DeTexto("2000-02-29"), DataHora::DeCivil(2000, 2, 29));
    EXPECT_EQ(DataHora::DeTexto("1899-12-29 06:00:00").Serial(), -1.25);
    EXPECT_NEAR(DataHora::DeTexto("2001-03-05 14:30:00.250").Serial(),
                36955.0 + (14.5 * 3600 + 0.25) / 86400.0, 1e-9);

    for (const char* texto :
         {"", "abc", "05/03/2001", "2001-3-5", "2001-02-29", "2001-13-01", "2001-04-31",
          "2001-03-05 25:00:00", "2001-03-05 14:60", "2001-03-05X14:30:00", "2001-03-05 14",
          "2001-03-05 14:30:00.", "2001-03-05 14:30:00Z", "0050-01-01", "36955"}) {
        try {
            DataHora::DeTexto(texto);
            ADD_FAILURE() << texto;
        } catch (const Erro& e) {
            EXPECT_EQ(e.Numero(), 13) << texto;
        }
    }
}
