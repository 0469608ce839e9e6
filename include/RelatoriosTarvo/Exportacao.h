/* The one export macro of the RelatoriosTarvo library. The library is built
 * with hidden visibility: only what carries TARVO_API is part of its ABI. On
 * Windows the same mark exports from the DLL while it is built
 * (TARVO_COMPILANDO) and imports into its hosts. */
#ifndef RELATORIOS_TARVO_EXPORTACAO_H
#define RELATORIOS_TARVO_EXPORTACAO_H

#if defined(_WIN32) || defined(__CYGWIN__)
#ifdef TARVO_COMPILANDO
#define TARVO_API __declspec(dllexport)
#else
#define TARVO_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define TARVO_API __attribute__((visibility("default")))
#else
#define TARVO_API
#endif

#endif
