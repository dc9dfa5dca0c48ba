// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/SCA_Field.h"
#include "model/SCA_FieldList.h"

class SCA_NumberText;
class SCA_StringStor;

// The largest depth of nested objects that is written or read; deeper trees are refused, so a
// hostile input cannot exhaust the stack.
inline constexpr uint32_t SCA_CONFIG_MAX_DEPTH = 64;

// A named node of a configuration tree: its children are value fields and further objects, in
// insertion (or sorted) order. Every setting, record, message and data file is such a tree.
//
// Byte form of an object: '2', 0x01, name, 0x01, the children's byte forms, '0', 0x01.
// Errors are reported at level 2.
class SCA_ConfigObj : public SCA_Field {
public:
    SCA_ConfigObj(const char* name, SCA_ConfigObj* parent);
    // An independent copy of the whole tree, without parent; flag 0 when any part of it could
    // not be copied.
    SCA_ConfigObj(const SCA_ConfigObj& other);
    SCA_ConfigObj& operator=(const SCA_ConfigObj&) = delete;
    ~SCA_ConfigObj() override;

    uint32_t GetDataSize() override;
    uint32_t GetFieldCount() override;
    int GetFieldByIndex(uint32_t index, SCA_Field** out) override;
    int GetFieldByName(const char* name, SCA_Field** out) override;
    uint32_t GetTotalFieldCount() override;
    // Takes the name and a copy of every child of another object; this object's own children
    // are replaced only once the copy is complete.
    int SetContent(SCA_Field* from) override;
    int DoSerialize(char* buffer, uint32_t size, uint32_t* position) override;
    // Replaces name and children with the object read at *position; on failure the object and
    // *position are left as they were.
    int DoDeserialize(const char* buffer, uint32_t size, uint32_t* position,
                      SCA_ConfigObj* parent) override;
    // Compares names and then every child in order.
    int Compare(SCA_Field* other) override;
    // A copy of the whole tree (an SCA_ConfigObj), or null.
    SCA_Field* Clone() override;
    // Replaces name and children with the tree in stor, which must hold exactly one object.
    // On failure the object is left as it was.
    int Deserialize(SCA_StringStor* stor) override;
    // Writes the byte form of the whole tree into stor (replacing its content).
    int Serialize(SCA_StringStor* stor) override;

    int IsFieldExists(const char* name) { return GetFieldByName(name, nullptr); }
    // The child object of that name; 0 when there is none or the child is a value field.
    int GetField(const char* name, SCA_ConfigObj** out);
    SCA_Field* GetHead() const { return m_Fields.GetHead(); }
    SCA_FieldList* GetFieldList() { return &m_Fields; }
    int DeleteFieldByIndex(uint32_t index);

    // --- adding ready-made fields --------------------------------------------------------------
    // Each refuses a null field, a field without a name, or one still linked into a list.

    // Renames field to name, makes this object its parent and appends it; with checkNames, a
    // child of that name already there is reported and refused.
    int AddField(const char* name, SCA_Field* field, int checkNames);
    int AddField(SCA_Field* field);
    int AddField(SCA_Field* field, int checkNames);
    int AddField(SCA_Field* field, int checkNames, int setParent);
    // A new value field without a value, at the tail (atTail nonzero) or the head; handed back
    // through out.
    int AddField(const char* name, SCA_Field** out, int atTail, int checkNames);

    // --- typed values -------------------------------------------------------------------------
    // A value field holding the value as text, appended. 0 on an invalid name (null, empty,
    // with 0x00/0x01, too long), a refused value, or, with check set, a duplicate name.
    int AddField(const char* name, const char* value, int check = 0);
    int AddField(const char* name, int value, int check = 0);
    int AddField(const char* name, uint32_t value, int check = 0);
    int AddField(const char* name, uint16_t value, int check = 0);
    int AddField(const char* name, uint64_t value, int check = 0);
    int AddField(const char* name, double value, int check = 0);
    // An integer field put before the first child.
    int AddFieldToHead(const char* name, int value, int check = 0);

    // The value of the first child of that name. 0, with the output untouched, when there is no
    // such value field or its text is not a number of that kind (whole text, in range).
    // Text is copied bounded by size and cut on a UTF-8 boundary.
    int GetField(const char* name, char* buf, uint32_t size);
    int GetField(const char* name, int* value);
    int GetField(const char* name, uint32_t* value);
    int GetField(const char* name, uint16_t* value);
    int GetField(const char* name, uint64_t* value);
    int GetField(const char* name, double* value);

