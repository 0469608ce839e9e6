/* A host that writes to a declaration database while reports are built from
 * it: in every transaction it replaces the code-3 DIPAM rows of declaration 7
 * by N rows of one new amount, and sets every amount of the entries of its
 * twelve months to that same amount. A report that reads one snapshot sees
 * one amount throughout; a torn read shows two.
 *   escritor_concorrente BANCO N
 * Prints "pronto" after its first transaction and runs until killed. */
#define _DEFAULT_SOURCE
#include <sqlite3.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static void Executar(sqlite3* db, const char* sql) {
    char* erro = NULL;
    if (sqlite3_exec(db, sql, NULL, NULL, &erro) != SQLITE_OK) {
        fprintf(stderr, "escritor: %s\n", erro ? erro : "?");
        exit(1);
    }
}

int main(int argc, char** argv) {
    sqlite3* db = NULL;
    if (argc != 3 || sqlite3_open(argv[1], &db) != SQLITE_OK)
        return 2;
    const int linhas = atoi(argv[2]);
    sqlite3_busy_timeout(db, 60000);
    char sql[512];
    for (long valor = 1;; ++valor) {
        Executar(db, "BEGIN IMMEDIATE");
        Executar(db, "DELETE FROM tblDIPAM WHERE Declaração = 7 AND CódDIPAM LIKE '3%'");
        for (int i = 0; i < linhas; ++i) {
            snprintf(sql, sizeof sql,
                     "INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor) "
                     "VALUES (7, 1, '3.1', %ld)",
                     valor);
            Executar(db, sql);
        }
        snprintf(sql, sizeof sql,
                 "UPDATE tblEntradas SET EntradaInterna = %ld, EntradaInter = %ld, "
                 "ImpAquisição = %ld WHERE Declaração = 7",
                 valor, valor, valor);
        Executar(db, sql);
        Executar(db, "COMMIT");
        if (valor == 1) {
            puts("pronto");
            fflush(stdout);
        }
        /* A host pauses between its transactions; without any pause a
         * rollback-journal database would starve its readers. */
        usleep(2000);
    }
}
