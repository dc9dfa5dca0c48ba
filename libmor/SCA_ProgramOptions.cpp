// SPDX-License-Identifier: MIT
#include "libmor/SCA_ProgramOptions.h"

#include <cstring>
#include <map>
#include <set>

#include "libmor/SCA_Version.h"

namespace {

constexpr unsigned long kHighestPort = 65535;
// Where the option names end and their help begins in the usage.
constexpr size_t kHelpColumn = 26;

bool IsPort(const std::string& value) {
    if (value.empty() || value.size() > std::strlen("65535")) {
        return false;
    }
    for (char c : value) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return std::stoul(value) <= kHighestPort;
}

void AddRow(std::string& text, const std::string& left, const char* help) {
    text += "  " + left;
    const size_t used = left.size() + 2;
    text += used < kHelpColumn ? std::string(kHelpColumn - used, ' ') : std::string("  ");
    text += help;
    text += '\n';
}

} // namespace

SCA_ProgramOptions::SCA_ProgramOptions(const char* program, const char* summary,
                                       std::span<const tagSCA_PROGRAM_OPTION> options,
                                       const char* epilogue)
    : m_Program(program), m_Summary(summary), m_Options(options), m_Epilogue(epilogue) {}

const tagSCA_PROGRAM_OPTION* SCA_ProgramOptions::Find(const char* name) const {
    for (const auto& option : m_Options) {
        if (std::strcmp(option.Name, name) == 0) {
            return &option;
        }
    }
    return nullptr;
}

SCA_ProgramAction SCA_ProgramOptions::Refuse(std::FILE* err, const std::string& why) const {
    std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", m_Program, why.c_str(),
                 m_Program);
    return SCA_ProgramAction::ExitUsage;
}

SCA_ProgramAction SCA_ProgramOptions::CheckValue(const tagSCA_PROGRAM_OPTION& option,
                                                 const std::string& value, std::FILE* err) const {
    if (option.Value == SCA_OptionValue::Port && !IsPort(value)) {
        return Refuse(err, "bad value '" + value + "' for -" + option.Name +
                               ": a port number from 0 to 65535 is needed");
    }
    return SCA_ProgramAction::Run;
}

SCA_ProgramAction SCA_ProgramOptions::Check(int argc, char** argv, std::FILE* out,
                                            std::FILE* err) const {
    for (int index = 1; index < argc; ++index) {
        const char* word = argv[index] != nullptr ? argv[index] : "";
        if (std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0) {
            std::fputs(Usage().c_str(), out);
            return SCA_ProgramAction::ExitOk;
        }
        if (std::strcmp(word, "--version") == 0) {
            std::fprintf(out, "%s %s\n", m_Program, SCA_PRODUCT_VERSION);
            return SCA_ProgramAction::ExitOk;
        }
    }
    // The values by option, joined as the options rule joins them: a repeated option goes on
    // joining its words.
    std::map<const tagSCA_PROGRAM_OPTION*, std::string> values;
    // An option that takes a value and got no word: without this check the program would run
    // with the option's default, or fail later without saying why.
    std::set<const tagSCA_PROGRAM_OPTION*> withWords;
    const tagSCA_PROGRAM_OPTION* current = nullptr;
    for (int index = 1; index < argc; ++index) {
        const char* word = argv[index] != nullptr ? argv[index] : "";
        if (word[0] == '-') {
            current = Find(word + 1);
            if (current == nullptr) {
                return Refuse(err, std::string("unknown option '") + word + "'");
            }
            values[current];
            continue;
        }
        if (current == nullptr) {
            return Refuse(err, std::string("'") + word +
                                   "' is not an option (options begin "
                                   "with '-', their values follow them)");
        }
        if (current->Value == SCA_OptionValue::None) {
            return Refuse(err, std::string("-") + current->Name + " takes no value, but '" + word +
                                   "' follows it");
        }
        withWords.insert(current);
        std::string& value = values[current];
        value = value.empty() ? std::string(word) : value + ' ' + word;
    }
    for (const auto& [option, value] : values) {
        if (option->Value != SCA_OptionValue::None && !withWords.contains(option)) {
            return Refuse(err, std::string("-") + option->Name + " needs a value (" +
                                   option->ValueName + ")");
        }
        if (CheckValue(*option, value, err) != SCA_ProgramAction::Run) {
            return SCA_ProgramAction::ExitUsage;
        }
    }
    return SCA_ProgramAction::Run;
}

int SCA_ProgramOptions::ExitStatus(SCA_ProgramAction action) {
    return action == SCA_ProgramAction::ExitUsage ? SCA_EXIT_USAGE : SCA_EXIT_OK;
}

std::string SCA_ProgramOptions::Usage() const {
    std::string text = std::string("Usage: ") + m_Program + " [OPTION [VALUE]]...\n" + m_Summary +
                       "\n\nOptions:\n";
    for (const auto& option : m_Options) {
        std::string left = std::string("-") + option.Name;
        if (option.ValueName != nullptr) {
            left += std::string(" ") + option.ValueName;
        }
        AddRow(text, left, option.Help);
    }
    AddRow(text, "-h, --help", "show this help and exit");
    AddRow(text, "--version", "show the version and exit");
    text += '\n';
    text += m_Epilogue;
    return text;
}
