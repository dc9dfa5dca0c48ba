// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Makes text, in place, a name that stays inside whatever folder it is joined to: path
// separators, control bytes and the characters that shells and other systems treat specially
// become '_', a run of dots becomes one '_', and a name left empty becomes "_". Multi-byte
// UTF-8 characters are kept. 0 for a null text or a size of 0.
int SCA_NormalizeFileName(char* text, uint32_t size);

// The folder a client names below base, into out (size bytes): an empty name is base itself, a
// relative name a folder below it, an absolute name only base or a folder below it. Names with
// a ".." step, and absolute names elsewhere, are refused (0), so that no text from a client
// leads out of base. "." steps, repeated and trailing slashes are dropped. 0 also when out is
// too small.
int SCA_ResolveFolderBelow(const char* base, const char* name, char* out, uint32_t size);
