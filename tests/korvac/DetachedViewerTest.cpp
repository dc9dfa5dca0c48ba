// SPDX-License-Identifier: MIT
// The detached viewers' command line (written as an argument vector, read back by the viewer's
// grammar), the desktop shortcut file, and the viewer's own steps against a stand-in service:
// where its window goes, and what it does without a password.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/kit/ParseMainCommandLine.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_DesktopShortcut.h"
#include "korvac/viewer/SCA_VdmGui.h"
#include "korvac/viewer/SCA_ViewerGui.h"
#include "libmor/SCA_FileSystem.h"
#include "libvop/SCA_ConnectDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezConfigFiles.h"
#include "tests/support/TestPaths.h"

using korvac_test::Answer;
using korvac_test::CommandsOf;
using korvac_test::ConnectionOf;
using korvac_test::FakeService;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;
using Target = SCA_ViewerCommand::Target;
using Kind = SCA_ViewerCommand::Kind;

namespace {

constexpr uint16_t kLocalPort = 24503;

// argv as the viewer's main receives it: the program, then the words.
struct Argv {
    explicit Argv(const QStringList& words) {
        m_Words.push_back("korvac");
        for (const QString& word : words) {
            m_Words.push_back(word.toStdString());
        }
        for (std::string& word : m_Words) {
            m_Pointers.push_back(word.data());
        }
    }
    int Count() const { return static_cast<int>(m_Pointers.size()); }
    char** Values() { return m_Pointers.data(); }

private:
    std::vector<std::string> m_Words;
    std::vector<char*> m_Pointers;
};

Target ReadBack(const QStringList& words, const char* environmentPassword) {
    Argv argv(words);
    SCA_ConfigObj params("Params", nullptr);
    ParseMainCommandLine(&params, argv.Count(), argv.Values());
    return SCA_ViewerCommand::Read(&params, kLocalPort, environmentPassword);
}

Target Monitor(uint32_t id, const char* conf, const char* host, uint16_t port, const char* user) {
    Target target;
    target.ViewerKind = Kind::Monitor;
    target.ObjectId = id;
    target.ConfName = conf;
    target.Host = host;
    target.Port = port;
    target.User = user;
    return target;
}

// The Exec value back into its words, by the Desktop Entry rules: the key file's string
// escapes first, then the quoting, then "%%".
QStringList SplitExec(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == QLatin1Char('n')   ? QChar('\n')
                         : next == QLatin1Char('t') ? QChar('\t')
                         : next == QLatin1Char('r') ? QChar('\r')
                         : next == QLatin1Char('s') ? QChar(' ')
                                                    : next;
            continue;
        }
        unescaped += value[i];
    }
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < unescaped.size()) {
                word += unescaped[++i];
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == QLatin1Char(' ')) {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words << word;
    }
    for (QString& each : words) {
        each.replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return words;
}

QString KeyOf(const QString& file, const QString& key) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return QStringLiteral("<unreadable>");
    }
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.startsWith(key + QLatin1Char('='))) {
            return text.mid(key.size() + 1);
        }
    }
    return QStringLiteral("<none>");
}

} // namespace

