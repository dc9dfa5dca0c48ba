// SPDX-License-Identifier: MIT
#include "model/SCA_ConfigObj.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_NumberText.h"
#include "model/SCA_StringStor.h"

namespace {

constexpr char kSeparator = 0x01;

// Whole-text number parsing in the C locale: "12x", "", " 1" and out-of-range texts fail.
template <typename Number>
bool ParseNumber(const SCA_Field* field, Number* out) {
    const char* text = field->GetValue();
    const char* end = text + field->GetValueSize();
    Number parsed{};
    const auto result = std::from_chars(text, end, parsed);
    if (result.ec != std::errc() || result.ptr != end || text == end) {
        return false;
    }
    *out = parsed;
    return true;
}

} // namespace

SCA_ConfigObj::SCA_ConfigObj(const char* name, SCA_ConfigObj* parent)
    : SCA_Field(parent, SCA_FIELD_TYPE_OBJECT) {
    m_IsObject = true;
    if (!IsValidName(name)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_CONFIG, "Invalid field name.");
        return;
    }
    if (StoreName(name, static_cast<uint32_t>(std::strlen(name)))) {
        SetConstructed();
    }
}

SCA_ConfigObj::SCA_ConfigObj(SCA_ConfigObj* parent) : SCA_Field(parent, SCA_FIELD_TYPE_OBJECT) {
    m_IsObject = true;
    SetConstructed();
}

SCA_ConfigObj::SCA_ConfigObj(const SCA_ConfigObj& other)
    : SCA_Field(nullptr, SCA_FIELD_TYPE_OBJECT) {
    m_IsObject = true;
    if (other.HasName() && !StoreName(other.GetName(), other.GetNameLength() - 2)) {
        return;
    }
    if (CopyChildren(other)) {
        SetConstructed();
    }
}

SCA_ConfigObj::~SCA_ConfigObj() = default;

uint64_t SCA_ConfigObj::ByteSize() const {
    uint64_t size = GetNameLength() + 11ULL;
    for (SCA_Field* child = m_Fields.GetHead(); child != nullptr; child = child->GetNext()) {
        size += child->IsObject() ? static_cast<SCA_ConfigObj*>(child)->ByteSize()
                                  : child->GetDataSize();
    }
    const std::string* encoded = GetEncodedChildren();
    return size + (encoded != nullptr ? encoded->size() : 0);
}

uint32_t SCA_ConfigObj::GetDataSize() {
    const uint64_t size = ByteSize();
    return size > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                       : static_cast<uint32_t>(size);
}

uint32_t SCA_ConfigObj::GetFieldCount() {
    return m_Fields.Count();
}

int SCA_ConfigObj::GetFieldByIndex(uint32_t index, SCA_Field** out) {
    SCA_Field* field = m_Fields.GetListItemByPos(index);
    if (field == nullptr) {
        return 0;
    }
    if (out != nullptr) {
        *out = field;
    }
    return 1;
}

int SCA_ConfigObj::GetFieldByName(const char* name, SCA_Field** out) {
    SCA_Field* field = m_Fields.GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    if (out != nullptr) {
        *out = field;
    }
    return 1;
}

uint32_t SCA_ConfigObj::GetTotalFieldCount() {
    uint32_t total = 1;
    for (SCA_Field* child = m_Fields.GetHead(); child != nullptr; child = child->GetNext()) {
        total += child->GetTotalFieldCount();
    }
    return total;
}

int SCA_ConfigObj::CopyChildren(const SCA_ConfigObj& source) {
    for (SCA_Field* child = source.m_Fields.GetHead(); child != nullptr; child = child->GetNext()) {
        SCA_Field* copy = child->Clone();
        if (copy == nullptr) {
            return 0;
        }
        copy->SetParent(this);
        m_Fields.AddItemToTail(copy);
    }
    return 1;
}

void SCA_ConfigObj::TakeChildren(SCA_ConfigObj* source) {
    while (SCA_Field* child = source->m_Fields.GetHead()) {
        source->m_Fields.RemoveListItem(child);
        child->SetParent(this);
        m_Fields.AddItemToTail(child);
    }
}

