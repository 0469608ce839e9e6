/* The C interface of the RelatoriosTarvo library, for hosts written in C or
 * in any language that calls C. Strings are UTF-8. Every function that can
 * fail returns 0 on success and the error's number otherwise; the number and
 * the description of a handle's last error stay readable until its next call.
 * These names and signatures do not change between releases. */
#ifndef RELATORIOS_TARVO_H
#define RELATORIOS_TARVO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct sqlite3;

/* One Relatorios object: the ten reports, their documents and previews. */
typedef struct tarvo_relatorios tarvo_relatorios;

/* The library's version, "1.0.0" (in the shared library only). */
const char* tarvo_relatorios_versao(void);

/* A new handle, or NULL when it cannot be created. */
tarvo_relatorios* tarvo_relatorios_criar(void);

/* Releases the handle, its reports and their preview windows; NULL is
 * accepted. */
void tarvo_relatorios_destruir(tarvo_relatorios* relatorios);

/* Shows the modal report selection dialog with the reports of mask bits 0 to
 * 9 pre-selected, then previews or prints the reports the user chose.
 * Preview windows stay open after the call and need the caller's Qt event
 * loop; without a Qt application in the process the library creates one.
 * The database is the host's open connection, borrowed for the call and
 * only read; ie may be NULL for "". */
long tarvo_relatorios_executar(tarvo_relatorios* relatorios, struct sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t opcoes_selecionadas);

/* As tarvo_relatorios_executar, opening the database file read-only. */
long tarvo_relatorios_executar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao,
                                       int32_t opcoes_selecionadas);

/* Without any dialog or window: builds the reports of mask bits 0 to 9 in
 * list order and writes pasta_pdf/NN-Classe.pdf and pasta_json/NN-Classe.json
 * (NN the list position from 01, Classe the report's class). Either folder
 * may be NULL or "" to skip that output, not both; missing folders are
 * created. Files written before an error stay. */
long tarvo_relatorios_exportar(tarvo_relatorios* relatorios, struct sqlite3* banco, const char* ie,
                               int32_t declaracao, int32_t mascara, const char* pasta_pdf,
                               const char* pasta_json);

/* As tarvo_relatorios_exportar, opening the database file read-only. */
long tarvo_relatorios_exportar_arquivo(tarvo_relatorios* relatorios, const char* caminho_banco,
                                       const char* ie, int32_t declaracao, int32_t mascara,
                                       const char* pasta_pdf, const char* pasta_json);

/* The last error of the handle: 0 and "" after a successful call. */
long tarvo_relatorios_erro_numero(const tarvo_relatorios* relatorios);
const char* tarvo_relatorios_erro_descricao(const tarvo_relatorios* relatorios);

#ifdef __cplusplus
}
#endif

#endif
