/* The one catalogue of the RelatoriosTarvo library's errors, for C and C++
 * alike: the numbers it raises itself and the origins an error carries. */
#ifndef RELATORIOS_TARVO_CATALOGO_ERROS_H
#define RELATORIOS_TARVO_CATALOGO_ERROS_H

/* The numbers of the errors the library raises itself (origin
 * TARVO_ORIGEM_BIBLIOTECA). Errors of the database keep SQLite's own result
 * codes (origin TARVO_ORIGEM_SQLITE, "SQLite"): the two sets overlap, so a
 * number is read together with its origin. */
enum tarvo_erro {
    TARVO_ERRO_CHAMADA_INVALIDA = 5,         /* "Invalid procedure call or argument" */
    TARVO_ERRO_OVERFLOW = 6,                 /* "Overflow": a value out of range */
    TARVO_ERRO_SEM_MEMORIA = 7,              /* "Out of memory" */
    TARVO_ERRO_TIPO_INCOMPATIVEL = 13,       /* "Type mismatch": a value not convertible */
    TARVO_ERRO_INTERNO = 51,                 /* "Internal error" */
    TARVO_ERRO_USO_INVALIDO_DE_NULO = 94,    /* "Invalid use of Null" */
    TARVO_ERRO_FORMULARIO_JA_EXIBIDO = 400,  /* the dialog is already up (a nested call) */
    TARVO_ERRO_ARGUMENTO_INVALIDO = 3001,    /* "Invalid argument." */
    TARVO_ERRO_SEM_REGISTRO_ATUAL = 3021,    /* "No current record." */
    TARVO_ERRO_TABELA_NAO_ENCONTRADA = 3078, /* a table the reports read is missing */
    TARVO_ERRO_ITEM_NAO_ENCONTRADO = 3265,   /* a field missing from a query's result */
    TARVO_ERRO_OBJETO_INVALIDO = 3420,       /* a closed recordset, a null handle */
    TARVO_ERRO_SQL_NAO_SUPORTADO = 31001,    /* SQL text the library does not translate */
    TARVO_ERRO_GRAVACAO_ARQUIVO = 31101,     /* a PDF or JSON file cannot be written */
    TARVO_ERRO_FIGURA_INVALIDA = 31102,      /* a picture cannot be drawn */
    TARVO_ERRO_SEM_IMPRESSORA = 31103,       /* no printer available */
    TARVO_ERRO_FALHA_IMPRESSAO = 31104,      /* the printer refused the job */
    TARVO_ERRO_FALHA_INTERFACE = 31201,      /* no display or no usable Qt application */
    TARVO_ERRO_INTERROMPIDO = 31301          /* stopped by the progress callback or the
                                                time limit; nothing more was written */
};

/* Origins of an error, as tarvo_relatorios_erro_origem gives them. */
#define TARVO_ORIGEM_BIBLIOTECA "RelatoriosTarvo"
/* The page-layout engine, with the library's numbers. */
#define TARVO_ORIGEM_MOTOR "MotorRelatorio"
#define TARVO_ORIGEM_SQLITE "SQLite"

#endif
