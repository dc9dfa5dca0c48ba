// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "libmor/SCA_Limits.h"
#include "libtez/reports/SCA_TezConfigWriter.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libtez/reports/SCA_TezReportModel.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezReportIndex.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"

// Fontconfig keeps its font cache for the life of the process, which the leak checker would
// otherwise count against the PDF writer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

using korvanta_test::TempDir;
using Model = SCA_TezReportModel;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), pipe)) > 0) {
        out.append(chunk, n);
    }
    pclose(pipe);
    return out;
}

// RFC 4180: sections apart by empty lines, each a list of rows of cells.
using Rows = std::vector<std::vector<std::string>>;
std::vector<Rows> ParseCsv(const std::string& text) {
    std::vector<Rows> sections(1);
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;
    bool lineEmpty = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
            lineEmpty = false;
        } else if (c == ',') {
            row.push_back(cell);
            cell.clear();
            lineEmpty = false;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (lineEmpty && cell.empty()) {
                sections.emplace_back();
            } else {
                row.push_back(cell);
                sections.back().push_back(row);
            }
            row.clear();
            cell.clear();
            lineEmpty = true;
        } else {
            cell += c;
            lineEmpty = false;
        }
    }
    return sections;
}

// The figures every reader must find again: counter 1's statistics and samples.
struct Figures {
    double Minimum = 0, Maximum = 0, Average = 0;
    std::vector<std::pair<uint64_t, std::string>> Samples; // time, value ("" for a gap)
};

Figures Expected() {
    Figures f;
    f.Minimum = 1.5;
    f.Maximum = 100.125;
    f.Average = (1.5 + 2.25 + 100.125) / 3;
    using korvanta_test::kReportStart;
    f.Samples = {{kReportStart + SCA_ABS_TIME_SECOND, "1.5"},
                 {kReportStart + 2 * SCA_ABS_TIME_SECOND, ""},
                 {kReportStart + 3 * SCA_ABS_TIME_SECOND, "2.25"},
                 {kReportStart + 4 * SCA_ABS_TIME_SECOND, "100.125"}};
    return f;
}

class ReportWriters : public ::testing::Test {
protected:
    void SetUp() override { korvanta_test::FillReport(&m_Report); }

    std::string Save(uint32_t format) {
        const std::string path =
            m_Dir / (std::string("report.") + SCA_TezGetReportFormat(format)->Extension);
        SCA_TezReporter reporter(nullptr, nullptr, nullptr);
        uint32_t error = 0;
        EXPECT_EQ(reporter.SaveReport(&m_Report, format, SCA_TEZ_REPORT_MODE_DETAILED, path.c_str(),
                                      &error),
                  1)
            << "format " << format << " error " << error;
        return path;
    }

    TempDir m_Dir;
    SCA_TezReport m_Report;
    Figures m_Expected = Expected();
};

} // namespace

TEST_F(ReportWriters, JsonReadsBackWithTheSameFigures) {
    const auto doc = nlohmann::json::parse(ReadAll(Save(SCA_TEZ_FORMAT_JSON)));
    EXPECT_EQ(doc["title"], "Korvanta <Web & DB> Report");
    ASSERT_EQ(doc["counters"].size(), 2u);
    const auto& cpu = doc["counters"][0];
    EXPECT_EQ(cpu["instance"], "=SUM(A1:A9)");
    EXPECT_EQ(cpu["count"], 3);
    EXPECT_EQ(cpu["minimum"].get<double>(), m_Expected.Minimum);
    EXPECT_EQ(cpu["maximum"].get<double>(), m_Expected.Maximum);
    EXPECT_EQ(cpu["average"].get<double>(), m_Expected.Average);
    ASSERT_EQ(cpu["samples"].size(), m_Expected.Samples.size());
    for (size_t i = 0; i < m_Expected.Samples.size(); ++i) {
        EXPECT_EQ(cpu["samples"][i][0].get<uint64_t>(), m_Expected.Samples[i].first);
        if (m_Expected.Samples[i].second.empty()) {
            EXPECT_TRUE(cpu["samples"][i][1].is_null());
        } else {
            EXPECT_EQ(Model::FormatNumber(cpu["samples"][i][1].get<double>()),
                      m_Expected.Samples[i].second);
        }
    }
    // A counter without values carries no made-up statistics.
    EXPECT_FALSE(doc["counters"][1].contains("minimum"));
    ASSERT_EQ(doc["errors"].size(), 2u);
    EXPECT_EQ(doc["errors"][0]["description"], "<script>alert('x')</script> & \"more\"");
    EXPECT_EQ(doc["errors"][1]["value"].get<double>(), -2.5);
}

