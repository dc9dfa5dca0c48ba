// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KorvantaNetVirtualFactory.h"

// Defined here so that the class's virtual table lives in the library alone.
SCA_KorvantaNetVirtualFactory::~SCA_KorvantaNetVirtualFactory() = default;
