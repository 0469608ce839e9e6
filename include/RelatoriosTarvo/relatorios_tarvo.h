/* The C interface of the RelatoriosTarvo library, for hosts written in C or
 * in any language that calls C. Strings are UTF-8. Every function that can
 * fail returns 0 on success and the error's number otherwise; the number, the
 * origin and the description of a handle's last error stay readable until its
 * next call. These names and signatures do not change between releases. */
#ifndef RELATORIOS_TARVO_H
#define RELATORIOS_TARVO_H

#include <RelatoriosTarvo/CatalogoErros.h>
#include <RelatoriosTarvo/Exportacao.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct sqlite3;

/* One Relatorios object: the ten reports, their documents and previews. */
typedef struct tarvo_relatorios tarvo_relatorios;

/* Where a call stands, as its progress callback sees it. */
typedef struct tarvo_progresso {
    int posicao;      /* the report's list position, 0 to 9 */
    int relatorio;    /* which of the selected reports, from 1 */
    int relatorios;   /* how many reports the call builds */
    long long linhas; /* rows read for this report so far */
    int paginas;      /* pages laid out so far, or written while gravando */
    int gravando;     /* non-zero while the report's files are written */
} tarvo_progresso;

/* A progress callback: returns 0 to go on, anything else to stop the call,
 * which then returns TARVO_ERRO_INTERROMPIDO having written nothing more. */
typedef int (*tarvo_acompanhamento)(const tarvo_progresso* progresso, void* dados);

/* One request, for the _pedido functions. `tamanho` is sizeof(tarvo_pedido)
 * as the caller was compiled: fields past it count as zero, so a program
 * built with this header keeps working when later versions add fields at
 * the end. Either `banco` (the host's open connection, borrowed and only
 * read) or `caminho_banco` (a file, opened read-only) names the database. */
typedef struct tarvo_pedido {
    size_t tamanho;
    struct sqlite3* banco;
    const char* caminho_banco;
    const char* ie; /* the taxpayer (report 1); NULL for "" */
    int32_t declaracao;
    int32_t mascara;                     /* bit i selects list position i */
    tarvo_acompanhamento acompanhamento; /* NULL for none */
    void* dados;                         /* passed back to acompanhamento */
    double tempo_limite;                 /* seconds a query may run; 0 for no limit */
    /* The printer, as CUPS names it, of the reports printed
     * without the print dialog (tarvo_relatorios_imprimir_pedido, and the
     * selection dialog's Imprimir); NULL or "" for CUPS's default one.
     * TARVO_ERRO_SEM_IMPRESSORA when there is no printer of that name. */
    const char* impressora;
} tarvo_pedido;

/* The library's version, "1.0.0". */
TARVO_API const char* tarvo_relatorios_versao(void);

/* A new handle, or NULL when it cannot be created. */
TARVO_API tarvo_relatorios* tarvo_relatorios_criar(void);

/* Releases the handle, its reports and their preview windows; NULL is
 * accepted. */
TARVO_API void tarvo_relatorios_destruir(tarvo_relatorios* relatorios);

/* Shows the modal report selection dialog with the reports of mask bits 0 to
 * 9 pre-selected, then previews or prints the reports the user chose.
 * Preview windows stay open after the call and need the caller's Qt event
 * loop (or tarvo_relatorios_aguardar_janelas); without a Qt application in
 * the process the library creates one. The database is the host's open
 * connection, borrowed for the call and only read; ie may be NULL for "". */
TARVO_API long tarvo_relatorios_executar(tarvo_relatorios* relatorios, struct sqlite3* banco,
                                         const char* ie, int32_t declaracao,
                                         int32_t opcoes_selecionadas);

/* As tarvo_relatorios_executar, opening the database file read-only. */
TARVO_API long tarvo_relatorios_executar_arquivo(tarvo_relatorios* relatorios,
                                                 const char* caminho_banco, const char* ie,
                                                 int32_t declaracao, int32_t opcoes_selecionadas);

