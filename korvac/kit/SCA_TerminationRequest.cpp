// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_TerminationRequest.h"

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler's end and the GUI thread's end of the channel.
int g_Channel[2] = {-1, -1};
// Set on the GUI thread once a request was read from the channel.
bool g_Requested = false;

void OnTermination(int) {
    const char byte = 1;
    // Nothing more can be done in a handler when the channel is full: one byte is enough.
    [[maybe_unused]] const ssize_t written = ::write(g_Channel[0], &byte, 1);
}

} // namespace

SCA_TerminationRequest::SCA_TerminationRequest(std::function<void()> onRequest)
    : m_OnRequest(std::move(onRequest)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_Channel) != 0) {
        return;
    }
    m_Notifier = new QSocketNotifier(g_Channel[1], QSocketNotifier::Read);
    QObject::connect(m_Notifier, &QSocketNotifier::activated, m_Notifier, [this] {
        char bytes[16];
        while (::read(g_Channel[1], bytes, sizeof(bytes)) > 0) {
        }
        g_Requested = true;
        m_OnRequest();
    });
    struct sigaction action = {};
    action.sa_handler = &OnTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kTerminationSignals) {
        sigaction(signal, &action, nullptr);
    }
}

SCA_TerminationRequest::~SCA_TerminationRequest() {
    if (m_Notifier == nullptr) {
        return;
    }
    for (const int signal : kTerminationSignals) {
        std::signal(signal, SIG_DFL);
    }
    delete m_Notifier;
    ::close(g_Channel[0]);
    ::close(g_Channel[1]);
    g_Channel[0] = g_Channel[1] = -1;
}

int SCA_TerminationRequest::IsRequested() {
    return g_Requested ? 1 : 0;
}
