/* Links the installed library from C and reads an error back. */
#include <entry/relatorios_tarvo.h>

#include <stdio.h>

int main(void) {
    tarvo_relatorios* relatorios = tarvo_relatorios_criar();
    long numero;
    if (relatorios == NULL)
        return 1;
    numero =
        tarvo_relatorios_exportar_arquivo(relatorios, "/nao/existe.db", "", 0, 1, NULL, "/tmp");
    printf("%s: erro %ld: %s\n", tarvo_relatorios_versao(), numero,
           tarvo_relatorios_erro_descricao(relatorios));
    tarvo_relatorios_destruir(relatorios);
    return numero != 0 ? 0 : 1;
}
