// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

template <typename T>
class SCA_List;

// A node of SCA_List<T>: links, an id, the element (stored by value, never owned) and an
// optional private copy of a name. An empty name is a name; a null one is none.
template <typename T>
class SCA_ListItem : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    explicit SCA_ListItem(T item) : m_Item(item) { SetConstructed(); }

    // Copies a non-null name; the construction flag stays 0 when the copy cannot be allocated.
    SCA_ListItem(T item, const char* name) : m_Item(item) {
        if (name != nullptr) {
            m_Name = SCA_HeapStrDup(name);
            if (m_Name == nullptr) {
                return;
            }
        }
        SetConstructed();
    }

    ~SCA_ListItem() override { SCA_HeapFree(m_Name); }

    SCA_ListItem(const SCA_ListItem&) = delete;
    SCA_ListItem& operator=(const SCA_ListItem&) = delete;

    // Replaces the name with a copy of name. A null or empty name answers 0 and keeps the old
    // one; so does a copy that cannot be allocated, so a failed rename never loses the name.
    int SetName(const char* name) {
        if (name == nullptr || name[0] == '\0') {
            return 0;
        }
        char* copy = SCA_HeapStrDup(name);
        if (copy == nullptr) {
            return 0;
        }
        SCA_HeapFree(m_Name);
        m_Name = copy;
        return 1;
    }

    SCA_ListItem* GetNext() const { return m_Next; }
    SCA_ListItem* GetPrev() const { return m_Prev; }
    uint32_t GetId() const { return m_Id; }
    T GetItem() const { return m_Item; }
    T* GetItemPtr() { return &m_Item; }
    void SetItem(T item) { m_Item = item; }
    // The name, or null for an unnamed node.
    const char* GetName() const { return m_Name; }

private:
    friend class SCA_List<T>;

    SCA_ListItem* m_Next = nullptr;
    SCA_ListItem* m_Prev = nullptr;
    uint32_t m_Id = SCA_ALL_ONES;
    T m_Item;
    char* m_Name = nullptr;
};
