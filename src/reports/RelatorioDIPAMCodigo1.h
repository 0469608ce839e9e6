#pragma once

#include "reports/RelatorioDIPAMMunicipios.h"

namespace tarvo {

// DIPAM values of code group 1 per municipality.
class RelatorioDIPAMCodigo1 : public RelatorioDIPAMMunicipios {
public:
    RelatorioDIPAMCodigo1();
};

} // namespace tarvo
