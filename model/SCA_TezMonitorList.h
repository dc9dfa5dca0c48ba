// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezMonitor.h"
#include "model/SCA_TezRecordList.h"

// The monitor entries of the user configuration. The list owns its entries; not copyable.
class SCA_TezMonitorList : public SCA_TezRecordList<SCA_TezMonitor> {
public:
    SCA_TezMonitorList() : SCA_TezRecordList("SCA_TezMonitorList", "monitors") {}
    ~SCA_TezMonitorList() override = default;

    // By list item id; out untouched when none matches.
    int GetMonitor(uint32_t id, SCA_TezMonitor** monitor) const { return GetItem(id, monitor); }

    // Appends monitor, which the list owns from then on, under the next item id; the entry's
    // monitor id becomes that id. On failure the caller keeps monitor.
    int AddMonitor(SCA_TezMonitor* monitor, uint32_t* id) {
        return AddRecord(monitor, nullptr, id, &SCA_TezMonitor::SetMonitorId);
    }
    int DeleteMonitor(uint32_t id) { return DeleteRecord(id); }
    // Destroys every entry; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }

protected:
    SCA_TezMonitor* NewRecord() const override { return new (std::nothrow) SCA_TezMonitor(); }
};
