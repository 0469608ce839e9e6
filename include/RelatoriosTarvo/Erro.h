#pragma once

#include <RelatoriosTarvo/Exportacao.h>
#include <RelatoriosTarvo/CatalogoErros.h>

#include <exception>
#include <string>

namespace tarvo {

// The one exception type of the library: a number, a description and the
// origin that raised it. The library's own numbers are those of the catalogue
// in CatalogoErros.h (origin "RelatoriosTarvo", or "MotorRelatorio" for
// the page-layout engine); errors of the database keep SQLite's result code
// and message (origin "SQLite"). The description is one line.
class TARVO_API Erro : public std::exception {
public:
    Erro(long numero, std::string descricao, std::string origem = TARVO_ORIGEM_BIBLIOTECA);

    long Numero() const noexcept;
    const std::string& Descricao() const noexcept;
    const std::string& Origem() const noexcept;
    const char* what() const noexcept override;

    // Whether the number is one of SQLite's result codes rather than the
    // library's own.
    bool DoSqlite() const noexcept;

    static constexpr long ChamadaInvalida = TARVO_ERRO_CHAMADA_INVALIDA;
    static constexpr long Overflow = TARVO_ERRO_OVERFLOW;
    static constexpr long SemMemoria = TARVO_ERRO_SEM_MEMORIA;
    static constexpr long TipoIncompativel = TARVO_ERRO_TIPO_INCOMPATIVEL;
    static constexpr long Interno = TARVO_ERRO_INTERNO;
    static constexpr long UsoInvalidoDeNulo = TARVO_ERRO_USO_INVALIDO_DE_NULO;
    static constexpr long FormularioJaExibido = TARVO_ERRO_FORMULARIO_JA_EXIBIDO;
    static constexpr long ArgumentoInvalido = TARVO_ERRO_ARGUMENTO_INVALIDO;
    static constexpr long SemRegistroAtual = TARVO_ERRO_SEM_REGISTRO_ATUAL;
    static constexpr long TabelaNaoEncontrada = TARVO_ERRO_TABELA_NAO_ENCONTRADA;
    static constexpr long ItemNaoEncontrado = TARVO_ERRO_ITEM_NAO_ENCONTRADO;
    static constexpr long ObjetoInvalido = TARVO_ERRO_OBJETO_INVALIDO;
    static constexpr long SqlNaoSuportado = TARVO_ERRO_SQL_NAO_SUPORTADO;
    static constexpr long GravacaoArquivo = TARVO_ERRO_GRAVACAO_ARQUIVO;
    static constexpr long FiguraInvalida = TARVO_ERRO_FIGURA_INVALIDA;
    static constexpr long SemImpressora = TARVO_ERRO_SEM_IMPRESSORA;
    static constexpr long FalhaImpressao = TARVO_ERRO_FALHA_IMPRESSAO;
    static constexpr long FalhaInterface = TARVO_ERRO_FALHA_INTERFACE;
    static constexpr long Interrompido = TARVO_ERRO_INTERROMPIDO;

private:
    long numero_;
    std::string descricao_;
    std::string origem_;
};

} // namespace tarvo
