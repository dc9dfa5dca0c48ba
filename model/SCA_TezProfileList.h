// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezProfile.h"
#include "model/SCA_TezRecordList.h"

// The user's profiles. Each item is named by its profile's name (names are unique, exact and
// case-sensitive) and its id is the profile id. The list owns its profiles; not copyable.
class SCA_TezProfileList : public SCA_TezRecordList<SCA_TezProfile> {
public:
    SCA_TezProfileList() : SCA_TezRecordList("SCA_TezProfileList", "profiles") {}
    ~SCA_TezProfileList() override = default;

    // By list item id; out untouched when none matches.
    int GetProfile(uint32_t id, SCA_TezProfile** profile) const { return GetItem(id, profile); }
    int IsProfileExists(uint32_t id) const { return GetListItem(id) != nullptr ? 1 : 0; }
    // By name; a null name finds nothing and an unnamed item never matches.
    int GetProfile(const char* name, SCA_TezProfile** profile) const {
        return GetItem(name, profile);
    }
    int IsProfileExists(const char* name) const { return IsItemExists(name); }

    // A new empty profile of that name (cut to 255 bytes), at the tail; its id is the item id.
    // 0 for a null or empty name, a name already used, or an allocation failure (reported).
    int AddProfile(const char* name, SCA_TezProfile** profile);
    // A copy of the named profile (counters and conditions included) under newName.
    int CopyProfile(const char* name, const char* newName, uint32_t* newId);
    // Gives the named profile another name that no other profile has.
    int RenameProfile(const char* oldName, const char* newName);
    int DeleteProfile(uint32_t id) { return DeleteRecord(id); }
    // Destroys every profile; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }

protected:
    SCA_TezProfile* NewRecord() const override { return new (std::nothrow) SCA_TezProfile(); }
    const char* GetRecordName(const SCA_TezProfile& profile) const override {
        return profile.GetProfileName();
    }

private:
    // Lists profile under its own name and stamps its id; on failure the caller keeps it.
    int Append(SCA_TezProfile* profile, uint32_t* id);
    // A name a new or renamed profile may take: not empty and not used (after cutting).
    int IsNameFree(const char* name, const char* context) const;
};
