// SPDX-License-Identifier: MIT
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <signal.h>

#include "GuiTestSupport.h"
#include "korvac/main/SCA_SrvApplication.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntilPumping.h"

using korvac_test::PrivateHome;

namespace {

QProcess* StartClient(const PrivateHome& home) {
    auto* process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "KORVANTA_HOME"}) {
        env.insert(QString::fromLatin1(name), QString::fromStdString(home.Path()));
    }
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->start(QString::fromUtf8(korvanta_test::KorvacProgram()), {});
    return process;
}

TEST(SingleInstance, ASecondStartWakesTheFirstAndEndsWithOne) {
    PrivateHome home;
    const QString socket = QString::fromStdString(home.Path()) + QStringLiteral("/korvac.socket");
    QProcess* first = StartClient(home);
    ASSERT_TRUE(first->waitForStarted(10000));
    korvanta_test::WaitUntilPumping("the first client's socket", [&] {
        return QFile::exists(socket) || first->state() == QProcess::NotRunning;
    });
    ASSERT_TRUE(QFile::exists(socket))
        << "the first client ended first: " << first->readAllStandardError().toStdString();

    QProcess* second = StartClient(home);
    ASSERT_TRUE(second->waitForFinished(30000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("a client of this user already runs"));
    EXPECT_EQ(first->state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first->processId()), SIGTERM);
    first->waitForFinished(10000);
    delete second;
    delete first;
}

TEST(SingleInstance, AStaleSocketLeftByACrashDoesNotBlockAStart) {
    PrivateHome home;
    const QString socket = QString::fromStdString(home.Path()) + QStringLiteral("/korvac.socket");
    {
        // A socket file that nobody listens on any more.
        QFile stale(socket);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    SCA_SrvApplication* app = nullptr;
    (void)app;
    QLocalServer probe;
    EXPECT_FALSE(probe.listen(socket));
    EXPECT_EQ(SCA_SrvApplication::NotifyRunningInstance(socket), 0);

    QProcess* client = StartClient(home);
    ASSERT_TRUE(client->waitForStarted(10000));
    // The client replaces the file and stays up as the one instance.
    EXPECT_TRUE(korvanta_test::WaitUntil("the client to answer on the replaced socket", [&] {
        return SCA_SrvApplication::NotifyRunningInstance(socket) == 1;
    }));
    EXPECT_EQ(client->state(), QProcess::Running);
    ::kill(static_cast<pid_t>(client->processId()), SIGTERM);
    client->waitForFinished(10000);
    delete client;
}

} // namespace
