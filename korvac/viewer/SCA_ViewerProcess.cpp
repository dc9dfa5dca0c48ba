// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_ViewerProcess.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "libvop/SCA_ModalHook.h"

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler's end and the GUI thread's end of the termination channel.
int g_Channel[2] = {-1, -1};
// Set on the GUI thread once a termination request was read from the channel.
bool g_Terminating = false;

void OnTermination(int) {
    const char byte = 1;
    // Nothing more can be done in a handler when the channel is full: one byte is enough.
    [[maybe_unused]] const ssize_t written = ::write(g_Channel[0], &byte, 1);
}

void Say(const QString& text) {
    std::fprintf(stderr, "korvac: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

// Boxes to standard error, answered as nobody pressed anything; dialogs refused.
class HeadlessHook : public SCA_ModalHook {
public:
    int MessageBox(QWidget*, uint32_t, const QString& title, const QString& text) override {
        Say(title + QStringLiteral(": ") + text);
        return 1;
    }
    int Exec(QDialog* dialog) override {
        Say(QStringLiteral("\"%1\" needs an answer that no one can give here")
                .arg(dialog->windowTitle()));
        return QDialog::Rejected;
    }
    int Ask(QWidget*, uint32_t, const QString& title, const QString& text, int) override {
        Say(title + QStringLiteral(": ") + text);
        return 0;
    }
};

} // namespace

SCA_ViewerProcess::SCA_ViewerProcess() {
    if (IsHeadless()) {
        m_Hook = std::make_unique<HeadlessHook>();
        m_Previous = SCA_SetModalHook(m_Hook.get());
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_Channel) != 0) {
        return;
    }
    m_Notifier = new QSocketNotifier(g_Channel[1], QSocketNotifier::Read);
    QObject::connect(m_Notifier, &QSocketNotifier::activated, m_Notifier, [] {
        char bytes[16];
        while (::read(g_Channel[1], bytes, sizeof(bytes)) > 0) {
        }
        g_Terminating = true;
        QApplication::closeAllWindows();
    });
    struct sigaction action = {};
    action.sa_handler = &OnTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kTerminationSignals) {
        sigaction(signal, &action, nullptr);
    }
}

SCA_ViewerProcess::~SCA_ViewerProcess() {
    if (m_Notifier != nullptr) {
        for (const int signal : kTerminationSignals) {
            std::signal(signal, SIG_DFL);
        }
        delete m_Notifier;
        ::close(g_Channel[0]);
        ::close(g_Channel[1]);
        g_Channel[0] = g_Channel[1] = -1;
    }
    if (m_Hook != nullptr) {
        SCA_SetModalHook(m_Previous);
    }
}

int SCA_ViewerProcess::IsTerminating() {
    return g_Terminating ? 1 : 0;
}

int SCA_ViewerProcess::IsHeadless() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ? 1 : 0;
}

void SCA_ViewerProcess::AnnounceWindow(const QWidget* window) {
    if (IsHeadless() && window != nullptr) {
        Say(QStringLiteral("showing \"%1\"").arg(window->windowTitle()));
    }
}
