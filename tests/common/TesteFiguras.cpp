#include "common/frmFiguras.h"

#include <gtest/gtest.h>

using tarvo::frmFiguras;

// Each picture is loaded once, under its form name, at its drawn size.
TEST(frmFiguras, BrasaoEIcone) {
    const tarvo::Figura& brasao = frmFiguras::imgBrasaoOstranaColorido();
    EXPECT_EQ(&brasao, &frmFiguras::imgBrasaoOstranaColorido());
    EXPECT_EQ(brasao.Nome(), "imgBrasaoOstranaColorido");
    EXPECT_EQ(brasao.Imagem().size(), QSize(66, 72));
    EXPECT_FALSE(brasao.Imagem().hasAlphaChannel());

    const tarvo::Figura& icone = frmFiguras::imgIconeR();
    EXPECT_EQ(&icone, &frmFiguras::imgIconeR());
    EXPECT_EQ(icone.Nome(), "imgIconeR");
    EXPECT_EQ(icone.Imagem().size(), QSize(32, 32));
}
