// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezVocabulary.h"

// Whether reports show a status in bold: warning, error and failure.
bool SCA_TezIsRepStatusBold(uint32_t status);

// The text of a report status as rules, conditions and errors show it: "Message", "Warning",
// "Error"; "NA" for any other value.
const char* SCA_TezGetRepStatusDescr(uint32_t status);

// The report status of a job's run state, the one mapping of loaders, self-tests and jobs:
// stopped (1) stays 1, idle is a message, running and ended are warnings, anything else an
// error. A pending job (17) is an error here; SCA_ProgressObj's default calls it a warning.
uint32_t SCA_TezGetJobRepStatus(uint32_t processStatus);