// What a writer puts on the command line is what the viewer reads, whatever the texts hold; what
// the writer leaves out takes the viewer's defaults.
TEST(ViewerCommand, ArgumentsAndGrammarRoundTrip) {
    struct Row {
        const char* Name;
        Target Written;
        Target Read;
    };
    std::vector<Row> rows;
    {
        Target plain = Monitor(7, "korva", "127.0.0.1", 24600, "admin");
        rows.push_back({"monitor", plain, plain});
        Target counter = plain;
        counter.CounterId = 3;
        counter.Screen = 1;
        rows.push_back({"counter on screen 1", counter, counter});
        Target process = plain;
        process.ProcessId = 4242;
        process.Screen = 0;
        rows.push_back({"process on screen 0", process, process});
        Target report = plain;
        report.ViewerKind = Kind::Report;
        report.ObjectId = 0;
        rows.push_back({"report 0", report, report});
        Target words = Monitor(1, "my  conf", "db host", 24600, "Jane Q  Admin");
        rows.push_back({"several words, blanks kept", words, words});
        Target dashes = Monitor(2, "-x", "\\\\srv", 24600, "-bob");
        rows.push_back({"values starting with '-' or '\\'", dashes, dashes});
        Target utf8 = Monitor(3, "korva", "h\xC3\xB4te", 24600, "\xC3\xA9milie");
        rows.push_back({"UTF-8", utf8, utf8});
        Target port0 = Monitor(4, "korva", "127.0.0.1", 0, "admin");
        Target port0Read = port0;
        port0Read.Port = kLocalPort;
        rows.push_back({"port 0 falls back", port0, port0Read});
        Target empty = Monitor(5, "", "", 24600, "");
        rows.push_back({"empty texts take the defaults", empty,
                        Monitor(5, "korva", "localhost", 24600, "qelma")});
        Target longUser = Monitor(6, "korva", "127.0.0.1", 24600, std::string(300, 'u').c_str());
        rows.push_back({"no text is cut", longUser, longUser});
    }
    for (Row& row : rows) {
        row.Read.Password = std::string("env secret");
        const QStringList arguments = SCA_ViewerCommand::Arguments(row.Written);
        EXPECT_EQ(ReadBack(arguments, "env secret"), row.Read) << row.Name;
    }

    // The screen comes last, after the connection, as writers always put it.
    Target counter = Monitor(9, "korva", "server-a", 8000, "admin");
    counter.CounterId = 12;
    counter.Screen = 1;
    EXPECT_EQ(SCA_ViewerCommand::Arguments(counter),
              (QStringList{"-vdm", "9", "-counter", "12", "-conf_name", "korva", "-host",
                           "server-a", "-port", "8000", "-user", "admin", "-screen", "1"}));
    // A password the target holds is never written.
    counter.Password = std::string("secret");
    EXPECT_FALSE(SCA_ViewerCommand::Arguments(counter).join(' ').contains("secret"));
}

// Command lines typed by hand follow the grammar: a word that begins with '-' is a parameter,
// a parameter's words join with one blank, the first of vdm and vdr decides, and -password
// comes before the environment. Without either there is no password at all.
TEST(ViewerCommand, HandTypedCommandLines) {
    const Target dash = ReadBack({"-vdm", "5", "-user", "-bob", "-port", "70000"}, nullptr);
    EXPECT_EQ(dash.User, "qelma");
    EXPECT_EQ(dash.Port, kLocalPort);
    EXPECT_FALSE(dash.Password.has_value());

    const Target joined =
        ReadBack({"-vdr", "8", "-host", "a", "b", "-password", "typed", "-screen", "x"}, "env");
    EXPECT_EQ(joined.ViewerKind, Kind::Report);
    EXPECT_EQ(joined.ObjectId, 8u);
    EXPECT_EQ(joined.Host, "a b");
    EXPECT_EQ(joined.Password, std::string("typed"));
    EXPECT_FALSE(joined.Screen.has_value());

    const Target both = ReadBack({"-vdm", "5", "-vdr", "7", "-counter", "c1"}, "");
    EXPECT_EQ(both.ViewerKind, Kind::Monitor);
    EXPECT_EQ(both.ObjectId, 5u);
    EXPECT_FALSE(both.CounterId.has_value());
    // An empty password in the environment is a password (a service that asks for none).
    EXPECT_EQ(both.Password, std::string());
}

// The shortcut's Exec line gives the program and its arguments back word for word, whatever
// characters they hold; the file is the user's alone.
// The detached entries of every context menu: one entry that leaves the place to the windowing
// system on a single screen; else a separator, then one entry a screen that says which screen
// it was (the entry's data too, which the windows' tests look up).
TEST(DetachedMenu, OneEntryOrOneAScreen) {
    struct Row {
        qsizetype Screens;
        QStringList Texts;
        int Chosen;
        uint32_t Screen;
    };
    const std::vector<Row> rows = {
        {1, {"Open ..."}, 0, SCA_ViewerCommand::kNoScreen},
        {0, {"Open ..."}, 0, SCA_ViewerCommand::kNoScreen},
        {3, {"", "Open on Monitor 1", "Open on Monitor 2", "Open on Monitor 3"}, 3, 2},
    };
    for (const Row& row : rows) {
        QMenu menu;
        menu.addAction(QStringLiteral("First"));
        std::vector<uint32_t> opened;
        SCA_DetachedMenu::AddEntries(&menu, "Open", row.Screens,
                                     [&opened](uint32_t screen) { opened.push_back(screen); });
        QList<QAction*> added = menu.actions().mid(1);
        QStringList texts;
        for (QAction* action : added) {
            texts << (action->isSeparator() ? QString() : action->text());
        }
        EXPECT_EQ(texts, row.Texts) << row.Screens;
        for (qsizetype index = 1; row.Screens > 1 && index < added.size(); ++index) {
            EXPECT_EQ(added[index]->data().toInt(), index - 1);
            EXPECT_FALSE(added[index]->icon().isNull());
        }
        added[row.Chosen]->trigger();
        EXPECT_EQ(opened, std::vector<uint32_t>{row.Screen}) << row.Screens;
    }
}

