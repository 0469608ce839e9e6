#!/usr/bin/python3
"""The peer of the DIPAM code-1 report in ReportLab (Debian's
python3-reportlab): the same rows of a declaration written by
`bench_dipam --gerar`, read with the same query, laid out as the same page
(the header texts and rules, the taxpayer's box, 28 rows a page of three
boxed cells, a subtotal per municipality, the total, the footer with date,
time and "Página p de P") in Liberation Sans embedded as subsets. Only for
timing the two side by side (bench/comparar.sh).

    bench/reportlab_dipam.py BANCO SAIDA.pdf
"""

import datetime
import locale
import sqlite3
import sys

from reportlab.lib.colors import Color
from reportlab.lib.units import cm
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

FONTES = "/usr/share/fonts/truetype/liberation2/"
pdfmetrics.registerFont(TTFont("Sans", FONTES + "LiberationSans-Regular.ttf"))
pdfmetrics.registerFont(TTFont("Sans-Bold", FONTES + "LiberationSans-Bold.ttf"))

LARGURA, ALTURA = 21.0 * cm, 29.7 * cm
MARGEM = 2.0 * cm
W = 17.0 * cm
LINHAS_POR_PAGINA = 28
ALTURA_LINHA = 0.6 * cm
VERDE = Color(0, 0.5, 0.5)
VERMELHO = Color(1, 0, 0)


def valor(v):
    return locale.format_string("%.2f", v, grouping=True)


def main():
    banco, saida = sys.argv[1], sys.argv[2]
    conexao = sqlite3.connect(banco)
    linhas = conexao.execute(
        "select tblMunicípios.Município, tblDIPAM.CódDIPAM, tblDIPAM.Valor "
        "from tblDIPAM, tblMunicípios, tblCódigosDIPAM "
        "where tblDIPAM.Município = tblMunicípios.CódMunicípio "
        "and tblDIPAM.CódDIPAM = tblCódigosDIPAM.Código and tblDIPAM.CódDIPAM like '1.%' "
        "and tblDIPAM.Declaração = 1 order by tblMunicípios.Município, tblDIPAM.CódDIPAM"
    ).fetchall()
    contribuinte = conexao.execute("select RazãoSocial, IE, CNPJ, CNAE from tblContribuinte").fetchone()

    # The printed lines: each row, a subtotal after each municipality, the total.
    impressas = []
    total = subtotal = 0.0
    for i, (municipio, codigo, v) in enumerate(linhas):
        impressas.append((municipio, codigo, valor(v), False))
        total += v
        subtotal += v
        if i + 1 == len(linhas) or linhas[i + 1][0] != municipio:
            impressas.append(("", "Subtotal", valor(subtotal), True))
            subtotal = 0.0
    impressas.append(("", "Total", valor(total), True))
    paginas = max(1, -(-len(impressas) // LINHAS_POR_PAGINA))
    agora = datetime.datetime.now()

    c = canvas.Canvas(saida, pagesize=(LARGURA, ALTURA), pageCompression=1)
    c.setTitle("Relatório de Informações para a DIPAM - Código 1")
    y0 = ALTURA - MARGEM

    def texto(x, y, t, fonte="Sans", tamanho=8, direita=False, centro=False, cor=None):
        c.setFont(fonte, tamanho)
        c.setFillColor(cor or Color(0, 0, 0))
        if direita:
            c.drawRightString(x, y, t)
        elif centro:
            c.drawCentredString(x, y, t)
        else:
            c.drawString(x, y, t)

    for pagina in range(paginas):
        c.setLineWidth(0.06)
        texto(MARGEM, y0 - 8, "Declaração do Vantiro")
        texto(MARGEM + W, y0 - 8, "ABCD-1234", direita=True)
        c.line(MARGEM, y0 - 0.5 * cm, MARGEM + W, y0 - 0.5 * cm)
        texto(MARGEM + W / 2, y0 - 1.3 * cm, "Governo do Estado de Ostrana", "Sans-Bold", 14,
              centro=True, cor=VERMELHO)
        texto(MARGEM + W / 2, y0 - 2.1 * cm, "Secretaria de Estado dos Negócios da Quintara",
              "Sans-Bold", 14, centro=True, cor=VERMELHO)
        c.line(MARGEM, y0 - 2.6 * cm, MARGEM + W, y0 - 2.6 * cm)
        c.rect(MARGEM, y0 - 3.8 * cm, W, 0.9 * cm)
        texto(MARGEM + W / 2, y0 - 3.5 * cm, "DIPAM - Código 1", "Sans-Bold", 16, centro=True,
              cor=VERDE)
        c.rect(MARGEM, y0 - 4.6 * cm, W, 0.6 * cm)
        texto(MARGEM + 0.1 * cm, y0 - 4.4 * cm, "Contribuinte", "Sans-Bold", 12, cor=VERDE)
        for k, (rotulo, dado) in enumerate(zip(("Razão Social", "Inscrição Estadual", "CNPJ", "CNAE"),
                                               contribuinte)):
            x = MARGEM + k * W / 4
            c.rect(x, y0 - 5.2 * cm, W / 4, 0.6 * cm)
            texto(x + 0.1 * cm, y0 - 4.8 * cm, rotulo, "Sans-Bold", 6)
            texto(x + 0.2 * cm, y0 - 5.1 * cm, dado, "Sans", 6)
        y = y0 - 6.0 * cm
        for municipio, codigo, v, negrito in impressas[pagina * LINHAS_POR_PAGINA:
                                                       (pagina + 1) * LINHAS_POR_PAGINA]:
            meia = W / 2
            c.rect(MARGEM, y - ALTURA_LINHA, meia, ALTURA_LINHA)
            c.rect(MARGEM + meia, y - ALTURA_LINHA, meia, ALTURA_LINHA)
            base = y - ALTURA_LINHA + 0.2 * cm
            texto(MARGEM + 0.1 * cm, base, municipio, "Sans-Bold", 8, cor=VERDE)
            texto(MARGEM + meia - 0.1 * cm, base, codigo, "Sans-Bold" if negrito else "Sans", 8,
                  direita=not negrito)
            texto(MARGEM + W - 0.1 * cm, base, v, "Sans", 8, direita=True)
            y -= ALTURA_LINHA
        c.line(MARGEM, MARGEM + 0.8 * cm, MARGEM + W, MARGEM + 0.8 * cm)
        texto(MARGEM, MARGEM + 0.4 * cm, agora.strftime("%d/%m/%Y"), tamanho=6)
        texto(MARGEM + W / 2, MARGEM + 0.4 * cm, agora.strftime("%H:%M:%S"), tamanho=6, centro=True)
        texto(MARGEM + W, MARGEM + 0.4 * cm, "Página %d de %d" % (pagina + 1, paginas), tamanho=6,
              direita=True)
        c.showPage()
    c.save()


main()
