// SPDX-License-Identifier: MIT
// The self-test of the monitoring core, kept by the control object from its start until a
// client deletes it, and the device's network session.
//
// The self-test object is taken and replaced under the data lock, but used and destroyed
// outside it: its destruction joins the test thread, which must never happen while the lists
// are locked.
#include <new>
#include <utility>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libkvn/SCA_KorvantaNetInterface.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_TezSelfTest.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

std::shared_ptr<SCA_TezSelfTest> Share(SCA_TezSelfTest* test) {
    return std::shared_ptr<SCA_TezSelfTest>(
        test, [](SCA_TezSelfTest* owned) { SCA_Object::Destroy(owned); });
}

} // namespace

void SCA_KorvantaCtrl::SetSelfTestHook(SelfTestHook hook) {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    m_SelfTestHook = std::move(hook);
}

int SCA_KorvantaCtrl::StartSelfTest(uint32_t mode, uint32_t* started, char* text, uint32_t size) {
    *started = 0;
    if (GetActiveMonitors() != 0) {
        SCA_StrnCpy(text, "Cannot start self-test, one or more monitors are active.", size);
        return 1;
    }
    std::shared_ptr<SCA_TezSelfTest> test;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        if (m_SelfTest) {
            SCA_StrnCpy(text, "Korvanta self-test is already active.", size);
            return 1;
        }
        auto* created = new (std::nothrow) SCA_TezSelfTest(&m_Config, &m_UserConfig, &m_Params);
        if (created == nullptr || !created->IsConstructed()) {
            SCA_Object::Destroy(created);
            SCA_StrnCpy(text, "Cannot create Korvanta self-test object", size);
            return 1;
        }
        test = Share(created);
        if (m_SelfTestHook) {
            m_SelfTestHook(created);
        }
        // Kept at once, so that a second start on another connection is refused.
        m_SelfTest = test;
    }
    const char* failure = nullptr;
    if (!test->Init(mode)) {
        failure = "Cannot initialize Korvanta self-test";
    } else if (!test->StartProcess()) {
        failure = "Cannot start Korvanta self-test";
    }
    if (failure != nullptr) {
        {
            std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
            if (m_SelfTest == test) {
                m_SelfTest.reset();
            }
        }
        SCA_StrnCpy(text, failure, size);
        return 1;
    }
    SCA_StrnCpy(text, "Korvanta self-test started ...", size);
    *started = 1;
    return 1;
}

int SCA_KorvantaCtrl::GetSelfTestStatus(uint32_t* progress, uint32_t* status, char* text,
                                        uint32_t size) {
    std::shared_ptr<SCA_TezSelfTest> test;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        test = m_SelfTest;
    }
    if (!test) {
        SCA_StrnCpy(text, "Korvanta self-test is not active.", size);
        *status = SCA_PROCESS_IDLE;
        return 1;
    }
    *status = test->GetProcessStatus();
    *progress = test->GetProgress();
    test->CopyStatusString(text, size);
    return 1;
}

int SCA_KorvantaCtrl::GetSelfTestLog(SCA_ConfigObj* log) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::shared_ptr<SCA_TezSelfTest> test;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        test = m_SelfTest;
    }
    if (!test) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetSelfTestLog: self-test is not active");
        return 0;
    }
    if (!test->SerializeLog(log)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::GetSelfTestLog: cannot serialize self-test log");
        return 0;
    }
    return 1;
}

int SCA_KorvantaCtrl::DeleteSelfTest() {
    std::shared_ptr<SCA_TezSelfTest> test;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        test.swap(m_SelfTest);
    }
    // Released here, outside the lock (a reader still using it releases it last).
    test.reset();
    return 1;
}

void SCA_KorvantaCtrl::KeepNetworkSession(SCA_KorvantaNetInterface* netInterface) {
    CloseNetworkSession();
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    m_NetInterface = netInterface;
}

int SCA_KorvantaCtrl::HasNetworkSession() {
    std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
    return m_NetInterface != nullptr ? 1 : 0;
}

void SCA_KorvantaCtrl::CloseNetworkSession() {
    SCA_KorvantaNetInterface* session = nullptr;
    uint32_t deviceId = SCA_ALL_ONES;
    {
        std::lock_guard<SCA_SrvDataLock> hold(m_DataLock);
        std::swap(session, m_NetInterface);
        deviceId = static_cast<uint32_t>(m_UserConfig.GetDeviceId());
    }
    if (session == nullptr) {
        return;
    }
    // A network server that does not answer any more still loses the session here.
    session->DeviceLogout(deviceId);
    delete session;
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO,
                                              "Disconnected from the Korvanta Network");
}
