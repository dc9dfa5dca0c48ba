// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>

#include "model/SCA_SrvConnect.h"
#include "model/SCA_TezRecordList.h"

// The services the client has connected to, in the order the user keeps them. Each item is
// named by its computer name as stored (cut to its 64-byte field), so that a name shown to the
// user finds its server; one host is listed once. The list owns its records; not copyable.
class SCA_SrvConnectList : public SCA_TezRecordList<SCA_SrvConnect> {
public:
    SCA_SrvConnectList() : SCA_TezRecordList("SCA_SrvConnectList", "known servers") {}
    ~SCA_SrvConnectList() override = default;

    // By name: exact and case-sensitive; out untouched when none matches.
    int GetConnect(const char* name, SCA_SrvConnect** out) const { return GetItem(name, out); }

    // Remembers a server. A host already listed keeps its place and takes the new user,
    // password and port; a new one goes to the tail. 0 (reported) for a null or empty host or
    // when it cannot be added.
    int AddConnect(const char* computer, const char* user, const char* password, uint16_t port);
    // Forgets the server of that host; 0 when none is listed.
    int DeleteConnect(const char* computer);
    void ClearAll() { ClearRecords(); }

protected:
    SCA_SrvConnect* NewRecord() const override { return new (std::nothrow) SCA_SrvConnect(); }
    const char* GetRecordName(const SCA_SrvConnect& record) const override {
        return record.GetComputerNameA();
    }
};
