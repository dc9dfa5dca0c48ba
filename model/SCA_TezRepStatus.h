#pragma once

#include <cstdint>

// The text of a report status of the status scale (3 message, 4 warning, 5 error) as rules,
// conditions and errors show it; "NA" for any other value.
const char* SCA_TezGetRepStatusDescr(uint32_t status);
