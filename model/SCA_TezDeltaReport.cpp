// SPDX-License-Identifier: MIT
#include "model/SCA_TezDeltaReport.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "libmor/SCA_String.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"

namespace {

constexpr uint32_t kFirstCounterId = 1;
constexpr double kPercent = 100.0;
constexpr int kPercentDecimals = 1;
constexpr const char* kNoChange = "---";

tagSCA_DELTA_COUNTER_DATA DataOf(const SCA_TezCounter& counter) {
    tagSCA_DELTA_COUNTER_DATA data{};
    data.ValueCount = counter.GetValueCount();
    data.RepStatus = counter.GetRepStatus();
    if (data.ValueCount > 0) {
        data.Average = counter.GetAverageValue();
        data.Minimum = counter.GetMinValue();
        data.Maximum = counter.GetMaxValue();
    }
    return data;
}

// The sign a change is shown with: none when what is shown of it is nothing but zeros.
const char* SignOf(double value, const char* shown) {
    const bool nothing = std::strpbrk(shown, "123456789") == nullptr;
    return nothing ? "" : (value < 0 ? "-" : "+");
}

// "+12.5%", "-3.0%", in the C locale.
void FormatPercent(double value, char* buf, size_t size) {
    char digits[SCA_TEZ_DELTA_TEXT_SIZE];
    const auto result = std::to_chars(digits, digits + sizeof(digits), std::fabs(value),
                                      std::chars_format::fixed, kPercentDecimals);
    const std::string magnitude(digits, result.ptr);
    const std::string text = SignOf(value, magnitude.c_str()) + magnitude + "%";
    SCA_StrnCpy(buf, text.c_str(), size);
}

// "+1.50 MB/s": the change as the counter type shows its values, with its sign.
void FormatChange(uint32_t counterType, double delta, char* buf, uint32_t size) {
    char value[SCA_TEZ_DELTA_TEXT_SIZE];
    SCA_TezBuildValueString(counterType, std::fabs(delta), value, sizeof(value), 0);
    SCA_StrnCpy(buf, (SignOf(delta, value) + std::string(value)).c_str(), size);
}

// A counter of one report, with its figures in the given report's block.
SCA_TezDeltaCounter* NewDelta(const SCA_TezCounter& counter, bool inFirst) {
    auto* delta = new (std::nothrow) SCA_TezDeltaCounter();
    if (delta != nullptr) {
        delta->SetCounterType(counter.GetCounterType());
        delta->SetInstance(counter.GetInstance());
        *(inFirst ? delta->GetCounterData1() : delta->GetCounterData2()) = DataOf(counter);
    }
    return delta;
}

// A counter that cannot be compared: listed, never a change.
void SetNotCompared(SCA_TezDeltaCounter* delta, uint32_t icon) {
    delta->SetDeltaIcon(icon);
    delta->SetRepStatus(SCA_REP_STATUS_MESSAGE);
    delta->SetValueDeltaString(kNoChange);
    delta->SetRelDeltaString(kNoChange);
}

bool SameInstance(const char* a, const char* b) {
    return std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "") == 0;
}

} // namespace

SCA_TezDeltaReport::SCA_TezDeltaReport()
    : SCA_OwnerList<SCA_TezDeltaCounter>(kFirstCounterId), m_Summary("Summary", nullptr) {
    if (m_Summary.IsConstructed()) {
        SetConstructed();
    }
}

void SCA_TezDeltaReport::SetReportTitle(const char* title) {
    SCA_StrnCpy(m_ReportTitle, title, sizeof(m_ReportTitle));
}

int SCA_TezDeltaReport::GetCounter(uint32_t id, SCA_TezDeltaCounter** counter) const {
    return GetItem(id, counter);
}

int SCA_TezDeltaReport::GetCounterByType(uint32_t type, const char* instance,
                                         SCA_TezDeltaCounter** counter) const {
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezDeltaCounter* candidate = node->GetItem();
        if (candidate != nullptr && candidate->GetCounterType() == type &&
            SameInstance(candidate->GetInstance(), instance)) {
            *counter = candidate;
            return 1;
        }
    }
    return 0;
}

int SCA_TezDeltaReport::AddCounter(SCA_TezDeltaCounter* counter) {
    uint32_t id = kNoId;
    if (counter == nullptr || !AddItemToTail(counter, &id)) {
        SCA_Object::Destroy(counter);
        return 0;
    }
    counter->SetCounterId(id);
    return 1;
}