int SCA_ConfigObj::SetContent(SCA_Field* from) {
    if (from == nullptr || !from->IsObject()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::SetContent: the source is not an object");
        return 0;
    }
    if (from == this) {
        return 1;
    }
    auto* source = static_cast<SCA_ConfigObj*>(from);
    SCA_ConfigObj staging(nullptr);
    if (!staging.CopyChildren(*source)) {
        return 0;
    }
    if (source->HasName() && !StoreName(source->GetName(), source->GetNameLength() - 2)) {
        return 0;
    }
    m_Fields.Clear();
    TakeChildren(&staging);
    return 1;
}

SCA_Field* SCA_ConfigObj::Clone() {
    auto* copy = new (std::nothrow) SCA_ConfigObj(*this);
    if (copy != nullptr && !copy->IsConstructed()) {
        copy->Destroy();
        return nullptr;
    }
    return copy;
}

int SCA_ConfigObj::Compare(SCA_Field* other) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (other == nullptr || !other->IsObject()) {
        report(SCA_LEVEL_CONFIG, "Different field type");
        return 0;
    }
    if (std::strcmp(GetName(), other->GetName()) != 0) {
        report(SCA_LEVEL_CONFIG, "Different field name");
        return 0;
    }
    auto* peer = static_cast<SCA_ConfigObj*>(other);
    if (m_Fields.Count() != peer->m_Fields.Count()) {
        report(SCA_LEVEL_CONFIG, "Different number of fields in %s", GetName());
        return 0;
    }
    SCA_Field* mine = m_Fields.GetHead();
    SCA_Field* theirs = peer->m_Fields.GetHead();
    for (; mine != nullptr; mine = mine->GetNext(), theirs = theirs->GetNext()) {
        if (!mine->Compare(theirs)) {
            return 0;
        }
    }
    return 1;
}

// --- byte form ------------------------------------------------------------------------------

int SCA_ConfigObj::DoSerialize(char* buffer, uint32_t size, uint32_t* position) {
    if (buffer == nullptr || position == nullptr || *position > size) {
        return 0;
    }
    uint32_t at = *position;
    if (!SerializeAt(buffer, size, &at, 0)) {
        return 0;
    }
    *position = at;
    return 1;
}

int SCA_ConfigObj::SerializeAt(char* buffer, uint32_t size, uint32_t* position,
                               uint32_t depth) const {
    if (depth >= SCA_CONFIG_MAX_DEPTH) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::DoSerialize: the tree is deeper than %u levels",
            SCA_CONFIG_MAX_DEPTH);
        return 0;
    }
    const uint32_t nameSize = HasName() ? GetNameLength() - 2 : 0;
    if (3ULL + nameSize > size - *position) {
        return 0;
    }
    WriteHeader(buffer, position);
    for (SCA_Field* child = m_Fields.GetHead(); child != nullptr; child = child->GetNext()) {
        const int written =
            child->IsObject()
                ? static_cast<SCA_ConfigObj*>(child)->SerializeAt(buffer, size, position, depth + 1)
                : child->DoSerialize(buffer, size, position);
        if (!written) {
            return 0;
        }
    }
    if (const std::string* encoded = GetEncodedChildren()) {
        if (encoded->size() > size - *position) {
            return 0;
        }
        std::memcpy(buffer + *position, encoded->data(), encoded->size());
        *position += static_cast<uint32_t>(encoded->size());
    }
    if (size - *position < 2) {
        return 0;
    }
    buffer[(*position)++] = '0';
    buffer[(*position)++] = kSeparator;
    return 1;
}

// Reads into a staging object first: a failed read leaves this object as it was, and a
// successful one replaces its children instead of adding to them.
int SCA_ConfigObj::DoDeserialize(const char* buffer, uint32_t size, uint32_t* position,
                                 SCA_ConfigObj* parent) {
    if (buffer == nullptr || position == nullptr) {
        return 0;
    }
    SCA_ConfigObj parsed(nullptr);
    uint32_t at = *position;
    if (!parsed.DeserializeAt(buffer, size, &at, 0) || !TakeTree(&parsed)) {
        return 0;
    }
    SetParent(parent);
    *position = at;
    return 1;
}

// Parses into this object, which has no children yet.
int SCA_ConfigObj::DeserializeAt(const char* buffer, uint32_t size, uint32_t* position,
                                 uint32_t depth) {
    if (depth >= SCA_CONFIG_MAX_DEPTH ||
        !ReadHeader(buffer, size, position, SCA_FIELD_TYPE_OBJECT)) {
        return 0;
    }
    return ReadChildren(buffer, size, position, depth);
}

