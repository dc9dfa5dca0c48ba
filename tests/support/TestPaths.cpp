// SPDX-License-Identifier: MIT
#include "tests/support/TestPaths.h"

namespace korvanta_test {

const char* SourceDir() {
    return KORVANTA_SOURCE_DIR;
}

const char* KorvasProgram() {
    return KORVAS_PROGRAM;
}

const char* KorvacProgram() {
#ifdef KORVAC_PROGRAM
    return KORVAC_PROGRAM;
#else
    return "";
#endif
}

} // namespace korvanta_test
