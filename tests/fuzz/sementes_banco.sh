#!/usr/bin/env bash
# Writes the seed databases of fuzz_banco into corpus/fuzz_banco/: the demo
# declaration, a DIPAM-heavy one and the bare schema, in 512-byte pages and
# vacuumed so that each stays a few KB (the schema's blanks squeezed; the
# indexes only in the demo). Run again after a schema change.
set -euo pipefail
cd "$(dirname "$0")"
raiz=../..
pasta=corpus/fuzz_banco
mkdir -p "$pasta"

criar() { # name, extra SQL after the schema
  local banco="$pasta/$1.db"
  rm -f "$banco"
  { echo "PRAGMA page_size = 512;"; grep -v '^--' "$raiz/demo/esquema.sql" | tr -s ' \n' ' \n'
    echo "$2"; echo "VACUUM;"; } | sqlite3 "$banco"
}
semIndices="$(grep -o 'CREATE INDEX [a-zA-Z]*' "$raiz/demo/esquema.sql" | sed 's/CREATE/DROP/; s/$/;/')"

criar demo "$(cat "$raiz/demo/demo.sql")"
criar esquema "$semIndices"
criar dipam "$semIndices
INSERT INTO tblContribuinte (IE, RazãoSocial, UF) VALUES ('110.042.490.114', 'Comércio Ágil', 'SP');
INSERT INTO tblDeclaração VALUES (1, '110.042.490.114', 1, 2003, 1, 'K1');
INSERT INTO tblMunicípios VALUES (1, 'Álvares Machado'), (2, 'Americana'), (3, 'Bauru'), (4, 'São Paulo');
INSERT INTO tblCódigosDIPAM VALUES ('1.1', 'Grupo um.', 'Vendas'), ('2.1', 'Grupo dois', 'Serviços'),
  ('3.1', 'Grupo três', 'Outros');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)
INSERT INTO tblDIPAM SELECT 1, 1 + i % 4, substr('123', 1 + i % 3, 1) || '.1',
  CASE i % 3 WHEN 0 THEN i * 10.25 WHEN 1 THEN '1234.5' ELSE -i END FROM n;"
ls -l "$pasta"
