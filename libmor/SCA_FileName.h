#pragma once

#include <cstdint>

// Makes text, in place, a name that stays inside whatever folder it is joined to: path
// separators, control bytes and the characters that shells and other systems treat specially
// become '_', a run of dots becomes one '_', and a name left empty becomes "_". Multi-byte
// UTF-8 characters are kept. 0 for a null text or a size of 0.
int SCA_NormalizeFileName(char* text, uint32_t size);
