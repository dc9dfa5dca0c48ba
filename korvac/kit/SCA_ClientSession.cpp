// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_ClientSession.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QPromise>
#include <QThread>
#include <atomic>
#include <malloc.h>
#include <mutex>
#include <new>

#include "libmor/SCA_Report.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetTransport.h"

namespace {

std::atomic<uint32_t> g_MaxReplyBytes{SCA_ClientSession::kDefaultMaxReplyBytes};

} // namespace

void SCA_ClientSession::SetMaxReplyBytes(uint32_t bytes) {
    g_MaxReplyBytes.store(bytes != 0 ? bytes : kDefaultMaxReplyBytes);
}

uint32_t SCA_ClientSession::GetMaxReplyBytes() {
    return g_MaxReplyBytes.load();
}

void SCA_ClientSession::Keep(std::unique_ptr<SCA_KorvantaInterface> client) {
    client->GetNetTransport()->SetMaxPayload(GetMaxReplyBytes());
    m_Host = QString::fromUtf8(client->GetName());
    m_Port = client->GetPort();
    m_Client = std::move(client);
}

SCA_ClientSession::SCA_ClientSession(QObject* parent) : QObject(parent) {
    // A large block goes back to the system when freed, instead of staying in the heap of the
    // thread that freed it.
    static std::once_flag tuned;
    std::call_once(tuned, [] { mallopt(M_MMAP_THRESHOLD, static_cast<int>(kMappedAboveBytes)); });
    m_Network.setMaxThreadCount(1);
    // The thread stays for the next call instead of being made again for each poll.
    m_Network.setExpiryTimeout(-1);
}

// The pool's destructor waits for the call in flight, which holds its own client.
SCA_ClientSession::~SCA_ClientSession() = default;

int SCA_ClientSession::Await(Wait how, const std::function<int()>& work) {
    // Off the GUI thread, or without an event loop to turn, the call runs where it is asked.
    if (QThread::currentThread() != thread() || QCoreApplication::instance() == nullptr) {
        return work();
    }
    auto promise = std::make_shared<QPromise<int>>();
    QFuture<int> result = promise->future();
    promise->start();
    // work lives on this frame, which waits below until the network thread is done with it.
    m_Network.start([promise, &work]() {
        promise->addResult(work());
        promise->finish();
    });
    ++m_Waiting;
    m_Gate.Open();
    // The loop runs even for a call that is done already: what was posted while it ran (a
    // click, a paint) comes before its result, as it would for a slower call.
    {
        const bool busy = how == Wait::Command && qobject_cast<QGuiApplication*>(qApp) != nullptr;
        if (busy) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        }
        QEventLoop loop;
        QFutureWatcher<int> watcher;
        connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(result);
        loop.exec();
        if (busy) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    // The loop also ends when the application quits: the call's frame must outlive the call.
    result.waitForFinished();
    --m_Waiting;
    // Polls answered while the command ran are handed over once its caller is done with it,
    // then the input it held.
    if (m_Waiting == 0 && !m_Kept.empty()) {
        QMetaObject::invokeMethod(this, &SCA_ClientSession::DeliverKept, Qt::QueuedConnection);
    }
    m_Gate.Close();
    return result.result();
}

int SCA_ClientSession::AskWork(QObject* context, std::function<int(SCA_KorvantaInterface&)> work,
                               std::function<void(int ok)> done) {
    const std::shared_ptr<SCA_KorvantaInterface> client = m_Client;
    if (client == nullptr) {
        return 0;
    }
    ++m_Asked;
    Answer answer;
    answer.Context = context;
    answer.Generation = m_Generation;
    auto job = [this, client, work = std::move(work), done = std::move(done),
                answer = std::move(answer), timeoutMs = WithLeastWait(kPollTimeoutMs)]() mutable {
        client->SetReplyTimeout(timeoutMs);
        const int ok = work(*client) ? 1 : 0;
        answer.FreesMuch = GiveBackAfterCall(*client);
        const bool lost = !ok && client->LostConnection();
        answer.Apply = [this, client, ok, lost, done = std::move(done),
                        context = answer.Context]() {
            if (lost && client == m_Client) {
                HandleLostConnection();
            }
            if (ok) {
                m_RefusalTold = false;
            }
            if (context != nullptr) {
                done(ok);
            }
        };
        if (QThread::currentThread() == thread()) {
            Deliver(std::move(answer));
            return;
        }
        QMetaObject::invokeMethod(
            this, [this, answer = std::move(answer)]() mutable { Deliver(std::move(answer)); },
            Qt::QueuedConnection);
    };
    if (QCoreApplication::instance() == nullptr) {
        job();
    } else {
        m_Network.start(std::move(job));
    }
    return 1;
}

