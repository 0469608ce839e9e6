/* The C interface from a C program, through the shared library, in a process
 * without any Qt application or display: headless export, errors per handle,
 * the dialog refused instead of hanging, and a second handle after the first
 * is gone. */
#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <sqlite3.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int falhas = 0;

#define VERIFICAR(condicao)                                                                        \
    do {                                                                                           \
        if (!(condicao)) {                                                                         \
            fprintf(stderr, "%s:%d: falhou: %s\n", __FILE__, __LINE__, #condicao);                 \
            ++falhas;                                                                              \
        }                                                                                          \
    } while (0)

static int Existe(const char* pasta, const char* nome) {
    char caminho[1024];
    struct stat estado;
    snprintf(caminho, sizeof caminho, "%s/%s", pasta, nome);
    return stat(caminho, &estado) == 0 && estado.st_size > 0;
}

static char* LerArquivo(const char* caminho) {
    FILE* arquivo = fopen(caminho, "rb");
    char* texto = NULL;
    long tamanho;
    if (arquivo == NULL)
        return NULL;
    fseek(arquivo, 0, SEEK_END);
    tamanho = ftell(arquivo);
    rewind(arquivo);
    texto = malloc((size_t)tamanho + 1);
    if (texto != NULL && fread(texto, 1, (size_t)tamanho, arquivo) == (size_t)tamanho)
        texto[tamanho] = '\0';
    fclose(arquivo);
    return texto;
}

/* Whether a Qt platform plugin (offscreen, xcb, ...) is loaded in this process. */
static int PlataformaQtCarregada(void) {
    char linha[4096];
    int carregada = 0;
    FILE* mapas = fopen("/proc/self/maps", "r");
    if (mapas == NULL)
        return 1;
    while (!carregada && fgets(linha, sizeof linha, mapas) != NULL)
        carregada = strstr(linha, "/plugins/platforms/") != NULL;
    fclose(mapas);
    return carregada;
}

/* Whether the fonts of a PDF include Liberation Sans, the face of "Arial". */
static int TemLiberationSans(const char* pdf) {
    char comando[1200];
    char linha[512];
    int encontrou = 0;
    FILE* saida;
    snprintf(comando, sizeof comando, "pdffonts '%s'", pdf);
    saida = popen(comando, "r");
    if (saida == NULL)
        return 0;
    while (fgets(linha, sizeof linha, saida) != NULL)
        if (strstr(linha, "LiberationSans") != NULL)
            encontrou = 1;
    pclose(saida);
    return encontrou;
}

/* Counts the calls and stops the call at the first page laid out. */
static int ParaNaPrimeiraPagina(const tarvo_progresso* progresso, void* dados) {
    int* chamadas = dados;
    ++*chamadas;
    return progresso->relatorios == 1 && progresso->posicao == 2 && progresso->paginas > 0;
}

int main(void) {
    char pasta[] = "/tmp/tarvo-interface-c-XXXXXX";
    char banco[256], faltando[256], pdf[256], json[256], pdf2[256], cadastro[300], limpar[300],
        unico[300];
    sqlite3* db = NULL;
    char* esquema;
    tarvo_relatorios* relatorios;

    if (mkdtemp(pasta) == NULL)
        return 2;
    snprintf(banco, sizeof banco, "%s/banco.db", pasta);
    snprintf(faltando, sizeof faltando, "%s/nao-existe.db", pasta);
    snprintf(pdf, sizeof pdf, "%s/pdf", pasta);
    snprintf(json, sizeof json, "%s/json", pasta);
    snprintf(pdf2, sizeof pdf2, "%s/pdf2", pasta);
    snprintf(unico, sizeof unico, "%s/novo/todos.pdf", pdf2);
    esquema = LerArquivo(TARVO_ESQUEMA_SQL);
    if (esquema == NULL || sqlite3_open(banco, &db) != SQLITE_OK ||
        sqlite3_exec(db, esquema, NULL, NULL, NULL) != SQLITE_OK ||
        sqlite3_exec(db,
                     "INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                     "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                     "VALUES (7, '123', 1, 2003, 1);",
                     NULL, NULL, NULL) != SQLITE_OK)
        return 2;
    free(esquema);

    VERIFICAR(strcmp(tarvo_relatorios_versao(), TARVO_VERSAO) == 0);
    relatorios = tarvo_relatorios_criar();
    VERIFICAR(relatorios != NULL);

    /* Reports 1 and 3 through the host's own connection. */
    VERIFICAR(tarvo_relatorios_exportar(relatorios, db, "123", 7, 5, pdf, json) == 0);
    VERIFICAR(tarvo_relatorios_erro_numero(relatorios) == 0);
    VERIFICAR(strcmp(tarvo_relatorios_erro_descricao(relatorios), "") == 0);
    VERIFICAR(Existe(pdf, "01-RelatorioCadastro.pdf") && Existe(json, "01-RelatorioCadastro.json"));
    VERIFICAR(Existe(pdf, "03-RelatorioSaidas.pdf") && Existe(json, "03-RelatorioSaidas.json"));
    VERIFICAR(!Existe(pdf, "02-RelatorioEntradas.pdf"));
    /* Building and writing files take no Qt platform, fonts or display. */
    VERIFICAR(!PlataformaQtCarregada());

    /* A missing database file is an error and is not created. */
    VERIFICAR(tarvo_relatorios_exportar_arquivo(relatorios, faltando, NULL, 7, -1, NULL, json) ==
              tarvo_relatorios_erro_numero(relatorios));
    VERIFICAR(tarvo_relatorios_erro_numero(relatorios) == SQLITE_CANTOPEN);
    VERIFICAR(strcmp(tarvo_relatorios_erro_origem(relatorios), TARVO_ORIGEM_SQLITE) == 0);
    VERIFICAR(strstr(tarvo_relatorios_erro_descricao(relatorios), faltando) != NULL);
    VERIFICAR(access(faltando, F_OK) != 0);

    /* What a host needs before it builds: the declaration's taxpayer, and
     * what would come out blank. */
    VERIFICAR(strcmp(tarvo_relatorios_ie_da_declaracao(relatorios, db, 7), "123") == 0);
    VERIFICAR(tarvo_relatorios_ie_da_declaracao_arquivo(relatorios, banco, 8) == NULL);
    VERIFICAR(tarvo_relatorios_erro_numero(relatorios) == 0);
    VERIFICAR(strcmp(tarvo_relatorios_aviso(relatorios, db, "123", 7, 3), "") == 0);
    VERIFICAR(strstr(tarvo_relatorios_aviso_arquivo(relatorios, banco, "123", 8, 2),
                     "a declaração 8 não está no banco de dados") != NULL);

    /* No display: the dialog is refused rather than hanging or aborting. */
    VERIFICAR(tarvo_relatorios_executar_arquivo(relatorios, banco, "123", 7, 1) ==
              TARVO_ERRO_FALHA_INTERFACE);
    VERIFICAR(strcmp(tarvo_relatorios_erro_origem(relatorios), TARVO_ORIGEM_BIBLIOTECA) == 0);
    VERIFICAR(tarvo_relatorios_visualizar_arquivo(relatorios, banco, "123", 7, 1) ==
              TARVO_ERRO_FALHA_INTERFACE);
    VERIFICAR(tarvo_relatorios_imprimir(relatorios, NULL, "123", 7, 1) ==
              TARVO_ERRO_ARGUMENTO_INVALIDO);
    VERIFICAR(tarvo_relatorios_executar(relatorios, NULL, "123", 7, 1) ==
              TARVO_ERRO_ARGUMENTO_INVALIDO);
    VERIFICAR(tarvo_relatorios_exportar(relatorios, db, "123", 7, 1, NULL, "") ==
              TARVO_ERRO_ARGUMENTO_INVALIDO);
    VERIFICAR(tarvo_relatorios_exportar(NULL, db, "123", 7, 1, pdf, NULL) ==
              TARVO_ERRO_OBJETO_INVALIDO);
    /* A file of one declaration needs no dialog; without a display, asking
     * for the file is refused, and a file that cannot be used gives its own
     * error. */
    {
        tarvo_declaracao_escolhida escolhida;
        VERIFICAR(tarvo_relatorios_escolher_declaracao(relatorios, banco, &escolhida) == 0);
        VERIFICAR(escolhida.banco != NULL && strcmp(escolhida.banco, banco) == 0);
        VERIFICAR(escolhida.declaracao == 7 && strcmp(escolhida.ie, "123") == 0);
        VERIFICAR(tarvo_relatorios_escolher_declaracao(relatorios, NULL, &escolhida) ==
                  TARVO_ERRO_FALHA_INTERFACE);
        VERIFICAR(escolhida.banco == NULL);
        VERIFICAR(tarvo_relatorios_escolher_declaracao(relatorios, faltando, &escolhida) ==
                  SQLITE_CANTOPEN);
        VERIFICAR(tarvo_relatorios_escolher_declaracao(relatorios, banco, NULL) ==
                  TARVO_ERRO_ARGUMENTO_INVALIDO);
    }
    VERIFICAR(tarvo_relatorios_erro_numero(NULL) == TARVO_ERRO_OBJETO_INVALIDO);
    tarvo_relatorios_destruir(relatorios);
    tarvo_relatorios_destruir(NULL);

    /* The library's Qt application went with the first handle; a new one
     * still draws with the report fonts. */
    relatorios = tarvo_relatorios_criar();
    VERIFICAR(tarvo_relatorios_exportar_arquivo(relatorios, banco, "123", 7, 1, pdf2, NULL) == 0);
    snprintf(cadastro, sizeof cadastro, "%s/01-RelatorioCadastro.pdf", pdf2);
    VERIFICAR(TemLiberationSans(cadastro));
    /* Both reports in one file, in a folder made for it. */
    VERIFICAR(tarvo_relatorios_exportar_pdf_unico_arquivo(relatorios, banco, "123", 7, 5, unico) ==
              0);
    VERIFICAR(Existe(pdf2, "novo/todos.pdf"));

    /* The progress callback stops the call, which writes nothing more; the
     * database is never an output; a time limit is a number of seconds. */
    {
        int chamadas = 0;
        VERIFICAR(tarvo_relatorios_definir_acompanhamento(relatorios, ParaNaPrimeiraPagina,
                                                          &chamadas) == 0);
        VERIFICAR(tarvo_relatorios_exportar_pdf_unico_arquivo(relatorios, banco, "123", 7, 4,
                                                              cadastro) == TARVO_ERRO_INTERROMPIDO);
        VERIFICAR(chamadas >= 2);
        VERIFICAR(
            strstr(tarvo_relatorios_erro_descricao(relatorios), "interrompido pelo usuário") ==
            tarvo_relatorios_erro_descricao(relatorios));
        VERIFICAR(tarvo_relatorios_definir_acompanhamento(relatorios, NULL, NULL) == 0);
        VERIFICAR(tarvo_relatorios_exportar_pdf_unico(relatorios, db, "123", 7, 4, banco) ==
                  TARVO_ERRO_GRAVACAO_ARQUIVO);
        VERIFICAR(tarvo_relatorios_definir_tempo_limite(relatorios, -1) ==
                  TARVO_ERRO_ARGUMENTO_INVALIDO);
        VERIFICAR(tarvo_relatorios_definir_tempo_limite(relatorios, 30) == 0);
        VERIFICAR(tarvo_relatorios_exportar_arquivo(relatorios, banco, "123", 7, 4, pdf2, NULL) ==
                  0);
    }

    /* One request in a structure that says its own size: a caller built
     * with a shorter structure (no callback, no time limit) still works. */
    {
        tarvo_pedido pedido;
        int chamadas = 0;
        memset(&pedido, 0, sizeof pedido);
        pedido.tamanho = offsetof(tarvo_pedido, acompanhamento);
        pedido.caminho_banco = banco;
        pedido.ie = "123";
        pedido.declaracao = 7;
        pedido.mascara = 2;
        VERIFICAR(tarvo_relatorios_exportar_pedido(relatorios, &pedido, pdf, NULL, NULL) == 0);
        VERIFICAR(Existe(pdf, "02-RelatorioEntradas.pdf"));
        pedido.tamanho = sizeof pedido;
        pedido.acompanhamento = ParaNaPrimeiraPagina;
        pedido.dados = &chamadas;
        pedido.mascara = 4;
        VERIFICAR(tarvo_relatorios_exportar_pedido(relatorios, &pedido, pdf2, NULL, NULL) ==
                  TARVO_ERRO_INTERROMPIDO);
        VERIFICAR(chamadas > 0);
        pedido.banco = db;
        VERIFICAR(tarvo_relatorios_exportar_pedido(relatorios, &pedido, pdf, NULL, NULL) ==
                  TARVO_ERRO_ARGUMENTO_INVALIDO);
        /* A printer CUPS does not have, said before anything is built. */
        pedido.banco = NULL;
        pedido.acompanhamento = NULL;
        pedido.impressora = "Inexistente";
        VERIFICAR(tarvo_relatorios_imprimir_pedido(relatorios, &pedido) ==
                  TARVO_ERRO_SEM_IMPRESSORA);
        VERIFICAR(strstr(tarvo_relatorios_erro_descricao(relatorios), "\"Inexistente\"") != NULL);
        pedido.tamanho = 8;
        VERIFICAR(tarvo_relatorios_visualizar_pedido(relatorios, &pedido) ==
                  TARVO_ERRO_ARGUMENTO_INVALIDO);
        VERIFICAR(tarvo_relatorios_imprimir_pedido(relatorios, NULL) ==
                  TARVO_ERRO_ARGUMENTO_INVALIDO);
    }
    tarvo_relatorios_destruir(relatorios);

    sqlite3_close(db);
    snprintf(limpar, sizeof limpar, "rm -rf '%s'", pasta);
    if (system(limpar) != 0)
        ++falhas;
    return falhas == 0 ? 0 : 1;
}
