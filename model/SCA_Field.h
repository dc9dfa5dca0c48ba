// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;
class SCA_FieldList;
class SCA_StringStor;

// Field types as the byte form writes them ('0' + type).
inline constexpr uint32_t SCA_FIELD_TYPE_VALUE = 1;
inline constexpr uint32_t SCA_FIELD_TYPE_OBJECT = 2;

// Limits of names and values, in bytes. Longer ones are refused when set, so that every tree
// that can be written can be read back.
inline constexpr uint32_t SCA_FIELD_MAX_NAME = 10240;
inline constexpr uint32_t SCA_FIELD_MAX_VALUE = 20480;

// A named value of a configuration tree. Names and values are byte strings without the bytes
// 0x00 and 0x01 (0x01 separates the parts of the byte form); both are copies, made either in
// the field's own allocation (fields read from a byte form, added with their value, or cloned)
// or on the heap (everything set later). The stored lengths are the text length + 2, and 0 for
// a field that never had a value.
//
// Byte form of a value field: '1', 0x01, name, 0x01, value, 0x01.
class SCA_Field : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // Type 1, no value. A null or invalid name is reported ("Invalid field name.", level 2)
    // and leaves the construction flag 0; so does a failed allocation, silently.
    SCA_Field(const char* name, SCA_ConfigObj* parent);
    ~SCA_Field() override;

    SCA_Field(const SCA_Field&) = delete;
    SCA_Field& operator=(const SCA_Field&) = delete;

    // A bound on the bytes DoSerialize writes.
    virtual uint32_t GetDataSize();
    // Direct children (none for a value field).
    virtual uint32_t GetFieldCount();
    // A value field has no children: *out = null, 0.
    virtual int GetFieldByIndex(uint32_t index, SCA_Field** out);
    virtual int GetFieldByName(const char* name, SCA_Field** out);
    // This field and everything below it.
    virtual uint32_t GetTotalFieldCount();
    // Takes name, value and type of from; parent and links stay.
    virtual int SetContent(SCA_Field* from);
    // Writes the byte form at *position, advancing it; 0 without writing anything when
    // the form does not fit in size bytes.
    virtual int DoSerialize(char* buffer, uint32_t size, uint32_t* position);
    // Reads the byte form at *position of size bytes, never reading past them. On
    // failure *position stays; the field's type and name may be overwritten.
    virtual int DoDeserialize(const char* buffer, uint32_t size, uint32_t* position,
                              SCA_ConfigObj* parent);
    // 1 when equal; the first difference is reported at level 2 and answers 0.
    virtual int Compare(SCA_Field* other);
    // An independent copy without parent and links, or null.
    virtual SCA_Field* Clone();
    // Appends the path ("Config/Server/Port") to the text already in buffer, cut to
    // size bytes with its terminating zero. 0 when it had to be cut.
    virtual int GetPath(char* buffer, uint32_t size);
    // The whole tree through a byte store (configuration objects only).
    virtual int Deserialize(SCA_StringStor* stor);
    virtual int Serialize(SCA_StringStor* stor);

    // Value setters: free the old value and store a copy. Null bytes leave no value (1). A value
    // with 0x00 or 0x01 in it, or longer than SCA_FIELD_MAX_VALUE, is refused (0, value kept);
    // an allocation failure answers 0 and leaves no value.
    int SetValue(const char* bytes, uint32_t count);
    int SetValue(const char* text);
    int SetValue(int value);      // "%d"
    int SetValue(uint32_t value); // "%lu"
    int SetValue(uint64_t value);
    int SetValue(double value); // "%.17g", C locale

    // Replaces the name with a copy. Invalid names (null, 0x00/0x01, too long) answer 0 and
    // keep the old name, as does a failed allocation.
    int SetName(const char* name);

    uint32_t GetType() const { return m_Type; }
    const char* GetName() const { return m_Name != nullptr ? m_Name : ""; }
    // The value text; empty for a field that never had a value.
    const char* GetValue() const { return m_Value != nullptr ? m_Value : ""; }
    // Bytes of the value (without the terminating zero).
    uint32_t GetValueSize() const { return m_ValueLength >= 2 ? m_ValueLength - 2 : 0; }
    int HasValue() const { return m_Value != nullptr ? 1 : 0; }
    int HasName() const { return m_Name != nullptr ? 1 : 0; }
    uint32_t GetNameLength() const { return m_NameLength; }
    uint32_t GetValueLength() const { return m_ValueLength; }
    SCA_ConfigObj* GetParent() const { return m_Parent; }
    SCA_Field* GetNext() const { return m_Next; }
    SCA_Field* GetPrev() const { return m_Prev; }
    // 1 for an SCA_ConfigObj. Not read from the type number, which a failed parse or SetContent
    // can set to the object's in a plain value field.
    int IsObject() const { return m_IsObject ? 1 : 0; }
    // 1 while the field is linked into a list of children.
    int IsLinked() const { return m_List != nullptr ? 1 : 0; }

    // Whether text may serve as a name or a value of count bytes.
    static bool IsValidName(const char* name);
    static bool IsValidBytes(const char* bytes, uint32_t count, uint32_t limit);
    // Appends the byte form of a value field name = value to out, as a tree holding that field
    // writes it. 0, with out unchanged, when the name or the value would be refused.
    static int AppendValueForm(const char* name, const char* value, std::string* out);

