#include "data/TradutorJet.h"

#include "data/ColacaoPortugues.h"
#include "data/FuncoesSqlite.h"
#include <RelatoriosTarvo/Erro.h>

#include <algorithm>
#include <array>
#include <utility>

namespace tarvo {

namespace {

// Words that keep their SQL meaning; all but NULL separate the operands of &.
constexpr std::array<std::string_view, 19> kPalavrasChave = {
    "SELECT", "DISTINCT", "DISTINCTROW", "FROM",  "WHERE", "INNER", "JOIN", "ON", "AND", "OR",
    "NOT",    "AS",       "GROUP",       "ORDER", "BY",    "ASC",   "DESC", "IS", "NULL"};

// Words with a meaning that is not translated; written bare they are refused
// instead of being taken for column names.
constexpr std::array<std::string_view, 56> kPalavrasNaoSuportadas = {
    "LIKE",   "IN",     "BETWEEN",   "UNION",   "HAVING",  "TOP",    "LEFT",      "RIGHT",
    "OUTER",  "FULL",   "CROSS",     "NATURAL", "EXISTS",  "CASE",   "WHEN",      "THEN",
    "ELSE",   "END",    "LIMIT",     "OFFSET",  "INSERT",  "UPDATE", "DELETE",    "DROP",
    "CREATE", "ALTER",  "INTO",      "VALUES",  "SET",     "PIVOT",  "TRANSFORM", "PARAMETERS",
    "MOD",    "XOR",    "EQV",       "IMP",     "WITH",    "ATTACH", "DETACH",    "PRAGMA",
    "ESCAPE", "GLOB",   "REGEXP",    "MATCH",   "COLLATE", "CAST",   "ALL",       "ANY",
    "SOME",   "EXCEPT", "INTERSECT", "REPLACE", "USING",   "WINDOW", "OVER",      "FILTER"};

[[noreturn]] void NaoSuportado(const std::string& descricao) {
    throw Erro(Erro::SqlNaoSuportado, descricao);
}

std::string Maiusculas(std::string_view texto) {
    std::string saida(texto);
    for (char& c : saida) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return saida;
}

bool Contem(const auto& lista, std::string_view palavra) {
    return std::find(lista.begin(), lista.end(), palavra) != lista.end();
}

bool CaractereDeNome(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

bool Digito(char c) {
    return c >= '0' && c <= '9';
}

// Backquotes: SQLite never takes such a name for a text literal, as it may
// do with an unknown name in double quotes.
std::string Identificador(std::string_view nome) {
    std::string saida = "`";
    for (const char c : nome) {
        saida += c;
        if (c == '`')
            saida += '`';
    }
    return saida + "`";
}

std::string Literal(std::string_view texto) {
    std::string saida = "'";
    for (const char c : texto) {
        saida += c;
        if (c == '\'')
            saida += '\'';
    }
    return saida + "'";
}

// Parts are separated by a blank, except around the point between quoted
// names (`t`.`c`, `t`.*). Joined to anything else, a point would become part
// of a number for SQLite: "1 . and" must not reach it as "1.AND".
void Juntar(std::string& saida, const std::string& parte) {
    if (parte.empty())
        return;
    if (!saida.empty()) {
        const bool qualificado =
            (parte == "." && saida.back() == '`') ||
            (saida.back() == '.' && (parte.front() == '`' || parte.front() == '*'));
        if (!qualificado)
            saida += ' ';
    }
    saida += parte;
}

// The whole UTF-8 character at the start of texto, for error messages.
std::string_view Caractere(std::string_view texto) {
    size_t fim = 1;
    while (fim < texto.size() && (static_cast<unsigned char>(texto[fim]) & 0xC0) == 0x80)
        ++fim;
    return texto.substr(0, fim);
}

} // namespace

TradutorJet::Consulta TradutorJet::Traduzir(std::string_view jet) {
    const Lista tokens(Separar(jet));
    if (tokens.size() == 0)
        NaoSuportado("Instrução SQL vazia");
    TradutorJet tradutor;
    tradutor.jet_ = jet;
    Consulta consulta;
    consulta.sql = tradutor.Selecao(tokens, 0, tokens.size(), true);
    consulta.colunasMoeda = std::move(tradutor.colunasMoeda_);
    consulta.tabelas = std::move(tradutor.tabelas_);
    return consulta;
}

TradutorJet::Tokens TradutorJet::Separar(std::string_view jet) {
    // SQLite reads its text only up to a null character: one inside a
    // literal or a name would cut the statement short there.
    if (jet.find('\0') != std::string_view::npos)
        NaoSuportado("Caractere nulo na instrução SQL");
    Tokens tokens;
    size_t i = 0;
    const size_t n = jet.size();
    while (i < n) {
        const char c = jet[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            ++i;
        } else if (c == '\'' || c == '"') {
            // Jet takes both quotes for text; the quote doubled stands for itself.
            std::string texto;
            size_t j = i + 1;
            while (true) {
                if (j >= n)
                    NaoSuportado("Texto sem aspas de fechamento na instrução SQL");
                if (jet[j] == c) {
                    if (j + 1 < n && jet[j + 1] == c) {
                        texto += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                texto += jet[j++];
            }
            tokens.push_back({Tipo::Texto, std::move(texto), i, j + 1});
            i = j + 1;
        } else if (c == '[') {
            const size_t fim = jet.find(']', i + 1);
            if (fim == std::string_view::npos)
                NaoSuportado("Nome sem colchete de fechamento na instrução SQL");
            if (fim == i + 1)
                NaoSuportado("Nome vazio entre colchetes na instrução SQL");
            tokens.push_back({Tipo::Nome, std::string(jet.substr(i + 1, fim - i - 1)), i, fim + 1});
            i = fim + 1;
        } else if (Digito(c) || (c == '.' && i + 1 < n && Digito(jet[i + 1]) &&
                                 (tokens.empty() || (tokens.back().tipo != Tipo::Palavra &&
                                                     tokens.back().tipo != Tipo::Nome)))) {
            size_t j = i;
            while (j < n && Digito(jet[j]))
                ++j;
            if (j < n && jet[j] == '.') {
                ++j;
                while (j < n && Digito(jet[j]))
                    ++j;
            }
            if (j + 1 < n && (jet[j] == 'e' || jet[j] == 'E') &&
                (Digito(jet[j + 1]) ||
                 ((jet[j + 1] == '+' || jet[j + 1] == '-') && j + 2 < n && Digito(jet[j + 2])))) {
                j += 2;
                while (j < n && Digito(jet[j]))
                    ++j;
            }
            if (j < n && CaractereDeNome(static_cast<unsigned char>(jet[j]))) {
                size_t fim = j;
                while (fim < n && CaractereDeNome(static_cast<unsigned char>(jet[fim])))
                    ++fim;
                NaoSuportado("Número inválido na instrução SQL: " +
                             std::string(jet.substr(i, fim - i)));
            }
            tokens.push_back({Tipo::Numero, std::string(jet.substr(i, j - i)), i, j});
            i = j;
        } else if (CaractereDeNome(static_cast<unsigned char>(c))) {
            size_t j = i;
            while (j < n && CaractereDeNome(static_cast<unsigned char>(jet[j])))
                ++j;
            tokens.push_back({Tipo::Palavra, std::string(jet.substr(i, j - i)), i, j});
            i = j;
        } else if (c == ';') {
            // A final semicolon is allowed; anything after it is a second statement.
            if (jet.find_first_not_of(" \t\r\n\f\v", i + 1) != std::string_view::npos)
                NaoSuportado("Mais de uma instrução no texto SQL");
            i = n;
        } else {
            const std::string_view dupla = jet.substr(i, 2);
            if (dupla == "<>" || dupla == "<=" || dupla == ">=") {
                tokens.push_back({Tipo::Simbolo, std::string(dupla), i, i + 2});
                i += 2;
            } else if (std::string_view("(),.*+-/&=<>").find(c) != std::string_view::npos) {
                tokens.push_back({Tipo::Simbolo, std::string(1, c), i, i + 1});
                ++i;
            } else {
                NaoSuportado("Caractere não suportado na instrução SQL: " +
                             std::string(Caractere(jet.substr(i))));
            }
        }
    }
    return tokens;
}

TradutorJet::Lista::Lista(Tokens tokens)
    : tokens_(std::move(tokens)), fecha_(tokens_.size(), std::string::npos) {
    std::vector<size_t> abertos;
    for (size_t i = 0; i < tokens_.size(); ++i) {
        if (tokens_[i].tipo != Tipo::Simbolo)
            continue;
        if (tokens_[i].texto == "(") {
            if (abertos.size() == ProfundidadeMaxima)
                NaoSuportado("Parênteses aninhados demais na instrução SQL (mais de " +
                             std::to_string(ProfundidadeMaxima) + " níveis)");
            abertos.push_back(i);
        } else if (tokens_[i].texto == ")" && !abertos.empty()) {
            // A ")" without its "(" is left for the clause that meets it.
            fecha_[abertos.back()] = i;
            abertos.pop_back();
        }
    }
}

size_t TradutorJet::Lista::Fecha(size_t abre, size_t e) const {
    if (fecha_[abre] >= e)
        NaoSuportado("Parêntese sem fechamento na instrução SQL");
    return fecha_[abre];
}

namespace {

bool EhPalavra(const auto& token, std::string_view palavra) {
    return token.texto.size() == palavra.size() && Maiusculas(token.texto) == palavra;
}

} // namespace

std::string TradutorJet::Selecao(const Lista& t, size_t b, size_t e, bool principal) {
    if (b >= e || t[b].tipo != Tipo::Palavra || !EhPalavra(t[b], "SELECT"))
        NaoSuportado("A instrução SQL deve começar com SELECT");
    std::string saida = "SELECT";
    size_t i = b + 1;
    if (i < e && t[i].tipo == Tipo::Palavra && EhPalavra(t[i], "DISTINCTROW")) {
        // Over joins whose rows are whole records, as in the reports' grouped
        // queries, it removes nothing.
        ++i;
    } else if (i < e && t[i].tipo == Tipo::Palavra && EhPalavra(t[i], "DISTINCT")) {
        saida += " DISTINCT";
        ++i;
    }

    // The clauses, found at the top level of this SELECT, in their order.
    constexpr std::array<std::string_view, 4> kClausulas = {"FROM", "WHERE", "GROUP", "ORDER"};
    std::array<size_t, 4> inicio = {e, e, e, e};
    size_t ultima = 0;
    for (size_t j = i; j < e; ++j) {
        if (t[j].tipo == Tipo::Simbolo && t[j].texto == "(") {
            j = t.Fecha(j, e);
            continue;
        }
        if (t[j].tipo != Tipo::Palavra)
            continue;
        const std::string palavra = Maiusculas(t[j].texto);
        const auto k = std::find(kClausulas.begin(), kClausulas.end(), palavra);
        if (k == kClausulas.end())
            continue;
        const size_t indice = static_cast<size_t>(k - kClausulas.begin());
        if (inicio[indice] != e || indice + 1 <= ultima)
            NaoSuportado("Cláusula fora de ordem na instrução SQL: " + t[j].texto);
        if (indice >= 2 && (j + 1 >= e || !EhPalavra(t[j + 1], "BY")))
            NaoSuportado("Cláusula incompleta na instrução SQL: " + t[j].texto);
        inicio[indice] = j;
        ultima = indice + 1;
    }
    const auto fimDe = [&](size_t indice) {
        for (size_t k = indice + 1; k < inicio.size(); ++k) {
            if (inicio[k] != e)
                return inicio[k];
        }
        return e;
    };

    const size_t fimLista = *std::min_element(inicio.begin(), inicio.end());
    if (fimLista == i)
        NaoSuportado("Instrução SQL sem lista de colunas");
    // The FROM clause first: a sum in this SELECT names its tables.
    std::vector<std::string> tabelas;
    std::string origem;
    if (inicio[0] != e)
        origem = Origem(t, inicio[0] + 1, fimDe(0), tabelas);
    if (principal)
        tabelas_ = tabelas;
    std::vector<std::string> externas = std::exchange(tabelasDaSelecao_, std::move(tabelas));

    std::string lista;
    size_t item = i;
    for (size_t j = i; j <= fimLista; ++j) {
        if (j < fimLista && t[j].tipo == Tipo::Simbolo && t[j].texto == "(") {
            j = t.Fecha(j, fimLista);
            continue;
        }
        if (j == fimLista || (t[j].tipo == Tipo::Simbolo && t[j].texto == ",")) {
            if (!lista.empty())
                lista += ",";
            Juntar(lista, ItemSelecao(t, item, j, principal));
            item = j + 1;
        }
    }
    Juntar(saida, lista);

    if (inicio[0] != e) {
        Juntar(saida, "FROM");
        Juntar(saida, origem);
    }
    if (inicio[1] != e) {
        Juntar(saida, "WHERE");
        Juntar(saida, Trecho(t, inicio[1] + 1, fimDe(1)));
    }
    if (inicio[2] != e) {
        Juntar(saida, "GROUP BY");
        Juntar(saida, Trecho(t, inicio[2] + 2, fimDe(2)));
    }
    if (inicio[3] != e) {
        Juntar(saida, "ORDER BY");
        Juntar(saida, Ordenacao(t, inicio[3] + 2, e));
    }
    tabelasDaSelecao_ = std::move(externas);
    return saida;
}

std::string TradutorJet::ItemSelecao(const Lista& t, size_t b, size_t e, bool principal) {
    if (b == e)
        NaoSuportado("Item vazio na lista de colunas da instrução SQL");
    const auto simbolo = [&](size_t k, std::string_view s) {
        return t[k].tipo == Tipo::Simbolo && t[k].texto == s;
    };
    if (e - b == 1 && simbolo(b, "*"))
        return "*";
    if (e - b == 3 && (t[b].tipo == Tipo::Palavra || t[b].tipo == Tipo::Nome) &&
        simbolo(b + 1, ".") && simbolo(b + 2, "*"))
        return Identificador(t[b].texto) + ".*";

    std::string apelido;
    size_t fimExpressao = e;
    if (e - b >= 3 && t[e - 2].tipo == Tipo::Palavra && EhPalavra(t[e - 2], "AS") &&
        (t[e - 1].tipo == Tipo::Palavra || t[e - 1].tipo == Tipo::Nome)) {
        apelido = t[e - 1].texto;
        fimExpressao = e - 2;
    }

    const bool soma = fimExpressao - b >= 3 && t[b].tipo == Tipo::Palavra &&
                      EhPalavra(t[b], "SUM") && simbolo(b + 1, "(") &&
                      t.Fecha(b + 1, fimExpressao) == fimExpressao - 1;
    std::string saida = Trecho(t, b, fimExpressao);
    if (soma) {
        // The recordset recognises money columns by name, so every sum gets
        // one, as Jet would name it.
        if (apelido.empty()) {
            const size_t argumentos = fimExpressao - b - 3;
            const Token& ultimo = t[fimExpressao - 2];
            const bool coluna = (ultimo.tipo == Tipo::Palavra || ultimo.tipo == Tipo::Nome) &&
                                (argumentos == 1 || (argumentos == 3 && simbolo(b + 3, ".")));
            apelido = coluna ? "SumOf" + ultimo.texto
                             : "Expr" + std::to_string(1000 + expressoesSemNome_++);
        }
        if (principal)
            colunasMoeda_.push_back(apelido);
    }
    if (!apelido.empty())
        saida += " AS " + Identificador(apelido);
    return saida;
}

void TradutorJet::CopiarSemParentesesDeJuncao(const Lista& t, size_t b, size_t e, Tokens& saida) {
    for (size_t i = b; i < e; ++i) {
        if (t[i].tipo != Tipo::Simbolo || t[i].texto != "(") {
            saida.push_back(t[i]);
            continue;
        }
        const size_t fecha = t.Fecha(i, e);
        bool juncao = false;
        if (i + 1 < fecha && !EhPalavra(t[i + 1], "SELECT")) {
            for (size_t j = i + 1; j < fecha; ++j) {
                if (t[j].tipo == Tipo::Simbolo && t[j].texto == "(")
                    j = t.Fecha(j, fecha);
                else if (t[j].tipo == Tipo::Palavra && EhPalavra(t[j], "JOIN"))
                    juncao = true;
            }
        }
        if (juncao) {
            // Inner joins are associative: the grouping changes no row.
            CopiarSemParentesesDeJuncao(t, i + 1, fecha, saida);
        } else {
            saida.insert(saida.end(), t.Todos().begin() + static_cast<std::ptrdiff_t>(i),
                         t.Todos().begin() + static_cast<std::ptrdiff_t>(fecha) + 1);
        }
        i = fecha;
    }
}

std::string TradutorJet::Origem(const Lista& t, size_t b, size_t e,
                                std::vector<std::string>& tabelas) {
    Tokens semJuncoes;
    CopiarSemParentesesDeJuncao(t, b, e, semJuncoes);
    const Lista origem(std::move(semJuncoes));
    std::string saida = Trecho(origem, 0, origem.size());
    // With the joins' parentheses gone every table is at the top level.
    for (size_t i = 0; i < origem.size(); ++i) {
        const Token& token = origem[i];
        if (token.tipo == Tipo::Simbolo && token.texto == "(") {
            i = origem.Fecha(i, origem.size());
            continue;
        }
        const bool inicio =
            i == 0 || (origem[i - 1].tipo == Tipo::Simbolo && origem[i - 1].texto == ",") ||
            (origem[i - 1].tipo == Tipo::Palavra && EhPalavra(origem[i - 1], "JOIN"));
        if (inicio && (token.tipo == Tipo::Palavra || token.tipo == Tipo::Nome))
            tabelas.push_back(token.texto);
    }
    return saida;
}

std::string TradutorJet::Soma(const Lista& t, size_t b, size_t e) {
    if (b == e)
        NaoSuportado("Sum sem argumento na instrução SQL");
    if (t[b].tipo == Tipo::Palavra && EhPalavra(t[b], "DISTINCT"))
        NaoSuportado("Palavra SQL não suportada aqui: " + t[b].texto);
    // What a value that is no amount is reported under, as the field readers
    // name a field: a column and its table (the qualifier, or the tables of
    // this SELECT), or else the expression as written.
    const auto nome = [&](size_t k) {
        return t[k].tipo == Tipo::Palavra || t[k].tipo == Tipo::Nome;
    };
    std::string campo;
    std::string tabelas;
    if (e - b == 3 && nome(b) && t[b + 1].tipo == Tipo::Simbolo && t[b + 1].texto == "." &&
        nome(b + 2)) {
        campo = t[b + 2].texto;
        tabelas = t[b].texto;
    } else {
        campo = e - b == 1 && nome(b)
                    ? t[b].texto
                    : std::string(jet_.substr(t[b].inicio, t[e - 1].fim - t[b].inicio));
        for (const std::string& tabela : tabelasDaSelecao_)
            tabelas += (tabelas.empty() ? "" : ", ") + tabela;
    }
    return std::string(FuncoesSqlite::Soma) + "(" + Trecho(t, b, e) + ", " + Literal(campo) + ", " +
           Literal(tabelas) + ")";
}

std::string TradutorJet::Ordenacao(const Lista& t, size_t b, size_t e) {
    std::string saida;
    size_t termo = b;
    for (size_t j = b; j <= e; ++j) {
        if (j < e && t[j].tipo == Tipo::Simbolo && t[j].texto == "(") {
            j = t.Fecha(j, e);
            continue;
        }
        if (j < e && (t[j].tipo != Tipo::Simbolo || t[j].texto != ","))
            continue;
        size_t fim = j;
        std::string sentido;
        if (fim > termo && t[fim - 1].tipo == Tipo::Palavra &&
            (EhPalavra(t[fim - 1], "ASC") || EhPalavra(t[fim - 1], "DESC"))) {
            sentido = Maiusculas(t[fim - 1].texto);
            --fim;
        }
        if (fim == termo)
            NaoSuportado("Termo vazio na cláusula ORDER BY da instrução SQL");
        if (!saida.empty())
            saida += ",";
        Juntar(saida, Trecho(t, termo, fim));
        Juntar(saida, std::string("COLLATE ") + ColacaoPortugues::Nome);
        Juntar(saida, sentido);
        termo = j + 1;
    }
    return saida;
}

std::string TradutorJet::Trecho(const Lista& t, size_t b, size_t e) {
    std::string saida;
    size_t segmento = b;
    for (size_t i = b; i < e; ++i) {
        const Token& token = t[i];
        bool limite = false;
        if (token.tipo == Tipo::Simbolo) {
            if (token.texto == "(") {
                i = t.Fecha(i, e);
                continue;
            }
            if (token.texto == ")")
                NaoSuportado("Parêntese sem abertura na instrução SQL");
            limite = token.texto == "," || token.texto == "=" || token.texto == "<>" ||
                     token.texto == "<" || token.texto == ">" || token.texto == "<=" ||
                     token.texto == ">=";
        } else if (token.tipo == Tipo::Palavra) {
            const std::string palavra = Maiusculas(token.texto);
            limite = palavra != "NULL" && Contem(kPalavrasChave, palavra);
            if (palavra == "DISTINCTROW")
                NaoSuportado("Palavra SQL fora do lugar: " + token.texto);
        }
        if (!limite)
            continue;
        Juntar(saida, Segmento(t, segmento, i));
        if (token.texto == ",")
            saida += ",";
        else
            Juntar(saida, token.tipo == Tipo::Palavra ? Maiusculas(token.texto) : token.texto);
        segmento = i + 1;
    }
    Juntar(saida, Segmento(t, segmento, e));
    return saida;
}

std::string TradutorJet::Segmento(const Lista& t, size_t b, size_t e) {
    if (b == e)
        return "";
    // & binds more loosely than arithmetic and more tightly than the
    // comparisons and keywords that bound a segment: its operands are the
    // stretches between the &s at this level.
    std::vector<std::string> operandos;
    size_t inicio = b;
    for (size_t i = b; i <= e; ++i) {
        if (i < e && t[i].tipo == Tipo::Simbolo && t[i].texto == "(") {
            i = t.Fecha(i, e);
            continue;
        }
        if (i == e || (t[i].tipo == Tipo::Simbolo && t[i].texto == "&")) {
            if (i == inicio)
                NaoSuportado("Operando ausente junto ao operador & na instrução SQL");
            operandos.push_back(Operando(t, inicio, i));
            inicio = i + 1;
        }
    }
    if (operandos.size() == 1)
        return operandos.front();
    std::string saida = std::string(FuncoesSqlite::Concatenar) + "(";
    for (size_t k = 0; k < operandos.size(); ++k)
        saida += (k == 0 ? "" : ", ") + operandos[k];
    return saida + ")";
}

std::string TradutorJet::Operando(const Lista& t, size_t b, size_t e) {
    std::string saida;
    for (size_t i = b; i < e; ++i) {
        const Token& token = t[i];
        switch (token.tipo) {
        case Tipo::Palavra: {
            const std::string palavra = Maiusculas(token.texto);
            const bool chamada =
                i + 1 < e && t[i + 1].tipo == Tipo::Simbolo && t[i + 1].texto == "(";
            if (chamada && palavra == "SUM") {
                const size_t fecha = t.Fecha(i + 1, e);
                Juntar(saida, Soma(t, i + 2, fecha));
                i = fecha;
            } else if (chamada && palavra == "LEFT") {
                const size_t fecha = t.Fecha(i + 1, e);
                Juntar(saida,
                       std::string(FuncoesSqlite::Esquerda) + "(" + Trecho(t, i + 2, fecha) + ")");
                i = fecha;
            } else if (palavra == "NULL") {
                Juntar(saida, "NULL");
            } else if (Contem(kPalavrasChave, palavra) || Contem(kPalavrasNaoSuportadas, palavra)) {
                NaoSuportado("Palavra SQL não suportada aqui: " + token.texto);
            } else if (chamada) {
                NaoSuportado("Função não suportada na instrução SQL: " + token.texto);
            } else {
                Juntar(saida, Identificador(token.texto));
            }
            break;
        }
        case Tipo::Nome:
            // SQLite would call a quoted name before "(" as a function: one
            // of its own, or a table-valued one in FROM.
            if (i + 1 < e && t[i + 1].tipo == Tipo::Simbolo && t[i + 1].texto == "(")
                NaoSuportado("Função não suportada na instrução SQL: " + token.texto);
            Juntar(saida, Identificador(token.texto));
            break;
        case Tipo::Texto:
            Juntar(saida, Literal(token.texto));
            break;
        case Tipo::Numero:
            Juntar(saida, token.texto);
            break;
        case Tipo::Simbolo: {
            if (token.texto == "(") {
                const size_t fecha = t.Fecha(i, e);
                const bool subconsulta = i + 1 < fecha && t[i + 1].tipo == Tipo::Palavra &&
                                         EhPalavra(t[i + 1], "SELECT");
                // Appended, not "(" + …: GCC 12 warns wrongly of an overlap there.
                std::string grupo = "(";
                grupo += subconsulta ? Selecao(t, i + 1, fecha, false) : Trecho(t, i + 1, fecha);
                grupo += ')';
                Juntar(saida, grupo);
                i = fecha;
            } else if (token.texto == "+" || token.texto == "-" || token.texto == "*" ||
                       token.texto == "/" || token.texto == ".") {
                Juntar(saida, token.texto);
            } else {
                NaoSuportado("Símbolo fora do lugar na instrução SQL: " + token.texto);
            }
            break;
        }
        }
    }
    return saida;
}

} // namespace tarvo