/* Without any dialog or window: builds the reports of mask bits 0 to 9 in
 * list order and writes pasta_pdf/NN-Classe.pdf and pasta_json/NN-Classe.json
 * (NN the list position from 01, Classe the report's class). Either folder
 * may be NULL or "" to skip that output, not both; missing folders are
 * created. Each file appears whole or not at all; files written before an
 * error stay. */
TARVO_API long tarvo_relatorios_exportar(tarvo_relatorios* relatorios, struct sqlite3* banco,
                                         const char* ie, int32_t declaracao, int32_t mascara,
                                         const char* pasta_pdf, const char* pasta_json);

/* As tarvo_relatorios_exportar, opening the database file read-only. */
TARVO_API long tarvo_relatorios_exportar_arquivo(tarvo_relatorios* relatorios,
                                                 const char* caminho_banco, const char* ie,
                                                 int32_t declaracao, int32_t mascara,
                                                 const char* pasta_pdf, const char* pasta_json);

/* Without any window: the reports of mask bits 0 to 9 in one PDF file ("-"
 * for the standard output, refused when it is a terminal),
 * in list order, each with its own orientation and page numbering, with one
 * bookmark per report and the declaration's document properties. A missing
 * folder is created; the file appears whole or not at all. */
TARVO_API long tarvo_relatorios_exportar_pdf_unico(tarvo_relatorios* relatorios,
                                                   struct sqlite3* banco, const char* ie,
                                                   int32_t declaracao, int32_t mascara,
                                                   const char* caminho_pdf);
TARVO_API long tarvo_relatorios_exportar_pdf_unico_arquivo(tarvo_relatorios* relatorios,
                                                           const char* caminho_banco,
                                                           const char* ie, int32_t declaracao,
                                                           int32_t mascara,
                                                           const char* caminho_pdf);

/* Without the dialog: builds the reports of mask bits 0 to 9 in list order
 * and shows their previews, cascaded with the first in front (previews of
 * an earlier call are closed first). Returns once they are shown; they need
 * the caller's Qt event loop or tarvo_relatorios_aguardar_janelas. */
TARVO_API long tarvo_relatorios_visualizar(tarvo_relatorios* relatorios, struct sqlite3* banco,
                                           const char* ie, int32_t declaracao, int32_t mascara);
TARVO_API long tarvo_relatorios_visualizar_arquivo(tarvo_relatorios* relatorios,
                                                   const char* caminho_banco, const char* ie,
                                                   int32_t declaracao, int32_t mascara);

/* Without any window: builds the reports of mask bits 0 to 9 in list order
 * and prints each on the default printer (TARVO_ERRO_SEM_IMPRESSORA when
 * there is none). Reports printed before an error stay printed. */
TARVO_API long tarvo_relatorios_imprimir(tarvo_relatorios* relatorios, struct sqlite3* banco,
                                         const char* ie, int32_t declaracao, int32_t mascara);
TARVO_API long tarvo_relatorios_imprimir_arquivo(tarvo_relatorios* relatorios,
                                                 const char* caminho_banco, const char* ie,
                                                 int32_t declaracao, int32_t mascara);

/* The progress callback of the handle's calls that build reports, called on
 * the calling thread at the start of each report, every few hundred rows,
 * every page laid out or written and every tenth of a second of a long
 * query, with `dados` passed back; NULL removes it. */
TARVO_API long tarvo_relatorios_definir_acompanhamento(tarvo_relatorios* relatorios,
                                                       tarvo_acompanhamento funcao, void* dados);

/* Every query of the handle's calls that runs longer than `segundos` stops
 * the call with TARVO_ERRO_INTERROMPIDO; 0 (the default) sets no limit. */
TARVO_API long tarvo_relatorios_definir_tempo_limite(tarvo_relatorios* relatorios, double segundos);

/* The dialog, the previews, printing and the files, for one request: as
 * the functions above, with the request's callback and time limit instead
 * of the handle's. Exporting takes the folders and the single file as
 * tarvo_relatorios_exportar and tarvo_relatorios_exportar_pdf_unico do (any
 * may be NULL, not all). */