// Children up to and including the end mark '0' 0x01.
int SCA_ConfigObj::ReadChildren(const char* buffer, uint32_t size, uint32_t* position,
                                uint32_t depth) {
    for (;;) {
        if (*position >= size) {
            return 0;
        }
        SCA_Field* child = nullptr;
        switch (buffer[*position]) {
        case '0':
            if (size - *position < 2 || buffer[*position + 1] != kSeparator) {
                return 0;
            }
            *position += 2;
            while (*position < size && buffer[*position] == kSeparator) {
                ++*position;
            }
            return 1;
        case '0' + SCA_FIELD_TYPE_OBJECT:
            child = ReadNewChild(buffer, size, position, depth + 1);
            break;
        default:
            child = SCA_Field::ReadNew(buffer, size, position, this);
            break;
        }
        if (child == nullptr) {
            return 0;
        }
        m_Fields.AddItemToTail(child);
    }
}

SCA_ConfigObj* SCA_ConfigObj::NewCompactChild(const char* name, uint32_t nameSize) {
    void* memory = SCA_HeapAlloc(sizeof(SCA_ConfigObj) + static_cast<size_t>(nameSize) + 1);
    if (memory == nullptr) {
        return nullptr;
    }
    // Freed whole by the class's operator delete when the object is destroyed.
    auto* child = ::new (memory) SCA_ConfigObj(this);
    child->AdoptInlineName(reinterpret_cast<char*>(child + 1), name, nameSize);
    return child;
}

SCA_ConfigObj* SCA_ConfigObj::ReadNewChild(const char* buffer, uint32_t size, uint32_t* position,
                                           uint32_t depth) {
    const char* name = nullptr;
    const int64_t nameSize = ScanHeader(buffer, size, *position, SCA_FIELD_TYPE_OBJECT, &name);
    if (depth >= SCA_CONFIG_MAX_DEPTH || nameSize < 0) {
        return nullptr;
    }
    SCA_ConfigObj* child = NewCompactChild(name, static_cast<uint32_t>(nameSize));
    if (child == nullptr) {
        return nullptr;
    }
    uint32_t at = static_cast<uint32_t>(name - buffer) + static_cast<uint32_t>(nameSize) + 1;
    if (!child->ReadChildren(buffer, size, &at, depth)) {
        child->Destroy();
        return nullptr;
    }
    *position = at;
    return child;
}

int SCA_ConfigObj::AppendTree(std::string* out, uint32_t depth) const {
    if (depth >= SCA_CONFIG_MAX_DEPTH) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::Serialize: the tree is deeper than %u levels",
            SCA_CONFIG_MAX_DEPTH);
        return 0;
    }
    const char header[2] = {'0' + SCA_FIELD_TYPE_OBJECT, kSeparator};
    out->append(header, 2);
    out->append(GetName(), HasName() ? GetNameLength() - 2 : 0);
    out->push_back(kSeparator);
    for (SCA_Field* child = m_Fields.GetHead(); child != nullptr; child = child->GetNext()) {
        if (!child->IsObject()) {
            child->AppendTo(out);
        } else if (!static_cast<SCA_ConfigObj*>(child)->AppendTree(out, depth + 1)) {
            return 0;
        }
    }
    if (const std::string* encoded = GetEncodedChildren()) {
        out->append(*encoded);
    }
    const char end[2] = {'0', kSeparator};
    out->append(end, 2);
    return 1;
}

// Grows the store as it goes instead of sizing it first: one pass over the tree.
int SCA_ConfigObj::Serialize(SCA_StringStor* stor) {
    if (stor == nullptr) {
        return 0;
    }
    std::string& bytes = stor->GetBytes();
    bytes.clear();
    if (!AppendTree(&bytes, 0) || bytes.size() > std::numeric_limits<uint32_t>::max()) {
        bytes.clear();
        return 0;
    }
    return 1;
}

int SCA_ConfigObj::Deserialize(SCA_StringStor* stor) {
    if (stor == nullptr) {
        return 0;
    }
    SCA_ConfigObj parsed(nullptr);
    uint32_t position = 0;
    if (!parsed.DeserializeAt(stor->GetData(), stor->GetSize(), &position, 0) ||
        position != stor->GetSize()) {
        return 0;
    }
    return TakeTree(&parsed);
}

