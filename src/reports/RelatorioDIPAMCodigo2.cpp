#include "reports/RelatorioDIPAMCodigo2.h"

namespace tarvo {

RelatorioDIPAMCodigo2::RelatorioDIPAMCodigo2()
    : RelatorioDIPAMMunicipios({"Relatório de Informações para a DIPAM - Código 2",
                                "Informações p/ DIPAM - Cód. 2", 0, "DIPAM - Código 2", 2.9, 0.9,
                                16, true},
                               "2") {}

} // namespace tarvo
