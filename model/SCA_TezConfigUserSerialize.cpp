// SPDX-License-Identifier: MIT
// The stored form of the user configuration: settings, lists and objects, and the keyboard
// shortcuts on their own.
#include <cstring>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezSettingReader.h"

namespace {

// The shortcuts' stored form: one child per shortcut, numbered in order.
constexpr const char* kShortcuts = "Shortcuts";
// The command id that stands for every shortcut.
constexpr uint32_t kEveryCommand = SCA_ALL_ONES;

// A list or object of the configuration as it is stored: the child object's name, the mask bit
// it is read under, and how it is written and read.
struct Part {
    const char* Name;
    uint32_t Section;
    int (*Write)(SCA_TezConfigUser* user, SCA_ConfigObj* child);
    int (*Read)(SCA_TezConfigUser* user, SCA_ConfigObj* child);
};

int CopyObject(SCA_ConfigObj* to, SCA_ConfigObj* from) {
    return to->SetContent(from);
}

const Part kParts[] = {
    {"Profiles", SCA_TEZ_USER_PROFILES,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetProfiles()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetProfiles()->Deserialize(c); }},
    {"Monitors", SCA_TEZ_USER_MONITORS,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetMonitors()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetMonitors()->Deserialize(c); }},
    {"Rules", SCA_TEZ_USER_RULES,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetRules()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetRules()->Deserialize(c); }},
    {"ProcessRules", SCA_TEZ_USER_PROC_RULES,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetProcRules()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetProcRules()->Deserialize(c); }},
    {kShortcuts, SCA_TEZ_USER_OPTIONS,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->SerializeShortcuts(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->DeserializeShortcuts(c); }},
    {"AdvancedOptions", SCA_TEZ_USER_OPTIONS,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(c, u->GetAdvancedOptions()); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(u->GetAdvancedOptions(), c); }},
    {"Sounds", SCA_TEZ_USER_OPTIONS,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetSoundList()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetSoundList()->Deserialize(c); }},
    {"RemoteComputers", SCA_TEZ_USER_REMOTE,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(c, u->GetRemoteComputers()); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(u->GetRemoteComputers(), c); }},
    {"RemoteServers", SCA_TEZ_USER_REMOTE,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(c, u->GetRemoteServers()); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return CopyObject(u->GetRemoteServers(), c); }},
    {"KnownServers", SCA_TEZ_USER_CONNECT,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetConnectList()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetConnectList()->Deserialize(c); }},
    {"LlmServers", SCA_TEZ_USER_OPTIONS,
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetLlmServers()->Serialize(c); },
     [](SCA_TezConfigUser* u, SCA_ConfigObj* c) { return u->GetLlmServers()->Deserialize(c); }},
};

} // namespace

int SCA_TezConfigUser::Serialize(SCA_ConfigObj* object) {
    SCA_TezFieldWriter writer(object);
    writer.Put(SCA_TEZ_FILE_TYPE_FIELD, SCA_TEZ_USER_CONFIG_FILE_TYPE);
    writer.Put(SCA_TEZ_PRODUCT_TYPE_FIELD, GetProductType());
#define SCA_TEZ_PUT_SETTING(Name, ...) writer.Put(#Name, m_Settings.Name);
    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_TEZ_PUT_SETTING)
#undef SCA_TEZ_PUT_SETTING
    if (!writer.IsOk() || !WriteLists(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezConfigUser::WriteLists(SCA_ConfigObj* object) {
    for (const Part& part : kParts) {
        SCA_ConfigObj* child = object->AddConfigObj(part.Name);
        if (child == nullptr || !part.Write(this, child)) {
            return 0;
        }
    }
    return 1;
}

int SCA_TezConfigUser::Deserialize(SCA_TezConfig* config, SCA_ConfigObj* object, uint32_t mask) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (object == nullptr || !CheckHeader(config, object)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: not a user configuration");
        return 0;
    }
    SCA_TezConfigUser scratch(config != nullptr ? config : m_Config);
    if (!scratch.IsConstructed() || !scratch.ReadParts(object, mask)) {
        return 0;
    }
    if (m_Config == nullptr) {
        m_Config = config;
    }
    if (!ReadParts(object, mask)) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: configuration read in part");
        PublishSnapshot();
        return 0;
    }
    return PublishSnapshot();
}

int SCA_TezConfigUser::CheckHeader(SCA_TezConfig* config, SCA_ConfigObj* object) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezSettingReader reader(object);
    uint32_t fileType = SCA_TEZ_USER_CONFIG_FILE_TYPE;
    uint32_t productType = SCA_PRODUCT_TYPE_NONE;
    reader.Get(SCA_TEZ_FILE_TYPE_FIELD, &fileType);
    reader.Get(SCA_TEZ_PRODUCT_TYPE_FIELD, &productType);
    const SCA_TezConfig* product = config != nullptr ? config : m_Config;
    const uint32_t expected =
        product != nullptr ? product->GetProductType() : SCA_PRODUCT_TYPE_NONE;
    if (!reader.IsOk() || fileType != SCA_TEZ_USER_CONFIG_FILE_TYPE) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: file type %u is not %u", fileType,
               SCA_TEZ_USER_CONFIG_FILE_TYPE);
        return 0;
    }
    if (productType != SCA_PRODUCT_TYPE_NONE && expected != SCA_PRODUCT_TYPE_NONE &&
        productType != expected) {
        report(SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: product type %u is not %u",
               productType, expected);
        return 0;
    }
    return 1;
}

