// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "libmor/SCA_BoundedText.h"

class SCA_ConfigObj;

// Writing and reading the fields of records that travel as configuration objects, and the
// child objects that lists of records are stored in.

// Size of the fixed configuration texts of the monitoring records (255 characters and a NUL).
inline constexpr uint32_t SCA_TEZ_TEXT_SIZE = 256;
// Size of the fixed computer-name and name-prefix texts of counters and monitor definitions.
inline constexpr uint32_t SCA_TEZ_NAME_SIZE = 64;

// Appends a text field. The byte form cannot carry the byte 0x01 (its separator), which may
// turn up in names read from the system (process names, user names): such bytes travel as '?'
// rather than making the whole record fail. A text over the value limit travels cut to it (on
// a UTF-8 boundary). A null text travels as an empty one.
int SCA_AddTextField(SCA_ConfigObj* object, const char* name, const char* text);

// A new object named name without a parent, for a result handed to a caller who destroys it;
// null when it cannot be made.
SCA_ConfigObj* SCA_NewConfigObj(const char* name);

// Adds a child object named by the number in decimal; null when it cannot be added.
SCA_ConfigObj* SCA_AddNumberedObj(SCA_ConfigObj* object, uint32_t number);

// Each child object of object in order, for list readers that take every child whatever its
// name: the first (next) child that is an object, or null.
SCA_ConfigObj* SCA_FirstChildObj(SCA_ConfigObj* object);
SCA_ConfigObj* SCA_NextChildObj(SCA_ConfigObj* child);

// Writes the fields of a record into a configuration object, one value field per member. The
// first field that cannot be added makes the writer fail; later puts are then skipped. Texts
// are the user's settings and go as they are: one the byte form cannot carry fails the writer.
class SCA_TezFieldWriter {
public:
    explicit SCA_TezFieldWriter(SCA_ConfigObj* object);

    void Put(const char* name, uint32_t value);
    void Put(const char* name, int value);
    void Put(const char* name, uint64_t value);
    void Put(const char* name, double value);
    void Put(const char* name, const char* text);
    // A new child object for an embedded record or list, or null (the writer then fails).
    SCA_ConfigObj* PutObject(const char* name);

    int IsOk() const { return m_Ok ? 1 : 0; }

private:
    SCA_ConfigObj* m_Object;
    bool m_Ok;
};

// Reads the fields of a record back. A field that is absent leaves its member as it was, so
// files written before a field existed still load; a field that is there but does not hold a
// value of the member's kind makes the reader fail, and GetBadField names it.
class SCA_TezFieldReader {
public:
    explicit SCA_TezFieldReader(SCA_ConfigObj* object);

    void Get(const char* name, uint32_t* value);
    void Get(const char* name, int* value);
    void Get(const char* name, uint64_t* value);
    void Get(const char* name, double* value);
    // Copied bounded by size and cut on a UTF-8 character boundary.
    void Get(const char* name, char* text, uint32_t size);
    template <size_t Size>
    void Get(const char* name, SCA_BoundedText<Size>* text) {
        char read[Size];
        SCA_StrnCpy(read, text->c_str(), Size);
        Get(name, read, Size);
        text->Assign(read);
    }
    // The child object of that name; null when it is absent. A value field of that name makes
    // the reader fail.
    SCA_ConfigObj* GetObject(const char* name);

    int IsOk() const { return m_Ok ? 1 : 0; }
    const char* GetBadField() const { return m_BadField; }

private:
    // Whether name may be read: true when it is a value field (present set) or absent; a
    // child object of that name fails the reader.
    bool FindValue(const char* name, bool* present);
    void Fail(const char* name);
    template <typename Number>
    void GetNumber(const char* name, Number* value);

    SCA_ConfigObj* m_Object;
    bool m_Ok;
    const char* m_BadField;
};
