// SPDX-License-Identifier: MIT
#include "model/SCA_TezCounterStatus.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounter.h"

namespace {

constexpr char kNoValue = '-';
constexpr int kStatusTokens = 7;
// Room for the shortest exact form of any double.
constexpr size_t kNumberSize = 32;

// Appends value (or "-" without one) and a blank when more follows.
char* PutValue(char* at, char* end, bool hasValue, double value) {
    if (at == nullptr || at >= end) {
        return nullptr;
    }
    if (!hasValue || !std::isfinite(value)) {
        *at = kNoValue;
        return at + 1;
    }
    const auto [stop, error] = std::to_chars(at, end, value);
    return error == std::errc() ? stop : nullptr;
}

char* PutNumber(char* at, char* end, uint32_t value) {
    if (at == nullptr || at >= end) {
        return nullptr;
    }
    const auto [stop, error] = std::to_chars(at, end, value);
    return error == std::errc() ? stop : nullptr;
}

char* PutBlank(char* at, char* end) {
    if (at == nullptr || at >= end) {
        return nullptr;
    }
    *at = ' ';
    return at + 1;
}

bool ReadNumber(std::string_view token, uint32_t* value) {
    const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), *value);
    return !token.empty() && error == std::errc() && stop == token.data() + token.size();
}

bool ReadValue(std::string_view token, bool* hasValue, double* value) {
    if (token.size() == 1 && token[0] == kNoValue) {
        *hasValue = false;
        *value = 0.0;
        return true;
    }
    const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), *value);
    *hasValue = true;
    return !token.empty() && error == std::errc() && stop == token.data() + token.size() &&
           std::isfinite(*value);
}

// Splits text at single blanks into exactly count tokens.
bool SplitTokens(std::string_view text, std::string_view* tokens, int count) {
    for (int i = 0; i < count; ++i) {
        const size_t blank = text.find(' ');
        const bool last = i == count - 1;
        if (last != (blank == std::string_view::npos)) {
            return false;
        }
        tokens[i] = text.substr(0, blank);
        if (tokens[i].empty()) {
            return false;
        }
        text = last ? std::string_view() : text.substr(blank + 1);
    }
    return true;
}

} // namespace

void SCA_TezFillCounterStatus(const SCA_TezCounter& counter, tagSCA_TEZ_COUNTER_STATUS* status) {
    *status = {};
    status->CounterType = counter.GetCounterType();
    status->Status = counter.GetRepStatus();
    status->ValueCount = counter.GetValueCount();
    auto* store = dynamic_cast<SCA_TezSampleStore*>(counter.GetCounterData());
    status->HasCurrent = store != nullptr && store->HasLastValue();
    status->Current = status->HasCurrent ? counter.GetLastValue() : 0.0;
    status->Minimum = counter.GetMinValue();
    status->Maximum = counter.GetMaxValue();
    status->Average = counter.GetAverageValue();
}

int SCA_TezBuildCounterStatus(const tagSCA_TEZ_COUNTER_STATUS& status, char* buf, uint32_t size) {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    char text[4 * kNumberSize + 3 * 11 + kStatusTokens];
    char* end = text + sizeof(text);
    const bool hasValues = status.ValueCount != 0;
    char* at = PutNumber(text, end, status.CounterType);
    at = PutNumber(PutBlank(at, end), end, status.Status);
    at = PutNumber(PutBlank(at, end), end, status.ValueCount);
    at = PutValue(PutBlank(at, end), end, status.HasCurrent, status.Current);
    at = PutValue(PutBlank(at, end), end, hasValues, status.Minimum);
    at = PutValue(PutBlank(at, end), end, hasValues, status.Maximum);
    at = PutValue(PutBlank(at, end), end, hasValues, status.Average);
    const size_t length = at != nullptr ? static_cast<size_t>(at - text) : sizeof(text);
    if (length >= size) {
        buf[0] = '\0';
        return 0;
    }
    std::memcpy(buf, text, length);
    buf[length] = '\0';
    return 1;
}

