#include "reports/RelatorioDIPAMCodigo1.h"

namespace tarvo {

RelatorioDIPAMCodigo1::RelatorioDIPAMCodigo1()
    : RelatorioDIPAMMunicipios({"Relatório de Informações para a DIPAM - Código 1",
                                "Informações p/ DIPAM - Cód. 1", 0, "DIPAM - Código 1", 2.9, 0.9,
                                16, true},
                               "1") {}

} // namespace tarvo
