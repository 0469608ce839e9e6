#include "reports/RelatorioDIPAMCodigo3.h"

#include <string>

namespace tarvo {

RelatorioDIPAMCodigo3::RelatorioDIPAMCodigo3()
    : RelatorioBase({"Relatório de Informações para a DIPAM - Código 3", "Informações p/ DIPAM - Cód. 3", 0, "DIPAM - Código 3", 2.9, 0.9, 16, true}) {}

void RelatorioDIPAMCodigo3::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select") + " tblContribuinte.*, " + " tblDeclaração.* " + "from" + " tblContribuinte, " + " tblDeclaração " + "where" + " tblContribuinte.IE = tblDeclaração.IE And" + " tblDeclaração.Declaração = " + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 25.0);
    }
    rsContribuinte.reset();
}

void RelatorioDIPAMCodigo3::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