int SCA_ConfigObj::TakeTree(SCA_ConfigObj* parsed) {
    if (!StoreName(parsed->GetName(), parsed->GetNameLength() - 2)) {
        return 0;
    }
    m_Fields.Clear();
    TakeChildren(parsed);
    return 1;
}

// --- lookups --------------------------------------------------------------------------------

int SCA_ConfigObj::GetField(const char* name, SCA_ConfigObj** out) {
    SCA_Field* field = m_Fields.GetListItem(name);
    if (field == nullptr || !field->IsObject()) {
        return 0;
    }
    if (out != nullptr) {
        *out = static_cast<SCA_ConfigObj*>(field);
    }
    return 1;
}

SCA_Field* SCA_ConfigObj::FindValueField(const char* name) {
    SCA_Field* field = m_Fields.GetListItem(name);
    return field != nullptr && !field->IsObject() ? field : nullptr;
}

int SCA_ConfigObj::GetField(const char* name, char* buf, uint32_t size) {
    SCA_Field* field = FindValueField(name);
    if (field == nullptr || buf == nullptr || size == 0) {
        return 0;
    }
    SCA_StrnCpy(buf, field->GetValue(), size);
    return 1;
}

template <typename Number>
static int GetNumber(SCA_Field* field, Number* value) {
    return field != nullptr && value != nullptr && ParseNumber(field, value) ? 1 : 0;
}

int SCA_ConfigObj::GetField(const char* name, int* value) {
    return GetNumber(FindValueField(name), value);
}

int SCA_ConfigObj::GetField(const char* name, uint32_t* value) {
    return GetNumber(FindValueField(name), value);
}

int SCA_ConfigObj::GetField(const char* name, uint16_t* value) {
    return GetNumber(FindValueField(name), value);
}

int SCA_ConfigObj::GetField(const char* name, uint64_t* value) {
    return GetNumber(FindValueField(name), value);
}

int SCA_ConfigObj::GetField(const char* name, double* value) {
    return GetNumber(FindValueField(name), value);
}

int SCA_ConfigObj::DeleteFieldByIndex(uint32_t index) {
    return m_Fields.DeleteItemByPos(index);
}

// --- adding ---------------------------------------------------------------------------------

// Adding this object or one of its parents below itself would make a cycle.
bool SCA_ConfigObj::IsSelfOrAncestor(const SCA_Field* field) const {
    for (const SCA_Field* node = this; node != nullptr; node = node->GetParent()) {
        if (node == field) {
            return true;
        }
    }
    return false;
}

// A field may join only while detached and named; with checkNames, a name already present is
// reported as "SCA_ConfigObj::AddField(<code>): Duplicate field name - <name>".
int SCA_ConfigObj::CanAdd(SCA_Field* field, int checkNames, int reportCode) {
    if (field == nullptr || !field->HasName() || field->IsLinked() || IsSelfOrAncestor(field)) {
        return 0;
    }
    if (checkNames && m_Fields.GetListItem(field->GetName()) != nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField(%d): Duplicate field name - %s", reportCode,
            field->GetName());
        return 0;
    }
    return 1;
}

int SCA_ConfigObj::AddField(const char* name, SCA_Field* field, int checkNames) {
    if (name == nullptr || field == nullptr || field->IsLinked() || IsSelfOrAncestor(field)) {
        return 0;
    }
    if (checkNames && m_Fields.GetListItem(name) != nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField(12): Duplicate field name - %s", name);
        return 0;
    }
    if (!field->SetName(name)) {
        return 0;
    }
    field->SetParent(this);
    return m_Fields.AddItemToTail(field);
}

int SCA_ConfigObj::AddField(SCA_Field* field) {
    return AddField(field, 0, 1);
}

int SCA_ConfigObj::AddField(SCA_Field* field, int checkNames) {
    if (!CanAdd(field, checkNames, 13)) {
        return 0;
    }
    field->SetParent(this);
    return m_Fields.AddItemToTail(field);
}

int SCA_ConfigObj::AddField(SCA_Field* field, int checkNames, int setParent) {
    if (!CanAdd(field, checkNames, 14)) {
        return 0;
    }
    if (setParent) {
        field->SetParent(this);
    }
    return m_Fields.AddItemToTail(field);
}

