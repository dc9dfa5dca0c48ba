// SPDX-License-Identifier: MIT
#include "model/SCA_Field.h"

#include <cstring>
#include <new>

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_NumberText.h"

namespace {

constexpr char kSeparator = 0x01;

bool HasForbiddenByte(const char* bytes, uint32_t count) {
    return std::memchr(bytes, '\0', count) != nullptr ||
           std::memchr(bytes, kSeparator, count) != nullptr;
}

// A heap copy of count bytes with a terminating zero.
char* CopyBytes(const char* bytes, uint32_t count) {
    auto* copy = static_cast<char*>(SCA_HeapAlloc(static_cast<size_t>(count) + 1));
    if (copy != nullptr) {
        std::memcpy(copy, bytes, count);
        copy[count] = '\0';
    }
    return copy;
}

// Appends text to the zero-terminated buffer, cut to size bytes. 0 when it had to be cut.
int AppendBounded(char* buffer, uint32_t size, const char* text) {
    const size_t used = strnlen(buffer, size);
    if (used >= size) {
        return 0;
    }
    const size_t room = size - used - 1;
    const size_t length = std::strlen(text);
    const size_t copied = length < room ? length : room;
    std::memcpy(buffer + used, text, copied);
    buffer[used + copied] = '\0';
    return copied == length ? 1 : 0;
}

} // namespace

int64_t SCA_ScanFieldPart(const char* start, uint32_t available, uint32_t limit) {
    const uint32_t window = available < limit + 1 ? available : limit + 1;
    const void* separator = std::memchr(start, kSeparator, window);
    if (separator == nullptr) {
        return -1;
    }
    const auto count = static_cast<uint32_t>(static_cast<const char*>(separator) - start);
    if (count > limit || std::memchr(start, '\0', count) != nullptr) {
        return -1;
    }
    return count;
}

bool SCA_Field::IsValidName(const char* name) {
    if (name == nullptr) {
        return false;
    }
    const size_t length = strnlen(name, SCA_FIELD_MAX_NAME + 1);
    return length <= SCA_FIELD_MAX_NAME && std::memchr(name, kSeparator, length) == nullptr;
}

bool SCA_Field::IsValidBytes(const char* bytes, uint32_t count, uint32_t limit) {
    return count <= limit && !HasForbiddenByte(bytes, count);
}

SCA_Field::SCA_Field(const char* name, SCA_ConfigObj* parent) : m_Parent(parent) {
    if (!IsValidName(name)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_CONFIG, "Invalid field name.");
        return;
    }
    if (StoreName(name, static_cast<uint32_t>(std::strlen(name)))) {
        SetConstructed();
    }
}

SCA_Field::SCA_Field(SCA_ConfigObj* parent, uint32_t type) : m_Parent(parent), m_Type(type) {}

SCA_Field::~SCA_Field() {
    FreeName();
    FreeValue();
}

void SCA_Field::FreeName() {
    if (!m_InlineName) {
        SCA_HeapFree(m_Name);
    }
    m_InlineName = false;
    m_Name = nullptr;
    m_NameLength = 0;
}

int SCA_Field::StoreName(const char* bytes, uint32_t count) {
    char* copy = CopyBytes(bytes, count);
    if (copy == nullptr) {
        return 0;
    }
    FreeName();
    m_Name = copy;
    m_NameLength = count + 2;
    return 1;
}

int SCA_Field::StoreValue(const char* bytes, uint32_t count) {
    FreeValue();
    m_Value = CopyBytes(bytes, count);
    if (m_Value == nullptr) {
        return 0;
    }
    m_ValueLength = count + 2;
    return 1;
}

void SCA_Field::FreeValue() {
    if (!m_InlineValue) {
        SCA_HeapFree(m_Value);
    }
    m_InlineValue = false;
    m_Value = nullptr;
    m_ValueLength = 0;
}

