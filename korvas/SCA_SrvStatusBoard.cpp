// SPDX-License-Identifier: MIT
#include "korvas/SCA_SrvStatusBoard.h"

#include <utility>

#include "libmor/SCA_Report.h"

std::shared_ptr<const SCA_SrvStatusBoard::Snapshot> SCA_SrvStatusBoard::Ready(uint64_t generation) {
    std::shared_lock<std::shared_mutex> hold(m_Lock);
    return m_CurrentGeneration == generation ? m_Current : nullptr;
}

std::shared_ptr<const SCA_SrvStatusBoard::Snapshot>
SCA_SrvStatusBoard::Take(const Collect& collect) {
    if (auto ready = Ready(GetGeneration())) {
        return ready;
    }
    std::lock_guard<std::mutex> collecting(m_CollectLock);
    // Another request may have collected while this one waited.
    if (auto ready = Ready(GetGeneration())) {
        return ready;
    }
    auto snapshot = std::make_shared<Snapshot>();
    uint64_t generation = 0;
    if (!collect(&m_Collected, &snapshot->Counts, &generation)) {
        return nullptr;
    }
    snapshot->Rows = Encode(m_Collected);
    if (snapshot->Rows == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::shared_mutex> hold(m_Lock);
    m_Current = snapshot;
    m_CurrentGeneration = generation;
    return snapshot;
}

std::shared_ptr<const std::string>
SCA_SrvStatusBoard::Encode(const std::vector<SCA_KorvantaMonitorRow>& rows) {
    auto bytes = std::make_shared<std::string>();
    std::unordered_map<uint32_t, EncodedRow> encoded;
    encoded.reserve(rows.size());
    for (const SCA_KorvantaMonitorRow& row : rows) {
        auto known = m_Encoded.find(row.MonitorId);
        EncodedRow next;
        if (known != m_Encoded.end() && known->second.Row == row) {
            next = std::move(known->second);
        } else {
            next.Row = row;
            if (!row.Encode(&next.Bytes)) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "SCA_SrvStatusBoard: cannot encode the status of monitor %u",
                    row.MonitorId);
                return nullptr;
            }
        }
        bytes->append(next.Bytes);
        encoded.emplace(row.MonitorId, std::move(next));
    }
    m_Encoded.swap(encoded);
    return bytes;
}
