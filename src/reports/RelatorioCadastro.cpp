#include "reports/RelatorioCadastro.h"

#include "common/Formato.h"
#include "common/Funcoes.h"
#include "data/Conexao.h"

namespace tarvo {

RelatorioCadastro::RelatorioCadastro()
    : RelatorioBase({"Relatório de Cadastro do Contribuinte", "Cadastro do Contribuinte", 0,
                     "Cadastro do Contribuinte", 3.1, 0.7, 14, false}) {}

void RelatorioCadastro::Construir(const Database& BancoDados, const std::string& IE) {
    // The IE goes into the statement with its quotes doubled, so that it is
    // always compared as one literal.
    const std::string sql = std::string("select") + " tblContribuinte.* " + "from" +
                            " tblContribuinte " + "where" + " IE = '" + Conexao::DobrarAspas(IE) +
                            "'";
    const Construcao c{Abrir(BancoDados, sql)};
    IniciarDocumento();
    if (!c.rsContribuinte->Eof()) {
        CabecalhoPagina(c, 0, 0);
        BlocoCadastro(c, 0, 4.2);
        RodapePagina(0, 25.0);
    }
}

void RelatorioCadastro::CabecalhoPagina(const Construcao& c, const double& X, const double& Y) {
    CabecalhoPadrao(c, X, Y);
}

std::string RelatorioCadastro::Campo(const Construcao& c, const char* coluna) {
    return Funcoes::CampoTexto(c.rsContribuinte->Fields(coluna));
}

void RelatorioCadastro::BlocoCadastro(const Construcao& c, const double& X, const double& Y) {
    const double W = 17.0;
    const double h = 0.6;
    CaixaCampo(X, Y, W, h, "Razão Social", Campo(c, "RazãoSocial"));
    CaixaCampo(X, Y + 0.6, W / 4, h, "Inscrição Estadual", Campo(c, "IE"));
    CaixaCampo(X + W / 4, Y + 0.6, W / 4, h, "CNPJ", Campo(c, "CNPJ"));
    CaixaCampo(X + 2 * W / 4, Y + 0.6, W / 4, h, "CNAE", Campo(c, "CNAE"));
    // A missing date shows an empty box, never the zero date.
    const tarvo::Valor dataCadastro = c.rsContribuinte->Fields("DataCadastro");
    const std::string data =
        dataCadastro.EhNulo() ? std::string() : Formato::Data(Funcoes::CampoData(dataCadastro));
    CaixaCampo(X + 3 * W / 4, Y + 0.6, W / 4, h, "Data do Cadastramento", data);
    CaixaCampo(X, Y + 1.2, W / 2, h, "Local", Campo(c, "Localização"));
    CaixaCampo(X + W / 2, Y + 1.2, W / 8, h, "Número", Campo(c, "Número"));
    CaixaCampo(X + W / 2 + W / 8, Y + 1.2, W / 2 - W / 8, h, "Complemento",
               Campo(c, "Complemento"));
    CaixaCampo(X, Y + 1.8, W / 2, h, "Bairro", Campo(c, "Bairro"));
    CaixaCampo(X + W / 2, Y + 1.8, W / 2, h, "Município", Campo(c, "Município"));
    CaixaCampo(X, Y + 2.4, W / 4, h, "CEP", Campo(c, "CEP"));
    CaixaCampo(X + W / 4, Y + 2.4, W / 16, h, "UF", Campo(c, "UF"));
    CaixaCampo(X + W / 4 + W / 16, Y + 2.4, W / 4 + W / 16, h, "Telefone", Campo(c, "Telefone"));
    CaixaCampo(X + W / 2 + W / 8, Y + 2.4, W / 4 + W / 8, h, "FAX", Campo(c, "FAX"));
    CaixaCampo(X, Y + 3.0, W / 2, h, "e-mail", Campo(c, "Email"));
    CaixaCampo(X + W / 2, Y + 3.0, W / 2, h, "Home Page", Campo(c, "HomePage"));
    CaixaCampo(X, Y + 3.6, W, h, "Contato", Campo(c, "Contato"));
    CaixaCampoTextoLongo(X, Y + 4.2, W, 16.4, "Observação", Campo(c, "Observação"));
}

void RelatorioCadastro::CaixaCampoTextoLongo(const double& X, const double& Y,
                                             const double& Largura, const double& Altura,
                                             const std::string& Rotulo, const std::string& Valor) {
    Caixa(X, Y, Largura, Altura);
    Texto(X + 0.1, Y + 0.05, Largura - 0.2, Altura - 0.1, Rotulo, Esquerda, Topo, 6, true);
    TextoMultilinha(X + 0.2, Y + 0.3, Largura - 0.4, Altura - 0.3, Valor, Esquerda, Topo, 8, false);
}

} // namespace tarvo