protected:
    // A field with no name yet (an unnamed object); the flag is left to the derived class.
    explicit SCA_Field(SCA_ConfigObj* parent, uint32_t type);

    void SetType(uint32_t type) { m_Type = type; }
    void SetParent(SCA_ConfigObj* parent) { m_Parent = parent; }
    // Takes a copy of count name bytes (no checks); 0 when it cannot be allocated.
    int StoreName(const char* bytes, uint32_t count);
    int StoreValue(const char* bytes, uint32_t count);
    void FreeValue();
    // Writes "<digit> 0x01 name 0x01" at *position; the caller checked the room.
    void WriteHeader(char* buffer, uint32_t* position) const;
    // Reads the type digit, separator and name at *position; fails on a type other than
    // expectedType.
    int ReadHeader(const char* buffer, uint32_t size, uint32_t* position, uint32_t expectedType);

    // Copies count bytes to storage inside this field's own allocation and uses them as the
    // name (value); storage must hold count + 1 bytes. Returns the byte after the copy.
    char* AdoptInlineName(char* storage, const char* bytes, uint32_t count);
    char* AdoptInlineValue(char* storage, const char* bytes, uint32_t count);
    // Checks the type digit and separator at *position and scans the name after them: the name's
    // start through *name and its size, or -1. *position is not moved.
    static int64_t ScanHeader(const char* buffer, uint32_t size, uint32_t position, uint32_t type,
                              const char** name);

    // Appends the byte form of a value field to out.
    void AppendTo(std::string* out) const;
    static void AppendForm(const char* name, uint32_t nameSize, const char* value,
                           uint32_t valueSize, std::string* out);

    // A new value field read from its byte form at *position (advanced past it), or null.
    static SCA_Field* ReadNew(const char* buffer, uint32_t size, uint32_t* position,
                              SCA_ConfigObj* parent);
    // A new constructed value field holding copies of nameSize name bytes and valueSize value
    // bytes (a null value: no value) in one allocation with the field itself, so that trees
    // read from messages or built for replies cost one allocation per field instead of three.
    // The caller has checked both texts; null when the allocation fails.
    static SCA_Field* NewCompact(const char* name, uint32_t nameSize, const char* value,
                                 uint32_t valueSize, SCA_ConfigObj* parent);

private:
    friend class SCA_FieldList;
    friend class SCA_ConfigObj;

    SCA_ConfigObj* m_Parent = nullptr;
    SCA_Field* m_Next = nullptr;
    SCA_Field* m_Prev = nullptr;
    uint32_t m_Type = SCA_FIELD_TYPE_VALUE;
    char* m_Name = nullptr;
    uint32_t m_NameLength = 0;
    char* m_Value = nullptr;
    uint32_t m_ValueLength = 0;
    SCA_FieldList* m_List = nullptr; // the list that links this field, if any
    bool m_IsObject = false;         // set by SCA_ConfigObj's constructors only
    // Name or value held in the field's own allocation (see ReadNew), not freed on their own.
    bool m_InlineName = false;
    bool m_InlineValue = false;

    void FreeName();
    // Bytes of the name (without the terminating zero).
    uint32_t NameSize() const { return m_Name != nullptr ? m_NameLength - 2 : 0; }
};

// Scans the bytes at start for a part of the byte form: up to the first 0x01, stopping at a
// zero byte, the end of the input or after limit bytes. The count of bytes before the 0x01,
// or -1 when the part does not end in 0x01 within those bounds.
int64_t SCA_ScanFieldPart(const char* start, uint32_t available, uint32_t limit);
