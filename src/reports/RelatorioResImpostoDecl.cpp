#include "reports/RelatorioResImpostoDecl.h"

#include <string>

namespace tarvo {

RelatorioResImpostoDecl::RelatorioResImpostoDecl()
    : RelatorioBase({"Relatório de Resumo do Imposto Declarado", "Resumo do Imposto Declarado", 1, "Resumo do Imposto Declarado", 2.9, 0.7, 14, true}) {}

void RelatorioResImpostoDecl::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select * from tblContribuinte inner join tblDeclaração on tblContribuinte.IE = tblDeclaração.IE where tblDeclaração.Declaração = ") + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 16.3);
    }
    rsContribuinte.reset();
}

void RelatorioResImpostoDecl::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
