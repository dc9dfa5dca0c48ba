// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezProcessStatusText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

constexpr char kReplacement = '?';
constexpr char kNotAvailable[] = "-";
// Longest token: a u32, or a double as %.17g.
constexpr uint32_t kTokenSize = 64;

// Bytes of the UTF-8 character led by lead, 0 when lead cannot start one.
size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

bool IsValidCharacter(const unsigned char* at, size_t length) {
    if (length == 0) {
        return false;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

// A count; a fractional part (a writer that sends "3.7") is dropped, as a decimal integer
// parse stops at the point.
bool ReadNumber(const char* token, uint32_t* value) {
    const char* end = token + std::strlen(token);
    const auto result = std::from_chars(token, end, *value);
    if (result.ec != std::errc{}) {
        return false;
    }
    const char* rest = result.ptr;
    if (rest != end && *rest == '.') {
        ++rest;
        while (rest != end && *rest >= '0' && *rest <= '9') {
            ++rest;
        }
    }
    return rest == end;
}

bool ReadMeasure(const char* token, uint32_t index, tagSCA_TEZ_PROCESS_STATUS* status) {
    if (std::strcmp(token, kNotAvailable) == 0) {
        return true;
    }
    const char* end = token + std::strlen(token);
    double value = 0.0;
    const auto result = std::from_chars(token, end, value);
    if (result.ec != std::errc{} || result.ptr != end || !std::isfinite(value)) {
        return false;
    }
    status->Measure[index] = value;
    status->MeasureValid |= 1u << index;
    return true;
}

} // namespace

void SCA_TezCleanProcessName(const char* raw, char* out, size_t size) {
    if (size == 0) {
        return;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(raw != nullptr ? raw : "");
    size_t written = 0;
    while (*in != '\0') {
        const size_t length = Utf8Length(*in);
        const bool valid = IsValidCharacter(in, length) && *in >= 0x20 && *in != 0x7F;
        const size_t take = valid ? length : 1;
        if (written + take >= size) {
            break;
        }
        if (valid) {
            std::memcpy(out + written, in, take);
        } else {
            out[written] = kReplacement;
        }
        written += take;
        in += take;
    }
    if (written == 0 && size > 1) {
        out[written++] = kReplacement;
    }
    out[written] = '\0';
}

int SCA_TezFormatProcessStatus(const tagSCA_TEZ_PROCESS_STATUS& status, char* buf, size_t size) {
    char measures[SCA_TEZ_STATUS_MEASURES][kTokenSize];
    for (uint32_t i = 0; i < SCA_TEZ_STATUS_MEASURES; ++i) {
        if ((status.MeasureValid & (1u << i)) != 0) {
            std::snprintf(measures[i], kTokenSize, "%.17g", status.Measure[i]);
        } else {
            std::snprintf(measures[i], kTokenSize, "%s", kNotAvailable);
        }
    }
    const int length =
        std::snprintf(buf, size, "%u %u %u %u %s %s %s %s %u %u", status.ProcessId, status.Status,
                      status.RepStatus, status.InstanceCount, measures[0], measures[1], measures[2],
                      measures[3], status.Errors, status.Warnings);
    return length > 0 && static_cast<size_t>(length) < size ? 1 : 0;
}

int SCA_TezParseProcessStatus(const char* text, tagSCA_TEZ_PROCESS_STATUS* status,
                              uint32_t* badToken) {
    uint32_t failed = 0;
    if (badToken == nullptr) {
        badToken = &failed;
    }
    *badToken = 1;
    if (text == nullptr) {
        return 0;
    }
    *status = tagSCA_TEZ_PROCESS_STATUS{};
    uint32_t* const counts[] = {&status->ProcessId, &status->Status, &status->RepStatus,
                                &status->InstanceCount};
    uint32_t* const tail[] = {&status->Errors, &status->Warnings};
    char token[kTokenSize];
    uint32_t position = 0;
    for (uint32_t* count : counts) {
        if (!SCA_GetToken1(text, &position, token, sizeof(token)) || !ReadNumber(token, count)) {
            return 0;
        }
        ++*badToken;
    }
    for (uint32_t i = 0; i < SCA_TEZ_STATUS_MEASURES; ++i) {
        if (!SCA_GetToken1(text, &position, token, sizeof(token)) ||
            !ReadMeasure(token, i, status)) {
            return 0;
        }
        ++*badToken;
    }
    for (uint32_t* count : tail) {
        if (!SCA_GetToken1(text, &position, token, sizeof(token)) || !ReadNumber(token, count)) {
            return 0;
        }
        ++*badToken;
    }
    if (SCA_GetToken1(text, &position, token, sizeof(token))) {
        return 0;
    }
    *badToken = 0;
    return 1;
}

int SCA_TezAddProcessStatusField(SCA_ConfigObj* object, const char* name,
                                 const tagSCA_TEZ_PROCESS_STATUS& status) {
    char text[SCA_TEZ_STATUS_TOKENS * kTokenSize];
    return object != nullptr && name != nullptr &&
                   SCA_TezFormatProcessStatus(status, text, sizeof(text)) &&
                   object->AddField(name, text)
               ? 1
               : 0;
}

int SCA_TezReadProcessStatusField(const SCA_Field* field, char* name, size_t size,
                                  tagSCA_TEZ_PROCESS_STATUS* status, uint32_t* badToken) {
    tagSCA_TEZ_PROCESS_STATUS read;
    if (badToken != nullptr) {
        *badToken = 1;
    }
    if (field == nullptr || name == nullptr || size == 0 || status == nullptr ||
        field->IsObject() || !SCA_TezParseProcessStatus(field->GetValue(), &read, badToken)) {
        return 0;
    }
    SCA_StrnCpy(name, field->GetName(), size);
    *status = read;
    return 1;
}

std::string SCA_TezProcessStatusSchema() {
    return "| token | meaning |\n|---|---|\n"
           "| process id | the id of the process's oldest instance |\n"
           "| status | the process's status (see Statuses) |\n"
           "| report status | the status its report shows |\n"
           "| instances | running instances of the program |\n"
           "| CPU | processor use in percent |\n"
           "| memory | resident memory in bytes |\n"
           "| threads | threads of all instances |\n"
           "| handles | open file descriptors of all instances |\n"
           "| errors | errors counted |\n"
           "| warnings | warnings counted |\n";
}
