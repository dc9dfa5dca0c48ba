// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <span>
#include <string>

// Exit statuses that both programs share; the service run adds its start-up codes (101-104).
inline constexpr int SCA_EXIT_OK = 0;
inline constexpr int SCA_EXIT_FAILURE = 1;
// The command line was refused: an unknown option, a stray word or a bad value.
inline constexpr int SCA_EXIT_USAGE = 2;

// What an option's words must be: none, any text, or a TCP port (0 to 65535).
enum class SCA_OptionValue { None, Text, Port };

struct tagSCA_PROGRAM_OPTION {
    const char* Name; // without its leading '-'
    SCA_OptionValue Value;
    const char* ValueName; // shown in the usage ("NAME", "PORT"); null when it takes none
    const char* Help;
};

// What the program does after its command line was looked at.
enum class SCA_ProgramAction { Run, ExitOk, ExitUsage };

// The checks a command line passes before the program reads it by the options rule (a word that
// begins with '-' names an option, the words after it are its value). Words the rule would
// accept quietly are refused here: an option the program does not know, a word before any
// option, a value for an option that takes none, no value for one that needs it, a port that
// is not one. "--help" and "-h"
// print the usage, "--version" the version; both to `out`. Refusals go to `err`.
class SCA_ProgramOptions {
public:
    SCA_ProgramOptions(const char* program, const char* summary,
                       std::span<const tagSCA_PROGRAM_OPTION> options, const char* epilogue);

    SCA_ProgramAction Check(int argc, char** argv, std::FILE* out, std::FILE* err) const;
    // The exit status of an action that ends the program (SCA_EXIT_OK or SCA_EXIT_USAGE).
    static int ExitStatus(SCA_ProgramAction action);
    std::string Usage() const;

private:
    const tagSCA_PROGRAM_OPTION* Find(const char* name) const;
    SCA_ProgramAction Refuse(std::FILE* err, const std::string& why) const;
    SCA_ProgramAction CheckValue(const tagSCA_PROGRAM_OPTION& option, const std::string& value,
                                 std::FILE* err) const;

    const char* m_Program;
    const char* m_Summary;
    std::span<const tagSCA_PROGRAM_OPTION> m_Options;
    const char* m_Epilogue;
};
