// SPDX-License-Identifier: MIT
#include "model/SCA_FieldList.h"

#include <cstdlib>
#include <cstring>

int SCA_FieldList::AddItemToHead(SCA_Field* field) {
    if (!CanLink(field)) {
        return 0;
    }
    if (m_Head == nullptr) {
        field->m_Prev = field->m_Next = nullptr;
        m_Head = m_Tail = field;
        field->m_List = this;
        ++m_Count;
        return 1;
    }
    return InsertItemBefore(field, m_Head);
}

int SCA_FieldList::AddItemToTail(SCA_Field* field) {
    if (m_Tail == nullptr) {
        return AddItemToHead(field);
    }
    return InsertItemAfter(field, m_Tail);
}

int SCA_FieldList::Clear() {
    SCA_Field* field = m_Head;
    while (field != nullptr) {
        SCA_Field* next = field->m_Next;
        field->m_List = nullptr;
        field->Destroy();
        field = next;
    }
    m_Head = m_Tail = nullptr;
    m_Count = 0;
    return 1;
}

int SCA_FieldList::GetHeadItem(SCA_Field** out) const {
    if (m_Head == nullptr) {
        return 0;
    }
    *out = m_Head;
    return 1;
}

int SCA_FieldList::GetItem(const char* name, SCA_Field** out) const {
    SCA_Field* field = GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    *out = field;
    return 1;
}

int SCA_FieldList::GetItemByPos(uint32_t pos, SCA_Field** out) const {
    SCA_Field* field = GetListItemByPos(pos);
    if (field == nullptr) {
        return 0;
    }
    *out = field;
    return 1;
}

const char* SCA_FieldList::GetNameByPos(uint32_t pos) const {
    SCA_Field* field = GetListItemByPos(pos);
    return field != nullptr ? field->GetName() : nullptr;
}

int SCA_FieldList::IsItemValid(const char* name) const {
    if (name == nullptr || name[0] == '\0') {
        return 0;
    }
    return GetListItem(name) != nullptr ? 1 : 0;
}

int SCA_FieldList::MoveItemToHead(const char* name) {
    SCA_Field* field = GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    if (field != m_Head) {
        Unlink(field);
        InsertItemBefore(field, m_Head);
    }
    return 1;
}

int SCA_FieldList::MoveItemToTail(const char* name) {
    SCA_Field* field = GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    if (field != m_Tail) {
        Unlink(field);
        InsertItemAfter(field, m_Tail);
    }
    return 1;
}

int SCA_FieldList::MoveItemUp(const char* name) {
    SCA_Field* field = GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    SCA_Field* before = field->m_Prev;
    if (before != nullptr) {
        Unlink(field);
        InsertItemBefore(field, before);
    }
    return 1;
}

int SCA_FieldList::MoveItemDown(const char* name) {
    SCA_Field* field = GetListItem(name);
    if (field == nullptr) {
        return 0;
    }
    SCA_Field* after = field->m_Next;
    if (after != nullptr) {
        Unlink(field);
        InsertItemAfter(field, after);
    }
    return 1;
}

int SCA_FieldList::SortFields(int (*compare)(const void*, const void*)) {
    if (m_Head == nullptr || compare == nullptr) {
        return m_Head == nullptr ? 1 : 0;
    }
    auto* fields = static_cast<SCA_Field**>(SCA_HeapAlloc(sizeof(SCA_Field*) * m_Count));
    if (fields == nullptr) {
        return 0;
    }
    const uint32_t count = m_Count;
    uint32_t i = 0;
    for (SCA_Field* field = m_Head; field != nullptr; field = field->m_Next) {
        fields[i++] = field;
    }
    std::qsort(fields, count, sizeof(SCA_Field*), compare);
    for (i = 0; i < count; ++i) {
        fields[i]->m_Prev = i > 0 ? fields[i - 1] : nullptr;
        fields[i]->m_Next = i + 1 < count ? fields[i + 1] : nullptr;
    }
    m_Head = fields[0];
    m_Tail = fields[count - 1];
    SCA_HeapFree(fields);
    return 1;
}

SCA_Field* SCA_FieldList::GetListItem(const char* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    for (SCA_Field* field = m_Head; field != nullptr; field = field->m_Next) {
        if (field->m_Name != nullptr && std::strcmp(field->m_Name, name) == 0) {
            return field;
        }
    }
    return nullptr;
}

SCA_Field* SCA_FieldList::GetListItemByPos(uint32_t pos) const {
    if (pos >= m_Count) {
        return nullptr;
    }
    SCA_Field* field = m_Head;
    while (pos-- > 0) {
        field = field->m_Next;
    }
    return field;
}

int SCA_FieldList::DeleteListItem(SCA_Field* field) {
    if (!RemoveListItem(field)) {
        return 0;
    }
    field->Destroy();
    return 1;
}

int SCA_FieldList::RemoveListItem(SCA_Field* field) {
    if (field == nullptr || field->m_List != this) {
        return 0;
    }
    Unlink(field);
    return 1;
}

int SCA_FieldList::InsertItemBefore(SCA_Field* field, SCA_Field* position) {
    if (!CanLink(field) || position == nullptr || position->m_List != this) {
        return 0;
    }
    field->m_Next = position;
    field->m_Prev = position->m_Prev;
    if (position->m_Prev != nullptr) {
        position->m_Prev->m_Next = field;
    } else {
        m_Head = field;
    }
    position->m_Prev = field;
    field->m_List = this;
    ++m_Count;
    return 1;
}

int SCA_FieldList::InsertItemAfter(SCA_Field* field, SCA_Field* position) {
    if (!CanLink(field) || position == nullptr || position->m_List != this) {
        return 0;
    }
    field->m_Prev = position;
    field->m_Next = position->m_Next;
    if (position->m_Next != nullptr) {
        position->m_Next->m_Prev = field;
    } else {
        m_Tail = field;
    }
    position->m_Next = field;
    field->m_List = this;
    ++m_Count;
    return 1;
}

// Clears the field's links, so that it can be added again.
void SCA_FieldList::Unlink(SCA_Field* field) {
    if (field->m_Prev != nullptr) {
        field->m_Prev->m_Next = field->m_Next;
    } else {
        m_Head = field->m_Next;
    }
    if (field->m_Next != nullptr) {
        field->m_Next->m_Prev = field->m_Prev;
    } else {
        m_Tail = field->m_Prev;
    }
    field->m_Next = field->m_Prev = nullptr;
    field->m_List = nullptr;
    --m_Count;
}
