// SPDX-License-Identifier: MIT
#include "korvas/SCA_ServiceNotifier.h"

// Defined here so that the class's virtual table lives in one place.
SCA_ServiceNotifier::~SCA_ServiceNotifier() = default;
