// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class SCA_ConfigObj;
class SCA_Field;

// One process of the "ProcessListStatus" object: the field is named by the process name and
// its value is ten blank-separated tokens: id, status, report status, instances, CPU,
// memory, threads, handles, errors, warnings. A measure that is not available travels as
// "-" (read as 0 by a plain number parser, never as a misleading figure of ours).
struct tagSCA_TEZ_PROCESS_STATUS {
    uint32_t ProcessId = 0;
    uint32_t Status = 0;
    uint32_t RepStatus = 0;
    uint32_t InstanceCount = 0;
    double Measure[4] = {};    // CPU, memory, threads, handles
    uint32_t MeasureValid = 0; // bit n: Measure[n] is available
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
};

inline constexpr uint32_t SCA_TEZ_STATUS_MEASURES = 4;
inline constexpr uint32_t SCA_TEZ_STATUS_TOKENS = 10;

// A process name as it may travel and be shown: bytes below 0x20, 0x7F and bytes that are
// not part of valid UTF-8 become '?'; an empty name becomes "?". Bounded by size (cut on a
// character boundary).
void SCA_TezCleanProcessName(const char* raw, char* out, size_t size);
// The ten tokens of status into buf. 0 when they do not fit.
int SCA_TezFormatProcessStatus(const tagSCA_TEZ_PROCESS_STATUS& status, char* buf, size_t size);
// Reads the ten tokens of text. 0 when a token is missing, is not a number (or "-" for a
// measure), or more follow; *badToken (when given) is then the failing token's place, 1 to 10,
// or 11 for tokens beyond the tenth, and 0 on success. A count with a fractional part ("3.7")
// reads as its integer part.
int SCA_TezParseProcessStatus(const char* text, tagSCA_TEZ_PROCESS_STATUS* status,
                              uint32_t* badToken = nullptr);

// A process of "ProcessListStatus": a value field named by the (cleaned) process name whose
// value is the ten tokens. Appends one to object.
int SCA_TezAddProcessStatusField(SCA_ConfigObj* object, const char* name,
                                 const tagSCA_TEZ_PROCESS_STATUS& status);
// Reads such a field, the name into name (size bytes, cut on a character boundary); 0 with the
// outputs untouched for anything else.
int SCA_TezReadProcessStatusField(const SCA_Field* field, char* name, size_t size,
                                  tagSCA_TEZ_PROCESS_STATUS* status, uint32_t* badToken = nullptr);
// The status text's tokens as a Markdown table, for the protocol reference.
std::string SCA_TezProcessStatusSchema();