TEST_F(ReportWriters, XmlReadsBackEscapedWithTheSameFigures) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(Save(SCA_TEZ_FORMAT_XML).c_str()));
    const pugi::xml_node root = doc.child("Report");
    EXPECT_STREQ(root.attribute("title").value(), "Korvanta <Web & DB> Report");
    const pugi::xml_node cpu = root.child("Counters").child("Counter");
    EXPECT_STREQ(cpu.attribute("instance").value(), "=SUM(A1:A9)");
    EXPECT_EQ(cpu.attribute("minimum").as_double(), m_Expected.Minimum);
    EXPECT_EQ(cpu.attribute("maximum").as_double(), m_Expected.Maximum);
    EXPECT_EQ(cpu.attribute("average").as_double(), m_Expected.Average);
    size_t i = 0;
    for (pugi::xml_node s : cpu.children("Sample")) {
        ASSERT_LT(i, m_Expected.Samples.size());
        EXPECT_EQ(s.attribute("time").as_ullong(), m_Expected.Samples[i].first);
        EXPECT_EQ(std::string(s.attribute("value").value()), m_Expected.Samples[i].second);
        ++i;
    }
    EXPECT_EQ(i, m_Expected.Samples.size());
    EXPECT_STREQ(root.child("Errors").child("Error").text().get(),
                 "<script>alert('x')</script> & \"more\"");
    EXPECT_EQ(ReadAll(Save(SCA_TEZ_FORMAT_XML)).find("<script>"), std::string::npos);
}

TEST_F(ReportWriters, CsvIsRfc4180WithFormulasNeutralised) {
    const auto sections = ParseCsv(ReadAll(Save(SCA_TEZ_FORMAT_CSV)));
    // Fields, summary, counters, samples, errors.
    ASSERT_EQ(sections.size(), 5u);
    const Rows& counters = sections[2];
    ASSERT_EQ(counters.size(), 3u);
    ASSERT_EQ(counters[1].size(), 11u);
    EXPECT_EQ(counters[1][3], "'=SUM(A1:A9)");
    EXPECT_EQ(counters[2][3], "'@total, \"all\"");
    EXPECT_EQ(std::stod(counters[1][7]), m_Expected.Minimum);
    EXPECT_EQ(std::stod(counters[1][8]), m_Expected.Maximum);
    EXPECT_EQ(std::stod(counters[1][9]), m_Expected.Average);
    EXPECT_EQ(counters[2][7], "") << "no minimum without values";
    const Rows& samples = sections[3];
    ASSERT_EQ(samples.size(), m_Expected.Samples.size() + 1);
    for (size_t i = 0; i < m_Expected.Samples.size(); ++i) {
        EXPECT_EQ(std::stoull(samples[i + 1][2]), m_Expected.Samples[i].first);
        EXPECT_EQ(samples[i + 1][3], m_Expected.Samples[i].second);
    }
    const Rows& errors = sections[4];
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[2][5], "'-2+3 line\nbreak");
    EXPECT_EQ(errors[2][6], "-2.5") << "numbers are not neutralised";
    EXPECT_EQ(sections[0][4][1], "host-1");
    bool descriptionNeutralised = false;
    for (const auto& row : sections[0]) {
        descriptionNeutralised |= row.size() == 2 && row[1] == "'=HYPERLINK(\"http://x\")";
    }
    EXPECT_TRUE(descriptionNeutralised);
}

