// SPDX-License-Identifier: MIT
// docs/settings.md says of every setting of the user configuration which part of the stored
// form holds it and what reads it. The page is held to the code both ways: a setting added
// without a row, a row naming a setting that is gone, a wrong part, a wrong count or a reader
// that names a file that does not exist would each mislead whoever debugs a setting.
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_TezConfigUser.h"
#include "tests/support/TestPaths.h"

namespace {

const std::string kSource = korvanta_test::SourceDir();

struct Row {
    std::vector<std::string> Names;
    std::set<std::string> Parts;
    std::string ReadBy;
};

// The words between pairs of backquotes.
std::vector<std::string> Quoted(const std::string& text) {
    std::vector<std::string> words;
    for (size_t open = text.find('`'); open != std::string::npos;) {
        const size_t close = text.find('`', open + 1);
        if (close == std::string::npos) {
            break;
        }
        words.push_back(text.substr(open + 1, close - open - 1));
        open = text.find('`', close + 1);
    }
    return words;
}

// "korvas/SCA_KorvantaAgent", "libmor/mail/SCA_CurlCalls": a folder of the tree and a class.
bool NamesAClassFile(const std::string& word) {
    const size_t slash = word.rfind("/SCA_");
    return slash != std::string::npos && slash > 0 &&
           word.find_first_not_of("abcdefghijklmnopqrstuvwxyz/") == slash + 1 &&
           word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_",
                                  slash + 1) == std::string::npos;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 1;
    for (size_t bar = line.find('|', start); bar != std::string::npos;
         bar = line.find('|', start)) {
        std::string cell = line.substr(start, bar - start);
        cell.erase(0, cell.find_first_not_of(' '));
        cell.erase(cell.find_last_not_of(' ') + 1);
        cells.push_back(cell);
        start = bar + 1;
    }
    return cells;
}

// The page's words for the parts of the stored form (SCA_TEZ_USER_*).
const std::map<uint32_t, std::string>& PartWords() {
    static const std::map<uint32_t, std::string> words = {
        {SCA_TEZ_USER_SETTINGS, "settings"}, {SCA_TEZ_USER_STATE, "state"},
        {SCA_TEZ_USER_NETWORK, "network"},   {SCA_TEZ_USER_CONNECT, "connect"},
        {SCA_TEZ_USER_PROFILES, "profiles"}, {SCA_TEZ_USER_MONITORS, "monitors"},
    };
    return words;
}

struct Page {
    std::string Intro;
    std::vector<Row> Rows;
};

Page ReadPage() {
    Page page;
    std::ifstream file(kSource + "/docs/settings.md");
    bool inTables = false;
    for (std::string line; std::getline(file, line);) {
        inTables = inTables || line.rfind("## ", 0) == 0;
        if (!inTables) {
            page.Intro += line + " ";
        }
        if (line.rfind("| `", 0) != 0) {
            continue;
        }
        const std::vector<std::string> cells = Cells(line);
        if (cells.size() < 3) {
            continue;
        }
        Row row{Quoted(cells[0]), {}, cells[2]};
        for (size_t start = 0; start <= cells[1].size();) {
            const size_t comma = std::min(cells[1].find(", ", start), cells[1].size());
            row.Parts.insert(cells[1].substr(start, comma - start));
            start = comma + 2;
        }
        page.Rows.push_back(row);
    }
    return page;
}

TEST(SettingsDoc, EverySettingHasOneRowWithItsPartAndOnlySettingsHaveRows) {
    const Page page = ReadPage();
    ASSERT_FALSE(page.Rows.empty()) << "docs/settings.md has no rows";
    std::map<std::string, uint32_t> settings;
#define SCA_DOC_SETTING(name, kind, part) settings[#name] = part;
    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_DOC_SETTING)
#undef SCA_DOC_SETTING
    EXPECT_NE(page.Intro.find("holds " + std::to_string(settings.size()) + " settings"),
              std::string::npos)
        << "the page's count of settings";

    std::map<std::string, int> rowsOf;
    for (const Row& row : page.Rows) {
        for (const std::string& name : row.Names) {
            ++rowsOf[name];
            const auto setting = settings.find(name);
            if (setting == settings.end()) {
                ADD_FAILURE() << "a row names `" << name << "`, which is no setting";
                continue;
            }
            const auto word = PartWords().find(setting->second);
            ASSERT_NE(word, PartWords().end()) << name << ": a part the page has no word for";
            EXPECT_TRUE(row.Parts.contains(word->second)) << name << " is in part " << word->second;
        }
    }
    for (const auto& [name, part] : settings) {
        EXPECT_EQ(rowsOf[name], 1) << name << ": rows on the page";
    }
}

TEST(SettingsDoc, EveryReaderThePageNamesIsAFileOfTheTree) {
    int named = 0;
    for (const Row& row : ReadPage().Rows) {
        for (const std::string& word : Quoted(row.ReadBy)) {
            if (!NamesAClassFile(word)) {
                continue;
            }
            ++named;
            const bool exists = std::filesystem::exists(kSource + "/" + word + ".cpp") ||
                                std::filesystem::exists(kSource + "/" + word + ".h");
            EXPECT_TRUE(exists) << word << " (read by) is no file of the tree";
        }
    }
    EXPECT_GT(named, 10);
}

} // namespace
