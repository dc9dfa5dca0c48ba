// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "libtez/SCA_KorvantaMonitorRow.h"

// The counts of GetStatusEx's "ServerStatus" that the monitors give, of the same moment as the
// rows.
struct tagSCA_SRV_STATUS_COUNTS {
    uint32_t MonitorsStatusId = 0;
    uint32_t MonitorCount = 0;
    uint32_t ActiveMonitors = 0;
    uint32_t FailedMonitors = 0;
    uint32_t MonitorErrors = 0;
    uint32_t MonitorWarnings = 0;
    bool operator==(const tagSCA_SRV_STATUS_COUNTS&) const = default;
};

// What GetStatusEx answers about the monitors. Every client asks for it each second, and
// between two changes (a sample that moved a count, an operation on a monitor) it stays the
// same: so the rows are encoded when they change, kept, and each request takes the ready bytes
// of all rows under a short lock, however many clients ask at once.
//
// Whatever may change a row or a count calls Touch afterwards (SCA_SrvStatusLock does for the
// locks that guard the monitors and their runs; the sampling threads do when a count moved).
// The next Take then collects the rows again, in one pass under the owner's lock, and encodes
// the rows that differ from the last ones; concurrent Takes wait for that one collection.
class SCA_SrvStatusBoard {
public:
    struct Snapshot {
        tagSCA_SRV_STATUS_COUNTS Counts;
        // The rows' byte forms (SCA_KorvantaMonitorRow::Encode), in the monitor list's order.
        std::shared_ptr<const std::string> Rows;
    };
    // Fills the rows and counts of the present moment and the generation read with them (under
    // the same lock as the data, which the touching locks release only after a Touch). 0 when
    // it cannot.
    using Collect = std::function<int(std::vector<SCA_KorvantaMonitorRow>* rows,
                                      tagSCA_SRV_STATUS_COUNTS* counts, uint64_t* generation)>;

    void Touch() { m_Generation.fetch_add(1, std::memory_order_acq_rel); }
    uint64_t GetGeneration() const { return m_Generation.load(std::memory_order_acquire); }

    // The rows and counts as they stand: the last snapshot when nothing was touched since it
    // was collected, else a new one (collect is called). Null, reported, when a row cannot be
    // collected or encoded.
    std::shared_ptr<const Snapshot> Take(const Collect& collect);

private:
    struct EncodedRow {
        SCA_KorvantaMonitorRow Row;
        std::string Bytes;
    };

    // The snapshot of that generation, or null.
    std::shared_ptr<const Snapshot> Ready(uint64_t generation);
    // Encodes the rows, reusing the bytes of those unchanged since the last collection.
    std::shared_ptr<const std::string> Encode(const std::vector<SCA_KorvantaMonitorRow>& rows);

    std::atomic<uint64_t> m_Generation{1};
    // Guards the two below, held only to look at (shared: the requests of many clients at once
    // do not wait on each other) or to replace them.
    std::shared_mutex m_Lock;
    std::shared_ptr<const Snapshot> m_Current;
    uint64_t m_CurrentGeneration = 0;
    // One collection at a time; the rest wait for its snapshot. Guards the members below.
    std::mutex m_CollectLock;
    std::vector<SCA_KorvantaMonitorRow> m_Collected;
    std::unordered_map<uint32_t, EncodedRow> m_Encoded;
};
