// SPDX-License-Identifier: MIT
#pragma once

// The task statuses are named with the other shared numbers.
#include "model/SCA_TezVocabulary.h"
