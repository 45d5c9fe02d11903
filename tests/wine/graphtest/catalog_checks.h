// Checks that the registered stand-ins show up in the device categories the recorder lists
// and behave as its catalogs expect.
#pragma once
#include "checks.h"

namespace graphtest {

void CheckCatalogs(ztest::Report& report);

}  // namespace graphtest
