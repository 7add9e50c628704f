#include "config/configuration.h"
#include "shell/globals.h"

namespace pw {

bool EuropeanDates() { return Configuration && Configuration->UseEuropeanDateFormat == 1; }
bool EuropeanTimes() { return Configuration && Configuration->UseEuropeanTimeFormat == 1; }

}  // namespace pw