int SCA_Field::SetName(const char* name) {
    if (!IsValidName(name)) {
        return 0;
    }
    return StoreName(name, static_cast<uint32_t>(std::strlen(name)));
}

int SCA_Field::SetValue(const char* bytes, uint32_t count) {
    if (bytes == nullptr) {
        FreeValue();
        return 1;
    }
    if (!IsValidBytes(bytes, count, SCA_FIELD_MAX_VALUE)) {
        return 0;
    }
    return StoreValue(bytes, count);
}

int SCA_Field::SetValue(const char* text) {
    if (text == nullptr) {
        return SetValue(nullptr, 0);
    }
    const size_t length = strnlen(text, SCA_FIELD_MAX_VALUE + 1);
    if (length > SCA_FIELD_MAX_VALUE) {
        return 0;
    }
    return SetValue(text, static_cast<uint32_t>(length));
}

int SCA_Field::SetValue(int value) {
    const SCA_NumberText text(value);
    return SetValue(text.Data(), text.Size());
}

int SCA_Field::SetValue(uint32_t value) {
    const SCA_NumberText text(value);
    return SetValue(text.Data(), text.Size());
}

int SCA_Field::SetValue(uint64_t value) {
    const SCA_NumberText text(value);
    return SetValue(text.Data(), text.Size());
}

int SCA_Field::SetValue(double value) {
    const SCA_NumberText text(value);
    return SetValue(text.Data(), text.Size());
}

uint32_t SCA_Field::GetDataSize() {
    return m_ValueLength + m_NameLength + 5;
}

uint32_t SCA_Field::GetFieldCount() {
    return 0;
}

int SCA_Field::GetFieldByIndex(uint32_t, SCA_Field** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
    return 0;
}

int SCA_Field::GetFieldByName(const char*, SCA_Field** out) {
    if (out != nullptr) {
        *out = nullptr;
    }
    return 0;
}

uint32_t SCA_Field::GetTotalFieldCount() {
    return 1;
}

int SCA_Field::SetContent(SCA_Field* from) {
    if (from == nullptr || from == this) {
        return from != nullptr ? 1 : 0;
    }
    // A value field cannot hold an object's children.
    if (from->IsObject() && !IsObject()) {
        return 0;
    }
    if (!StoreName(from->GetName(), from->NameSize())) {
        return 0;
    }
    if (from->m_Value != nullptr) {
        if (!StoreValue(from->m_Value, from->GetValueSize())) {
            return 0;
        }
    } else {
        FreeValue();
    }
    m_Type = from->m_Type;
    return 1;
}

void SCA_Field::WriteHeader(char* buffer, uint32_t* position) const {
    uint32_t at = *position;
    // The digit follows what the field is, so that whatever is written can be read back.
    buffer[at++] =
        static_cast<char>('0' + (IsObject() ? SCA_FIELD_TYPE_OBJECT : SCA_FIELD_TYPE_VALUE));
    buffer[at++] = kSeparator;
    const uint32_t nameSize = NameSize();
    std::memcpy(buffer + at, GetName(), nameSize); // GetName(): memcpy needs a source, even for 0
    at += nameSize;
    buffer[at++] = kSeparator;
    *position = at;
}

int SCA_Field::DoSerialize(char* buffer, uint32_t size, uint32_t* position) {
    if (buffer == nullptr || position == nullptr || *position > size) {
        return 0;
    }
    // A field that never had a value is written as the empty value.
    const uint32_t nameSize = NameSize();
    const uint64_t needed = 4ULL + nameSize + GetValueSize();
    if (needed > size - *position) {
        return 0;
    }
    WriteHeader(buffer, position);
    std::memcpy(buffer + *position, GetValue(), GetValueSize());
    *position += GetValueSize();
    buffer[(*position)++] = kSeparator;
    return 1;
}

void SCA_Field::AppendTo(std::string* out) const {
    AppendForm(GetName(), NameSize(), GetValue(), GetValueSize(), out);
}

