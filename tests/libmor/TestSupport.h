// SPDX-License-Identifier: MIT
#pragma once

// The shared helpers, under the names the libmor tests use.
#include "tests/support/KorvantaTestSupport.h"

using korvanta_test::ReportCapture;
using korvanta_test::TempDir;
