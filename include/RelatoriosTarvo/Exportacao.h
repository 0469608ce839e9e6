/* The one export macro of the RelatoriosTarvo library. The library is built
 * with hidden visibility: only what carries TARVO_API is part of its ABI. */
#ifndef RELATORIOS_TARVO_EXPORTACAO_H
#define RELATORIOS_TARVO_EXPORTACAO_H

#define TARVO_API __attribute__((visibility("default")))

#endif
