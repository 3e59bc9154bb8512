#include "FuzzTarget.h"
#include "checks/ImportChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return stolvar::fuzz::RunCheck(data, size, stolvar::fuzz::CheckMeteoAnswer);
}
