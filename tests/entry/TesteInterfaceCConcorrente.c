/* The C interface from several threads of a process without any Qt
 * application or display. Only the thread whose handles are alive may use
 * the reports: a call from another gets error 31201 and nothing else happens
 * (no crash, nothing destroyed on that thread), and once those handles are
 * gone any thread may start afresh. */
#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <dirent.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <sqlite3.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { LINHAS = 4, RODADAS = 5 };

static const char* const recusa =
    "Os relatórios só podem ser usados na linha de execução da aplicação Qt.";

static atomic_int falhas;
static atomic_int sucessos;
static atomic_int recusas;
static char pasta[] = "/tmp/tarvo-concorrente-XXXXXX";
static char banco[256];

#define VERIFICAR(condicao)                                                                        \
    do {                                                                                           \
        if (!(condicao)) {                                                                         \
            fprintf(stderr, "%s:%d: falhou: %s\n", __FILE__, __LINE__, #condicao);                 \
            atomic_fetch_add(&falhas, 1);                                                          \
        }                                                                                          \
    } while (0)

/* The whole content of a file, or NULL. */
static char* Ler(const char* caminho, size_t* tamanho) {
    char* texto = NULL;
    long fim;
    FILE* arquivo = fopen(caminho, "rb");
    if (arquivo == NULL)
        return NULL;
    if (fseek(arquivo, 0, SEEK_END) == 0 && (fim = ftell(arquivo)) >= 0) {
        rewind(arquivo);
        texto = calloc((size_t)fim + 1, 1);
        if (texto != NULL && fread(texto, 1, (size_t)fim, arquivo) != (size_t)fim) {
            free(texto);
            texto = NULL;
        }
        *tamanho = (size_t)fim;
    }
    fclose(arquivo);
    return texto;
}

/* Whether a file is whole: it starts with `inicio` and, trailing blanks
 * aside, ends with `fim`. */
static int Completo(const char* caminho, const char* inicio, const char* fim) {
    size_t tamanho = 0;
    int completo;
    char* texto = Ler(caminho, &tamanho);
    if (texto == NULL)
        return 0;
    while (tamanho > 0 && strchr(" \r\n", texto[tamanho - 1]) != NULL)
        --tamanho;
    completo = tamanho >= strlen(inicio) + strlen(fim) &&
               strncmp(texto, inicio, strlen(inicio)) == 0 &&
               memcmp(texto + tamanho - strlen(fim), fim, strlen(fim)) == 0;
    free(texto);
    return completo;
}

static int Entradas(const char* caminho) {
    int quantas = 0;
    struct dirent* entrada;
    DIR* dir = opendir(caminho);
    if (dir == NULL)
        return -1;
    while ((entrada = readdir(dir)) != NULL)
        if (strcmp(entrada->d_name, ".") != 0 && strcmp(entrada->d_name, "..") != 0)
            ++quantas;
    closedir(dir);
    return quantas;
}

/* One handle: reports 1 and 3 as PDF and JSON into a folder of its own, then
 * destroyed. Either the four files are there and whole, or the call was
 * refused for the thread. */
static long Exportar(const char* nome) {
    char saida[512], arquivo[600];
    long erro;
    tarvo_relatorios* relatorios = tarvo_relatorios_criar();
    VERIFICAR(relatorios != NULL);
    snprintf(saida, sizeof saida, "%s/%s", pasta, nome);
    erro = tarvo_relatorios_exportar_arquivo(relatorios, banco, "123", 7, 5, saida, saida);
    if (erro == 0) {
        atomic_fetch_add(&sucessos, 1);
        snprintf(arquivo, sizeof arquivo, "%s/01-RelatorioCadastro.pdf", saida);
        VERIFICAR(Completo(arquivo, "%PDF-", "%%EOF"));
        snprintf(arquivo, sizeof arquivo, "%s/03-RelatorioSaidas.pdf", saida);
        VERIFICAR(Completo(arquivo, "%PDF-", "%%EOF"));
        snprintf(arquivo, sizeof arquivo, "%s/01-RelatorioCadastro.json", saida);
        VERIFICAR(Completo(arquivo, "{\"chamadas\": [", "]}"));
        snprintf(arquivo, sizeof arquivo, "%s/03-RelatorioSaidas.json", saida);
        VERIFICAR(Completo(arquivo, "{\"chamadas\": [", "]}"));
        /* No temporary left beside them. */
        VERIFICAR(Entradas(saida) == 4);
    } else {
        atomic_fetch_add(&recusas, 1);
        if (erro != TARVO_ERRO_FALHA_INTERFACE ||
            strcmp(tarvo_relatorios_erro_origem(relatorios), TARVO_ORIGEM_BIBLIOTECA) != 0 ||
            strcmp(tarvo_relatorios_erro_descricao(relatorios), recusa) != 0) {
            fprintf(stderr, "%s: erro %ld (%s): %s\n", nome, erro,
                    tarvo_relatorios_erro_origem(relatorios),
                    tarvo_relatorios_erro_descricao(relatorios));
            atomic_fetch_add(&falhas, 1);
        }
    }
    tarvo_relatorios_destruir(relatorios);
    return erro;
}

static void* ExportarSozinho(void* nome) {
    VERIFICAR(Exportar(nome) == 0);
    return NULL;
}

/* Refused the reports, but not what needs no Qt. */
static void* ExportarRecusado(void* nome) {
    tarvo_relatorios* relatorios = tarvo_relatorios_criar();
    const char* ie = tarvo_relatorios_ie_da_declaracao_arquivo(relatorios, banco, 7);
    VERIFICAR(ie != NULL && strcmp(ie, "123") == 0);
    tarvo_relatorios_destruir(relatorios);
    VERIFICAR(Exportar(nome) == TARVO_ERRO_FALHA_INTERFACE);
    return NULL;
}

/* A thread holds its handle (and so the reports) while another tries. */
static sem_t pronto, terminado;

static void* Dono(void* nome) {
    char saida[300];
    tarvo_relatorios* relatorios = tarvo_relatorios_criar();
    snprintf(saida, sizeof saida, "%s/%s", pasta, (const char*)nome);
    VERIFICAR(tarvo_relatorios_exportar_arquivo(relatorios, banco, "123", 7, 1, saida, NULL) == 0);
    sem_post(&pronto);
    sem_wait(&terminado);
    tarvo_relatorios_destruir(relatorios);
    return NULL;
}

static pthread_barrier_t largada;

/* Each round every thread tries until it has exported once: the others'
 * calls land while the reports are being claimed, used and let go. */
static void* Rodadas(void* argumento) {
    const int linha = (int)(size_t)argumento;
    char nome[64];
    for (int rodada = 0; rodada < RODADAS; ++rodada) {
        snprintf(nome, sizeof nome, "disputa-%d-%d", linha, rodada);
        pthread_barrier_wait(&largada);
        while (Exportar(nome) == TARVO_ERRO_FALHA_INTERFACE)
            sched_yield();
    }
    return NULL;
}

static tarvo_relatorios* passado;

static void* ExportarEPassar(void* nome) {
    char saida[300];
    passado = tarvo_relatorios_criar();
    snprintf(saida, sizeof saida, "%s/%s", pasta, (const char*)nome);
    VERIFICAR(tarvo_relatorios_exportar_arquivo(passado, banco, "123", 7, 1, saida, NULL) == 0);
    return NULL;
}

static void Executar(void* (*funcao)(void*), void* argumento) {
    pthread_t linha;
    if (pthread_create(&linha, NULL, funcao, argumento) != 0 || pthread_join(linha, NULL) != 0) {
        fprintf(stderr, "não foi possível criar uma linha de execução\n");
        exit(2);
    }
}

int main(void) {
    char limpar[300];
    char* esquema;
    sqlite3* db = NULL;
    size_t tamanho;
    pthread_t dono, linhas[LINHAS];

    if (mkdtemp(pasta) == NULL)
        return 2;
    snprintf(banco, sizeof banco, "%s/banco.db", pasta);
    esquema = Ler(TARVO_ESQUEMA_SQL, &tamanho);
    if (esquema == NULL || sqlite3_open(banco, &db) != SQLITE_OK ||
        sqlite3_exec(db, esquema, NULL, NULL, NULL) != SQLITE_OK ||
        sqlite3_exec(db,
                     "INSERT INTO tblContribuinte (IE, RazãoSocial) VALUES ('123', 'Ávila');"
                     "INSERT INTO tblDeclaração (Declaração, IE, Tipo, Exercício, Consistente) "
                     "VALUES (7, '123', 1, 2003, 1);",
                     NULL, NULL, NULL) != SQLITE_OK ||
        sqlite3_close(db) != SQLITE_OK)
        return 2;
    free(esquema);

    /* While one thread holds the reports, another is refused; the refused
     * one must not take them with it. */
    sem_init(&pronto, 0, 0);
    sem_init(&terminado, 0, 0);
    if (pthread_create(&dono, NULL, Dono, "dono") != 0)
        return 2;
    sem_wait(&pronto);
    Executar(ExportarRecusado, "recusado");
    sem_post(&terminado);
    pthread_join(dono, NULL);

    /* One after another, each thread claims the reports afresh, also
     * after the thread that claimed them last has ended. */
    Executar(ExportarSozinho, "vez-1");
    Executar(ExportarSozinho, "vez-2");

    /* All at once, then one after another as each lets go. */
    atomic_store(&sucessos, 0);
    pthread_barrier_init(&largada, NULL, LINHAS);
    for (size_t i = 0; i < LINHAS; ++i)
        if (pthread_create(&linhas[i], NULL, Rodadas, (void*)i) != 0)
            return 2;
    for (size_t i = 0; i < LINHAS; ++i)
        pthread_join(linhas[i], NULL);
    pthread_barrier_destroy(&largada);
    VERIFICAR(atomic_load(&sucessos) == LINHAS * RODADAS);
    printf("%d exportações, %d recusas\n", atomic_load(&sucessos), atomic_load(&recusas));

    /* And the main thread. */
    VERIFICAR(Exportar("principal") == 0);

    /* A handle destroyed on another thread than the one it was used on:
     * exporting made no Qt application, so none is left on the thread that
     * has ended, and this thread takes its turn. */
    Executar(ExportarEPassar, "passado");
    tarvo_relatorios_destruir(passado);
    VERIFICAR(Exportar("depois") == 0);

    snprintf(limpar, sizeof limpar, "rm -rf '%s'", pasta);
    if (system(limpar) != 0)
        atomic_fetch_add(&falhas, 1);
    return atomic_load(&falhas) == 0 ? 0 : 1;
}
