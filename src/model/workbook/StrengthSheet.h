#pragma once

#include "model/strength/Evaluation.h"
#include "model/workbook/Workbook.h"

namespace stolvar {

// "强度评定": every grade of the register, standard and same-condition, one block each (its
// title, the results, the lot's figures, the two conditions and the verdict), computed from
// the register, whatever the evaluation page shows.
Sheet StrengthSheet(const StrengthRegister& reg, double conversion);

} // namespace stolvar