TEST_F(ReportWriters, HtmlAndTextShowTheFiguresWithMarkupEscaped) {
    const std::string html = ReadAll(Save(SCA_TEZ_FORMAT_HTML));
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;more&quot;"),
              std::string::npos);
    EXPECT_NE(html.find("<title>Korvanta &lt;Web &amp; DB&gt; Report</title>"), std::string::npos);
    const std::string text = ReadAll(Save(SCA_TEZ_FORMAT_TEXT));
    for (double v : {m_Expected.Minimum, m_Expected.Maximum, m_Expected.Average}) {
        const std::string shown = Model::FormatValue(SCA_COUNTER_PROCESS_CPU_USAGE, v);
        EXPECT_NE(html.find(shown), std::string::npos) << shown;
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
    }
    EXPECT_NE(text.find("Korvanta <Web & DB> Report\n"), std::string::npos);
}

TEST_F(ReportWriters, DataFileImportsAsTheSameReportAndOwnFormatLoads) {
    SCA_ConfigObj root("", nullptr);
    uint32_t error = 0;
    uint32_t fileType = 0;
    ASSERT_EQ(root.Load(Save(SCA_TEZ_FORMAT_DATA).c_str(), &error, &fileType), 1) << error;
    EXPECT_EQ(fileType, SCA_TEZ_REPORT_FILE_TYPE);
    SCA_TezReport imported;
    ASSERT_EQ(imported.Deserialize(&root), 1);
    SCA_TezCounter* cpu = nullptr;
    ASSERT_EQ(imported.GetCounter(1u, &cpu), 1);
    EXPECT_EQ(cpu->GetValueCount(), 3u);
    EXPECT_EQ(cpu->GetMaxValue(), m_Expected.Maximum);
    EXPECT_EQ(cpu->GetHistoryLength(), m_Expected.Samples.size());
    EXPECT_EQ(imported.GetErrorList()->Count(), 2u);
    EXPECT_STREQ(imported.GetReportTitle(), m_Report.GetReportTitle());

    SCA_ConfigObj own("", nullptr);
    ASSERT_EQ(own.Load(Save(SCA_TEZ_FORMAT_REPORT).c_str(), &error, &fileType), 1);
    EXPECT_EQ(fileType, SCA_TEZ_OWN_REPORT_FILE_TYPE);
    SCA_ConfigObj* counters = nullptr;
    SCA_ConfigObj* first = nullptr;
    ASSERT_EQ(own.GetField("Counters", &counters), 1);
    ASSERT_EQ(counters->GetField("1", &first), 1);
    double average = 0;
    ASSERT_EQ(first->GetField("Average", &average), 1);
    EXPECT_EQ(average, m_Expected.Average);
}

