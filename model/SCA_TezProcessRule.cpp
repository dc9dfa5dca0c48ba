// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessRule.h"

#include <iterator>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

// Rule type -> counter type: CPU usage, memory used, threads, handles, data, read and write
// rates, page fault rate, nonpaged pool.
constexpr uint32_t kRuleCounterTypes[] = {43, 46, 48, 47, 51, 53, 55, 114, 87};

} // namespace

void SCA_TezProcessRule::SetProcessName(const char* name) {
    SCA_StrnCpy(m_ProcessName, name, sizeof(m_ProcessName));
}

uint32_t SCA_TezProcessRule::GetCounterType() const {
    return m_RuleType < std::size(kRuleCounterTypes) ? kRuleCounterTypes[m_RuleType] : SCA_ALL_ONES;
}

int SCA_TezProcessRule::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    WriteCondFields(&writer);
    writer.Put("RuleId", m_RuleId);
    writer.Put("RuleType", m_RuleType);
    writer.Put("ProcessName", m_ProcessName);
    writer.Put("LastRepStatus", m_LastRepStatus);
    writer.Put("RuleLastActionTime", m_RuleLastActionTime);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_TezProcessRule::Serialize: "
                                                                   "cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_TezProcessRule::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_TezProcessRule read(*this);
    read.ReadCondFields(&reader);
    reader.Get("RuleId", &read.m_RuleId);
    reader.Get("RuleType", &read.m_RuleType);
    reader.Get("ProcessName", read.m_ProcessName, sizeof(read.m_ProcessName));
    reader.Get("LastRepStatus", &read.m_LastRepStatus);
    reader.Get("RuleLastActionTime", &read.m_RuleLastActionTime);
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezProcessRule::Deserialize: "
                                                  "invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
