// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Initialises the platform library (flags: all ones for everything). 1 on success.
int SCA_InitSystem(uint32_t flags);

// The host name, bounded by size. 1 on success.
int SCA_GetHostName(char* buf, uint32_t size);
// The name of the user the process runs as. 1 on success.
int SCA_GetUserName(char* buf, uint32_t size);
// The text of an error code: errno values, and the product's own codes from 100000. 1 on
// success; an unknown code still gets a text naming its number.
int SCA_GetErrorDescr(uint32_t code, char* buf, uint32_t size);
