// SPDX-License-Identifier: MIT
#pragma once

class SCA_ConfigObj;

// The longest value that the words of one option join into.
inline constexpr unsigned kMaxOptionValue = 1023;

// The command line into params: a word that begins with '-' names a field (found or added,
// empty); the words after it are joined into its value with one blank. A repeated option keeps
// its field and value and goes on joining. A value word before any option ends the parse with
// 0; so does a field that can be neither found nor added (reported at level 5 as "Internal
// error 1123.\n"). A joined value is cut at kMaxOptionValue bytes on a character boundary.
// 1 after the last word.
int ParseMainCommandLine(SCA_ConfigObj* params, int argc, char** argv);
