// SPDX-License-Identifier: MIT
#include "korvac/kit/ParseMainCommandLine.h"

#include <string>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

// Cuts text to at most size bytes without splitting a UTF-8 character.
void CutToCharacters(std::string& text, size_t size) {
    if (text.size() <= size) {
        return;
    }
    size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    text.resize(end);
}

} // namespace

int ParseMainCommandLine(SCA_ConfigObj* params, int argc, char** argv) {
    if (params == nullptr || argc < 2 || argv == nullptr) {
        return params != nullptr ? 1 : 0;
    }
    SCA_Field* current = nullptr;
    for (int index = 1; index < argc; ++index) {
        const char* word = argv[index] != nullptr ? argv[index] : "";
        if (word[0] == '-') {
            const char* name = word + 1;
            SCA_Field* field = nullptr;
            if (!params->GetFieldByName(name, &field) || field == nullptr) {
                params->AddField(name, "", 1);
                if (!params->GetFieldByName(name, &field) || field == nullptr) {
                    SCA_GetReportFunction("korvac", __LINE__)(SCA_LEVEL_ERROR,
                                                              "Internal error 1123.\n");
                    return 0;
                }
            }
            current = field;
            continue;
        }
        if (current == nullptr) {
            return 0;
        }
        std::string value = current->GetValue();
        if (!value.empty()) {
            value += ' ';
        }
        value += word;
        CutToCharacters(value, kMaxOptionValue);
        current->SetValue(value.c_str());
    }
    return 1;
}
