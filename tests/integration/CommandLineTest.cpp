// SPDX-License-Identifier: MIT
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Version.h"
#include "tests/integration/ProgramRun.h"
#include "tests/support/TestPaths.h"

namespace {

enum class Stream { Out, Err };

struct Row {
    const char* Program;
    std::vector<std::string> Words;
    int Status;
    Stream Where; // where the text must be; the other stream stays empty
    std::string Text;
};

std::string VersionLine(const char* program) {
    return std::string(program) + " " + SCA_PRODUCT_VERSION + "\n";
}

// Neither program may need a display, a configuration or a free port to answer these: korvac
// runs without any display variable, korvas never starts its service.
const std::vector<std::string> kNoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

void CheckRow(const std::string& path, const Row& row) {
    const auto result = korvanta_test::RunProgram(path, row.Words, kNoDisplay);
    std::string words;
    for (const auto& word : row.Words) {
        words += " " + word;
    }
    SCOPED_TRACE(std::string(row.Program) + words);
    EXPECT_EQ(result.Status, row.Status);
    const std::string& wanted = row.Where == Stream::Out ? result.Out : result.Err;
    const std::string& other = row.Where == Stream::Out ? result.Err : result.Out;
    EXPECT_NE(wanted.find(row.Text), std::string::npos)
        << "out: " << result.Out << "\nerr: " << result.Err;
    EXPECT_EQ(other, "");
}

TEST(CommandLineTest, BothProgramsAnswerHelpVersionAndRefuseBadWords) {
    const std::vector<Row> rows = {
        {"korvas", {"--help"}, 0, Stream::Out, "Usage: korvas"},
        {"korvas", {"-h"}, 0, Stream::Out, "-control_port PORT"},
        {"korvas", {"-console", "-h"}, 0, Stream::Out, "Exit status: 0 stopped in order"},
        {"korvas", {"--version"}, 0, Stream::Out, VersionLine("korvas")},
        {"korvas", {"-bogus"}, 2, Stream::Err, "korvas: unknown option '-bogus'"},
        {"korvas", {"--bogus"}, 2, Stream::Err, "unknown option '--bogus'"},
        {"korvas",
         {"-console", "-control_port", "abc"},
         2,
         Stream::Err,
         "bad value 'abc' for -control_port"},
        {"korvas", {"-control_port", "99999"}, 2, Stream::Err, "bad value '99999'"},
        {"korvas", {"-console", "-control_port"}, 2, Stream::Err, "-control_port needs a value"},
        {"korvas", {"-conf_name"}, 2, Stream::Err, "korvas: -conf_name needs a value (NAME)"},
        {"korvas", {"-conf_name", "-console"}, 2, Stream::Err, "-conf_name needs a value"},
        {"korvas", {"-control_port", "1", "-control_port", "2"}, 2, Stream::Err, "bad value '1 2'"},
        {"korvas", {"-console", "now"}, 2, Stream::Err, "-console takes no value"},
        {"korvas", {"stray", "-console"}, 2, Stream::Err, "'stray' is not an option"},
        {"korvac", {"--help"}, 0, Stream::Out, "Usage: korvac"},
        {"korvac", {"-h"}, 0, Stream::Out, "initial-password"},
        {"korvac", {"--version"}, 0, Stream::Out, VersionLine("korvac")},
        {"korvac", {"-bogus"}, 2, Stream::Err, "korvac: unknown option '-bogus'"},
        {"korvac", {"-vdm", "5", "-port", "http"}, 2, Stream::Err, "bad value 'http' for -port"},
        {"korvac", {"-conf_name", "a", "b"}, 1, Stream::Err, "korvac: no display"},
        {"korvac", {"-conf_name"}, 2, Stream::Err, "korvac: -conf_name needs a value (NAME)"},
        {"korvac", {"-vdm"}, 2, Stream::Err, "korvac: -vdm needs a value (ID)"},
        {"korvac", {"-vdm", "5", "-password"}, 2, Stream::Err, "-password needs a value"},
        {"korvac", {"-h"}, 0, Stream::Out, "KORVANTA_PASSWORD"},
    };
    for (const auto& row : rows) {
        const std::string path = std::string(row.Program) == "korvas"
                                     ? korvanta_test::KorvasProgram()
                                     : korvanta_test::KorvacProgram();
        if (path.empty()) {
            continue; // the client is not built
        }
        CheckRow(path, row);
    }
}

TEST(CommandLineTest, TheConsoleWritesItsErrorsToStandardError) {
    // Another program holds the port: the console run logs why it cannot start and ends, with
    // -console anywhere on the line.
    const korvanta_test::HeldPort held;
    ASSERT_NE(held.Port(), 0);
    const auto result = korvanta_test::RunProgram(
        korvanta_test::KorvasProgram(), {"-control_port", std::to_string(held.Port()), "-console"});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find("korvas: stopped after an error"), std::string::npos) << result.Err;
    EXPECT_NE(result.Err.find("ERR "), std::string::npos) << result.Err;
    EXPECT_NE(result.Err.find("Cannot start server on port"), std::string::npos) << result.Err;
    EXPECT_EQ(result.Out.find("ERR "), std::string::npos) << result.Out;
    EXPECT_NE(result.Out.find(" I "), std::string::npos) << "the running log stays on standard "
                                                            "output: "
                                                         << result.Out;
}

} // namespace
