// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "model/SCA_TezSampleStore.h"

class SCA_ConfigObj;
class SCA_Field;
class SCA_TezCounter;

// The texts in which the service tells clients how its counters stand, written and read here
// only, always in the C locale.
//
// A counter status text is seven tokens separated by single blanks:
//     <counter type> <status> <value count> <current> <minimum> <maximum> <average>
// The first three are unsigned decimals; each value is a number in its shortest exact form
// ("45.25", "1e+20"), or "-" when there is none: no current value when the last sample had
// none, and no minimum, maximum or average before the first value.
//
// Samples travel as value fields of an object, oldest first: the field's name is the sample's
// absolute time in decimal, its value the sample's value in the same form, "-" for a gap.

inline constexpr uint32_t SCA_TEZ_COUNTER_STATUS_SIZE = 256;

struct tagSCA_TEZ_COUNTER_STATUS {
    uint32_t CounterType;
    uint32_t Status; // on the status scale (SCA_REP_STATUS_*)
    uint32_t ValueCount;
    bool HasCurrent;
    double Current;
    double Minimum;
    double Maximum;
    double Average;
};

// The status of a live counter: its type, status, and its sample store's statistics.
void SCA_TezFillCounterStatus(const SCA_TezCounter& counter, tagSCA_TEZ_COUNTER_STATUS* status);
// Writes status as its text; 0 (buf emptied) when buf is null or too small.
int SCA_TezBuildCounterStatus(const tagSCA_TEZ_COUNTER_STATUS& status, char* buf, uint32_t size);
// Reads a status text into status (and, when given, the counter's type and status). 0 with
// both untouched when the text is not exactly such a text.
int SCA_TezGetCounterStatus(const char* text, tagSCA_TEZ_COUNTER_STATUS* status,
                            SCA_TezCounter* counter = nullptr);

// A counter of a counters status list ("CSL" and its kin): a value field named by the counter id
// in decimal whose value is the counter's status text. Appends one to object.
int SCA_TezAddCounterStatusField(SCA_ConfigObj* object, uint32_t counterId,
                                 const tagSCA_TEZ_COUNTER_STATUS& status);
// Reads such a field; 0, with both outputs untouched, for anything else.
int SCA_TezReadCounterStatusField(const SCA_Field* field, uint32_t* counterId,
                                  tagSCA_TEZ_COUNTER_STATUS* status);

// The status text's tokens as a Markdown table, for the protocol reference.
std::string SCA_TezCounterStatusSchema();

// Appends a sample as a value field of object.
int SCA_TezAddSampleField(SCA_ConfigObj* object, const tagSCA_TEZ_SAMPLE& sample);
// Reads a sample field; 0 for anything else (an object, a bad time or value).
int SCA_TezReadSampleField(const SCA_Field* field, tagSCA_TEZ_SAMPLE* sample);