bool SCA_TezDeltaReport::Rate(SCA_TezDeltaCounter* counter) {
    const tagSCA_DELTA_COUNTER_DATA& first = *counter->GetCounterData1();
    const tagSCA_DELTA_COUNTER_DATA& second = *counter->GetCounterData2();
    if (first.ValueCount == 0 || second.ValueCount == 0) {
        SetNotCompared(counter, SCA_TEZ_DELTA_NO_VALUES);
        return false;
    }
    const double delta = second.Average - first.Average;
    double relative = 0.0;
    if (delta != 0.0) {
        relative = first.Average != 0.0 ? delta / std::fabs(first.Average) * kPercent
                                        : std::copysign(INFINITY, delta);
    }
    counter->SetValueDelta(delta);
    counter->SetRelDelta(relative);
    counter->SetDeltaIcon(delta > 0 ? SCA_TEZ_DELTA_UP
                                    : (delta < 0 ? SCA_TEZ_DELTA_DOWN : SCA_TEZ_DELTA_SAME));
    char text[SCA_TEZ_DELTA_TEXT_SIZE];
    FormatChange(counter->GetCounterType(), delta, text, sizeof(text));
    counter->SetValueDeltaString(delta != 0.0 ? text : kNoChange);
    if (std::isfinite(relative)) {
        FormatPercent(relative, text, sizeof(text));
        counter->SetRelDeltaString(delta != 0.0 ? text : kNoChange);
    } else {
        counter->SetRelDeltaString(kNoChange);
    }
    const double size = std::fabs(relative);
    if (delta != 0.0 && size >= m_MajorThreshold) {
        counter->SetRepStatus(SCA_REP_STATUS_ERROR);
        ++m_MajorChanges;
    } else if (delta != 0.0 && size >= m_MinorThreshold) {
        counter->SetRepStatus(SCA_REP_STATUS_WARNING);
        ++m_MinorChanges;
    } else {
        counter->SetRepStatus(SCA_REP_STATUS_MESSAGE);
    }
    return true;
}

int SCA_TezDeltaReport::Compare(SCA_TezReport* first, SCA_TezReport* second, uint32_t majorPercent,
                                uint32_t minorPercent) {
    if (first == nullptr || second == nullptr) {
        return 0;
    }
    ClearAll();
    m_ReportInfo1 = *first;
    m_ReportInfo2 = *second;
    m_MajorThreshold = majorPercent;
    m_MinorThreshold = minorPercent;
    m_MajorChanges = 0;
    m_MinorChanges = 0;
    // Each counter of the second report pairs with one of the first at most: duplicates pair
    // in order.
    std::vector<const SCA_TezCounter*> unpaired;
    for (auto* node = second->GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetItem() != nullptr) {
            unpaired.push_back(node->GetItem());
        }
    }
    uint32_t compared = 0;
    uint32_t firstOnly = 0;
    for (auto* node = first->GetCounterList()->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounter* counter = node->GetItem();
        if (counter == nullptr) {
            continue;
        }
        SCA_TezDeltaCounter* delta = NewDelta(*counter, true);
        if (delta == nullptr) {
            return 0;
        }
        const SCA_TezCounter* pair = nullptr;
        for (auto other = unpaired.begin(); other != unpaired.end(); ++other) {
            if ((*other)->GetCounterType() == counter->GetCounterType() &&
                SameInstance((*other)->GetInstance(), counter->GetInstance())) {
                pair = *other;
                unpaired.erase(other);
                break;
            }
        }
        if (pair != nullptr) {
            *delta->GetCounterData2() = DataOf(*pair);
            compared += Rate(delta) ? 1 : 0;
        } else {
            SetNotCompared(delta, SCA_TEZ_DELTA_FIRST_ONLY);
            ++firstOnly;
        }
        if (!AddCounter(delta)) {
            return 0;
        }
    }
    for (const SCA_TezCounter* counter : unpaired) {
        SCA_TezDeltaCounter* delta = NewDelta(*counter, false);
        if (delta == nullptr) {
            return 0;
        }
        SetNotCompared(delta, SCA_TEZ_DELTA_SECOND_ONLY);
        if (!AddCounter(delta)) {
            return 0;
        }
    }
    m_RepStatus = m_MajorChanges > 0   ? SCA_REP_STATUS_ERROR
                  : m_MinorChanges > 0 ? SCA_REP_STATUS_WARNING
                                       : SCA_REP_STATUS_MESSAGE;
    return WriteSummary(compared, firstOnly, static_cast<uint32_t>(unpaired.size()));
}

int SCA_TezDeltaReport::WriteSummary(uint32_t compared, uint32_t firstOnly, uint32_t secondOnly) {
    m_Summary.Clear();
    return m_Summary.AddField("Counters", Count()) && m_Summary.AddField("Compared", compared) &&
                   m_Summary.AddField("MajorChanges", m_MajorChanges) &&
                   m_Summary.AddField("MinorChanges", m_MinorChanges) &&
                   m_Summary.AddField("FirstOnly", firstOnly) &&
                   m_Summary.AddField("SecondOnly", secondOnly) &&
                   m_Summary.AddField("MajorThreshold", m_MajorThreshold) &&
                   m_Summary.AddField("MinorThreshold", m_MinorThreshold)
               ? 1
               : 0;
}
