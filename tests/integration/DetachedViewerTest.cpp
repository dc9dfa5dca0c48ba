// SPDX-License-Identifier: MIT
// Detached viewer processes (the built korvac, offscreen) against a real `korvas -console`: each
// form shows its window and ends with exit code 0 when the window closes; a monitor the service
// does not have ends with the viewer's message and exit code 1; a viewer started from the main
// window has the password in its environment and not on its command line. The main window ends on a
// termination request as a viewer does, with its settings saved.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "../korvac/GuiTestSupport.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/WaitUntilPumping.h"

namespace {

using Target = SCA_ViewerCommand::Target;

constexpr uint32_t kCpuUsage = 1;
constexpr uint32_t kMemoryUsage = 4;
constexpr int kEndWaitMs = 30000;

// One viewer process, its standard error collected.
class Viewer {
public:
    Viewer(const Target& target, const std::string& password)
        : Viewer(SCA_ViewerCommand::Arguments(target),
                 SCA_ViewerCommand::Environment(password.c_str())) {}
    // Any korvac: without a viewer's words, the main window.
    Viewer(const QStringList& arguments, const QProcessEnvironment& environment) {
        m_Process.setProgram(QString::fromUtf8(korvanta_test::KorvacProgram()));
        m_Process.setArguments(arguments);
        m_Process.setProcessEnvironment(environment);
        m_Process.setProcessChannelMode(QProcess::SeparateChannels);
        m_Process.start();
    }
    ~Viewer() {
        if (m_Process.state() != QProcess::NotRunning) {
            m_Process.kill();
            m_Process.waitForFinished(kEndWaitMs);
        }
    }

    // Waits until the viewer said text on standard error; fails when it ended first.
    ::testing::AssertionResult WaitFor(const QString& text) {
        const std::string what = "the viewer to say " + text.toStdString();
        korvanta_test::WaitUntilPumping(what, [&] {
            return Errors().contains(text) || m_Process.state() == QProcess::NotRunning;
        });
        if (Errors().contains(text)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "waited for " << what << ", and it never came";
    }
    // Asks the viewer to end (SIGTERM) and gives its exit code; -1 when it did not end normally.
    int Terminate() {
        m_Process.terminate();
        return Finish();
    }
    int Finish() {
        if (!m_Process.waitForFinished(kEndWaitMs) ||
            m_Process.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        Errors();
        return m_Process.exitCode();
    }
    const QString& Errors() {
        m_Errors += QString::fromUtf8(m_Process.readAllStandardError());
        return m_Errors;
    }

private:
    QProcess m_Process;
    QString m_Errors;
};

std::string ReadProc(qint64 pid, const char* file) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A process that is gone or only waits to be reaped.
bool Ended(qint64 pid) {
    const std::string stat = ReadProc(pid, "stat");
    const size_t close = stat.rfind(')');
    return stat.empty() ||
           (close != std::string::npos && stat.size() > close + 2 && stat[close + 2] == 'Z');
}

class DetachedViewers : public korvas_integration::ServiceWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ServiceWindowTest::SetUp());
        ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
        // The client's product configuration, which the viewer loads and never writes.
        SCA_TezConfig config(SCA_PRODUCT_TYPE_NONE);
        ASSERT_EQ(SCA_LoadProductConfig(&config, "korva", SCA_TezConfigSide::Client, nullptr), 1);
    }

    Target At(SCA_ViewerCommand::Kind kind, uint32_t id) const {
        Target target;
        target.ViewerKind = kind;
        target.ObjectId = id;
        target.ConfName = "korva";
        target.Host = "127.0.0.1";
        target.Port = m_Port;
        target.User = "admin";
        return target;
    }
    // A counter monitor of two counters, started; its counter ids in *cpu and *memory.
    uint32_t CounterMonitor(const char* description, uint32_t* cpu, uint32_t* memory) {
        uint32_t id = 0;
        EXPECT_EQ(m_Probe.AddMonitor(SCA_SRV_MONITOR_COUNTERS, SCA_TEZ_MODE_CPU, description, &id),
                  1);
        EXPECT_EQ(m_Probe.AddCounter(id, kCpuUsage, "", "", "", cpu), 1);
        EXPECT_EQ(m_Probe.AddCounter(id, kMemoryUsage, "", "", "", memory), 1);
        EXPECT_EQ(m_Probe.StartMonitor(id), 1);
        return id;
    }
};

} // namespace

