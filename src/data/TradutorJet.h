#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// Rewrites the Jet-dialect SELECT texts of the reports for SQLite, token by
// token: names are quoted, & becomes a Null-tolerant concatenation, Left and
// sum become the library's functions, ORDER BY sorts text in Portuguese
// order, DISTINCTROW goes and parentheses around inner joins are dropped.
// It is no SQL compiler: anything it does not know raises
// Erro::SqlNaoSuportado naming the token, rather than reaching the database
// with a meaning of its own. The output is rebuilt from the tokens, so
// nothing of the input can end a literal early or start a second statement.
class TradutorJet {
public:
    struct Consulta {
        std::string sql;
        // Result columns that hold money sums (by name; each comes back as
        // the exact amount in decimal text).
        std::vector<std::string> colunasMoeda;
        // The tables named in the FROM clause, in order, for error messages.
        std::vector<std::string> tabelas;
    };

    static Consulta Traduzir(std::string_view jet);

private:
    enum class Tipo { Palavra, Nome, Texto, Numero, Simbolo };
    struct Token {
        Tipo tipo;
        std::string texto; // literals without quotes, names without brackets
    };
    using Tokens = std::vector<Token>;

    static Tokens Separar(std::string_view jet);
    static size_t Fecha(const Tokens& t, size_t abre, size_t e);
    static void CopiarSemParentesesDeJuncao(const Tokens& t, size_t b, size_t e, Tokens& saida);

    std::string Selecao(const Tokens& t, size_t b, size_t e, bool principal);
    std::string ItemSelecao(const Tokens& t, size_t b, size_t e, bool principal);
    std::string Origem(const Tokens& t, size_t b, size_t e);
    std::string Ordenacao(const Tokens& t, size_t b, size_t e);
    std::string Trecho(const Tokens& t, size_t b, size_t e);
    std::string Segmento(const Tokens& t, size_t b, size_t e);
    std::string Operando(const Tokens& t, size_t b, size_t e);

    int expressoesSemNome_ = 0;
    std::vector<std::string> colunasMoeda_;
};

} // namespace tarvo
