// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"
#include "model/SCA_Field.h"

// The children of a configuration object: an intrusive doubly linked list through the fields'
// own links, so a field is in at most one list at a time. The list owns its fields and
// destroys them through their virtual destructor. Names are compared exactly, byte for byte.
class SCA_FieldList : public SCA_Object {
public:
    SCA_FieldList() { SetConstructed(); }
    ~SCA_FieldList() override { Clear(); }

    SCA_FieldList(const SCA_FieldList&) = delete;
    SCA_FieldList& operator=(const SCA_FieldList&) = delete;

    // Link a detached field at that end. 0 for a null field or one linked elsewhere.
    int AddItemToHead(SCA_Field* field);
    int AddItemToTail(SCA_Field* field);
    int Clear();

    uint32_t Count() const { return m_Count; }
    SCA_Field* GetHead() const { return m_Head; }
    SCA_Field* GetTail() const { return m_Tail; }

    int GetHeadItem(SCA_Field** out) const;
    int GetItem(const char* name, SCA_Field** out) const;
    int GetItemByPos(uint32_t pos, SCA_Field** out) const;
    const char* GetNameByPos(uint32_t pos) const;
    int IsItemValid(const char* name) const;

    int DeleteHeadItem() { return DeleteListItem(m_Head); }
    int DeleteTailItem() { return DeleteListItem(m_Tail); }
    int DeleteItem(const char* name) { return DeleteListItem(GetListItem(name)); }
    int DeleteItemByPos(uint32_t pos) { return DeleteListItem(GetListItemByPos(pos)); }
    // Unlinks the first field of that name without destroying it; the caller owns it.
    int RemoveItem(const char* name) { return RemoveListItem(GetListItem(name)); }

    int MoveItemToHead(const char* name);
    int MoveItemToTail(const char* name);
    int MoveItemUp(const char* name);
    int MoveItemDown(const char* name);

    // Reorders the fields with qsort; compare receives pointers to SCA_Field* entries.
    // 0, with the order unchanged, when the temporary array cannot be allocated.
    int SortFields(int (*compare)(const void*, const void*));

    SCA_Field* GetListItem(const char* name) const;
    SCA_Field* GetListItemByPos(uint32_t pos) const;
    // Unlink (and destroy) a field of this list; 0 for null or a field of another list.
    int DeleteListItem(SCA_Field* field);
    int RemoveListItem(SCA_Field* field);
    // Link a detached field before or after a field of this list.
    int InsertItemBefore(SCA_Field* field, SCA_Field* position);
    int InsertItemAfter(SCA_Field* field, SCA_Field* position);

private:
    bool CanLink(const SCA_Field* field) const {
        return field != nullptr && field->m_List == nullptr;
    }
    void Unlink(SCA_Field* field);

    SCA_Field* m_Head = nullptr;
    SCA_Field* m_Tail = nullptr;
    uint32_t m_Count = 0;
};