TARVO_API long tarvo_relatorios_executar_pedido(tarvo_relatorios* relatorios,
                                                const tarvo_pedido* pedido);
TARVO_API long tarvo_relatorios_visualizar_pedido(tarvo_relatorios* relatorios,
                                                  const tarvo_pedido* pedido);
TARVO_API long tarvo_relatorios_imprimir_pedido(tarvo_relatorios* relatorios,
                                                const tarvo_pedido* pedido);
TARVO_API long tarvo_relatorios_exportar_pedido(tarvo_relatorios* relatorios,
                                                const tarvo_pedido* pedido, const char* pasta_pdf,
                                                const char* pasta_json,
                                                const char* arquivo_pdf_unico);

/* Runs the Qt event loop until the last preview window of the handle is
 * closed; returns at once when none is open. For hosts without an event loop
 * of their own. */
TARVO_API long tarvo_relatorios_aguardar_janelas(tarvo_relatorios* relatorios);

/* The state registration (IE) of the taxpayer of a declaration, as the
 * registration report needs it. NULL when the declaration is not in the
 * database or on an error (then tarvo_relatorios_erro_numero is not 0). The
 * text belongs to the handle and stays valid until its next call. */
TARVO_API const char* tarvo_relatorios_ie_da_declaracao(tarvo_relatorios* relatorios,
                                                        struct sqlite3* banco, int32_t declaracao);
TARVO_API const char* tarvo_relatorios_ie_da_declaracao_arquivo(tarvo_relatorios* relatorios,
                                                                const char* caminho_banco,
                                                                int32_t declaracao);

/* One sentence saying what a build with these arguments would leave blank or
 * out (a declaration or taxpayer that is not in the database, a mask that
 * selects no report), or "" when nothing; NULL on an error. The text belongs
 * to the handle and stays valid until its next call. */
TARVO_API const char* tarvo_relatorios_aviso(tarvo_relatorios* relatorios, struct sqlite3* banco,
                                             const char* ie, int32_t declaracao, int32_t mascara);
TARVO_API const char* tarvo_relatorios_aviso_arquivo(tarvo_relatorios* relatorios,
                                                     const char* caminho_banco, const char* ie,
                                                     int32_t declaracao, int32_t mascara);

/* A declaration the user picked; the texts belong to the handle and stay
 * valid until its next call. */
typedef struct tarvo_declaracao_escolhida {
    const char* banco;  /* the database file; NULL when the user cancelled */
    int32_t declaracao; /* the declaration's number */
    const char* ie;     /* its taxpayer's state registration */
} tarvo_declaracao_escolhida;

/* For a user without a terminal: asks for the declaration database in a file
 * dialog (unless caminho_banco names the file; NULL or "" to ask), then, when
 * the file holds more than one declaration, for the declaration in a list
 * (number, taxpayer, IE, year). A file that cannot be opened as a declaration
 * database, or that holds none, is told in a message and the file dialog
 * asks again. Returns 0 with *escolhida filled, its banco NULL when the user
 * cancelled; TARVO_ERRO_FALHA_INTERFACE when a dialog is needed and there is
 * no display (then a caminho_banco that cannot be used gives its own error). */
TARVO_API long tarvo_relatorios_escolher_declaracao(tarvo_relatorios* relatorios,
                                                    const char* caminho_banco,
                                                    tarvo_declaracao_escolhida* escolhida);

/* The last error of the handle: 0, "" and "" after a successful call. The
 * origin is one of the TARVO_ORIGEM_ texts. */
TARVO_API long tarvo_relatorios_erro_numero(const tarvo_relatorios* relatorios);
TARVO_API const char* tarvo_relatorios_erro_origem(const tarvo_relatorios* relatorios);
TARVO_API const char* tarvo_relatorios_erro_descricao(const tarvo_relatorios* relatorios);

#ifdef __cplusplus
}
#endif

#endif
