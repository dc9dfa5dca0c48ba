// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaMonitorRow.h"

#include <charconv>
#include <cstring>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

constexpr const char* kLocalHost = "-";
constexpr uint32_t kNumbers = 5;

struct Token {
    const char* Name;
    const char* About;
};

constexpr Token kTokens[] = {
    {"state", "the monitor's status (see Monitor statuses)"},
    {"run state", "the run state of the monitor's task (see Run states)"},
    {"counters", "counters of the monitor"},
    {"errors", "errors counted since the monitor started"},
    {"warnings", "warnings counted since the monitor started"},
    {"host", "the computer watched, \"-\" for the service's own"},
    {"description", "the monitor's description: the rest of the value, blanks included"},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool ReadNumber(const char* token, uint32_t* value) {
    const char* end = token + std::strlen(token);
    const auto [stop, error] = std::from_chars(token, end, *value, 10);
    return error == std::errc() && stop == end && stop != token;
}

} // namespace

void SCA_KorvantaMonitorRow::SetHost(const char* host) {
    SCA_StrnCpy(Host, host != nullptr ? host : "", sizeof(Host));
    for (char* c = Host; *c != '\0'; ++c) {
        if (IsBlank(*c)) {
            *c = '?';
        }
    }
}

void SCA_KorvantaMonitorRow::SetDescription(const char* description) {
    SCA_StrnCpy(Description, description != nullptr ? description : "", sizeof(Description));
}

// Every client polls the rows of all monitors each second: written with to_chars and copies,
// not a formatted print per row.
int SCA_KorvantaMonitorRow::Format(char* buf, uint32_t size) const {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    char* at = buf;
    char* const end = buf + size - 1; // room for the terminator
    auto put = [&](const char* text) {
        const size_t length = std::strlen(text);
        if (static_cast<size_t>(end - at) < length + 1) {
            return false;
        }
        std::memcpy(at, text, length);
        at += length;
        *at++ = ' ';
        return true;
    };
    for (const uint32_t number : {State, RunState, Counters, Errors, Warnings}) {
        const auto [stop, error] = std::to_chars(at, end, number);
        if (error != std::errc() || stop == end) {
            buf[0] = '\0';
            return 0;
        }
        at = stop;
        *at++ = ' ';
    }
    if (!put(Host[0] != '\0' ? Host : kLocalHost) || !put(Description)) {
        buf[0] = '\0';
        return 0;
    }
    at[-1] = '\0'; // the blank after the description
    return 1;
}

int SCA_KorvantaMonitorRow::Parse(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    SCA_KorvantaMonitorRow row;
    row.MonitorId = MonitorId;
    uint32_t* numbers[kNumbers] = {&row.State, &row.RunState, &row.Counters, &row.Errors,
                                   &row.Warnings};
    uint32_t position = 0;
    char token[kTextSize];
    for (uint32_t* number : numbers) {
        if (!SCA_GetToken1(text, &position, token, sizeof(token)) || !ReadNumber(token, number)) {
            return 0;
        }
    }
    if (!SCA_GetToken1(text, &position, token, sizeof(token))) {
        return 0;
    }
    if (std::strcmp(token, kLocalHost) != 0) {
        SCA_StrnCpy(row.Host, token, sizeof(row.Host));
    }
    const char* rest = text + position;
    while (IsBlank(*rest)) {
        ++rest;
    }
    row.SetDescription(rest);
    *this = row;
    return 1;
}

int SCA_KorvantaMonitorRow::Write(SCA_ConfigObj* monitorsStatus) const {
    char name[kNameSize];
    char value[kRowSize];
    return monitorsStatus != nullptr && FormatField(name, value) &&
                   monitorsStatus->AddField(name, value)
               ? 1
               : 0;
}

int SCA_KorvantaMonitorRow::Encode(std::string* out) const {
    char name[kNameSize];
    char value[kRowSize];
    return FormatField(name, value) && SCA_Field::AppendValueForm(name, value, out) ? 1 : 0;
}

int SCA_KorvantaMonitorRow::FormatField(char (&name)[kNameSize], char (&value)[kRowSize]) const {
    *std::to_chars(name, name + sizeof(name) - 1, MonitorId).ptr = '\0';
    return Format(value, sizeof(value));
}

bool SCA_KorvantaMonitorRow::operator==(const SCA_KorvantaMonitorRow& other) const {
    return MonitorId == other.MonitorId && State == other.State && RunState == other.RunState &&
           Counters == other.Counters && Errors == other.Errors && Warnings == other.Warnings &&
           std::strcmp(Host, other.Host) == 0 && std::strcmp(Description, other.Description) == 0;
}

int SCA_KorvantaMonitorRow::Read(const SCA_Field* field) {
    if (field == nullptr || field->IsObject() || field->GetName() == nullptr) {
        return 0;
    }
    uint32_t id = 0;
    if (!ReadNumber(field->GetName(), &id)) {
        return 0;
    }
    const char* value = field->GetValue();
    SCA_KorvantaMonitorRow row;
    row.MonitorId = id;
    if (!row.Parse(value != nullptr ? value : "")) {
        return 0;
    }
    *this = row;
    return 1;
}

int SCA_KorvantaMonitorRow::ReadAll(SCA_ConfigObj* monitorsStatus,
                                    std::vector<SCA_KorvantaMonitorRow>* rows) {
    if (monitorsStatus == nullptr || rows == nullptr) {
        return 0;
    }
    rows->clear();
    rows->reserve(monitorsStatus->GetFieldCount());
    for (SCA_Field* field = monitorsStatus->GetHead(); field != nullptr; field = field->GetNext()) {
        SCA_KorvantaMonitorRow row;
        if (!row.Read(field)) {
            return 0;
        }
        rows->push_back(row);
    }
    return 1;
}

std::string SCA_KorvantaMonitorRow::Schema() {
    std::string text = "| token | meaning |\n|---|---|\n";
    for (const Token& token : kTokens) {
        text += std::string("| ") + token.Name + " | " + token.About + " |\n";
    }
    return text;
}
