#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// Rewrites the Jet-dialect SELECT texts of the reports for SQLite, token by
// token: names are quoted, & becomes a Null-tolerant concatenation, Left and
// sum become the library's functions (a sum is also given, as text, the field
// and tables a value that is no amount is reported under), ORDER BY sorts
// text in Portuguese order, DISTINCTROW goes and parentheses around inner
// joins are dropped.
// It is no SQL compiler: anything it does not know raises
// Erro::SqlNaoSuportado naming the token, rather than reaching the database
// with a meaning of its own. The output is rebuilt from the tokens, so
// nothing of the input can end a literal early or start a second statement.
// Parentheses are matched once per token list, so translation takes time in
// proportion to the text; nesting deeper than ProfundidadeMaxima is refused,
// which bounds the recursion (and so the stack) whatever the text.
class TradutorJet {
public:
    static constexpr size_t ProfundidadeMaxima = 200;

    struct Consulta {
        std::string sql;
        // Result columns that hold money sums (by name; each comes back as
        // the exact amount in decimal text).
        std::vector<std::string> colunasMoeda;
        // The tables named in the FROM clause of the main SELECT, in order, as
        // written (without brackets): the names at its start, after a comma
        // and after JOIN. For error messages.
        std::vector<std::string> tabelas;
    };

    static Consulta Traduzir(std::string_view jet);

private:
    enum class Tipo { Palavra, Nome, Texto, Numero, Simbolo };
    struct Token {
        Tipo tipo;
        std::string texto; // literals without quotes, names without brackets
        size_t inicio;     // where it stands in the Jet text, for messages
        size_t fim;
    };
    using Tokens = std::vector<Token>;

    // A token list with the closing partner of every "(" found in one pass.
    class Lista {
    public:
        // Refuses nesting deeper than ProfundidadeMaxima.
        explicit Lista(Tokens tokens);
        const Token& operator[](size_t i) const { return tokens_[i]; }
        size_t size() const { return tokens_.size(); }
        const Tokens& Todos() const { return tokens_; }
        // The ")" that closes the "(" at abre, which must come before e.
        size_t Fecha(size_t abre, size_t e) const;

    private:
        Tokens tokens_;
        std::vector<size_t> fecha_;
    };

    static Tokens Separar(std::string_view jet);
    static void CopiarSemParentesesDeJuncao(const Lista& t, size_t b, size_t e, Tokens& saida);

    std::string Selecao(const Lista& t, size_t b, size_t e, bool principal);
    std::string ItemSelecao(const Lista& t, size_t b, size_t e, bool principal);
    // Collects the names of the tables in `tabelas`.
    std::string Origem(const Lista& t, size_t b, size_t e, std::vector<std::string>& tabelas);
    // The library's sum of the argument between b and e, given the names a
    // value that is no amount is reported under.
    std::string Soma(const Lista& t, size_t b, size_t e);
    std::string Ordenacao(const Lista& t, size_t b, size_t e);
    std::string Trecho(const Lista& t, size_t b, size_t e);
    std::string Segmento(const Lista& t, size_t b, size_t e);
    std::string Operando(const Lista& t, size_t b, size_t e);

    std::string_view jet_;
    int expressoesSemNome_ = 0;
    std::vector<std::string> colunasMoeda_;
    std::vector<std::string> tabelas_;
    std::vector<std::string> tabelasDaSelecao_; // of the SELECT being translated
};

} // namespace tarvo
