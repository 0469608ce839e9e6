/* Links the installed library from C and reads an error back. */
#include <RelatoriosTarvo/relatorios_tarvo.h>

#include <stdio.h>
#include <string.h>

int main(void) {
    tarvo_relatorios* relatorios = tarvo_relatorios_criar();
    long numero;
    int certo;
    if (relatorios == NULL)
        return 1;
    numero =
        tarvo_relatorios_exportar_arquivo(relatorios, "/nao/existe.db", "", 0, 1, NULL, "/tmp");
    printf("%s: erro %ld (%s): %s\n", tarvo_relatorios_versao(), numero,
           tarvo_relatorios_erro_origem(relatorios), tarvo_relatorios_erro_descricao(relatorios));
    certo =
        numero != 0 && strcmp(tarvo_relatorios_erro_origem(relatorios), TARVO_ORIGEM_SQLITE) == 0;
    tarvo_relatorios_destruir(relatorios);
    return certo ? 0 : 1;
}
