// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "model/SCA_ExeModule.h"
#include "model/SCA_OwnerList.h"

class SCA_ConfigObj;

// The executable modules of a process, each named by its module name. The list owns its
// modules.
class SCA_ExeModuleList : public SCA_OwnerList<SCA_ExeModule> {
public:
    SCA_HEAP_OPERATORS

    // The mode is kept for the module reader (0: an empty list to be filled).
    explicit SCA_ExeModuleList(int mode = 0) : m_Mode(mode) {}
    ~SCA_ExeModuleList() override = default;

    int GetMode() const { return m_Mode; }

    // Appends module (owned from then on) under its id, named by its module name. 0 when it
    // cannot be linked in; the caller then still owns it.
    int AddModule(SCA_ExeModule* module);
    // The module with exactly that name; 0 with *module untouched when there is none.
    int GetModule(const char* name, SCA_ExeModule** module) const { return GetItem(name, module); }

    // One child object per module, in order.
    int Serialize(SCA_ConfigObj* object) const { return SerializeRecords(object); }
    // Replaces the modules with those of every child object. On failure the list holds the
    // modules read so far.
    int Deserialize(SCA_ConfigObj* object);

private:
    int m_Mode;
};