int SCA_TezConfigUser::ReadParts(SCA_ConfigObj* object, uint32_t mask) {
    return ReadSettings(object, mask) && ReadLists(object, mask) ? 1 : 0;
}

int SCA_TezConfigUser::ReadSettings(SCA_ConfigObj* object, uint32_t mask) {
    SCA_TezSettingReader reader(object);
    Settings read = m_Settings;
#define SCA_TEZ_GET_SETTING(Name, Kind, Section)                                                   \
    if ((mask & (Section)) != 0) {                                                                 \
        reader.Get(#Name, &read.Name);                                                             \
    }
    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_TEZ_GET_SETTING)
#undef SCA_TEZ_GET_SETTING
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: invalid field - %s",
            reader.GetBadField());
        return 0;
    }
    // The file this configuration lives in is its own, whatever the form says.
    if (HasLocation()) {
        std::memcpy(read.ConfigDir, m_Settings.ConfigDir, sizeof(read.ConfigDir));
        std::memcpy(read.ConfigFileName, m_Settings.ConfigFileName, sizeof(read.ConfigFileName));
    }
    m_Settings = read;
    return 1;
}

int SCA_TezConfigUser::ReadLists(SCA_ConfigObj* object, uint32_t mask) {
    SCA_TezSettingReader reader(object);
    for (const Part& part : kParts) {
        if ((mask & part.Section) == 0) {
            continue;
        }
        SCA_ConfigObj* child = reader.GetObject(part.Name);
        if (!reader.IsOk() || (child != nullptr && !part.Read(this, child))) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_TezConfigUser::Deserialize: invalid object - %s", part.Name);
            return 0;
        }
    }
    return 1;
}

int SCA_TezConfigUser::SerializeShortcuts(SCA_ConfigObj* object) const {
    if (!m_Shortcuts.SerializeRecords(object)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::SerializeShortcuts: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezConfigUser::ReadShortcuts(SCA_ConfigObj* object, ShortcutList* list) {
    return list->DeserializeRecords(object, [list](SCA_KeyCommand* shortcut) {
        return list->AddItemToTail(shortcut, shortcut->GetKey());
    });
}

int SCA_TezConfigUser::DeserializeShortcuts(SCA_ConfigObj* object) {
    ShortcutList read;
    if (!ReadShortcuts(object, &read) || !CheckShortcuts(&read, kEveryCommand, 0) ||
        !ReadShortcuts(object, &m_Shortcuts)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_TezConfigUser::DeserializeShortcuts: invalid shortcuts");
        return 0;
    }
    return 1;
}

int SCA_TezConfigUser::ValidateShortcuts(uint32_t commandId, int remove) {
    return CheckShortcuts(&m_Shortcuts, commandId, remove);
}

int SCA_TezConfigUser::CheckShortcuts(ShortcutList* list, uint32_t commandId, int remove) {
    int valid = 1;
    ShortcutList::Item* node = list->GetHead();
    while (node != nullptr) {
        ShortcutList::Item* next = node->GetNext();
        SCA_KeyCommand* shortcut = node->GetItem();
        const bool checked = commandId == kEveryCommand ||
                             (shortcut != nullptr && shortcut->GetCmdId() == commandId);
        if (checked && !IsValidShortcut(*list, node)) {
            valid = 0;
            if (remove) {
                list->DestroyListItem(node);
            }
        }
        node = next;
    }
    return valid;
}

// A shortcut the key handler can find: a described command, a key text that is the node's
// name, and no earlier node with that name.
int SCA_TezConfigUser::IsValidShortcut(const ShortcutList& list, const ShortcutList::Item* node) {
    const SCA_KeyCommand* shortcut = node->GetItem();
    if (shortcut == nullptr || shortcut->GetKey()[0] == '\0' || node->GetName() == nullptr ||
        std::strcmp(node->GetName(), shortcut->GetKey()) != 0 ||
        std::strcmp(GetKeyDescription(shortcut->GetCmdId()), "Invalid Key Id") == 0) {
        return 0;
    }
    for (const ShortcutList::Item* earlier = list.GetHead(); earlier != node;
         earlier = earlier->GetNext()) {
        if (earlier->GetName() != nullptr &&
            std::strcmp(earlier->GetName(), node->GetName()) == 0) {
            return 0;
        }
    }
    return 1;
}
