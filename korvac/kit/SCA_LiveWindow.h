// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QFrame>
#include <QString>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <utility>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_PollHold.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "korvac/kit/SCA_WindowHost.h"

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class SCA_ConfigObj;
class SCA_KorvantaInterface;
class SCA_SrvMonitor;
class SCA_TezConfig;
class SCA_TezConfigUser;

// What the live windows of a monitor share: where they reach the service and their settings
// (the window context), the host that answers for them,
// the poll of every second from their own timer, the holds that keep it waiting while a dialog
// of theirs runs, the one way a failed poll closes them, and the pieces of their tool rows and
// status bars.
//
// A refresh polls once, and once more when PollOnce asks for it (a choice made while the poll
// ran makes what it fetched another's); a refresh asked for during one is made right after it,
// never inside it.
class SCA_LiveWindow : public QDialog {
    Q_OBJECT
public:
    ~SCA_LiveWindow() override;

    // What a command that is not in this version says on its disabled entries.
    static constexpr const char* kNotAvailableText = "Not available in this version";

    // Ends the polls of the timer.
    int StopProcess();
    // One refresh; 0 when a poll failed and the window closed itself.
    virtual int UpdateStatus();

    // What the tests read.
    int GetTimerId() const { return m_TimerId; }
    int IsPollHeld() const { return m_Holds > 0 ? 1 : 0; }

public slots:
    // The commands on the monitor that every live window has. One the service refuses is
    // answered through the host as "Cannot <verb> monitor - <id>"; a done one refreshes the
    // window.
    void StartMonitor();
    void PauseMonitor();
    void ResetMonitor();
    void StopMonitor();
    // The monitor's errors in the error list dialog.
    void ViewErrors();
    // The window's report, saved where the user chooses.
    void SaveReport();

protected:
    // The height of a status bar's labels; the width of the splitters' handles.
    static constexpr int kStatusHeight = 18;
    static constexpr int kHandleWidth = 3;

    // windowName begins the texts of the window's failed start ("<windowName>::StartProcess:
    // ...").
    SCA_LiveWindow(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                   const char* windowName);

    // What the window was built from, for the windows and saves it opens.
    SCA_WindowContext Context() const;

    // One poll and what it shows; 0 when it failed.
    virtual int PollOnce() = 0;
    // Tells the user that a command they gave failed: through the host, so that the window
    // answers alike in the main window and in a viewer.
    void AnswerFailure(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Whether the monitor may start; 0 when not, after telling the user why.
    virtual int MayStart() { return 1; }
    // After a done start or reset: a new run, whose samples and events the window shows anew.
    virtual void MonitorStarted() {}
    virtual void MonitorReset() {}
    // What the errors command says when the errors cannot be fetched, and the title of their
    // dialog.
    virtual const char* ErrorsFetchFailedText() const = 0;
    virtual const char* ErrorsTitle() const = 0;
    // Saves the window's report; the polls wait meanwhile.
    virtual void SaveWindowReport() = 0;
    // The timer's refresh: a window that can asks for its poll and shows it when it comes;
    // the others wait for it.
    virtual void AskUpdate() { UpdateStatus(); }
    // Whether PollOnce asked for one more poll, which the caller now makes.
    bool TakePollAgain() { return std::exchange(m_PollAgain, false); }
    // Called by PollOnce when what it fetched is stale: one more poll follows it.
    void PollAgain() { m_PollAgain = true; }
    // Called by what shows a poll, on either path: a poll asked before it is then old.
    void NotePollShown() { ++m_PollsShown; }
    // The timer's poll without waiting: fetch fills a poll on the network thread and show takes
    // it when it comes, unless the window is gone, a dialog of its own holds its polls, or a
    // poll shown meanwhile (the refresh after a command) was fetched after it. A failed fetch
    // closes the window as a failed PollOnce does; a poll that asks for one more gets it asked.
    template <typename Poll>
    void AskPoll(std::function<int(SCA_KorvantaInterface&, Poll&)> fetch,
                 std::function<int(Poll&)> show) {
        const uint64_t shown = m_PollsShown;
        m_Session->Ask<Poll>(
            this, std::move(fetch), [this, shown, show = std::move(show)](int ok, Poll& poll) {
                if (m_Holds > 0) {
                    return;
                }
                if (!ok) {
                    PollFailed();
                } else if (shown == m_PollsShown && show(poll) && TakePollAgain()) {
                    AskUpdate();
                }
            });
    }
    // Fetches the window's monitor into monitor and names the window after it; 0 (reported as
    // "<windowName>::StartProcess: cannot get monitor - <id>") when it cannot be had.
    int LoadMonitor(SCA_SrvMonitor* monitor);
    // Starts the poll of every second; 0 (reported) when there is no timer.
    int StartTimer();
    // After a failed poll the window stops and says so once, "Cannot update monitor status.",
    // also when the poll was its first and it never opened; an open window then closes.
    // Always 0.
    int PollFailed();
    // Keeps the timer's polls waiting while a dialog the window opened runs.
    SCA_PollHold HoldPolls() { return SCA_PollHold(&m_Holds); }

    // The title bar of a resizable window; a window of its own can be minimised too.
    void SetTitleBarButtons(QWidget* parent);
    // The window's layout without margins, holding the tool row between two lines: fill adds
    // the row's buttons, after which come a line and "Close".
    QVBoxLayout* AddToolRow(const std::function<void(QHBoxLayout* row)>& fill);
    // A sunken line, across or (between tool buttons) upright.
    QFrame* Line(QFrame::Shape shape);
    // A button with its text under a large icon, which runs slot.
    template <class Window>
    QToolButton* AddToolButton(QBoxLayout* row, const char* text, const char* icon, int minWidth,
                               void (Window::*slot)()) {
        QToolButton* button = AddToolButton(row, text, icon, minWidth);
        connect(button, &QToolButton::clicked, static_cast<Window*>(this), slot);
        return button;
    }
    QToolButton* AddToolButton(QBoxLayout* row, const char* text, const char* icon, int minWidth);
    // A label of the status bar: of a fixed width (0: as wide as it gets), its text indented.
    static QLabel* StatusLabel(QWidget* parent, int width, int indent,
                               const QString& text = QString());

    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    SCA_TezConfig* m_ProductConfig;
    SCA_TezConfigUser* m_UserConfig;
    SCA_TezConfigUser* m_ClientUserConfig;
    SCA_ConfigObj* m_Params;
    const char* m_ConfigName;
    SCA_ClientSession* m_Session;
    SCA_WindowHost* m_Host;
    uint32_t m_MonitorId;

private:
    // Runs a command on the monitor; 1 when it was done (and the window refreshed).
    int MonitorCommand(int (SCA_KorvantaInterface::*command)(uint32_t), const char* verb);

    const char* m_WindowName;
    int m_TimerId = -1;
    int m_Holds = 0;
    bool m_Polling = false;
    bool m_PollAgain = false;
    uint64_t m_PollsShown = 0;
};
