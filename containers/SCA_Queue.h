// SPDX-License-Identifier: MIT
#pragma once

#include "containers/SCA_List.h"

// A first-in first-out queue on the list: Push links at the head, Pop takes from the tail.
// It has no lock of its own (see SCA_DataQueue) and never destroys an element.
template <typename T>
class SCA_Queue : public SCA_List<T> {
public:
    SCA_Queue() : SCA_List<T>(0) {}

    // 1, or 0 when the node cannot be allocated (queue unchanged).
    virtual int Push(T item) { return this->AddItemToHead(item); }

    // The oldest element into out; 0 with out untouched when the queue is empty.
    virtual int Pop(T* out) {
        if (!this->GetTailItem(out)) {
            return 0;
        }
        return this->DeleteTailItem();
    }
};
