// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"
#include "model/SCA_TezCond.h"

// A condition of the user's rule list: it carries its own rule id and the counter type it
// applies to.
class SCA_TezRule : public SCA_TezCond {
public:
    SCA_HEAP_OPERATORS

    SCA_TezRule() = default;
    ~SCA_TezRule() override = default;

    SCA_TezRule(const SCA_TezRule&) = default;
    SCA_TezRule& operator=(const SCA_TezRule&) = default;

    uint32_t GetRuleId() const { return m_RuleId; }
    void SetRuleId(uint32_t id) { m_RuleId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }

    int Serialize(SCA_ConfigObj* object) const override;
    int Deserialize(SCA_ConfigObj* object) override;

private:
    uint32_t m_RuleId = SCA_ALL_ONES;
    uint32_t m_CounterType = 0;
};
