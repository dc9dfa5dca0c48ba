// SPDX-License-Identifier: MIT
#pragma once

// Where the tests find the built programs and the checkout's own files. The paths are those of
// one checkout, so they are compiled into one small file: a test that held one itself would be
// compiled again, never taken from the compiler cache, in every other clone.

#include <string>

namespace korvanta_test {

// The checkout's top folder.
const char* SourceDir();
// The built service.
const char* KorvasProgram();
// The built client; empty when the client is not built.
const char* KorvacProgram();

// The captured machines under tests/perf/fixtures.
inline std::string PerfFixtures() {
    return std::string(SourceDir()) + "/tests/perf/fixtures";
}

} // namespace korvanta_test