void SCA_ClientSession::Deliver(Answer answer) {
    if (m_Waiting > 0) {
        m_Kept.push_back(std::move(answer));
        return;
    }
    --m_Asked;
    if (answer.Generation == m_Generation) {
        answer.Apply();
    }
    // What the window dropped for the answer (rows of a longer list), and the result itself.
    const bool look =
        answer.FreesMuch || m_LastAnswerFreedMuch || ++m_AnswersSinceLook >= kAnswersPerLook;
    m_LastAnswerFreedMuch = answer.FreesMuch;
    answer = Answer();
    if (look) {
        m_AnswersSinceLook = 0;
        SCA_HeapGiveBackFreed(kGiveBackFreedBytes);
    }
}

bool SCA_ClientSession::GiveBackAfterCall(SCA_KorvantaInterface& client) {
    const bool freesMuch =
        client.TakeLargestReply() > kLargeReplyBytes || client.LostConnection() != 0;
    // The call after one that freed much frees what the channel kept of it (its last reply),
    // and its answer may replace what the other showed.
    const bool afterMuch = m_LastCallFreedMuch.exchange(freesMuch);
    if (freesMuch || afterMuch) {
        SCA_HeapGiveBackFreed(kGiveBackFreedBytes);
    }
    return freesMuch;
}

void SCA_ClientSession::DeliverKept() {
    std::vector<Answer> kept = std::move(m_Kept);
    m_Kept.clear();
    for (Answer& answer : kept) {
        Deliver(std::move(answer));
    }
}

int SCA_ClientSession::Open(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error) {
    Close();
    std::unique_ptr<SCA_KorvantaInterface> client(
        m_Factory ? m_Factory() : new (std::nothrow) SCA_KorvantaInterface());
    uint32_t code = 0;
    const uint32_t waitMs = WithLeastWait(timeoutMs);
    if (client == nullptr ||
        !Await(Wait::Command, [&]() { return client->Connect(host, port, waitMs, &code); })) {
        if (error != nullptr) {
            *error = code;
        }
        return 0;
    }
    Keep(std::move(client));
    m_Host = QString::fromUtf8(host != nullptr ? host : "");
    m_Port = port;
    return 1;
}

void SCA_ClientSession::Adopt(SCA_KorvantaInterface* client) {
    if (client == m_Client.get()) {
        return;
    }
    Close();
    if (client != nullptr) {
        Keep(std::unique_ptr<SCA_KorvantaInterface>(client));
        emit Connected();
    }
}

void SCA_ClientSession::Close() {
    if (m_Client == nullptr) {
        return;
    }
    // Whoever reacts to the signal finds the session closed already, and what was asked of it
    // is answered no more.
    const std::shared_ptr<SCA_KorvantaInterface> client = std::move(m_Client);
    ++m_Generation;
    emit Disconnected();
}

QString SCA_ClientSession::LostText() const {
    return QStringLiteral("Connection to %1:%2 lost - reconnecting").arg(m_Host).arg(m_Port);
}

QString SCA_ClientSession::RefusedText(uint32_t size) const {
    return QStringLiteral("Reply from %1:%2 refused: %3 bytes, over the limit of %4 bytes "
                          "(-max_reply raises it) - reconnecting")
        .arg(m_Host)
        .arg(m_Port)
        .arg(size)
        .arg(m_Client != nullptr ? m_Client->GetNetTransport()->GetMaxPayload()
                                 : GetMaxReplyBytes());
}

void SCA_ClientSession::HandleLostConnection() {
    if (m_Client == nullptr) {
        return;
    }
    // A reply over the limit was refused: the user learns why, and how to take it. A service
    // that sends it again after each reconnection is not told of again.
    const uint32_t refused = m_Client->GetLastStatusCode() == SCA_NET_ERROR_TOO_LARGE
                                 ? m_Client->GetNetTransport()->GetRefusedPayload()
                                 : 0;
    const QString text = refused != 0 ? RefusedText(refused) : LostText();
    if (refused == 0 || !m_RefusalTold.exchange(true)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING, "%s",
                                                  text.toUtf8().constData());
    }
    emit ConnectionLost(text);
    Close();
}
