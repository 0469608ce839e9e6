#include "reports/DadosDeclaracao.h"

#include "common/Formato.h"
#include "common/Funcoes.h"
#include "data/Conexao.h"
#include "data/Recordset.h"

#include <map>
#include <memory>

namespace tarvo {

namespace {

std::unique_ptr<Recordset> Abrir(const Database& BancoDados, const std::string& sql) {
    return Conexao::De(BancoDados).OpenRecordset(sql, Conexao::dbOpenForwardOnly);
}

std::string ConsultaDoContribuinte(const std::string& IE) {
    return "select IE, RazãoSocial from tblContribuinte where IE = '" + Conexao::DobrarAspas(IE) +
           "'";
}

} // namespace

std::vector<DadosDeclaracao::Resumo> DadosDeclaracao::Declaracoes(const Database& BancoDados) {
    std::map<std::string, std::string> contribuintes;
    for (const std::unique_ptr<Recordset> linha =
             Abrir(BancoDados, "select IE, RazãoSocial from tblContribuinte");
         !linha->Eof(); linha->MoveNext())
        contribuintes.emplace(Funcoes::CampoTexto(linha->Fields("IE")),
                              Funcoes::CampoTexto(linha->Fields("RazãoSocial")));

    std::vector<Resumo> declaracoes;
    for (const std::unique_ptr<Recordset> linha = Abrir(
             BancoDados, "select Declaração, IE, Exercício from tblDeclaração order by Declaração");
         !linha->Eof(); linha->MoveNext()) {
        Resumo resumo;
        resumo.declaracao = Funcoes::CampoLong(linha->Fields("Declaração"));
        resumo.ie = Funcoes::CampoTexto(linha->Fields("IE"));
        resumo.exercicio = Funcoes::CampoTexto(linha->Fields("Exercício"));
        if (const auto contribuinte = contribuintes.find(resumo.ie);
            contribuinte != contribuintes.end())
            resumo.contribuinte = contribuinte->second;
        declaracoes.push_back(std::move(resumo));
    }
    return declaracoes;
}

std::string DadosDeclaracao::ConsultaContribuinte(const int32_t& Declaracao) {
    return std::string("select") + " tblContribuinte.*, " + " tblDeclaração.* " + "from" +
           " tblContribuinte, " + " tblDeclaração " + "where" +
           " tblContribuinte.IE = tblDeclaração.IE And" +
           " tblDeclaração.Declaração = " + std::to_string(Declaracao);
}

std::optional<std::string> DadosDeclaracao::IE(const Database& BancoDados,
                                               const int32_t& Declaracao) {
    const std::unique_ptr<Recordset> registro =
        Abrir(BancoDados,
              "select IE from tblDeclaração where Declaração = " + std::to_string(Declaracao));
    if (registro->Eof())
        return std::nullopt;
    return Funcoes::CampoTexto(registro->Fields("IE"));
}

bool DadosDeclaracao::ExisteDeclaracao(const Database& BancoDados, const int32_t& Declaracao) {
    return !Abrir(BancoDados, "select Declaração from tblDeclaração where Declaração = " +
                                  std::to_string(Declaracao))
                ->Eof();
}

bool DadosDeclaracao::ExisteDeclaracaoComContribuinte(const Database& BancoDados,
                                                      const int32_t& Declaracao) {
    return !Abrir(BancoDados, ConsultaContribuinte(Declaracao))->Eof();
}

bool DadosDeclaracao::ExisteContribuinte(const Database& BancoDados, const std::string& IE) {
    return !Abrir(BancoDados, ConsultaDoContribuinte(IE))->Eof();
}

std::string DadosDeclaracao::AssuntoDaDeclaracao(const Database& BancoDados,
                                                 const int32_t& Declaracao) {
    const std::unique_ptr<Recordset> linha = Abrir(BancoDados, ConsultaContribuinte(Declaracao));
    std::string assunto = "Declaração " + std::to_string(Declaracao);
    if (!linha->Eof())
        assunto += " — IE " + Funcoes::CampoTexto(linha->Fields("tblContribuinte.IE")) +
                   ", exercício " + Formato::Ano(Funcoes::CampoLong(linha->Fields("Exercício"))) +
                   ", " + Funcoes::CampoTexto(linha->Fields("RazãoSocial"));
    return assunto;
}

std::string DadosDeclaracao::AssuntoDoContribuinte(const Database& BancoDados,
                                                   const std::string& IE) {
    const std::unique_ptr<Recordset> linha = Abrir(BancoDados, ConsultaDoContribuinte(IE));
    std::string assunto = "IE " + IE;
    if (!linha->Eof())
        assunto += ", " + Funcoes::CampoTexto(linha->Fields("RazãoSocial"));
    return assunto;
}

} // namespace tarvo
