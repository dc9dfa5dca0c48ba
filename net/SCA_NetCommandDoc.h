// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "net/SCA_NetCommand.h"

// Writes the reference of command tables as Markdown: the frame, the greeting and the login
// once, then for each table every command with its fields, kinds, directions and login rule.
// The protocol's checked-in reference is this text, so it never drifts from the tables.
class SCA_NetCommandDoc {
public:
    using Row = const tagSCA_NET_COMMAND_SHAPE& (*)(uint32_t index);

    // The part that every table shares.
    static std::string Transport();
    // One table: a heading, a paragraph about it and its commands in table order.
    static std::string Table(const char* title, const char* about, Row row, uint32_t count);
};