namespace {

class HookedViewer : public SCA_ViewerGui {
public:
    using SCA_ViewerGui::RunHookedWindow;
    using SCA_ViewerGui::SCA_ViewerGui;
    int DoProcess(int, char**) override { return 0; }
};

// Closes the popup or the modal box that opens next, and counts it.
void CloseWhatOpens(int* closed) {
    QTimer::singleShot(50, [closed] {
        QWidget* open = QApplication::activePopupWidget();
        open = open != nullptr ? open : QApplication::activeModalWidget();
        if (open != nullptr) {
            open->close();
            ++*closed;
        }
    });
}

} // namespace

// A viewer of its own runs with the built-in hook only: a box or a context menu of its window
// goes there (and is seen), and the built-in hook is in force again afterwards.
TEST(ViewerWindowHook, BoxesAndMenusReachTheBuiltInHook) {
    ASSERT_EQ(SCA_SetModalHook(nullptr), nullptr);
    HookedViewer viewer(qApp, "HookedViewer");
    int closed = 0;
    const int result = viewer.RunHookedWindow([&closed] {
        QMenu menu;
        menu.addAction(QStringLiteral("Entry"));
        CloseWhatOpens(&closed);
        const QAction* chosen = SCA_ExecMenu(&menu, QPoint(10, 10));
        CloseWhatOpens(&closed);
        SCA_ShowMessageBox(nullptr, SCA_LEVEL_INFO, QStringLiteral("Message"),
                           QStringLiteral("Cannot update monitor status."));
        return chosen == nullptr ? 1 : 0;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(SCA_SetModalHook(nullptr), nullptr);
}

TEST(DesktopShortcut, ExecParsesBackAndTheFileIsPrivate) {
    PrivateHome home;
    const QString program = QStringLiteral("/opt/my apps/korvac$1");
    const QStringList arguments = {"-vdm",  "12",           "-conf_name", "",
                                   "-host", "a\"b`c$d\\e",  "-user",      "50% tab\there\nnew line",
                                   "-x",    "'(;|&<>~*?#)'"};
    EXPECT_EQ(SplitExec(SCA_DesktopExecLine(program, arguments)), QStringList{program} + arguments);
    EXPECT_EQ(SCA_DesktopExecLine(QStringLiteral("/bin/k=v"), {}), QString());

    const char* name = "Disks / load - db..1";
    EXPECT_EQ(SCA_IsDesktopShortcutExists(name), 0);
    uint32_t error = 0;
    ASSERT_EQ(SCA_CreateDesktopShortcut(name, program, arguments, &error), 1) << error;
    const QString file = SCA_GetDesktopShortcutPath(name);
    EXPECT_TRUE(file.startsWith(QString::fromStdString(home.Path()) + "/Desktop/"));
    EXPECT_FALSE(file.mid(file.lastIndexOf('/') + 1).contains(QStringLiteral("..")));
    EXPECT_EQ(SCA_IsDesktopShortcutExists(name), 1);
    struct stat info = {};
    ASSERT_EQ(stat(file.toUtf8().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(KeyOf(file, QStringLiteral("Name")), QString::fromUtf8(name));
    EXPECT_EQ(KeyOf(file, QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(SplitExec(KeyOf(file, QStringLiteral("Exec"))), QStringList{program} + arguments);
}

class Viewer : public testing::Test {
protected:
    void SetUp() override {
        SCA_TezConfig config(SCA_PRODUCT_TYPE_NONE);
        ASSERT_EQ(SCA_LoadProductConfig(&config, "korva", SCA_TezConfigSide::Client, nullptr), 1);
        m_Service.Healthy();
    }
    // One viewer process's run (a process runs its viewer once).
    int Run(const QStringList& words) {
        // The one before goes first: it takes its error callback with it.
        m_Viewer.reset();
        m_Viewer = std::make_unique<SCA_VdmGui>(nullptr);
        m_Viewer->GetSession()->SetClientFactory(
            [this] { return new korvac_test::FakeClient(&m_Service); });
        Argv argv(words);
        return m_Viewer->DoProcess(argv.Count(), argv.Values());
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : m_Hook.Boxes) {
            texts << box.Title + ": " + box.Text;
        }
        return texts;
    }
    // The password of the last login the service received.
    std::string LoginPassword() const {
        char password[256] = "<none>";
        for (const auto& call : m_Service.Calls) {
            if (call.Op == "Login") {
                call.Request->GetField("Password", password, sizeof(password));
            }
        }
        return password;
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    std::unique_ptr<SCA_VdmGui> m_Viewer;
};

// A viewer started before the client ever ran: no product configuration yet.
class ViewerFirstRun : public Viewer {
protected:
    void SetUp() override { m_Service.Healthy(); }
};

// It makes the product configuration as the client does (with no box for the news) and goes on
// to log in; a product file of another product is refused in the client's words and left alone.
TEST_F(ViewerFirstRun, MakesTheProductConfigurationAsTheClientDoes) {
    const std::string made = m_Home.Path() + "/korva.hdx";
    ASSERT_FALSE(SCA_IsFileExists(made.c_str()));
    setenv(SCA_ViewerCommand::kPasswordVariable, "pw", 1);
    m_Service.Standing("GetMonitorStats", Answer::Refused());
    EXPECT_EQ(Run({"-vdm", "4", "-host", "server-a", "-port", "8000", "-user", "ops"}), 0);
    // It got as far as the monitor; nothing was said about the configuration it made.
    EXPECT_TRUE(BoxTexts().contains("Error: SCA_VdmGui::DoProcess: Cannot get monitor status - 4"));
    for (const QString& text : BoxTexts()) {
        EXPECT_FALSE(text.contains(QStringLiteral("configuration"))) << text.toStdString();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error: "))) << text.toStdString();
    }
    EXPECT_EQ(m_Service.Count("Login"), 1);
    SCA_TezConfig product(SCA_PRODUCT_TYPE_NONE);
    ASSERT_EQ(product.Init("korva", SCA_TezConfigSide::Client), 1);
    ASSERT_EQ(product.LoadConfig(), 1);
    EXPECT_EQ(product.GetProductType(), SCA_PRODUCT_TYPE_KORVANTA);

    constexpr uint32_t kAnotherProduct = SCA_PRODUCT_TYPE_KORVANTA + 1;
    SCA_TezConfig other(kAnotherProduct);
    ASSERT_EQ(other.Init("other", SCA_TezConfigSide::Client), 1);
    other.SetProductType(kAnotherProduct);
    ASSERT_EQ(other.SaveConfig(), 1);
    const std::string otherFile = other.GetConfigFilePath();
    m_Hook.Boxes.clear();
    setenv(SCA_ViewerCommand::kPasswordVariable, "pw", 1);
    EXPECT_EQ(Run({"-vdm", "4", "-conf_name", "other", "-host", "server-a", "-user", "ops"}), 0);
    EXPECT_EQ(BoxTexts(), QStringList{"Error: Product configuration file is invalid."});
    EXPECT_EQ(m_Service.Count("Login"), 1);
    SCA_TezConfig kept(SCA_PRODUCT_TYPE_NONE);
    ASSERT_EQ(kept.Init("other", SCA_TezConfigSide::Client), 1);
    ASSERT_EQ(kept.LoadConfig(), 1);
    EXPECT_EQ(kept.GetProductType(), kAnotherProduct);
    EXPECT_TRUE(SCA_IsFileExists(otherFile.c_str()));
}

// With no password given, the viewer asks with the connect dialog (filled with what the command
// line said) and tries nothing when it is cancelled; the password entered is the one used.
TEST_F(Viewer, WithoutAPasswordItAsksAndTriesNoDefault) {
    unsetenv(SCA_ViewerCommand::kPasswordVariable);
    QString shownHost;
    int shownPort = 0;
    QString shownUser;
    m_Hook.OnExec = [&](QDialog* dialog) {
        auto* connect = qobject_cast<SCA_ConnectDlg*>(dialog);
        ASSERT_NE(connect, nullptr);
        shownHost = connect->GetHostEdit()->text();
        shownPort = connect->GetPortEdit()->value();
        shownUser = connect->GetUserEdit()->text();
        EXPECT_EQ(connect->focusWidget(), connect->GetPasswordEdit());
        EXPECT_TRUE(connect->GetPasswordEdit()->text().isEmpty());
    };
    EXPECT_EQ(Run({"-vdm", "4", "-host", "server-a", "-port", "8000", "-user", "ops"}), 0);
    EXPECT_EQ(m_Hook.Dialogs, QStringList{"Connect to Korvanta Server"});
    EXPECT_EQ(shownHost, QStringLiteral("server-a"));
    EXPECT_EQ(shownPort, 8000);
    EXPECT_EQ(shownUser, QStringLiteral("ops"));
    EXPECT_EQ(m_Service.Count("Login"), 0);

    // Entered and accepted: that password logs in; a monitor of an unknown type ends the run.
    m_Hook.OnExec = [](QDialog* dialog) {
        qobject_cast<SCA_ConnectDlg*>(dialog)->GetPasswordEdit()->setText("typed");
        dialog->setResult(QDialog::Accepted);
    };
    m_Service.Standing(
        "GetMonitorStats", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
            reply->AddField("Type", 2u);
            for (const char* name : {"Status", "RunState", "Counters", "Errors", "Warnings"}) {
                reply->AddField(name, 0u);
            }
        }));
    EXPECT_EQ(Run({"-vdm", "4", "-host", "server-a", "-port", "8000", "-user", "ops"}), 0);
    EXPECT_EQ(LoginPassword(), "typed");
    EXPECT_EQ(BoxTexts(),
              QStringList{"Error: SCA_VdmGui::DoProcess: Unsupported monitor type - 2"});
    EXPECT_STREQ(m_Viewer->GetClientUserConfig()->GetConnectPassword(), "typed");
    // The client user configuration that the windows draw with holds the defaults, not zeros.
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser defaults(&config);
    defaults.InitDefConfig(&config);
    ASSERT_NE(defaults.GetChartBackgroundColor(), 0u);
    EXPECT_EQ(m_Viewer->GetClientUserConfig()->GetChartBackgroundColor(),
              defaults.GetChartBackgroundColor());
    EXPECT_EQ(m_Viewer->GetClientUserConfig()->GetChartLineColor(), defaults.GetChartLineColor());
}

// The password handed over in the environment logs in, and goes no further than this process.
TEST_F(Viewer, TheEnvironmentsPasswordLogsInAndIsNotPassedOn) {
    setenv(SCA_ViewerCommand::kPasswordVariable, "handed over", 1);
    m_Service.Standing("GetMonitorStats", Answer::Refused());
    EXPECT_EQ(Run({"-vdm", "4", "-host", "server-a", "-port", "8000", "-user", "ops"}), 0);
    EXPECT_TRUE(m_Hook.Dialogs.empty());
    EXPECT_EQ(LoginPassword(), "handed over");
    EXPECT_EQ(std::getenv(SCA_ViewerCommand::kPasswordVariable), nullptr);
    EXPECT_TRUE(BoxTexts().contains("Error: SCA_VdmGui::DoProcess: Cannot get monitor status - 4"));
}

// A text the service could not take is refused whole with a clear message, never cut.
TEST_F(Viewer, ATooLongUserNameIsRefusedNotCut) {
    const std::string user(256, 'u');
    EXPECT_EQ(Run({"-vdm", "4", "-host", "server-a", "-port", "8000", "-user",
                   QString::fromStdString(user), "-password", "pw"}),
              0);
    EXPECT_EQ(BoxTexts(), QStringList{"Error: SCA_VdmGui: the user name is longer than 255 bytes"});
    EXPECT_EQ(m_Service.Count("Login"), 0);
}

// Without a monitor id there is nothing to show: no box, nothing asked.
TEST_F(Viewer, WithoutAMonitorIdItEndsAtOnce) {
    EXPECT_EQ(Run({"-vdm", "-host", "server-a"}), 0);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_TRUE(m_Hook.Dialogs.empty());
    EXPECT_EQ(m_Service.Calls.size(), 0u);
}

// A window that fits the chosen screen's available area is centred on it, one that does not is
// put at its corner, and a screen that does not exist leaves the window where it was.
TEST_F(Viewer, PlaceWindowCentresOnTheChosenScreen) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    const QRect second = screens[1]->availableGeometry();
    SCA_VdmGui viewer(nullptr);
    Argv argv({"-vdm", "1", "-screen", "1"});
    viewer.ParseCommandLine(argv.Count(), argv.Values());
    QDialog small;
    small.resize(401, 301);
    EXPECT_EQ(viewer.PlaceWindow(&small), 1);
    EXPECT_EQ(small.pos(), QPoint(second.x() + second.width() / 2 - 200,
                                  second.y() + second.height() / 2 - 150));
    EXPECT_FALSE(small.windowIcon().isNull());
    QDialog large;
    large.resize(second.width() + 10, 300);
    viewer.PlaceWindow(&large);
    EXPECT_EQ(large.pos(), second.topLeft());

    SCA_VdmGui other(nullptr);
    Argv missing({"-vdm", "1", "-screen", "2"});
    other.ParseCommandLine(missing.Count(), missing.Values());
    QDialog stays;
    stays.move(17, 23);
    other.PlaceWindow(&stays);
    EXPECT_EQ(stays.pos(), QPoint(17, 23));
}

namespace {

// What the launcher was asked to start.
struct Launched {
    QString Program;
    QStringList Arguments;
    QProcessEnvironment Environment;
};

} // namespace

class MainWindowDetached : public testing::Test {
protected:
    void SetUp() override {
        m_Window = korvac_test::StartWindowOn(&m_Service);
        ASSERT_NE(m_Window, nullptr);
        m_Service.Healthy();
        m_Service.Status.MonitorsStatusId = 1;
        m_Service.Monitors = {FakeService::Row(1, 9, 11, 12, 0, 0, "", "Processor"),
                              FakeService::Row(3, 9, 11, 13, 0, 0, "db/1", "Disks")};
        m_Service.Standing("GetMonitorObj",
                           Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                               SCA_SrvMonitor monitor(nullptr, nullptr);
                               uint32_t id = 0;
                               request->GetField("MonitorId", &id);
                               monitor.SetMonitorId(id);
                               monitor.SetDescription(id == 3 ? "Disks" : "Processor");
                               monitor.SetComputerName(id == 3 ? "db/1" : "");
                               monitor.SetRemoteMonitor(id == 3 && m_Remote ? 1 : 0);
                               monitor.Serialize(reply->AddConfigObj("Monitor"));
                           }));
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
        SCA_ViewerCommand::SetLauncher([this](const QString& program, const QStringList& arguments,
                                              const QProcessEnvironment& environment,
                                              uint32_t* error) {
            m_Launched.push_back({program, arguments, environment});
            *error = m_LaunchError;
            return m_LaunchError == 0;
        });
    }
    void TearDown() override { SCA_ViewerCommand::SetLauncher(nullptr); }

    void Select(uint32_t id) {
        m_Window->findChild<SCA_MonitorsView*>()->Rows()->Select(QList<QVariant>{QVariant(id)});
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : m_Hook.Boxes) {
            texts << box.Text;
        }
        return texts;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    std::unique_ptr<SCA_SrvGui> m_Window;
    std::vector<Launched> m_Launched;
    uint32_t m_LaunchError = 0;
    bool m_Remote = true;
};

// The selected monitor opens in a viewer of its own, on the screen of the entry chosen; the
// password goes into the viewer's environment and nowhere on its command line.
TEST_F(MainWindowDetached, ViewDetachedStartsTheViewerWithThePasswordInItsEnvironment) {
    m_Window->findChild<SCA_MonitorsView*>()->ClearMonitorSelection();
    CommandsOf(m_Window)->ViewDetached();
    EXPECT_EQ(BoxTexts(), QStringList{"Please, select a monitor."});
    EXPECT_TRUE(m_Launched.empty());

    Select(3);
    m_Hook.OnMenu = [](QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String("View Detached on Monitor 2")) {
                return action;
            }
        }
        return nullptr;
    };
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    CommandsOf(m_Window)->BuildMonitorContextMenu(&event);
    ASSERT_EQ(m_Launched.size(), 1u);
    const Launched& viewer = m_Launched[0];
    EXPECT_EQ(viewer.Program, QCoreApplication::applicationFilePath());
    EXPECT_EQ(viewer.Arguments,
              (QStringList{"-vdm", "3", "-conf_name", "korva", "-host", "server-a", "-port", "8000",
                           "-user", "admin", "-screen", "1"}));
    EXPECT_EQ(viewer.Environment.value(QLatin1String(SCA_ViewerCommand::kPasswordVariable)),
              QStringLiteral("secret"));
    EXPECT_FALSE(viewer.Arguments.join(' ').contains(QStringLiteral("secret")));

    // A viewer that cannot be started is logged, without a box.
    m_LaunchError = 5;
    m_Hook.Boxes.clear();
    EXPECT_EQ(CommandsOf(m_Window)->ViewDetached(SCA_ALL_ONES), 0);
    ASSERT_EQ(m_Launched.size(), 2u);
    EXPECT_FALSE(m_Launched[1].Arguments.contains(QStringLiteral("-screen")));
    EXPECT_EQ(
        korvac_test::Logged(m_Window.get(),
                            "SCA_SrvGui::ViewDetached: cannot execute monitor command (ERR:5)"),
        1);
    EXPECT_TRUE(BoxTexts().isEmpty());
}