void SCA_Field::AppendForm(const char* name, uint32_t nameSize, const char* value,
                           uint32_t valueSize, std::string* out) {
    const char header[2] = {'0' + SCA_FIELD_TYPE_VALUE, kSeparator};
    out->append(header, 2);
    out->append(name, nameSize);
    out->push_back(kSeparator);
    out->append(value, valueSize);
    out->push_back(kSeparator);
}

int SCA_Field::AppendValueForm(const char* name, const char* value, std::string* out) {
    if (out == nullptr || value == nullptr || name == nullptr || name[0] == '\0' ||
        !IsValidName(name)) {
        return 0;
    }
    const size_t valueSize = std::strlen(value);
    if (valueSize > SCA_FIELD_MAX_VALUE ||
        !IsValidBytes(value, static_cast<uint32_t>(valueSize), SCA_FIELD_MAX_VALUE)) {
        return 0;
    }
    AppendForm(name, static_cast<uint32_t>(std::strlen(name)), value,
               static_cast<uint32_t>(valueSize), out);
    return 1;
}

int SCA_Field::ReadHeader(const char* buffer, uint32_t size, uint32_t* position,
                          uint32_t expectedType) {
    uint32_t at = *position;
    if (at >= size) {
        return 0;
    }
    const auto type = static_cast<uint32_t>(static_cast<unsigned char>(buffer[at]) - '0');
    if (expectedType == SCA_FIELD_TYPE_VALUE) {
        m_Type = type; // a value field keeps the type it read, even when the read fails
    }
    if (type != expectedType || size - at < 2 || buffer[at + 1] != kSeparator) {
        return 0;
    }
    at += 2;
    const int64_t nameSize = SCA_ScanFieldPart(buffer + at, size - at, SCA_FIELD_MAX_NAME);
    if (nameSize < 0 || !StoreName(buffer + at, static_cast<uint32_t>(nameSize))) {
        return 0;
    }
    *position = at + static_cast<uint32_t>(nameSize) + 1;
    return 1;
}

int SCA_Field::DoDeserialize(const char* buffer, uint32_t size, uint32_t* position,
                             SCA_ConfigObj* parent) {
    if (buffer == nullptr || position == nullptr) {
        return 0;
    }
    uint32_t at = *position;
    if (!ReadHeader(buffer, size, &at, SCA_FIELD_TYPE_VALUE)) {
        return 0;
    }
    const int64_t valueSize = SCA_ScanFieldPart(buffer + at, size - at, SCA_FIELD_MAX_VALUE);
    if (valueSize < 0 || !StoreValue(buffer + at, static_cast<uint32_t>(valueSize))) {
        return 0;
    }
    at += static_cast<uint32_t>(valueSize) + 1;
    // Runs of separators between fields are absorbed.
    while (at < size && buffer[at] == kSeparator) {
        ++at;
    }
    *position = at;
    m_Parent = parent;
    SetConstructed(); // a field read whole from its byte form is complete, however it was made
    return 1;
}

char* SCA_Field::AdoptInlineName(char* storage, const char* bytes, uint32_t count) {
    FreeName();
    std::memcpy(storage, bytes, count);
    storage[count] = '\0';
    m_Name = storage;
    m_NameLength = count + 2;
    m_InlineName = true;
    return storage + count + 1;
}

char* SCA_Field::AdoptInlineValue(char* storage, const char* bytes, uint32_t count) {
    FreeValue();
    std::memcpy(storage, bytes, count);
    storage[count] = '\0';
    m_Value = storage;
    m_ValueLength = count + 2;
    m_InlineValue = true;
    return storage + count + 1;
}

int64_t SCA_Field::ScanHeader(const char* buffer, uint32_t size, uint32_t position, uint32_t type,
                              const char** name) {
    if (position >= size || size - position < 2 ||
        buffer[position] != '0' + static_cast<int>(type) || buffer[position + 1] != kSeparator) {
        return -1;
    }
    *name = buffer + position + 2;
    return SCA_ScanFieldPart(*name, size - position - 2, SCA_FIELD_MAX_NAME);
}

