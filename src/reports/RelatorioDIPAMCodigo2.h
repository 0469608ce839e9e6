#pragma once

#include "reports/RelatorioDIPAMMunicipios.h"

namespace tarvo {

// DIPAM values of code group 2 per municipality.
class RelatorioDIPAMCodigo2 : public RelatorioDIPAMMunicipios {
public:
    RelatorioDIPAMCodigo2();
};

} // namespace tarvo