int SCA_TezGetCounterStatus(const char* text, tagSCA_TEZ_COUNTER_STATUS* status,
                            SCA_TezCounter* counter) {
    if (text == nullptr || status == nullptr) {
        return 0;
    }
    std::string_view tokens[kStatusTokens];
    tagSCA_TEZ_COUNTER_STATUS read{};
    bool hasMinimum = false;
    bool hasMaximum = false;
    bool hasAverage = false;
    const std::string_view whole(text, strnlen(text, SCA_TEZ_COUNTER_STATUS_SIZE));
    if (whole.size() == SCA_TEZ_COUNTER_STATUS_SIZE || !SplitTokens(whole, tokens, kStatusTokens) ||
        !ReadNumber(tokens[0], &read.CounterType) || !ReadNumber(tokens[1], &read.Status) ||
        !ReadNumber(tokens[2], &read.ValueCount) ||
        !ReadValue(tokens[3], &read.HasCurrent, &read.Current) ||
        !ReadValue(tokens[4], &hasMinimum, &read.Minimum) ||
        !ReadValue(tokens[5], &hasMaximum, &read.Maximum) ||
        !ReadValue(tokens[6], &hasAverage, &read.Average)) {
        return 0;
    }
    // The statistics exist exactly when there are values.
    const bool hasValues = read.ValueCount != 0;
    if (hasMinimum != hasValues || hasMaximum != hasValues || hasAverage != hasValues) {
        return 0;
    }
    *status = read;
    if (counter != nullptr) {
        counter->SetCounterType(read.CounterType);
        counter->SetRepStatus(read.Status);
    }
    return 1;
}

int SCA_TezAddCounterStatusField(SCA_ConfigObj* object, uint32_t counterId,
                                 const tagSCA_TEZ_COUNTER_STATUS& status) {
    char name[kNumberSize];
    char text[SCA_TEZ_COUNTER_STATUS_SIZE];
    char* nameEnd = PutNumber(name, name + sizeof(name) - 1, counterId);
    if (object == nullptr || nameEnd == nullptr ||
        !SCA_TezBuildCounterStatus(status, text, sizeof(text))) {
        return 0;
    }
    *nameEnd = '\0';
    return object->AddField(name, text);
}

int SCA_TezReadCounterStatusField(const SCA_Field* field, uint32_t* counterId,
                                  tagSCA_TEZ_COUNTER_STATUS* status) {
    uint32_t id = 0;
    tagSCA_TEZ_COUNTER_STATUS read{};
    if (field == nullptr || counterId == nullptr || field->IsObject() ||
        !ReadNumber(field->GetName(), &id) || !SCA_TezGetCounterStatus(field->GetValue(), &read)) {
        return 0;
    }
    *counterId = id;
    if (status != nullptr) {
        *status = read;
    }
    return 1;
}

int SCA_TezAddSampleField(SCA_ConfigObj* object, const tagSCA_TEZ_SAMPLE& sample) {
    char name[kNumberSize];
    char value[kNumberSize];
    const auto [nameEnd, nameError] = std::to_chars(name, name + sizeof(name) - 1, sample.AbsTime);
    char* valueEnd = PutValue(value, value + sizeof(value) - 1, sample.HasValue, sample.Value);
    if (object == nullptr || nameError != std::errc() || valueEnd == nullptr) {
        return 0;
    }
    *nameEnd = '\0';
    *valueEnd = '\0';
    return object->AddField(name, value);
}

int SCA_TezReadSampleField(const SCA_Field* field, tagSCA_TEZ_SAMPLE* sample) {
    if (field == nullptr || sample == nullptr || field->IsObject()) {
        return 0;
    }
    const std::string_view name = field->GetName();
    tagSCA_TEZ_SAMPLE read{};
    const auto [stop, error] =
        std::from_chars(name.data(), name.data() + name.size(), read.AbsTime);
    if (name.empty() || error != std::errc() || stop != name.data() + name.size() ||
        !ReadValue(field->GetValue(), &read.HasValue, &read.Value)) {
        return 0;
    }
    *sample = read;
    return 1;
}

std::string SCA_TezCounterStatusSchema() {
    return "| token | meaning |\n|---|---|\n"
           "| counter type | the counter's type (see Counter types) |\n"
           "| status | the counter's status (see Statuses) |\n"
           "| value count | values taken since the monitor started |\n"
           "| current | the last value, \"-\" when the last sample had none |\n"
           "| minimum | the smallest value, \"-\" before the first |\n"
           "| maximum | the largest value, \"-\" before the first |\n"
           "| average | the mean of all values, \"-\" before the first |\n"
           "\nValues are in their shortest exact decimal form (C locale), such as \"45.25\" or "
           "\"1e+20\".\n";
}
