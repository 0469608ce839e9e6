#!/usr/bin/env python3
"""Draws the two pictures of frmFiguras and writes them as files.

    imgBrasaoOstranaColorido -> src/common/figuras/brasao.gif
        the coloured coat of arms: 66 x 72 pixels, GIF with a 256-colour
        global palette, interlaced, no transparent colour.
    imgIconeR                -> src/common/figuras/icone.ico
        the report icon: 32 x 32 pixels, 16 colours (4 bits per pixel).
    the same icon            -> data/icones/32/relatorios-tarvo.png
                                data/icones/64/relatorios-tarvo.png
        the desktop's icon of the program: PNG with a transparent background,
        32 x 32 and doubled to 64 x 64 pixel for pixel.

Python 3 standard library only: the GIF LZW encoder and the ICO/BMP writer
are below. The output is deterministic, so running the script again gives the
same bytes.

    python3 tools/desenhar_figuras.py [--saida DIR] [--icones DIR] [--previa DIR]

--previa also writes enlarged PNG renderings for looking at the artwork.
"""

import argparse
import math
import os
import struct
import zlib

# ---------------------------------------------------------------------------
# Geometry helpers (coordinates in pixels, y downwards)
# ---------------------------------------------------------------------------


def dentro_poligono(pontos, x, y):
    dentro = False
    n = len(pontos)
    for i in range(n):
        x1, y1 = pontos[i]
        x2, y2 = pontos[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xc = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xc:
                dentro = not dentro
    return dentro


def distancia_segmento(px, py, x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    comprimento2 = dx * dx + dy * dy
    t = 0.0 if comprimento2 == 0 else max(0.0, min(1.0, ((px - x1) * dx + (py - y1) * dy) / comprimento2))
    qx, qy = x1 + t * dx, y1 + t * dy
    return math.hypot(px - qx, py - qy)


def distancia_poligono(pontos, x, y):
    """Signed distance to a polygon: negative inside."""
    d = min(
        distancia_segmento(x, y, *pontos[i], *pontos[(i + 1) % len(pontos)])
        for i in range(len(pontos))
    )
    return -d if dentro_poligono(pontos, x, y) else d


def estrela(cx, cy, raio, razao=0.40, giro=-90.0):
    pontos = []
    for k in range(10):
        r = raio if k % 2 == 0 else raio * razao
        a = math.radians(giro + 36.0 * k)
        pontos.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pontos


def misturar(c1, c2, t):
    return tuple(c1[i] + (c2[i] - c1[i]) * t for i in range(3))


# ---------------------------------------------------------------------------
# The coat of arms
# ---------------------------------------------------------------------------

LARGURA_BRASAO, ALTURA_BRASAO = 66, 72

BRANCO = (255, 255, 255)
OURO = (232, 182, 36)
OURO_CLARO = (252, 226, 120)
OURO_ESCURO = (150, 98, 10)
CONTORNO = (70, 44, 10)
AZUL = (20, 64, 168)
VERDE_CAMPO = (16, 132, 62)
PRATA = (236, 240, 246)
FOLHA = (46, 140, 52)
FOLHA_CLARA = (120, 196, 92)
FOLHA_ESCURA = (18, 80, 30)
CAULE = (92, 66, 30)
FRUTO = (200, 24, 32)
VERMELHO = (196, 26, 38)
VERMELHO_CLARO = (232, 76, 80)
VERMELHO_ESCURO = (110, 10, 20)

# Shield: flat top, straight sides, round base.
ESCUDO_CX, ESCUDO_TOPO, ESCUDO_MEIO, ESCUDO_RAIO = 33.0, 18.0, 40.0, 15.5


def distancia_escudo(x, y, folga=0.0):
    """Signed distance to the shield outline (negative inside), shrunk by folga."""
    if y <= ESCUDO_MEIO:
        d = max(abs(x - ESCUDO_CX) - ESCUDO_RAIO, ESCUDO_TOPO - y)
    else:
        d = math.hypot(x - ESCUDO_CX, y - ESCUDO_MEIO) - ESCUDO_RAIO
    return d + folga


ESTRELA_TOPO = estrela(33.0, 9.2, 8.6)
ESTRELA_CHEFE = estrela(33.0, 25.6, 4.6)

# The wreath: two branches along a circle around the shield.
COROA_CX, COROA_CY, COROA_R = 33.0, 38.0, 25.0


def folhas():
    """Leaves as (cx, cy, direction angle, half length, half width)."""
    lista = []
    for lado in (-1, 1):
        # Angles measured from the bottom of the circle up the branch's side.
        for k in range(9):
            s = 18.0 + 15.5 * k  # degrees from the bottom
            a = math.radians(90.0 + lado * -s) if lado > 0 else math.radians(90.0 + s)
            # point on the branch
            bx = COROA_CX + COROA_R * math.cos(a)
            by = COROA_CY + COROA_R * math.sin(a)
            # tangent pointing up the branch
            tx, ty = -math.sin(a), math.cos(a)
            if lado > 0:
                tx, ty = -tx, -ty
            # outward normal
            nx, ny = math.cos(a), math.sin(a)
            tamanho = 4.3 - 0.12 * k
            for lado_folha in (1, -1):
                ang = math.atan2(ty + lado_folha * 0.9 * ny, tx + lado_folha * 0.9 * nx)
                cx = bx + math.cos(ang) * tamanho * 0.85
                cy = by + math.sin(ang) * tamanho * 0.85
                lista.append((cx, cy, ang, tamanho, tamanho * 0.42))
    return lista


FOLHAS = folhas()


def frutos():
    lista = []
    for lado in (-1, 1):
        for k in (1, 3, 5, 7):
            s = 26.0 + 15.5 * k
            a = math.radians(90.0 + s) if lado < 0 else math.radians(90.0 - s)
            r = COROA_R - 2.2
            lista.append((COROA_CX + r * math.cos(a), COROA_CY + r * math.sin(a)))
    return lista


FRUTOS = frutos()


def na_folha(f, x, y, escala=1.0):
    cx, cy, ang, a, b = f
    u = (x - cx) * math.cos(ang) + (y - cy) * math.sin(ang)
    v = -(x - cx) * math.sin(ang) + (y - cy) * math.cos(ang)
    a *= escala
    b *= escala
    if abs(u) >= a:
        return None
    limite = b * (1.0 - (u / a) ** 2)
    if abs(v) > limite:
        return None
    return v / max(limite, 1e-6)


def no_caule(x, y):
    d = math.hypot(x - COROA_CX, y - COROA_CY)
    if abs(d - COROA_R) > 0.75:
        return False
    a = math.degrees(math.atan2(y - COROA_CY, x - COROA_CX))
    # distance in degrees from the bottom (90 degrees)
    desde_base = abs(((a - 90.0) + 180.0) % 360.0 - 180.0)
    return 6.0 <= desde_base <= 150.0


# The ribbon across the base.
FITA_X0, FITA_X1 = 5.0, 61.0


def fita_centro(x):
    t = (x - 33.0) / 28.0
    return 61.5 + 3.5 * (1.0 - t * t)


def na_fita(x, y):
    """None outside, else (distance to the edge, position across -1..1)."""
    if x < FITA_X0 or x > FITA_X1:
        return None
    c = fita_centro(x)
    meia = 3.6
    # swallowtail notches at both ends
    borda = min(x - FITA_X0, FITA_X1 - x)
    if borda < 3.0 and abs(y - c) < (3.0 - borda) * 0.9:
        return None
    if abs(y - c) > meia:
        return None
    return min(meia - abs(y - c), borda), (y - c) / meia


def cor_brasao(x, y):
    # Ribbon (front-most at the base)
    f = na_fita(x, y)
    if f is not None:
        borda, atraves = f
        if borda < 0.8:
            return VERMELHO_ESCURO
        if atraves < -0.45:
            return VERMELHO_CLARO
        return VERMELHO

    # Star above the shield
    d = distancia_poligono(ESTRELA_TOPO, x, y)
    if d < 0:
        if d > -0.9:
            return OURO_ESCURO
        # light from the upper left
        return OURO_CLARO if (x - 33.0) + (y - 9.2) * 0.6 < -1.0 else OURO

    # Shield
    d = distancia_escudo(x, y)
    if d < 0:
        if d > -1.0:
            return CONTORNO
        if d > -3.2:
            return OURO_CLARO if d > -1.7 and x < ESCUDO_CX else OURO
        # inner field
        if y < 31.5:
            ds = distancia_poligono(ESTRELA_CHEFE, x, y)
            if ds < 0:
                return PRATA
            if y > 30.6:
                return OURO_ESCURO  # thin line under the chief
            return AZUL
        # green field with two silver wavy bars (the rivers)
        for base in (40.5, 46.0):
            onda = base + 1.1 * math.sin((x - 21.0) * 0.62)
            if abs(y - onda) < 1.25:
                return PRATA
        return VERDE_CAMPO

    # Coffee berries and leaves of the wreath
    for (fx, fy) in FRUTOS:
        r = math.hypot(x - fx, y - fy)
        if r < 1.5:
            return VERMELHO_CLARO if (x - fx) + (y - fy) < -0.8 else FRUTO
    for folha in FOLHAS:
        v = na_folha(folha, x, y)
        if v is not None:
            if abs(v) > 0.72:
                return FOLHA_ESCURA
            if abs(v) < 0.12:
                return FOLHA_ESCURA  # the vein
            return FOLHA_CLARA if v < 0 else FOLHA
    if no_caule(x, y):
        return CAULE
    return BRANCO


def desenhar_brasao(amostras=5):
    """RGB rows, supersampled amostras x amostras per pixel."""
    linhas = []
    for py in range(ALTURA_BRASAO):
        linha = []
        for px in range(LARGURA_BRASAO):
            soma = [0.0, 0.0, 0.0]
            for sy in range(amostras):
                for sx in range(amostras):
                    c = cor_brasao(px + (sx + 0.5) / amostras, py + (sy + 0.5) / amostras)
                    for i in range(3):
                        soma[i] += c[i]
            n = amostras * amostras
            linha.append(tuple(int(round(s / n)) for s in soma))
        linhas.append(linha)
    return linhas


# ---------------------------------------------------------------------------
# Colour quantization: median cut to at most 256 colours
# ---------------------------------------------------------------------------


def paleta_corte_mediano(pixels, maximo=256):
    contagem = {}
    for p in pixels:
        contagem[p] = contagem.get(p, 0) + 1
    cores = list(contagem.items())
    if len(cores) <= maximo:
        return sorted(c for c, _ in cores)
    caixas = [cores]
    while len(caixas) < maximo:
        # split the box with the widest channel range (weighted by population)
        melhor, melhor_valor, melhor_canal = None, -1, 0
        for i, caixa in enumerate(caixas):
            if len(caixa) < 2:
                continue
            for canal in range(3):
                valores = [c[canal] for c, _ in caixa]
                amplitude = max(valores) - min(valores)
                peso = amplitude * math.sqrt(sum(n for _, n in caixa))
                if peso > melhor_valor:
                    melhor, melhor_valor, melhor_canal = i, peso, canal
        if melhor is None or melhor_valor <= 0:
            break
        caixa = sorted(caixas.pop(melhor), key=lambda cn: (cn[0][melhor_canal], cn[0]))
        total = sum(n for _, n in caixa)
        acumulado, corte = 0, 1
        for j, (_, n) in enumerate(caixa):
            acumulado += n
            if acumulado * 2 >= total:
                corte = max(1, min(len(caixa) - 1, j + 1))
                break
        caixas.append(caixa[:corte])
        caixas.append(caixa[corte:])
    paleta = []
    for caixa in caixas:
        total = sum(n for _, n in caixa)
        paleta.append(tuple(int(round(sum(c[i] * n for c, n in caixa) / total)) for i in range(3)))
    return sorted(set(paleta))


def indexar(linhas, paleta):
    cache = {}

    def mais_proxima(c):
        if c not in cache:
            cache[c] = min(
                range(len(paleta)),
                key=lambda i: (paleta[i][0] - c[0]) ** 2 * 3 + (paleta[i][1] - c[1]) ** 2 * 4 + (paleta[i][2] - c[2]) ** 2 * 2,
            )
        return cache[c]

    return [[mais_proxima(c) for c in linha] for linha in linhas]


# ---------------------------------------------------------------------------
# GIF writer: 256-colour global palette, interlaced, LZW
# ---------------------------------------------------------------------------


def lzw_gif(indices, tamanho_minimo=8):
    """GIF-flavoured LZW (variable code size up to 12 bits, LSB first)."""
    limpar = 1 << tamanho_minimo
    fim = limpar + 1
    saida = bytearray()
    acumulador = 0
    bits = 0

    def emitir(codigo, tamanho):
        nonlocal acumulador, bits
        acumulador |= codigo << bits
        bits += tamanho
        while bits >= 8:
            saida.append(acumulador & 0xFF)
            acumulador >>= 8
            bits -= 8

    def novo_dicionario():
        return {(i,): i for i in range(limpar)}

    dicionario = novo_dicionario()
    proximo = fim + 1
    tamanho = tamanho_minimo + 1
    emitir(limpar, tamanho)
    atual = ()
    for indice in indices:
        candidato = atual + (indice,)
        if candidato in dicionario:
            atual = candidato
            continue
        emitir(dicionario[atual], tamanho)
        if proximo < 4096:
            dicionario[candidato] = proximo
            proximo += 1
            if proximo > (1 << tamanho) and tamanho < 12:
                tamanho += 1
        else:
            emitir(limpar, tamanho)
            dicionario = novo_dicionario()
            proximo = fim + 1
            tamanho = tamanho_minimo + 1
        atual = (indice,)
    if atual:
        emitir(dicionario[atual], tamanho)
    emitir(fim, tamanho)
    if bits > 0:
        saida.append(acumulador & 0xFF)
    return bytes(saida)


def ordem_entrelacada(altura):
    ordem = []
    for inicio, passo in ((0, 8), (4, 8), (2, 4), (1, 2)):
        ordem.extend(range(inicio, altura, passo))
    return ordem


def escrever_gif(caminho, indices, paleta):
    altura = len(indices)
    largura = len(indices[0])
    paleta = list(paleta) + [(0, 0, 0)] * (256 - len(paleta))
    assert len(paleta) == 256
    dados = bytearray()
    dados += b"GIF89a"
    # logical screen: global colour table present, 8 bits of colour
    # resolution, not sorted, 2^(7+1) = 256 entries
    dados += struct.pack("<HHBBB", largura, altura, 0xF7, 0, 0)
    for r, g, b in paleta:
        dados += bytes((r, g, b))
    # no Graphic Control Extension: no transparent colour
    dados += b"\x2c" + struct.pack("<HHHHB", 0, 0, largura, altura, 0x40)  # interlaced
    corrente = []
    for y in ordem_entrelacada(altura):
        corrente.extend(indices[y])
    comprimido = lzw_gif(corrente, 8)
    dados.append(8)
    for i in range(0, len(comprimido), 255):
        bloco = comprimido[i:i + 255]
        dados.append(len(bloco))
        dados += bloco
    dados.append(0)
    dados += b"\x3b"
    with open(caminho, "wb") as arquivo:
        arquivo.write(dados)


def lzw_gif_decodificar(dados, tamanho_minimo):
    """Decoder used only to check the encoder's output."""
    limpar = 1 << tamanho_minimo
    fim = limpar + 1
    pos_bit = 0
    total_bits = len(dados) * 8

    def ler(tamanho):
        nonlocal pos_bit
        valor = 0
        for k in range(tamanho):
            if pos_bit >= total_bits:
                raise ValueError("fim dos dados")
            byte = dados[pos_bit >> 3]
            valor |= ((byte >> (pos_bit & 7)) & 1) << k
            pos_bit += 1
        return valor

    saida = []
    tamanho = tamanho_minimo + 1
    tabela = [(i,) for i in range(limpar)] + [None, None]
    anterior = None
    while True:
        codigo = ler(tamanho)
        if codigo == limpar:
            tabela = [(i,) for i in range(limpar)] + [None, None]
            tamanho = tamanho_minimo + 1
            anterior = None
            continue
        if codigo == fim:
            break
        if anterior is None:
            entrada = tabela[codigo]
        elif codigo < len(tabela):
            entrada = tabela[codigo]
            if len(tabela) < 4096:
                tabela.append(anterior + (entrada[0],))
        else:
            entrada = anterior + (anterior[0],)
            tabela.append(entrada)
        saida.extend(entrada)
        anterior = entrada
        if len(tabela) == (1 << tamanho) and tamanho < 12:
            tamanho += 1
    return saida


def verificar_gif(caminho, indices):
    with open(caminho, "rb") as arquivo:
        dados = arquivo.read()
    assert dados[:6] == b"GIF89a"
    largura, altura, campos = struct.unpack("<HHB", dados[6:11])
    assert (largura, altura) == (LARGURA_BRASAO, ALTURA_BRASAO)
    assert campos & 0x80 and (campos & 0x07) == 7, "paleta global de 256 cores"
    pos = 13 + 3 * 256
    assert dados[pos] == 0x2C, "sem extensões antes da imagem"
    assert dados[pos + 9] & 0x40, "entrelaçado"
    pos += 10
    tamanho_minimo = dados[pos]
    pos += 1
    comprimido = bytearray()
    while dados[pos] != 0:
        n = dados[pos]
        comprimido += dados[pos + 1:pos + 1 + n]
        pos += 1 + n
    assert dados[pos + 1:] == b"\x3b"
    fluxo = lzw_gif_decodificar(bytes(comprimido), tamanho_minimo)
    esperado = []
    for y in ordem_entrelacada(altura):
        esperado.extend(indices[y])
    assert fluxo == esperado, "o LZW não volta à imagem"


# ---------------------------------------------------------------------------
# The icon: 32 x 32, 16 colours, a report page with an "R"
# ---------------------------------------------------------------------------

PALETA_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PRETO, GRENA, CINZA_CLARO, CINZA, VERMELHO_16, AMARELO, AZUL_MARINHO, BRANCO_16 = 0, 1, 7, 8, 9, 11, 4, 15

LETRA_R = [
    "########..",
    "#########.",
    "###....###",
    "###....###",
    "###....###",
    "#########.",
    "########..",
    "###..###..",
    "###...###.",
    "###...####",
    "###....###",
]


def desenhar_icone():
    """(indices, mask) rows top-down; mask 1 = transparent."""
    T = None
    img = [[T] * 32 for _ in range(32)]

    def por(x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            img[y][x] = c

    # the page, with a folded top-right corner
    esq, dir_, topo, base, dobra = 3, 23, 1, 28, 6
    for y in range(topo, base + 1):
        for x in range(esq, dir_ + 1):
            if x - (dir_ - dobra) > y - topo:
                continue  # cut corner
            borda = x in (esq, dir_) or y in (topo, base) or x - (dir_ - dobra) == y - topo
            por(x, y, PRETO if borda else BRANCO_16)
    # the fold
    for y in range(topo, topo + dobra + 1):
        for x in range(dir_ - dobra, dir_ + 1):
            if x - (dir_ - dobra) <= y - topo:
                if x == dir_ - dobra or y == topo + dobra:
                    por(x, y, PRETO)
                elif img[y][x] is None or img[y][x] == BRANCO_16:
                    por(x, y, CINZA_CLARO)
    # shadow
    for y in range(topo + dobra + 1, base + 2):
        por(dir_ + 1, y, CINZA)
    for x in range(esq + 2, dir_ + 2):
        por(x, base + 1, CINZA)
    # title and text lines
    for x in range(esq + 3, dir_ - dobra - 1):
        por(x, 4, AZUL_MARINHO)
        por(x, 5, AZUL_MARINHO)
    linhas = [8, 11, 14, 17, 20, 23]
    for i, y in enumerate(linhas):
        fim = dir_ - 3 if i % 3 != 2 else dir_ - 8
        for x in range(esq + 3, fim + 1):
            por(x, y, CINZA)
    # a small table block on the left of the lines
    for y in (8, 11, 14):
        por(esq + 2, y, CINZA)

    # the red badge with the white R, bottom right
    bx0, by0, lado = 15, 15, 16
    for y in range(by0, by0 + lado):
        for x in range(bx0, bx0 + lado):
            dx = min(x - bx0, bx0 + lado - 1 - x)
            dy = min(y - by0, by0 + lado - 1 - y)
            if dx + dy < 2:
                continue  # rounded corners
            borda = dx == 0 or dy == 0 or dx + dy == 2
            por(x, y, GRENA if borda else VERMELHO_16)
    ox, oy = bx0 + 3, by0 + 3
    for j, linha in enumerate(LETRA_R):
        for i, c in enumerate(linha):
            if c == "#":
                por(ox + i, oy + j, BRANCO_16)

    indices = [[0 if c is None else c for c in linha] for linha in img]
    mascara = [[1 if c is None else 0 for c in linha] for linha in img]
    return indices, mascara


def escrever_ico(caminho, indices, mascara):
    largura = altura = 32
    cabecalho_bmp = struct.pack(
        "<IiiHHIIiiII", 40, largura, altura * 2, 1, 4, 0, 0, 0, 0, 16, 0
    )
    paleta = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETA_16)
    xor = bytearray()
    for y in reversed(range(altura)):  # bottom-up
        linha = indices[y]
        for x in range(0, largura, 2):
            xor.append((linha[x] << 4) | linha[x + 1])
        # 16 bytes per row: already a multiple of 4
    e = bytearray()
    for y in reversed(range(altura)):
        bits = 0
        for x in range(largura):
            bits = (bits << 1) | mascara[y][x]
        e += struct.pack(">I", bits)  # 4 bytes per row, MSB = leftmost pixel
    imagem = cabecalho_bmp + paleta + bytes(xor) + bytes(e)
    diretorio = struct.pack("<HHH", 0, 1, 1)
    entrada = struct.pack("<BBBBHHII", largura, altura, 16, 0, 1, 4, len(imagem), 6 + 16)
    with open(caminho, "wb") as arquivo:
        arquivo.write(diretorio + entrada + imagem)


# ---------------------------------------------------------------------------
# PNG files: enlarged previews, and the desktop's icons
# ---------------------------------------------------------------------------


def escrever_png(caminho, linhas, escala):
    """Pixels are (r, g, b), or (r, g, b, a) for all of them when any has alpha."""
    alfa = any(len(c) == 4 for linha in linhas for c in linha)
    altura = len(linhas) * escala
    largura = len(linhas[0]) * escala
    cru = bytearray()
    for linha in linhas:
        expandida = bytearray()
        for c in linha:
            expandida += bytes(tuple(c) + ((255,) if alfa and len(c) == 3 else ())) * escala
        for _ in range(escala):
            cru.append(0)
            cru += expandida

    def pedaco(tipo, dados):
        return struct.pack(">I", len(dados)) + tipo + dados + struct.pack(">I", zlib.crc32(tipo + dados) & 0xFFFFFFFF)

    tipo_cor = 6 if alfa else 2
    png = b"\x89PNG\r\n\x1a\n"
    png += pedaco(b"IHDR", struct.pack(">IIBBBBB", largura, altura, 8, tipo_cor, 0, 0, 0))
    png += pedaco(b"IDAT", zlib.compress(bytes(cru), 9))
    png += pedaco(b"IEND", b"")
    with open(caminho, "wb") as arquivo:
        arquivo.write(png)


def main():
    raiz = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    argumentos = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argumentos.add_argument("--saida", default=os.path.join(raiz, "src", "common", "figuras"))
    argumentos.add_argument("--icones", default=os.path.join(raiz, "data", "icones"))
    argumentos.add_argument("--previa", default=None, help="folder for enlarged PNG previews")
    opcoes = argumentos.parse_args()
    os.makedirs(opcoes.saida, exist_ok=True)

    rgb = desenhar_brasao()
    paleta = paleta_corte_mediano([c for linha in rgb for c in linha], 256)
    indices = indexar(rgb, paleta)
    caminho_gif = os.path.join(opcoes.saida, "brasao.gif")
    escrever_gif(caminho_gif, indices, paleta)
    verificar_gif(caminho_gif, indices)

    icone, mascara = desenhar_icone()
    caminho_ico = os.path.join(opcoes.saida, "icone.ico")
    escrever_ico(caminho_ico, icone, mascara)
    transparente = (0, 0, 0, 0)
    rgba = [[transparente if mascara[y][x] else PALETA_16[icone[y][x]] for x in range(32)] for y in range(32)]
    caminhos_png = []
    for escala in (1, 2):
        pasta = os.path.join(opcoes.icones, str(32 * escala))
        os.makedirs(pasta, exist_ok=True)
        caminhos_png.append(os.path.join(pasta, "relatorios-tarvo.png"))
        escrever_png(caminhos_png[-1], rgba, escala)

    if opcoes.previa:
        os.makedirs(opcoes.previa, exist_ok=True)
        escrever_png(
            os.path.join(opcoes.previa, "brasao.png"),
            [[paleta[i] for i in linha] for linha in indices],
            8,
        )
        fundo = (200, 230, 255)  # shows the icon's transparent area
        escrever_png(
            os.path.join(opcoes.previa, "icone.png"),
            [[fundo if mascara[y][x] else PALETA_16[icone[y][x]] for x in range(32)] for y in range(32)],
            12,
        )
    print(f"{caminho_gif}: {len(paleta)} cores usadas")
    print(caminho_ico)
    for caminho in caminhos_png:
        print(caminho)


if __name__ == "__main__":
    main()
