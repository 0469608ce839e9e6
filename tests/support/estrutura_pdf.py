"""Prints the structure tree of a tagged PDF in reading order, one line per
piece of marked content: the tag of the element that holds it and its text
("TD Município 12"). Reads with pypdf: the content streams are gone through
once per page, the text of each MCID collected between its BDC and EMC."""

import sys

import pypdf


def textos_por_mcid(pagina):
    textos = {}
    pilha = []

    def antes(operador, operandos, cm, tm):
        if operador == b"BDC":
            propriedades = operandos[1] if len(operandos) > 1 else {}
            mcid = propriedades.get("/MCID") if hasattr(propriedades, "get") else None
            pilha.append(mcid)
        elif operador == b"BMC":
            pilha.append(None)
        elif operador == b"EMC" and pilha:
            pilha.pop()

    def texto(t, cm, tm, fonte, tamanho):
        atual = next((m for m in reversed(pilha) if m is not None), None)
        if atual is not None:
            textos[atual] = textos.get(atual, "") + t

    pagina.extract_text(visitor_operand_before=antes, visitor_text=texto)
    return textos


def main():
    leitor = pypdf.PdfReader(sys.argv[1])
    indices = {p.indirect_reference.idnum: i for i, p in enumerate(leitor.pages)}
    cache = {}

    def textos(numero):
        if numero not in cache:
            cache[numero] = textos_por_mcid(leitor.pages[indices[numero]])
        return cache[numero]

    def visitar(elemento, pagina):
        elemento = elemento.get_object()
        if "/Pg" in elemento:
            pagina = elemento.raw_get("/Pg").idnum
        tipo = str(elemento.get("/S", ""))[1:]
        filhos = elemento.get("/K")
        if filhos is None:
            return
        if not isinstance(filhos, list):
            filhos = [filhos]
        for filho in filhos:
            if isinstance(filho, int):
                print(tipo, " ".join(textos(pagina).get(filho, "").split()))
            else:
                visitar(filho, pagina)

    raiz = leitor.trailer["/Root"]["/StructTreeRoot"]
    visitar(raiz, None)


main()
