#include "reports/RelatorioEntInterestad.h"

#include <string>

namespace tarvo {

RelatorioEntInterestad::RelatorioEntInterestad()
    : RelatorioBase({"Relatório de Informação das Operações e Prestações de Entradas Interestaduais - ICMS", "Oper. Entradas Interestaduais", 0, "Informação das Operações e Prestações Interestaduais - ICMS", 2.9, 0.7, 14, true}) {}

void RelatorioEntInterestad::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select") + " tblContribuinte.*, " + " tblDeclaração.* " + "from" + " tblContribuinte, " + " tblDeclaração " + "where" + " tblContribuinte.IE = tblDeclaração.IE And" + " tblDeclaração.Declaração = " + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 25.0);
    }
    rsContribuinte.reset();
}

void RelatorioEntInterestad::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
