#include "reports/RelatorioSaidas.h"

#include <string>

namespace tarvo {

RelatorioSaidas::RelatorioSaidas()
    : RelatorioBase({"Relatório de Saídas", "Saídas", 1, "Saídas", 2.9, 0.7, 14, true}) {}

void RelatorioSaidas::Construir(const Database& BancoDados, const int32_t& Declaracao) {
    rsContribuinte = Abrir(BancoDados, std::string("select * from tblContribuinte inner join tblDeclaração on tblContribuinte.IE = tblDeclaração.IE where tblDeclaração.Declaração = ") + std::to_string(Declaracao));
    IniciarDocumento();
    if (!rsContribuinte->Eof()) {
        CabecalhoPagina(0, 0);
        RodapePagina(0, 16.3);
    }
    rsContribuinte.reset();
}

void RelatorioSaidas::CabecalhoPagina(const double& X, const double& Y) {
    CabecalhoPadrao(X, Y);
    BlocoContribuinte(X, Y + 3.6, true);
}

} // namespace tarvo