    // A new child object appended, or null (invalid name, allocation).
    SCA_ConfigObj* AddConfigObj(const char* name);
    // Unlinks the first child of that name and hands it to the caller, or null.
    SCA_Field* RemoveField(const char* name);
    // Renames the first child named from; 0 when there is none, to is invalid, or another child
    // already has that name.
    int RenameField(const char* from, const char* to);
    // Destroys every child.
    int Clear() { return m_Fields.Clear(); }
    int SortFields(int (*compare)(const void*, const void*)) {
        return m_Fields.SortFields(compare);
    }

    // Files: a header (magic "KHDX", format version, file type, payload length, SHA-256 of the
    // payload) and then the byte form. Save replaces the file atomically (mode 0600); flags are
    // reserved (0). Load checks everything and leaves the object untouched on failure; error
    // receives an errno value or one of the codes below. fileType, when given, receives the
    // type the file was saved with.
    int Save(const char* path, uint32_t fileType, uint32_t flags, uint32_t* error);
    // The bytes Save writes, into file (replaced); 0 when the tree cannot be serialized.
    int ToFileBytes(uint32_t fileType, std::string* file);
    int Load(const char* path, uint32_t* error, uint32_t* fileType = nullptr);
    // Load from the bytes of a whole file already in memory.
    int LoadBytes(const char* data, size_t size, uint32_t* error, uint32_t* fileType = nullptr);

    // In place: the children are enciphered (AES-256-GCM, key = SHA-256 of the key text) and
    // replaced by value fields that carry nonce, ciphertext and tag as hex; the name stays.
    // Decrypt fails, leaving the object as it was, on a wrong key or altered content.
    int Encrypt(const char* key, uint32_t reserved1, uint32_t reserved2);
    int Decrypt(const char* key, uint32_t reserved1, uint32_t reserved2);

protected:
    // An unnamed object (as arrays use); flag 1.
    explicit SCA_ConfigObj(SCA_ConfigObj* parent);
    // Children already in their byte form, written after the children of the list (see
    // SCA_EncodedObject); none here.
    virtual const std::string* GetEncodedChildren() const { return nullptr; }

private:
    uint64_t ByteSize() const;
    int SerializeAt(char* buffer, uint32_t size, uint32_t* position, uint32_t depth) const;
    int AppendTree(std::string* out, uint32_t depth) const;
    int DeserializeAt(const char* buffer, uint32_t size, uint32_t* position, uint32_t depth);
    int ReadChildren(const char* buffer, uint32_t size, uint32_t* position, uint32_t depth);
    // A new child object read from its byte form, its name in its own allocation; or null.
    SCA_ConfigObj* ReadNewChild(const char* buffer, uint32_t size, uint32_t* position,
                                uint32_t depth);
    // A new empty child object with a copy of nameSize name bytes in its own allocation (not
    // yet linked); null when the allocation fails.
    SCA_ConfigObj* NewCompactChild(const char* name, uint32_t nameSize);
    // Copies every child of source to the end of this object. 0 on the first failure.
    int CopyChildren(const SCA_ConfigObj& source);
    // Moves every child of source to this object, which must have none.
    void TakeChildren(SCA_ConfigObj* source);
    // Takes the name and children of a tree just read, replacing this object's; 0, with
    // nothing changed, when the name cannot be copied.
    int TakeTree(SCA_ConfigObj* parsed);
    int CanAdd(SCA_Field* field, int checkNames, int reportCode);
    bool IsSelfOrAncestor(const SCA_Field* field) const;
    int AddValueField(const char* name, const char* value, uint32_t count, int check, bool atTail);
    int AddNumberField(const char* name, const SCA_NumberText& text, int check, bool atTail);
    SCA_Field* FindValueField(const char* name);

    SCA_FieldList m_Fields;
};

// Error codes of Load (beside errno values).
inline constexpr uint32_t SCA_CONFIG_ERROR_FORMAT = 100010;   // not a configuration file
inline constexpr uint32_t SCA_CONFIG_ERROR_VERSION = 100011;  // a format version we cannot read
inline constexpr uint32_t SCA_CONFIG_ERROR_CHECKSUM = 100012; // truncated or altered content
inline constexpr uint32_t SCA_CONFIG_ERROR_CONTENT = 100013;  // the tree cannot be parsed

// Whether a code of Load says what the file holds is no configuration file it can read (one of
// the codes above, or EFBIG for a file far larger than any), rather than that the file itself
// could not be opened or read (any other errno value: EACCES, EIO, ...).
inline bool SCA_IsConfigContentError(uint32_t code) {
    return (code >= SCA_CONFIG_ERROR_FORMAT && code <= SCA_CONFIG_ERROR_CONTENT) || code == EFBIG;
}
