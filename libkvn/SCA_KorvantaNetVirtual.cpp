// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KorvantaNetVirtual.h"

// Defined here so that the class's virtual table lives in the library alone.
SCA_KorvantaNetVirtual::~SCA_KorvantaNetVirtual() = default;

int SCA_KorvantaNetVirtual::IsLocalInterface() {
    return 0;
}
