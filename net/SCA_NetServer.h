// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "libmor/SCA_Report.h"
#include "net/SCA_NameHashTable.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_VirtualCmdServer.h"

// The command server: binds command names to member-function handlers of an owner T and
// dispatches each request to the handler registered under its name (exact, case-sensitive).
//
// T derives from SCA_NetServer<T> and passes itself as the owner. Its constructor registers its
// commands and then calls StartDispatch: the listener is bound here, but no connection is
// served before the owner is complete. Its destructor calls StopAll first, so that no event or
// handler reaches a half-destroyed owner. T overrides ConnectEvent and DisconnectEvent (checked
// when this constructor is compiled) and offers a public uint32_t GetLoginMode().
//
// The command table has no lock: it is filled before StartDispatch and only read afterwards.
template <typename T>
class SCA_NetServer : public SCA_VirtualCmdServer {
public:
    using Handler = int (T::*)(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*);

    // Binds and listens on port (0: the kernel chooses). The flag is 1 only when listening;
    // *error then holds nothing new, else the platform's code.
    SCA_NetServer(T* owner, const char* version, uint16_t port, uint32_t* error)
        : SCA_VirtualCmdServer(version, port, error) {
        // The forwarding versions below would call themselves without end for an owner that
        // does not replace them.
        static_assert(
            !std::is_same_v<decltype(&T::ConnectEvent), decltype(&SCA_NetServer<T>::ConnectEvent)>,
            "the owner must override ConnectEvent");
        static_assert(!std::is_same_v<decltype(&T::DisconnectEvent),
                                      decltype(&SCA_NetServer<T>::DisconnectEvent)>,
                      "the owner must override DisconnectEvent");
        if (!IsConstructed()) {
            return;
        }
        SetConstructed(0);
        m_Owner = owner;
        if (SCA_VirtualCmdServer::Lock(error)) {
            SetConstructed();
        }
    }

    ~SCA_NetServer() override { StopForDestruction(); }

    SCA_NetServer(const SCA_NetServer&) = delete;
    SCA_NetServer& operator=(const SCA_NetServer&) = delete;

    // 1 when added (a name registered twice is dispatched to the first); 1 without
    // registering for a null name; 0 for a null handler.
    int RegisterCommand(const char* name, Handler handler) {
        if (handler == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Invalid callback function !!!");
            return 0;
        }
        if (name == nullptr) {
            return 1;
        }
        SCA_List<Handler>* bucket = m_Commands.CreateBucket(Table::Hash(name));
        if (bucket == nullptr) {
            return 1;
        }
        if (!bucket->AddItemToTail(handler, name)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_NetServer::RegisterCommand: cannot register %s", name);
            return 0;
        }
        return 1;
    }

    // The handler's result, or 0 (reply untouched) when no handler has the request's name.
    int DoCommand(SCA_NetServerAgent* connection, SCA_NetMessage* request,
                  SCA_NetMessage* reply) override {
        if (request == nullptr || m_Owner == nullptr) {
            return 0;
        }
        const char* name = request->GetCommandName();
        const SCA_List<Handler>* bucket = m_Commands.GetBucket(Table::Hash(name));
        for (auto* node = bucket != nullptr ? bucket->GetHead() : nullptr; node != nullptr;
             node = node->GetNext()) {
            const char* candidate = node->GetName();
            if (candidate != nullptr && candidate[0] == name[0] &&
                std::strcmp(candidate, name) == 0) {
                return (m_Owner->*(node->GetItem()))(connection, request, reply);
            }
        }
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Invalid command - %s", name);
        return 0;
    }

    // The owner overrides both; these run only while the owner's part does not exist (during
    // construction or destruction), when forwarding to the owner would land here again.
    int ConnectEvent(SCA_NetServerAgent* connection) override {
        return IsOtherOwner() ? m_Owner->ConnectEvent(connection) : 0;
    }
    int DisconnectEvent(SCA_NetServerAgent* connection) override {
        return IsOtherOwner() ? m_Owner->DisconnectEvent(connection) : 0;
    }

    uint32_t GetServerLoginMode() override {
        return m_Owner != nullptr ? m_Owner->GetLoginMode() : 0;
    }

    using Table = SCA_NameHashTable<Handler>;
    const Table* GetCommandTable() const { return &m_Commands; }

private:
    bool IsOtherOwner() const {
        return m_Owner != nullptr && static_cast<const SCA_NetServer<T>*>(m_Owner) != this;
    }

    T* m_Owner = nullptr;
    Table m_Commands;
};
