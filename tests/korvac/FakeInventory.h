// SPDX-License-Identifier: MIT
#pragma once

// The stand-in service's answers to the inventory questions: a list of items with a status,
// and a yes/no answer with its error code.

#include <string>
#include <utility>
#include <vector>

#include "FakeService.h"

namespace korvac_test {

using Items = std::vector<std::pair<std::string, uint32_t>>;

// An inventory reply: the items (name and number) and the service's status.
inline Answer Inventory(const Items& items, uint32_t status = 1) {
    return Answer::Reply([items, status](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        SCA_ConfigObj* list = reply->AddConfigObj("List");
        for (const auto& [name, value] : items) {
            list->AddField(name.c_str(), value);
        }
        reply->AddField("Status", status);
    });
}

// Items numbered in order.
inline Answer NamedInventory(const std::vector<std::string>& names, uint32_t status = 1) {
    Items items;
    for (const std::string& name : names) {
        items.emplace_back(name, static_cast<uint32_t>(items.size()));
    }
    return Inventory(items, status);
}

inline Answer Presence(uint32_t supported, uint32_t error) {
    return Answer::Reply([supported, error](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        reply->AddField("Supported", supported);
        reply->AddField("Error", error);
    });
}

} // namespace korvac_test
