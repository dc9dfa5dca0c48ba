// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "model/SCA_DiskVolume.h"
#include "model/SCA_OwnerList.h"

// The volumes of a computer, each named by its path. The list owns its volumes.
class SCA_DiskVolumeList : public SCA_OwnerList<SCA_DiskVolume> {
public:
    SCA_HEAP_OPERATORS

    SCA_DiskVolumeList() = default;
    ~SCA_DiskVolumeList() override = default;

    // Appends volume (owned from then on), named by its path. 0 when it cannot be linked in;
    // the caller then still owns it.
    int AddDiskVolume(SCA_DiskVolume* volume) {
        return volume != nullptr && AddItemToTail(volume, volume->GetPath()) ? 1 : 0;
    }
    // The volume with exactly that path; 0 with *volume untouched when there is none.
    int GetDiskVolume(const char* path, SCA_DiskVolume** volume) const {
        return GetItem(path, volume);
    }
};
