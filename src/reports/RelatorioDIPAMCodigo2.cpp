#include "reports/RelatorioDIPAMCodigo2.h"

#include <string>

namespace tarvo {

RelatorioDIPAMCodigo2::RelatorioDIPAMCodigo2()
    : RelatorioBase({"Relatório de Informações para a DIPAM - Código 2", "Informações p/ DIPAM - Cód. 2", 0, "DIPAM - Código 2", 2.9, 0.9, 16, true}) {}

void RelatorioDIPAMCodigo2::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select") + " tblContribuinte.*, " + " tblDeclaração.* " + "from" + " tblContribuinte, " + " tblDeclaração " + "where" + " tblContribuinte.IE = tblDeclaração.IE And" + " tblDeclaração.Declaração = " + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 25.0);
    }
    rsContribuinte.reset();
}

void RelatorioDIPAMCodigo2::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
