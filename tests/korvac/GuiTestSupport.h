// SPDX-License-Identifier: MIT
#pragma once

// What the client's tests share: a private home, configuration and runtime folder for each
// test, a modal hook that records boxes and dialogs instead of showing them, and a main window
// started the way the program starts it.

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "../support/KorvantaTestSupport.h"
#include "../support/WaitUntilPumping.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainLayout.h"
#include "korvac/main/SCA_MainMonitorCommands.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_ProductUpdateCheck.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_WindowPlacement.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ProgressDlg.h"
#include "model/SCA_DebugLog.h"

namespace korvac_test {

// Points HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and KORVANTA_HOME at a temporary folder for
// the test's life, so no test reads or writes the user's own files.
class PrivateHome {
public:
    PrivateHome() {
        Set("HOME", m_Dir.Path());
        Set("XDG_CONFIG_HOME", m_Dir.Path());
        Set("XDG_RUNTIME_DIR", m_Dir.Path());
        Set("KORVANTA_HOME", m_Dir.Path());
    }
    ~PrivateHome() {
        for (const auto& [name, value] : m_Saved) {
            if (value.has) {
                setenv(name.c_str(), value.text.c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    const std::string& Path() const { return m_Dir.Path(); }

private:
    struct Saved {
        bool has;
        std::string text;
    };
    void Set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        m_Saved.emplace_back(name, Saved{old != nullptr, old != nullptr ? old : ""});
        setenv(name, value.c_str(), 1);
    }
    korvanta_test::TempDir m_Dir;
    std::vector<std::pair<std::string, Saved>> m_Saved;
};

// Records every box, dialog and address; dialogs are answered with Result.
class RecordingHook : public SCA_ModalHook {
public:
    RecordingHook() { m_Previous = SCA_SetModalHook(this); }
    ~RecordingHook() override { SCA_SetModalHook(m_Previous); }

    int MessageBox(QWidget*, uint32_t type, const QString& title, const QString& text) override {
        Boxes.push_back({type, title, text});
        return 1;
    }
    // Answers Result, unless OnExec closed the dialog as a user would (accept or reject).
    int Exec(QDialog* dialog) override {
        Dialogs.push_back(dialog->windowTitle());
        Flags.push_back(dialog->windowFlags());
        dialog->setResult(Result);
        if (OnExec) {
            OnExec(dialog);
        }
        return dialog->result();
    }
    int OpenUrl(const QString& address) override {
        Urls.push_back(address);
        return 1;
    }
    int Ask(QWidget*, uint32_t type, const QString& title, const QString& text, int) override {
        Boxes.push_back({type, title, text});
        return Answer;
    }
    QString GetSaveFileName(QWidget*, const QString& title, const QString&,
                            const QString&) override {
        Dialogs.push_back(title);
        return FileAnswer;
    }
    QString GetOpenFileName(QWidget*, const QString& title, const QString&,
                            const QString&) override {
        Dialogs.push_back(title);
        return FileAnswer;
    }
    QStringList GetOpenFileNames(QWidget*, const QString& title, const QString&,
                                 const QString&) override {
        Dialogs.push_back(title);
        return FilesAnswer;
    }
    QString GetExistingDirectory(QWidget*, const QString& title, const QString&) override {
        Dialogs.push_back(title);
        return FileAnswer;
    }

    // Records the menu's entries; OnMenu may choose one, which is then triggered as a click
    // would.
    QAction* ExecMenu(QMenu* menu, const QPoint&) override {
        Menus.push_back(Entries(menu));
        QAction* chosen = OnMenu ? OnMenu(menu) : nullptr;
        if (chosen != nullptr) {
            chosen->trigger();
        }
        return chosen;
    }
    // A menu's entries as texts, a submenu's entries after its own text with "> ", and "-" for
    // a separator.
    static QStringList Entries(QMenu* menu, const QString& indent = QString()) {
        QStringList entries;
        for (QAction* action : menu->actions()) {
            entries.push_back(indent +
                              (action->isSeparator() ? QStringLiteral("-") : action->text()));
            if (action->menu() != nullptr) {
                entries += Entries(action->menu(), indent + QStringLiteral("> "));
            }
        }
        return entries;
    }

    struct Box {
        uint32_t Type;
        QString Title;
        QString Text;
    };
    std::vector<Box> Boxes;
    QStringList Dialogs;
    std::vector<Qt::WindowFlags> Flags;
    QStringList Urls;
    int Result = QDialog::Rejected;
    // The button Ask answers (a QMessageBox::StandardButton) and the file dialogs' answer.
    int Answer = 0;
    QString FileAnswer;
    QStringList FilesAnswer;
    // Runs inside Exec, to fill in a dialog as a user would.
    std::function<void(QDialog*)> OnExec;
    std::vector<QStringList> Menus;
    std::function<QAction*(QMenu*)> OnMenu;

private:
    SCA_ModalHook* m_Previous = nullptr;
};

// Runs a progress dialog as its user would: until its job ends it, or until cancel (asked at
// each look) says to press Cancel. Any other dialog is left as it is. The dialog is shown as
// exec() shows it, so that a job that ended before then (a quick job on a busy machine) ends
// the dialog the way it does in the program.
inline void FollowProgress(QDialog* dialog,
                           const std::function<bool(SCA_ProgressDlg*)>& cancel = {}) {
    auto* progress = qobject_cast<SCA_ProgressDlg*>(dialog);
    if (progress == nullptr) {
        return;
    }
    bool finished = false;
    QObject::connect(progress, &QDialog::finished, progress, [&finished] { finished = true; });
    progress->show();
    const std::string what =
        "the progress dialog \"" + progress->windowTitle().toStdString() + "\" to end";
    const ::testing::AssertionResult ended = korvanta_test::WaitUntilPumping(what, [&] {
        // Asked at each look, the one after the end included, as a user watching it would see.
        if (cancel && cancel(progress) && !finished) {
            progress->reject();
        }
        return finished;
    });
    EXPECT_TRUE(ended);
    if (!ended) {
        progress->hide();
    }
}

// A left click on a header section, as the mouse gives it.
inline void ClickHeader(QHeaderView* header, int section) {
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// A main window configured and built as Run does, without entering the event loop.
// How long the GUI thread's event loop went without turning: a short timer notes the longest
// gap between two of its firings (and the one up to now). A window that waits on the network
// on its GUI thread shows up as a gap as long as the wait.
class EventLoopProbe {
public:
    static constexpr int kPeriodMs = 5;

    EventLoopProbe() {
        m_Clock.start();
        m_Timer.setInterval(kPeriodMs);
        QObject::connect(&m_Timer, &QTimer::timeout, [this]() { Note(); });
        m_Timer.start();
    }
    qint64 LongestGapMs() {
        Note();
        return m_Longest;
    }
    // Read by the stand-in service's thread while the loop turns.
    int Turns() const { return m_Turns.load(); }

private:
    void Note() {
        const qint64 now = m_Clock.elapsed();
        m_Longest = std::max(m_Longest, now - m_Last);
        m_Last = now;
        ++m_Turns;
    }

    QElapsedTimer m_Clock;
    QTimer m_Timer;
    qint64 m_Last = 0;
    qint64 m_Longest = 0;
    std::atomic<int> m_Turns{0};
};

// How many messages of the main window's own log say text exactly.
inline int Logged(SCA_SrvGui* window, const char* text) {
    SCA_DebugLog* log = window->GetClientLog();
    int count = 0;
    for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
        tagSCA_ERROR_DESCR* message = nullptr;
        count += log->GetMessageByPos(i, &message) && std::string(message->Text) == text ? 1 : 0;
    }
    return count;
}

// Chooses an entry of one of the window's menus as a click would; false when the menu or the
// entry is not there or the entry is disabled.
inline bool ChooseMenuEntry(QMainWindow* window, const char* menuTitle, const char* entry) {
    for (QAction* menu : window->menuBar()->actions()) {
        if (menu->text() != QLatin1String(menuTitle) || menu->menu() == nullptr) {
            continue;
        }
        for (QAction* action : menu->menu()->actions()) {
            if (action->text() == QLatin1String(entry) && action->isEnabled()) {
                action->trigger();
                return true;
            }
        }
    }
    return false;
}

// Turns the event loop until what the session was asked is answered and shown.
// Whether a key typed into a line edit reaches it: the event loop turns and takes input while
// whatever the caller holds is out.
inline ::testing::AssertionResult TypingIsTaken() {
    QLineEdit edit;
    edit.show();
    QCoreApplication::postEvent(
        &edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    return korvanta_test::WaitUntilPumping("the key to be taken",
                                           [&edit] { return edit.text() == "a"; });
}

inline void WaitForPolls(SCA_ClientSession* session) {
    EXPECT_TRUE(korvanta_test::WaitUntilPumping("the session's polls to be answered",
                                                [session] { return !session->IsWaiting(); }));
}

// The main window's parts, each the one child of its class: the connection, the status poll,
// the commands on the selected monitors, the layouts, the placement and the update check.
template <typename Part>
Part* PartOf(const QObject* window) {
    Part* part = window->findChild<Part*>();
    EXPECT_NE(part, nullptr);
    return part;
}
template <typename Window>
SCA_MainConnection* ConnectionOf(const Window& window) {
    return PartOf<SCA_MainConnection>(&*window);
}
template <typename Window>
SCA_MainStatusPoll* PollOf(const Window& window) {
    return PartOf<SCA_MainStatusPoll>(&*window);
}
template <typename Window>
SCA_MainMonitorCommands* CommandsOf(const Window& window) {
    return PartOf<SCA_MainMonitorCommands>(&*window);
}
template <typename Window>
SCA_MainLayout* LayoutOf(const Window& window) {
    return PartOf<SCA_MainLayout>(&*window);
}
template <typename Window>
SCA_WindowPlacement* PlacementOf(const Window& window) {
    return PartOf<SCA_WindowPlacement>(&*window);
}
template <typename Window>
SCA_ProductUpdateCheck* UpdateCheckOf(const Window& window) {
    return PartOf<SCA_ProductUpdateCheck>(&*window);
}

// One tick of the main window's timer, as the timer gives it.
template <typename Window>
void TickWindow(const Window& window) {
    auto* timer = window->template findChild<QTimer*>(QStringLiteral("UpdateTimer"));
    ASSERT_NE(timer, nullptr);
    QMetaObject::invokeMethod(timer, "timeout");
}

inline std::unique_ptr<SCA_SrvGui> StartWindow() {
    auto window = std::make_unique<SCA_SrvGui>(nullptr);
    if (!window->InitConfig() || !window->InitGui()) {
        return nullptr;
    }
    return window;
}

// A window of one monitor of main's service (a live monitor or process monitor window), built
// as the main window builds it.
template <typename Window>
std::unique_ptr<Window> MonitorWindowOf(SCA_SrvGui* main, uint32_t monitorId) {
    return std::make_unique<Window>(main, main->WindowContext(), monitorId);
}

} // namespace korvac_test
