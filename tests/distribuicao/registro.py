#!/usr/bin/python3
"""The JSON records the program writes against their schema.

    registro.py PROGRAMA ESQUEMA_SQL DEMO_SQL REGISTRO_SCHEMA_JSON

The ten reports of the demo declaration, of a test declaration that stresses
the writer (texts with quotes, control characters and bytes that are not
UTF-8, negative amounts, many pages) and of a declaration that is not in the
database (blank reports) must all validate; records broken on purpose must
not, so that the schema is no empty promise. Exit 77 without
python3-jsonschema.
"""

import copy
import json
import os
import sqlite3
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema não está instalado")
    sys.exit(77)

programa, esquema_sql, demo_sql, caminho_esquema = sys.argv[1:5]
with open(caminho_esquema, encoding="utf-8") as arquivo:
    esquema = json.load(arquivo)
jsonschema.Draft202012Validator.check_schema(esquema)
validador = jsonschema.Draft202012Validator(esquema)
falhas = []


def banco(caminho, *scripts):
    conexao = sqlite3.connect(caminho)
    for script in scripts:
        with open(script, encoding="utf-8") as arquivo:
            conexao.executescript(arquivo.read())
    return conexao


def exportar(caminho, declaracao, pasta):
    resultado = subprocess.run(
        [programa, "--banco", caminho, "--declaracao", str(declaracao), "--json", pasta,
         "--silencioso"],
        capture_output=True, text=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if resultado.returncode != 0:
        falhas.append(f"{caminho} {declaracao}: status {resultado.returncode}: {resultado.stderr}")
    nomes = sorted(os.listdir(pasta)) if os.path.isdir(pasta) else []
    if len(nomes) != 10:
        falhas.append(f"{pasta}: {len(nomes)} registros em vez de 10")
    return [os.path.join(pasta, nome) for nome in nomes]


def validar(registro, descricao):
    erros = sorted(validador.iter_errors(registro), key=lambda e: list(e.absolute_path))
    for erro in erros[:3]:
        falhas.append(f"{descricao}: {list(erro.absolute_path)}: {erro.message[:300]}")
    return not erros


with tempfile.TemporaryDirectory() as pasta:
    demo = os.path.join(pasta, "demo.db")
    banco(demo, esquema_sql, demo_sql).close()

    teste = os.path.join(pasta, "teste.db")
    conexao = banco(teste, esquema_sql, demo_sql)
    conexao.executescript(
        "UPDATE tblContribuinte SET RazãoSocial = 'Aspas \"duplas\" \\ barra' || char(10) || "
        "'linha' || char(9) || char(1) || CAST(X'C3FF' AS TEXT) || 'ção';"
        "UPDATE tblReferência SET Declaração = 7; UPDATE tblDeclaração SET Declaração = 7;"
        "UPDATE tblEntradas SET Declaração = 7; UPDATE tblSaídas SET Declaração = 7;"
        "UPDATE tblDetalhesInterUFs SET Declaração = 7; UPDATE tblDIPAM SET Declaração = 7;"
        "UPDATE tblDIPAM SET Valor = -Valor WHERE rowid % 2 = 0;")
    for _ in range(3):
        conexao.execute("INSERT INTO tblDIPAM SELECT * FROM tblDIPAM")
    conexao.commit()
    conexao.close()

    registros = (exportar(demo, 1, os.path.join(pasta, "demo"))
                 + exportar(teste, 7, os.path.join(pasta, "teste"))
                 + exportar(demo, 99, os.path.join(pasta, "ausente")))
    lidos = {}
    for caminho in registros:
        with open(caminho, "rb") as arquivo:
            lidos[caminho] = json.loads(arquivo.read().decode("utf-8"))
        validar(lidos[caminho], os.path.relpath(caminho, pasta))

    # The test declaration did reach the writer's corners.
    cadastro = json.dumps(lidos[os.path.join(pasta, "teste", "01-RelatorioCadastro.json")])
    if "\\ufffd" not in cadastro or "\\u0001" not in cadastro:
        falhas.append("o registro do cadastro de teste não tem U+FFFD e U+0001")
    dipam = lidos[os.path.join(pasta, "teste", "06-RelatorioDIPAMCodigo1.json")]["chamadas"]
    if sum(1 for c in dipam if c["op"] == "NovaPagina") < 2:
        falhas.append("o relatório 6 de teste não tem várias páginas")

    # Broken on purpose: each must be refused.
    base = lidos[os.path.join(pasta, "demo", "02-RelatorioEntradas.json")]
    texto = next(i for i, c in enumerate(base["chamadas"]) if c["op"] == "AdicionarTexto")

    def quebrado(mudar):
        registro = copy.deepcopy(base)
        mudar(registro["chamadas"])
        return registro

    casos = {
        "operação desconhecida": lambda c: c[texto].update(op="AdicionarCirculo"),
        "argumento a menos": lambda c: c[texto]["args"].pop(),
        "argumento a mais": lambda c: c[texto]["args"].append(0),
        "texto no lugar de Double": lambda c: c[texto]["args"].__setitem__(0, "1,5"),
        "Double no lugar de Long": lambda c: c[texto]["args"].__setitem__(5, 1.5),
        "alinhamento 3": lambda c: c[texto]["args"].__setitem__(6, 3),
        "Long além de 32 bits": lambda c: c[texto]["args"].__setitem__(12, 2 ** 31),
        "tamanho de fonte zero": lambda c: c[texto]["args"].__setitem__(8, 0.0),
        "campo a mais na chamada": lambda c: c[texto].update(pagina=1),
        "orientação 2": lambda c: c.insert(1, {"op": "DefinirOrientacao", "args": [2]}),
        "margem negativa": lambda c: c.insert(1, {"op": "DefinirMargens",
                                                  "args": [1.0, -0.5, 1.0, 1.0]}),
    }
    for descricao, mudar in casos.items():
        if validador.is_valid(quebrado(mudar)):
            falhas.append(f"o esquema aceita um registro com {descricao}")

for falha in falhas:
    print("FALHOU:", falha)
print(f"{len(registros)} registros validados")
sys.exit(1 if falhas else 0)