int SCA_ConfigObj::AddField(const char* name, SCA_Field** out, int atTail, int checkNames) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (name == nullptr || (checkNames && name[0] == '\0')) {
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField: Invalid field name.");
        return 0;
    }
    if (checkNames && m_Fields.GetListItem(name) != nullptr) {
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField(15): Duplicate field name - %s", name);
        return 0;
    }
    auto* field = new (std::nothrow) SCA_Field(name, this);
    if (field == nullptr || !field->IsConstructed()) {
        SCA_Object::Destroy(field);
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField : Cannot create field object");
        return 0;
    }
    if (atTail) {
        m_Fields.AddItemToTail(field);
    } else {
        m_Fields.AddItemToHead(field);
    }
    if (out != nullptr) {
        *out = field;
    }
    return 1;
}

// The typed adders' field: refused on an invalid name, a duplicate with check set (both
// reported) or a refused value; made in one allocation with its texts, since replies that every
// client polls each second are built this way.
int SCA_ConfigObj::AddValueField(const char* name, const char* value, uint32_t count, int check,
                                 bool atTail) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (name == nullptr || name[0] == '\0' || !IsValidName(name)) {
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField: Invalid field name.");
        return 0;
    }
    if (check && m_Fields.GetListItem(name) != nullptr) {
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField: Duplicate field name - %s", name);
        return 0;
    }
    if (!IsValidBytes(value, count, SCA_FIELD_MAX_VALUE)) {
        return 0;
    }
    SCA_Field* field =
        NewCompact(name, static_cast<uint32_t>(std::strlen(name)), value, count, this);
    if (field == nullptr) {
        report(SCA_LEVEL_CONFIG, "SCA_ConfigObj::AddField : Cannot create field object");
        return 0;
    }
    return atTail ? m_Fields.AddItemToTail(field) : m_Fields.AddItemToHead(field);
}

int SCA_ConfigObj::AddNumberField(const char* name, const SCA_NumberText& text, int check,
                                  bool atTail) {
    return AddValueField(name, text.Data(), text.Size(), check, atTail);
}

int SCA_ConfigObj::AddField(const char* name, const char* value, int check) {
    if (value == nullptr) {
        value = "";
    }
    const size_t length = strnlen(value, SCA_FIELD_MAX_VALUE + 1);
    if (length > SCA_FIELD_MAX_VALUE) {
        return 0;
    }
    return AddValueField(name, value, static_cast<uint32_t>(length), check, true);
}

int SCA_ConfigObj::AddField(const char* name, int value, int check) {
    return AddNumberField(name, SCA_NumberText(value), check, true);
}

int SCA_ConfigObj::AddField(const char* name, uint32_t value, int check) {
    return AddNumberField(name, SCA_NumberText(value), check, true);
}

int SCA_ConfigObj::AddField(const char* name, uint16_t value, int check) {
    return AddNumberField(name, SCA_NumberText(static_cast<uint32_t>(value)), check, true);
}

int SCA_ConfigObj::AddField(const char* name, uint64_t value, int check) {
    return AddNumberField(name, SCA_NumberText(value), check, true);
}

int SCA_ConfigObj::AddField(const char* name, double value, int check) {
    return AddNumberField(name, SCA_NumberText(value), check, true);
}

int SCA_ConfigObj::AddFieldToHead(const char* name, int value, int check) {
    return AddNumberField(name, SCA_NumberText(value), check, false);
}

SCA_ConfigObj* SCA_ConfigObj::AddConfigObj(const char* name) {
    if (name == nullptr || !IsValidName(name)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_CONFIG,
                                                  "SCA_ConfigObj::AddConfigObj: Invalid name.");
        return nullptr;
    }
    SCA_ConfigObj* child = NewCompactChild(name, static_cast<uint32_t>(std::strlen(name)));
    if (child != nullptr) {
        m_Fields.AddItemToTail(child);
    }
    return child;
}

SCA_Field* SCA_ConfigObj::RemoveField(const char* name) {
    SCA_Field* field = m_Fields.GetListItem(name);
    if (field == nullptr) {
        return nullptr;
    }
    m_Fields.RemoveListItem(field);
    field->SetParent(nullptr);
    return field;
}

int SCA_ConfigObj::RenameField(const char* from, const char* to) {
    SCA_Field* field = m_Fields.GetListItem(from);
    if (field == nullptr || to == nullptr || to[0] == '\0') {
        return 0;
    }
    if (std::strcmp(from, to) == 0) {
        return 1;
    }
    if (m_Fields.GetListItem(to) != nullptr) {
        return 0;
    }
    return field->SetName(to);
}
