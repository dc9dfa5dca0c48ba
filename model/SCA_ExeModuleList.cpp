// SPDX-License-Identifier: MIT
#include "model/SCA_ExeModuleList.h"

int SCA_ExeModuleList::AddModule(SCA_ExeModule* module) {
    return module != nullptr && AddItemToTail(module, module->GetModuleName(), module->GetId()) ? 1
                                                                                                : 0;
}

int SCA_ExeModuleList::Deserialize(SCA_ConfigObj* object) {
    return DeserializeRecords(object, [this](SCA_ExeModule* module) { return AddModule(module); });
}
