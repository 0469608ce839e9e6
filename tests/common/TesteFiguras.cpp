#include "common/frmFiguras.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>

using tarvo::frmFiguras;

namespace {

QByteArray Recurso(const char* caminho) {
    QFile arquivo(caminho);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

unsigned U8(const QByteArray& b, int i) {
    return static_cast<uint8_t>(b.at(i));
}
unsigned U16(const QByteArray& b, int i) {
    return U8(b, i) | (U8(b, i + 1) << 8);
}

} // namespace

TEST(frmFiguras, BrasaoGifEntrelacadoDe256CoresSemTransparencia) {
    const tarvo::Figura& brasao = frmFiguras::imgBrasaoOstranaColorido();
    EXPECT_EQ(&brasao, &frmFiguras::imgBrasaoOstranaColorido()); // loaded once
    EXPECT_EQ(brasao.Nome(), "imgBrasaoOstranaColorido");
    EXPECT_EQ(brasao.Imagem().size(), QSize(66, 72));
    EXPECT_FALSE(brasao.Imagem().hasAlphaChannel());

    const QByteArray gif = Recurso(":/tarvo/figuras/brasao.gif");
    ASSERT_GT(gif.size(), 13 + 768 + 10);
    EXPECT_EQ(gif.left(6), QByteArray("GIF89a"));
    EXPECT_EQ(U8(gif, 10) & 0x87, 0x87u) << "global colour table of 256 entries";
    // The image descriptor follows the palette: no Graphic Control Extension,
    // so no transparent colour.
    const int descritor = 13 + 3 * 256;
    EXPECT_EQ(U8(gif, descritor), 0x2Cu);
    EXPECT_EQ(U8(gif, descritor + 9) & 0xC0, 0x40u) << "interlaced, no local colour table";
    EXPECT_FALSE(gif.contains(QByteArray("\x21\xF9", 2)));
}

TEST(frmFiguras, IconeR32x32De16Cores) {
    const tarvo::Figura& icone = frmFiguras::imgIconeR();
    EXPECT_EQ(&icone, &frmFiguras::imgIconeR());
    EXPECT_EQ(icone.Nome(), "imgIconeR");
    EXPECT_EQ(icone.Imagem().size(), QSize(32, 32));

    const QByteArray ico = Recurso(":/tarvo/figuras/icone.ico");
    ASSERT_GT(ico.size(), 22 + 40);
    EXPECT_EQ(U16(ico, 2), 1u) << "icon";
    EXPECT_EQ(U8(ico, 8), 16u) << "16 colours";
    EXPECT_EQ(U16(ico, 12), 4u) << "4 bits per pixel";
    EXPECT_EQ(U16(ico, 22 + 14), 4u) << "4-bit bitmap";
}