// The shortcut starts the same viewer without the password (the viewer asks for it), is named
// after the monitor and its computer, replaces an existing one only when the user says Yes,
// and is the user's file alone.
TEST_F(MainWindowDetached, CreateDesktopShortcutWritesAPrivateFileWithoutThePassword) {
    Select(3);
    CommandsOf(m_Window)->CreateDesktopShortcut();
    EXPECT_EQ(BoxTexts(), QStringList{"Monitor desktop shortcut successfully created."});
    const QString file = SCA_GetDesktopShortcutPath("Disks - db/1");
    EXPECT_EQ(KeyOf(file, QStringLiteral("Name")), QStringLiteral("Disks - db/1"));
    EXPECT_EQ(SplitExec(KeyOf(file, QStringLiteral("Exec"))),
              (QStringList{QCoreApplication::applicationFilePath(), "-vdm", "3", "-conf_name",
                           "korva", "-host", "server-a", "-port", "8000", "-user", "admin"}));
    EXPECT_FALSE(Read(file).contains("secret"));
    // The icon is the client's, as installed by the package and named in its own entry.
    EXPECT_EQ(KeyOf(file, QStringLiteral("Icon")),
              KeyOf(QString::fromStdString(std::string(korvanta_test::SourceDir()) +
                                           "/packaging/desktop/korvac.desktop"),
                    QStringLiteral("Icon")));
    EXPECT_FALSE(KeyOf(file, QStringLiteral("Icon")).startsWith(QLatin1Char('<')));
    struct stat info = {};
    ASSERT_EQ(stat(file.toUtf8().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    // No keeps the existing file as it is; Yes replaces it.
    {
        QFile mark(file);
        ASSERT_TRUE(mark.open(QIODevice::WriteOnly | QIODevice::Truncate));
        mark.write("kept");
    }
    m_Hook.Boxes.clear();
    m_Hook.Answer = QMessageBox::No;
    CommandsOf(m_Window)->CreateDesktopShortcut();
    EXPECT_EQ(BoxTexts(), QStringList{"A desktop shortcut with the same name already exists.\nDo "
                                      "you want to overwrite the existing desktop shortcut?"});
    EXPECT_EQ(Read(file), QByteArray("kept"));
    m_Hook.Answer = QMessageBox::Yes;
    CommandsOf(m_Window)->CreateDesktopShortcut();
    EXPECT_TRUE(Read(file).startsWith("[Desktop Entry]"));

    // A local monitor's shortcut is named by its description alone.
    m_Remote = false;
    m_Hook.Boxes.clear();
    CommandsOf(m_Window)->CreateDesktopShortcut();
    EXPECT_EQ(BoxTexts(), QStringList{"Monitor desktop shortcut successfully created."});
    EXPECT_EQ(SCA_IsDesktopShortcutExists("Disks"), 1);
    EXPECT_TRUE(m_Launched.empty());
}