SCA_Field* SCA_Field::ReadNew(const char* buffer, uint32_t size, uint32_t* position,
                              SCA_ConfigObj* parent) {
    const char* name = nullptr;
    const int64_t nameSize = ScanHeader(buffer, size, *position, SCA_FIELD_TYPE_VALUE, &name);
    if (nameSize < 0) {
        return nullptr;
    }
    const char* value = name + nameSize + 1;
    uint32_t at = static_cast<uint32_t>(value - buffer);
    const int64_t valueSize = SCA_ScanFieldPart(value, size - at, SCA_FIELD_MAX_VALUE);
    if (valueSize < 0) {
        return nullptr;
    }
    at += static_cast<uint32_t>(valueSize) + 1;

    SCA_Field* field = NewCompact(name, static_cast<uint32_t>(nameSize), value,
                                  static_cast<uint32_t>(valueSize), parent);
    if (field == nullptr) {
        return nullptr;
    }
    while (at < size && buffer[at] == kSeparator) {
        ++at;
    }
    *position = at;
    return field;
}

int SCA_Field::Compare(SCA_Field* other) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (other == nullptr || other->m_Type != m_Type || other->IsObject() != IsObject()) {
        report(SCA_LEVEL_CONFIG, "Different field type");
        return 0;
    }
    if (std::strcmp(GetName(), other->GetName()) != 0) {
        report(SCA_LEVEL_CONFIG, "Different field name");
        return 0;
    }
    if (GetValueSize() != other->GetValueSize() ||
        std::memcmp(GetValue(), other->GetValue(), GetValueSize()) != 0) {
        report(SCA_LEVEL_CONFIG, "Different field value");
        return 0;
    }
    // An unnamed field differs from one with an empty name only here. A field that never had
    // a value equals one with the empty value, so the value lengths cannot differ any more.
    if (m_NameLength != other->m_NameLength) {
        report(SCA_LEVEL_CONFIG, "Different name length");
        return 0;
    }
    return 1;
}

SCA_Field* SCA_Field::NewCompact(const char* name, uint32_t nameSize, const char* value,
                                 uint32_t valueSize, SCA_ConfigObj* parent) {
    const size_t texts = static_cast<size_t>(nameSize) + 1 +
                         (value != nullptr ? static_cast<size_t>(valueSize) + 1 : 0);
    void* memory = SCA_HeapAlloc(sizeof(SCA_Field) + texts);
    if (memory == nullptr) {
        return nullptr;
    }
    // Freed whole by the class's operator delete when the field is destroyed; a name or value
    // set later goes to the heap and leaves these bytes unused.
    auto* field = ::new (memory) SCA_Field(parent, SCA_FIELD_TYPE_VALUE);
    char* tail = field->AdoptInlineName(reinterpret_cast<char*>(field + 1), name, nameSize);
    if (value != nullptr) {
        field->AdoptInlineValue(tail, value, valueSize);
    }
    field->SetConstructed();
    return field;
}

// A copy of an unnamed field gets the empty name, as copying it by SetContent would.
SCA_Field* SCA_Field::Clone() {
    SCA_Field* copy = NewCompact(GetName(), NameSize(), m_Value, GetValueSize(), nullptr);
    if (copy != nullptr) {
        copy->m_Type = m_Type;
    }
    return copy;
}

int SCA_Field::GetPath(char* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (m_Parent == nullptr) {
        return AppendBounded(buffer, size, GetName());
    }
    const int parentFits = m_Parent->GetPath(buffer, size);
    const int separatorFits = AppendBounded(buffer, size, "/");
    const int nameFits = AppendBounded(buffer, size, GetName());
    return parentFits && separatorFits && nameFits ? 1 : 0;
}

int SCA_Field::Deserialize(SCA_StringStor*) {
    return 0;
}

int SCA_Field::Serialize(SCA_StringStor*) {
    return 0;
}
