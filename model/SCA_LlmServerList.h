// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>

#include "model/SCA_LlmServer.h"
#include "model/SCA_TezRecordList.h"

// The user's language-model servers. Item ids are server ids, handed out by the list and never
// twice. The list owns its servers; not copyable.
class SCA_LlmServerList : public SCA_TezRecordList<SCA_LlmServer> {
public:
    SCA_LlmServerList() : SCA_TezRecordList("SCA_LlmServerList", "language-model servers") {}
    ~SCA_LlmServerList() override = default;

    // By server id; out untouched when none matches.
    int GetServer(uint32_t id, SCA_LlmServer** out) const { return GetItem(id, out); }

    // Appends server, which the list owns from then on, under a new id that becomes its server
    // id. On failure the caller keeps it.
    int AddServer(SCA_LlmServer* server, uint32_t* id) {
        return AddRecord(server, nullptr, id, &SCA_LlmServer::SetServerId);
    }
    int DeleteServer(uint32_t id) { return DeleteRecord(id); }
    // Destroys every server; ids already handed out are not handed out again.
    void ClearAll() { ClearRecords(); }

protected:
    SCA_LlmServer* NewRecord() const override { return new (std::nothrow) SCA_LlmServer(); }
    // A stored server answers to the id it is listed under, whatever its own field says.
    void RecordsRead() override {
        for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
            node->GetItem()->SetServerId(node->GetId());
        }
    }
};