TEST_F(ReportWriters, PdfAndWorkbookCarryTheFigures) {
    const std::string pdf = Save(SCA_TEZ_FORMAT_PDF);
    EXPECT_EQ(ReadAll(pdf).compare(0, 5, "%PDF-"), 0);
    const std::string text = Capture("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("Korvanta <Web & DB> Report"), std::string::npos) << text;
    for (double v : {m_Expected.Minimum, m_Expected.Maximum, m_Expected.Average}) {
        EXPECT_NE(text.find(Model::FormatValue(SCA_COUNTER_PROCESS_CPU_USAGE, v)),
                  std::string::npos);
    }
    EXPECT_NE(text.find("<script>alert('x')</script>"), std::string::npos);

    const std::string xlsx = Save(SCA_TEZ_FORMAT_EXCEL);
    const std::string listing = Capture("unzip -l '" + xlsx + "'");
    EXPECT_NE(listing.find("xl/charts/chart1.xml"), std::string::npos) << listing;
    const std::string strings = Capture("unzip -p '" + xlsx + "' xl/sharedStrings.xml");
    EXPECT_NE(strings.find("=SUM(A1:A9)"), std::string::npos);
    // Every sheet: user text never becomes a formula; the samples are numbers in the cells.
    const std::string sheets = Capture("unzip -p '" + xlsx + "' 'xl/worksheets/sheet*.xml'");
    EXPECT_EQ(sheets.find("<f>"), std::string::npos);
    pugi::xml_document samples;
    ASSERT_TRUE(
        samples.load_string(Capture("unzip -p '" + xlsx + "' xl/worksheets/sheet3.xml").c_str()));
    std::vector<std::string> column;
    for (pugi::xml_node row : samples.child("worksheet").child("sheetData").children("row")) {
        for (pugi::xml_node cell : row.children("c")) {
            const std::string ref = cell.attribute("r").value();
            if (ref[0] == 'B' && ref != "B1") {
                column.push_back(Model::FormatNumber(cell.child("v").text().as_double()));
            }
        }
    }
    EXPECT_EQ(column, (std::vector<std::string>{"1.5", "2.25", "100.125"}));
}

TEST_F(ReportWriters, InvalidFormatsAreRefusedWithoutAFile) {
    SCA_TezReporter reporter(nullptr, nullptr, nullptr);
    for (uint32_t format : {4u, 7u, 14u, 16u, 20u, 23u, SCA_ALL_ONES}) {
        uint32_t error = 0;
        EXPECT_EQ(reporter.SaveReport(&m_Report, format, 0, (m_Dir / "x").c_str(), &error), 0);
        EXPECT_EQ(error, SCA_TEZ_ERR_FORMAT);
        EXPECT_EQ(SCA_TezGetReportFormat(format), nullptr);
    }
    EXPECT_TRUE(m_Dir.Names().empty());
    EXPECT_STREQ(SCA_TezGetReportFormat(SCA_TEZ_FORMAT_DATA)->Extension, "hdx");
    EXPECT_STREQ(SCA_TezGetReportFormat(SCA_TEZ_FORMAT_REPORT)->Extension, "hdr");
}

// What a saved file shows of its counters, read back through the format's own structure.
struct Shown {
    bool Statistics = false; // the counters' minimum, maximum, average and last value
    bool Errors = false;     // the errors recorded
    bool Samples = false;    // every sample
    bool operator==(const Shown&) const = default;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool CsvHasCell(const std::vector<Rows>& sections, const std::string& wanted) {
    for (const Rows& rows : sections) {
        for (const auto& row : rows) {
            for (const auto& cell : row) {
                if (Has(cell, wanted)) {
                    return true;
                }
            }
        }
    }
    return false;
}

Shown ReadShown(uint32_t format, const std::string& path) {
    const std::string bytes = ReadAll(path);
    const std::string alert = "alert('x')";
    switch (format) {
    case SCA_TEZ_FORMAT_JSON: {
        const auto doc = nlohmann::json::parse(bytes);
        const auto& cpu = doc["counters"][0];
        return {cpu.contains("maximum"), doc.contains("errors") && !doc["errors"].empty(),
                cpu.contains("samples") && !cpu["samples"].empty()};
    }
    case SCA_TEZ_FORMAT_XML: {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(bytes.c_str()));
        const pugi::xml_node root = doc.child("Report");
        const pugi::xml_node cpu = root.child("Counters").child("Counter");
        return {!cpu.attribute("maximum").empty(), !root.child("Errors").child("Error").empty(),
                !cpu.child("Sample").empty()};
    }
    case SCA_TEZ_FORMAT_CSV: {
        const auto sections = ParseCsv(bytes);
        return {CsvHasCell(sections, "Maximum"), CsvHasCell(sections, alert),
                CsvHasCell(sections, "Absolute Time")};
    }
    case SCA_TEZ_FORMAT_HTML:
        return {Has(bytes, "<th>Maximum</th>"), Has(bytes, "alert(&#39;x&#39;)"),
                Has(bytes, "<h2>Samples: ")};
    case SCA_TEZ_FORMAT_TEXT:
        return {Has(bytes, "Maximum:"), Has(bytes, alert), Has(bytes, "Samples:")};
    case SCA_TEZ_FORMAT_PDF: {
        const std::string text = Capture("pdftotext -layout '" + path + "' -");
        return {Has(text, "Maximum"), Has(text, alert), Has(text, "Samples")};
    }
    case SCA_TEZ_FORMAT_EXCEL: {
        const std::string book = Capture("unzip -p '" + path + "' xl/workbook.xml");
        const std::string strings = Capture("unzip -p '" + path + "' xl/sharedStrings.xml");
        return {Has(strings, "Maximum"), Has(book, "name=\"Errors\""),
                Has(book, "name=\"Samples\"")};
    }
    default:
        ADD_FAILURE() << "no reader for format " << format;
        return {};
    }
}

// The text of a file as a person reads it: the PDF's text, the workbook's strings.
std::string ReadText(uint32_t format, const std::string& path) {
    if (format == SCA_TEZ_FORMAT_PDF) {
        return Capture("pdftotext -layout '" + path + "' -");
    }
    if (format == SCA_TEZ_FORMAT_EXCEL) {
        return Capture("unzip -p '" + path + "' xl/sharedStrings.xml");
    }
    return ReadAll(path);
}

constexpr uint32_t kModeFormats[] = {SCA_TEZ_FORMAT_HTML, SCA_TEZ_FORMAT_TEXT, SCA_TEZ_FORMAT_CSV,
                                     SCA_TEZ_FORMAT_XML,  SCA_TEZ_FORMAT_PDF,  SCA_TEZ_FORMAT_EXCEL,
                                     SCA_TEZ_FORMAT_JSON};

TEST_F(ReportWriters, EachModeShowsWhatItPromisesInEveryFormat) {
    struct Case {
        uint32_t Mode;
        Shown Expected;
    };
    const Case cases[] = {
        {SCA_TEZ_REPORT_MODE_SUMMARY, {false, false, false}},
        {SCA_TEZ_REPORT_MODE_COMPACT, {true, true, false}},
        {SCA_TEZ_REPORT_MODE_DETAILED, {true, true, true}},
        // A mode no dialog offers keeps everything.
        {7, {true, true, true}},
    };
    SCA_TezReporter reporter(nullptr, nullptr, nullptr);
    for (const Case& test : cases) {
        for (uint32_t format : kModeFormats) {
            const std::string path = m_Dir / ("mode" + std::to_string(test.Mode) + "." +
                                              SCA_TezGetReportFormat(format)->Extension);
            uint32_t error = 0;
            ASSERT_EQ(reporter.SaveReport(&m_Report, format, test.Mode, path.c_str(), &error), 1)
                << format << " " << error;
            EXPECT_EQ(ReadShown(format, path), test.Expected)
                << "mode " << test.Mode << ", format " << format;
            // Every mode: the title, each counter with its status, the summary in words.
            const std::string text = ReadText(format, path);
            EXPECT_TRUE(Has(text, "Web")) << format;
            EXPECT_TRUE(Has(text, "Memory")) << format;
            EXPECT_TRUE(Has(text, "Errors Recorded")) << format;
            EXPECT_FALSE(Has(text, "ErrorRecords")) << format;
            EXPECT_FALSE(Has(text, "FirstTime")) << format;
        }
    }
    // The own formats hold the whole report in every mode: the save dialogs offer none.
    for (uint32_t format : {SCA_TEZ_FORMAT_REPORT, SCA_TEZ_FORMAT_DATA}) {
        std::string first;
        for (uint32_t mode : {0u, 1u, 2u}) {
            const std::string path = m_Dir / ("own" + std::to_string(mode) + "." +
                                              SCA_TezGetReportFormat(format)->Extension);
            ASSERT_EQ(reporter.SaveReport(&m_Report, format, mode, path.c_str(), nullptr), 1);
            if (mode == 0) {
                first = ReadAll(path);
            } else {
                EXPECT_EQ(ReadAll(path), first) << "format " << format << ", mode " << mode;
            }
        }
    }
}

TEST(ReportTitles, AReportReadsAsTheLiveWindowShowedIt) {
    TempDir dir;
    SCA_TezReport report;
    report.SetDescription("Web Servers");
    auto* cpu = new SCA_TezCounter();
    cpu->SetCounterId(1);
    cpu->SetCounterType(SCA_COUNTER_CPU_USAGE);
    cpu->SetCounterData(new SCA_TezSampleStore());
    ASSERT_EQ(report.AddCounter(cpu), 1);
    auto* remote = new SCA_TezCounter();
    remote->SetCounterId(2);
    remote->SetCounterType(SCA_COUNTER_CPU_USAGE);
    remote->SetInstance("3");
    remote->SetComputerName("db-2");
    remote->SetCounterData(new SCA_TezSampleStore());
    ASSERT_EQ(report.AddCounter(remote), 1);
    report.UpdateSummary();
    SCA_TezReporter reporter(nullptr, nullptr, nullptr);
    for (uint32_t format : {SCA_TEZ_FORMAT_JSON, SCA_TEZ_FORMAT_HTML, SCA_TEZ_FORMAT_CSV}) {
        const std::string path =
            dir / (std::string("r.") + SCA_TezGetReportFormat(format)->Extension);
        ASSERT_EQ(reporter.SaveReport(&report, format, SCA_TEZ_REPORT_MODE_SUMMARY, path.c_str(),
                                      nullptr),
                  1);
    }
    // A report the service made without a title is titled as the main window titles one.
    const auto doc = nlohmann::json::parse(ReadAll(dir / "r.json"));
    EXPECT_EQ(doc["title"], "Korvanta Web Servers Report");
    EXPECT_EQ(doc["counters"][0]["instance"], "All");
    EXPECT_EQ(doc["counters"][0]["computer"], "Local");
    EXPECT_EQ(doc["counters"][1]["instance"], "CPU 3");
    EXPECT_EQ(doc["counters"][1]["computer"], "db-2");
    const std::string html = ReadAll(dir / "r.html");
    EXPECT_TRUE(Has(html, "<title>Korvanta Web Servers Report</title>"));
    EXPECT_TRUE(Has(html, "<h1>Korvanta Web Servers Report</h1>"));
    const auto csv = ParseCsv(ReadAll(dir / "r.csv"));
    ASSERT_GE(csv[0].size(), 2u);
    EXPECT_EQ(csv[0][1], (std::vector<std::string>{"Title", "Korvanta Web Servers Report"}));
    // Its own title wins.
    report.SetReportTitle("Nightly");
    EXPECT_EQ(report.GetShownTitle(), "Nightly");
}

TEST(ProcessReports, EveryFormatWritesTheSelectedProcessesAndLog) {
    TempDir dir;
    SCA_TezProcessList list;
    SCA_TezProcessLog log;
    korvanta_test::FillProcesses(&list, &log);
    SCA_TezProcessReporter reporter(nullptr, nullptr, nullptr);
    for (uint32_t format : {0u, 1u, 2u, 3u, 5u, 6u, 15u, 21u, 22u}) {
        const std::string path =
            dir / (std::string("p.") + SCA_TezGetReportFormat(format)->Extension);
        uint32_t error = 0;
        EXPECT_EQ(reporter.Save(&list, SCA_ALL_ONES, format, 2, path.c_str(), &error, &log), 1)
            << format << " " << error;
    }
    const auto all = nlohmann::json::parse(ReadAll(dir / "p.json"));
    ASSERT_EQ(all["processes"].size(), 2u);
    EXPECT_EQ(all["processes"][0]["statistics"].size(), 2u);
    EXPECT_EQ(all["processes"][0]["statistics"][0]["maximum"].get<double>(), 30.0);
    EXPECT_EQ(all["log"][0]["pid"], 4242);

    // One process, with CPU, memory and transfer only (mode 1), then with no counters.
    ASSERT_EQ(reporter.Save(&list, 7, SCA_TEZ_FORMAT_JSON, 1, (dir / "one.json").c_str()), 1);
    const auto one = nlohmann::json::parse(ReadAll(dir / "one.json"));
    ASSERT_EQ(one["processes"].size(), 1u);
    EXPECT_EQ(one["processes"][0]["name"], "=calc");
    ASSERT_EQ(reporter.Save(&list, 7, SCA_TEZ_FORMAT_CSV, 0, (dir / "none.csv").c_str()), 1);
    const auto sections = ParseCsv(ReadAll(dir / "none.csv"));
    ASSERT_GE(sections.size(), 3u);
    EXPECT_EQ(sections[2][1][1], "'=calc");
    EXPECT_EQ(sections[2][1][6], "") << "mode 0 shows no counters";

    EXPECT_EQ(SCA_TezProcessReporter::IsCounterIncluded(1, 46), 1);
    EXPECT_EQ(SCA_TezProcessReporter::IsCounterIncluded(1, 48), 0);
    EXPECT_EQ(SCA_TezProcessReporter::IsCounterIncluded(0, 43), 0);
    EXPECT_EQ(SCA_TezProcessReporter::IsCounterIncluded(7, 48), 1);
}
