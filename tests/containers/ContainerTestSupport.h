// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/KorvantaTestSupport.h"

#include <cstdint>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Report.h"

// Helpers shared by the container tests.
namespace containers_test {

using korvanta_test::HeapFailure;
using korvanta_test::ReportCapture;

// Checks the list's shape: head and tail are null exactly when the count is 0, the head has no
// predecessor and the tail no successor, and walking next links from the head (and previous
// links from the tail) visits exactly Count() nodes whose links agree with each other.
template <typename T>
::testing::AssertionResult IsSound(const SCA_List<T>& list) {
    using Item = SCA_ListItem<T>;
    const uint32_t count = list.Count();
    if ((list.GetHead() == nullptr) != (count == 0) ||
        (list.GetTail() == nullptr) != (count == 0)) {
        return ::testing::AssertionFailure() << "head/tail null does not match count " << count;
    }
    if (count == 0) {
        return ::testing::AssertionSuccess();
    }
    if (list.GetHead()->GetPrev() != nullptr) {
        return ::testing::AssertionFailure() << "head has a predecessor";
    }
    if (list.GetTail()->GetNext() != nullptr) {
        return ::testing::AssertionFailure() << "tail has a successor";
    }
    uint32_t forward = 0;
    const Item* last = nullptr;
    for (const Item* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        if (++forward > count) {
            return ::testing::AssertionFailure() << "more than " << count << " nodes from head";
        }
        if (node->GetPrev() != last) {
            return ::testing::AssertionFailure() << "node " << forward - 1 << " has a wrong prev";
        }
        last = node;
    }
    if (forward != count || last != list.GetTail()) {
        return ::testing::AssertionFailure()
               << "walk from head visits " << forward << " nodes, count is " << count
               << (last != list.GetTail() ? ", and does not end at the tail" : "");
    }
    uint32_t backward = 0;
    for (const Item* node = list.GetTail(); node != nullptr; node = node->GetPrev()) {
        if (++backward > count) {
            return ::testing::AssertionFailure() << "more than " << count << " nodes from tail";
        }
    }
    if (backward != count) {
        return ::testing::AssertionFailure() << "walk from tail visits " << backward << " nodes";
    }
    return ::testing::AssertionSuccess();
}

// The elements from head to tail (only call on a sound list).
template <typename T>
std::vector<T> Elements(const SCA_List<T>& list) {
    std::vector<T> out;
    for (const SCA_ListItem<T>* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        out.push_back(node->GetItem());
    }
    return out;
}

// The ids from head to tail (only call on a sound list).
template <typename T>
std::vector<uint32_t> Ids(const SCA_List<T>& list) {
    std::vector<uint32_t> out;
    for (const SCA_ListItem<T>* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        out.push_back(node->GetId());
    }
    return out;
}

// The list is sound and holds exactly these elements from head to tail.
template <typename T>
::testing::AssertionResult Holds(const SCA_List<T>& list, const std::vector<T>& expected) {
    ::testing::AssertionResult sound = IsSound(list);
    if (!sound) {
        return sound;
    }
    const std::vector<T> actual = Elements(list);
    if (actual != expected) {
        std::ostringstream text;
        text << "elements {";
        for (const T& element : actual) {
            text << " " << element;
        }
        text << " }, expected {";
        for (const T& element : expected) {
            text << " " << element;
        }
        text << " }";
        return ::testing::AssertionFailure() << text.str();
    }
    return ::testing::AssertionSuccess();
}

} // namespace containers_test
