#include "reports/RelatorioResReceitaBruta.h"

#include <string>

namespace tarvo {

RelatorioResReceitaBruta::RelatorioResReceitaBruta()
    : RelatorioBase({"Relatório de Resumo da Receita Bruta", "Resumo da Receita Bruta", 1, "Resumo da Receita Bruta", 2.9, 0.7, 14, true}) {}

void RelatorioResReceitaBruta::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select * from tblContribuinte inner join tblDeclaração on tblContribuinte.IE = tblDeclaração.IE where tblDeclaração.Declaração = ") + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 16.3);
    }
    rsContribuinte.reset();
}

void RelatorioResReceitaBruta::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
