// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaVirtualFactory.h"

// Defined here so that the class's virtual table lives in the library alone.
SCA_KorvantaVirtualFactory::~SCA_KorvantaVirtualFactory() = default;
