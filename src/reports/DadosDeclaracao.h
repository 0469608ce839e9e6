#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

class Database;

// The one home of what the library looks up of a declaration besides the
// reports' own rows: the taxpayer joined with the declaration (the query the
// reports of a declaration start from), the declaration's taxpayer, whether
// a declaration or a taxpayer is in the database, and the subject of a
// report's files.
class DadosDeclaracao {
public:
    // One declaration of the database, as a list to choose from shows it.
    struct Resumo {
        int32_t declaracao = 0;
        std::string contribuinte;
        std::string ie;
        std::string exercicio;
    };
    // Every declaration in number order, with the first taxpayer of its IE
    // (as the reports' join would pair them); "" for a taxpayer not there.
    static std::vector<Resumo> Declaracoes(const Database& BancoDados);

    // The taxpayer's row joined with the declaration's row.
    static std::string ConsultaContribuinte(const int32_t& Declaracao);

    // The state registration of the declaration's taxpayer; nothing when the
    // declaration is not there.
    static std::optional<std::string> IE(const Database& BancoDados, const int32_t& Declaracao);
    static bool ExisteDeclaracao(const Database& BancoDados, const int32_t& Declaracao);
    // Whether the declaration and its taxpayer are both there: what the
    // reports of a declaration need to have a page.
    static bool ExisteDeclaracaoComContribuinte(const Database& BancoDados,
                                                const int32_t& Declaracao);
    static bool ExisteContribuinte(const Database& BancoDados, const std::string& IE);

    // "Declaração 1 — IE 110.042.490.114, exercício 2003, Razão Social Ltda".
    static std::string AssuntoDaDeclaracao(const Database& BancoDados, const int32_t& Declaracao);
    // "IE 110.042.490.114, Razão Social Ltda": the registration report is the
    // taxpayer's, whatever the declaration.
    static std::string AssuntoDoContribuinte(const Database& BancoDados, const std::string& IE);
};

} // namespace tarvo
