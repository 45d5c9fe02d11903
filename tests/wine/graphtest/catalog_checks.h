// Checks that the registered stand-ins show up in the device categories the recorder lists
// and behave as its catalogs expect.
#pragma once
#include "report.h"

namespace graphtest {

void CheckCatalogs(Report& report);

}  // namespace graphtest
