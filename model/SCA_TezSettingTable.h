// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_String.h"
#include "model/SCA_TezRecordFields.h"

// The product and user configurations hold many plain settings. Each class lists them once, in
// a table macro of rows X(Name, Kind[, Section]); these macros turn a row into the member of
// the class's settings struct and into its Get<Name>/Set<Name> accessors, and the classes' own
// code walks the same table to store, read and copy the settings under the name "<Name>".
//
// Kinds: Switch (int, nonzero is on), Number (uint32_t), Port (uint16_t), Time (uint64_t),
// Text (a fixed text of SCA_TEZ_TEXT_SIZE bytes) and Version (a Text whose setter is named
// Get<Name>(const char*), as callers know it). Text setters cut what does not fit on a UTF-8
// character boundary and never write past the field; a null text empties it. Text getters
// return the field itself, writable through a non-const object.

#define SCA_TEZ_SETTING_MEMBER(Name, Kind, ...) SCA_TEZ_SETTING_MEMBER_##Kind(Name)
#define SCA_TEZ_SETTING_MEMBER_Switch(Name) int Name = 0;
#define SCA_TEZ_SETTING_MEMBER_Number(Name) uint32_t Name = 0;
#define SCA_TEZ_SETTING_MEMBER_Port(Name) uint16_t Name = 0;
#define SCA_TEZ_SETTING_MEMBER_Time(Name) uint64_t Name = 0;
#define SCA_TEZ_SETTING_MEMBER_Text(Name) char Name[SCA_TEZ_TEXT_SIZE] = {};
#define SCA_TEZ_SETTING_MEMBER_Version(Name) char Name[SCA_TEZ_TEXT_SIZE] = {};

// Accessors of m_Settings.<Name>, for use inside the class body.
#define SCA_TEZ_SETTING_ACCESSORS(Name, Kind, ...) SCA_TEZ_SETTING_ACCESSORS_##Kind(Name)
#define SCA_TEZ_SETTING_VALUE_ACCESSORS(Name, Type)                                                \
    Type Get##Name() const {                                                                       \
        return m_Settings.Name;                                                                    \
    }                                                                                              \
    void Set##Name(Type value) {                                                                   \
        m_Settings.Name = value;                                                                   \
    }
#define SCA_TEZ_SETTING_ACCESSORS_Switch(Name) SCA_TEZ_SETTING_VALUE_ACCESSORS(Name, int)
#define SCA_TEZ_SETTING_ACCESSORS_Number(Name) SCA_TEZ_SETTING_VALUE_ACCESSORS(Name, uint32_t)
#define SCA_TEZ_SETTING_ACCESSORS_Port(Name) SCA_TEZ_SETTING_VALUE_ACCESSORS(Name, uint16_t)
#define SCA_TEZ_SETTING_ACCESSORS_Time(Name) SCA_TEZ_SETTING_VALUE_ACCESSORS(Name, uint64_t)
#define SCA_TEZ_SETTING_TEXT_GETTERS(Name)                                                         \
    const char* Get##Name() const {                                                                \
        return m_Settings.Name;                                                                    \
    }                                                                                              \
    char* Get##Name() {                                                                            \
        return m_Settings.Name;                                                                    \
    }
#define SCA_TEZ_SETTING_ACCESSORS_Text(Name)                                                       \
    SCA_TEZ_SETTING_TEXT_GETTERS(Name)                                                             \
    void Set##Name(const char* text) {                                                             \
        SCA_StrnCpy(m_Settings.Name, text, sizeof(m_Settings.Name));                               \
    }
#define SCA_TEZ_SETTING_ACCESSORS_Version(Name)                                                    \
    SCA_TEZ_SETTING_TEXT_GETTERS(Name)                                                             \
    void Get##Name(const char* text) {                                                             \
        SCA_StrnCpy(m_Settings.Name, text, sizeof(m_Settings.Name));                               \
    }