// A counter monitor, one of its counters and a report of it, each in a viewer of its own: each
// window shows and the viewer ends with 0 when the window closes, be it by a termination request
// or by itself when its monitor is gone. A monitor the service does not have ends with 1.
TEST_F(DetachedViewers, EachFormShowsItsWindowAndEndsWithItsExitCode) {
    uint32_t cpu = 0;
    uint32_t memory = 0;
    const uint32_t monitor = CounterMonitor("Detached load", &cpu, &memory);
    const std::string password = m_Korvas->InitialPassword();

    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Monitor, monitor), password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral("showing \"Detached load\"")))
            << viewer.Errors().toStdString();
        EXPECT_EQ(viewer.Terminate(), 0) << viewer.Errors().toStdString();
    }
    {
        Target target = At(SCA_ViewerCommand::Kind::Monitor, monitor);
        target.CounterId = memory;
        target.Screen = 1;
        Viewer viewer(target, password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral("showing \""))) << viewer.Errors().toStdString();
        EXPECT_TRUE(viewer.Errors().contains(QStringLiteral("Detached load")))
            << viewer.Errors().toStdString();
        EXPECT_EQ(viewer.Terminate(), 0) << viewer.Errors().toStdString();
    }

    // A report of the monitor's run so far, kept by the service.
    ASSERT_TRUE(korvanta_test::WaitUntil("values of the monitor's counters", [&] {
        SCA_KorvantaInterface::MonitorStatus status;
        return m_Probe.GetMonitorStatusEx(monitor, SCA_ALL_ONES, 0, 0, &status) == 1 &&
               !status.Counters.empty() &&
               std::all_of(status.Counters.begin(), status.Counters.end(),
                           [](const auto& counter) { return counter.Status.ValueCount > 0; });
    }));
    SCA_TezReport report(nullptr, nullptr, 1);
    ASSERT_EQ(m_Probe.GetMonitorReport(monitor, &report), 1);
    uint32_t reportId = 0;
    ASSERT_EQ(m_Probe.AddReport(&report, &reportId), 1);
    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Report, reportId), password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral("showing \"Monitoring Report")))
            << viewer.Errors().toStdString();
        EXPECT_EQ(viewer.Terminate(), 0) << viewer.Errors().toStdString();
    }

    // The monitor deleted under its viewer: the window says so and closes, the viewer ends.
    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Monitor, monitor), password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral("showing \"Detached load\"")));
        ASSERT_EQ(m_Probe.DeleteMonitor(monitor), 1);
        EXPECT_EQ(viewer.Finish(), 0) << viewer.Errors().toStdString();
        EXPECT_TRUE(viewer.Errors().contains(QStringLiteral("Cannot update monitor status.")))
            << viewer.Errors().toStdString();
    }

    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Monitor, 999), password);
        EXPECT_EQ(viewer.Finish(), 1);
        EXPECT_TRUE(viewer.Errors().contains(
            QStringLiteral("Error: SCA_VdmGui::DoProcess: Cannot get monitor status - 999")))
            << viewer.Errors().toStdString();
        EXPECT_FALSE(viewer.Errors().contains(QStringLiteral("showing")));
    }
    // A wrong password is a failed login, told as such.
    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Monitor, monitor), "not the password");
        EXPECT_EQ(viewer.Finish(), 1);
        EXPECT_TRUE(viewer.Errors().contains(
            QStringLiteral("Cannot login to Korvanta Server @ 127.0.0.1 as admin")))
            << viewer.Errors().toStdString();
    }
}

// The main window, too, ends on a termination request (the desktop session ending) as when it is
// closed: the settings it keeps until its end are saved, and its instance socket is gone.
TEST_F(DetachedViewers, TheMainWindowEndsOnATerminationRequestWithItsSettingsSaved) {
    korvanta_test::TempDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORVANTA_HOME"), QString::fromStdString(home.Path()));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(home.Path()));
    const QString settings = QString::fromStdString(home / "korva_user_client.hdx");
    const QString socket = QString::fromStdString(home / "korvac.socket");
    const auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    Viewer client(QStringList(), environment);
    // The socket comes before the settings are loaded, and the defaults are written then.
    ASSERT_TRUE(korvanta_test::WaitUntilPumping("the main window with its settings", [&] {
        return QFile::exists(socket) && !bytesOf(settings).isEmpty();
    }));
    const QByteArray atStart = bytesOf(settings);
    EXPECT_EQ(client.Terminate(), 0) << client.Errors().toStdString();
    EXPECT_NE(bytesOf(settings), atStart) << "the window's state was not saved at its end";
    EXPECT_FALSE(QFile::exists(socket));
}

