#pragma once

#include <cstdint>

class SCA_ConfigObj;

// Helpers shared by the records that travel as configuration objects.

// Appends a text field. The byte form cannot carry the byte 0x01 (its separator), which may
// turn up in names read from the system (process names, user names): such bytes travel as '?'
// rather than making the whole record fail. A text over the value limit travels cut to it (on
// a UTF-8 boundary). A null text travels as an empty one.
int SCA_AddTextField(SCA_ConfigObj* object, const char* name, const char* text);

// Each child object of object in order, for list deserialisers that take every child whatever
// its name: the first (next) child that is an object, or null.
SCA_ConfigObj* SCA_FirstChildObj(SCA_ConfigObj* object);
SCA_ConfigObj* SCA_NextChildObj(SCA_ConfigObj* child);

// Adds a child object named by the number in decimal; null when it cannot be added.
SCA_ConfigObj* SCA_AddNumberedObj(SCA_ConfigObj* object, uint32_t number);
