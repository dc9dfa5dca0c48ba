// SPDX-License-Identifier: MIT
#pragma once

// The product's version, "major.minor.build", set once by the build (the project's version).
// The programs print it and the protocols send it as their version text; the agent copies that
// text with its terminating zero into 8 bytes, so it never grows beyond 7 characters.
inline constexpr const char* SCA_PRODUCT_VERSION = KORVANTA_VERSION;
static_assert(sizeof(KORVANTA_VERSION) <= 8, "the protocols' version text holds 7 characters");
