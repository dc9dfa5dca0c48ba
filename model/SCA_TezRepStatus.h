#pragma once

#include <cstdint>

// The text of a report status of the status scale (3 message, 4 warning, 5 error) as rules,
// conditions and errors show it; "NA" for any other value.
const char* SCA_TezGetRepStatusDescr(uint32_t status);

// The report status of a loader's or self-test's process status: 1 stays 1, 10 (done) is a
// message, 11 and 22 are warnings, anything else an error.
uint32_t SCA_TezGetJobRepStatus(uint32_t processStatus);