// A process monitor and one of its processes, each in a viewer of its own.
TEST_F(DetachedViewers, TheProcessFormsShowTheirWindows) {
    uint32_t monitor = 0;
    ASSERT_EQ(m_Probe.AddMonitor(SCA_SRV_MONITOR_PROCESS, SCA_TEZ_MODE_PROCESS, "Busy processes",
                                 &monitor),
              1);
    ASSERT_EQ(m_Probe.StartMonitor(monitor), 1);
    // A process of the monitor's list, once it has scanned the processes.
    uint32_t process = SCA_ALL_ONES;
    ASSERT_TRUE(korvanta_test::WaitUntil("a process in the monitor's list", [&] {
        SCA_KorvantaInterface::ProcessListStatus status;
        SCA_TezProcessLog log;
        if (m_Probe.GetMonitorProcessListStatusEx(monitor, SCA_ALL_ONES, &status, &log) &&
            !status.Processes.empty()) {
            process = status.Processes.front().Status.ProcessId;
        }
        return process != SCA_ALL_ONES;
    }));
    const std::string password = m_Korvas->InitialPassword();
    {
        Viewer viewer(At(SCA_ViewerCommand::Kind::Monitor, monitor), password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral("showing \"Busy processes\"")))
            << viewer.Errors().toStdString();
        EXPECT_EQ(viewer.Terminate(), 0) << viewer.Errors().toStdString();
    }
    {
        Target target = At(SCA_ViewerCommand::Kind::Monitor, monitor);
        target.ProcessId = process;
        target.Screen = 1;
        Viewer viewer(target, password);
        ASSERT_TRUE(viewer.WaitFor(QStringLiteral(" - Process Monitor\"")))
            << viewer.Errors().toStdString();
        EXPECT_EQ(viewer.Terminate(), 0) << viewer.Errors().toStdString();
    }
    // A process the monitor does not have ends with the viewer's message.
    {
        Target target = At(SCA_ViewerCommand::Kind::Monitor, monitor);
        target.ProcessId = 0xFFFFFFF0u;
        Viewer viewer(target, password);
        EXPECT_EQ(viewer.Finish(), 1);
        EXPECT_TRUE(viewer.Errors().contains(
            QStringLiteral("SCA_VdmGui::ExecuteProcessMonitor: Cannot get process - %1:4294967280")
                .arg(monitor)))
            << viewer.Errors().toStdString();
    }
}

// The main window starts the viewer of its selected monitor: the viewer's command line, which
// every local user can read, holds no password; its environment, which only the user can read,
// does.
TEST_F(DetachedViewers, ThePasswordTravelsInTheEnvironmentOnly) {
    uint32_t cpu = 0;
    uint32_t memory = 0;
    const uint32_t monitor = CounterMonitor("Watched elsewhere", &cpu, &memory);
    const std::string password = m_Korvas->InitialPassword();

    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    m_Main->findChild<SCA_MonitorsView*>()->Rows()->Select(QList<QVariant>{QVariant(monitor)});

    // The window's arguments and environment, started as the client would start them, from the
    // client program rather than this test's.
    qint64 pid = 0;
    SCA_ViewerCommand::SetLauncher([&pid](const QString&, const QStringList& arguments,
                                          const QProcessEnvironment& environment, uint32_t* error) {
        return SCA_ViewerCommand::StartDetached(QString::fromUtf8(korvanta_test::KorvacProgram()),
                                                arguments, environment, error, &pid);
    });
    const int started = korvac_test::CommandsOf(m_Main)->ViewDetached(1);
    SCA_ViewerCommand::SetLauncher(nullptr);
    ASSERT_EQ(started, 1);
    ASSERT_GT(pid, 0);

    const std::string commandLine = ReadProc(pid, "cmdline");
    const std::string expected = std::string(korvanta_test::KorvacProgram()) + '\0' + "-vdm" +
                                 '\0' + std::to_string(monitor) + '\0' + "-conf_name" + '\0' +
                                 "korva" + '\0' + "-host" + '\0' + "127.0.0.1" + '\0' + "-port" +
                                 '\0' + std::to_string(m_Port) + '\0' + "-user" + '\0' + "admin" +
                                 '\0' + "-screen" + '\0' + "1" + '\0';
    EXPECT_EQ(commandLine, expected);
    EXPECT_EQ(commandLine.find(password), std::string::npos);
    const std::string environment = ReadProc(pid, "environ");
    EXPECT_NE(environment.find(std::string("\0KORVANTA_PASSWORD=", 19) + password + '\0'),
              std::string::npos);

    // Ended by its id, as any viewer the test starts.
    kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(korvanta_test::WaitUntil("the viewer to end", [&] { return Ended(pid); }));
}
