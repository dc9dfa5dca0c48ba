// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_ViewerProcess.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QWidget>
#include <cstdio>

#include "korvac/kit/SCA_TerminationRequest.h"
#include "libvop/SCA_ModalHook.h"

namespace {

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

SCA_ViewerProcess::SCA_ViewerProcess()
    : m_Termination(std::make_unique<SCA_TerminationRequest>(&QApplication::closeAllWindows)) {
    if (IsHeadless()) {
        m_Hook = std::make_unique<HeadlessHook>();
        m_Previous = SCA_SetModalHook(m_Hook.get());
    }
}

SCA_ViewerProcess::~SCA_ViewerProcess() {
    if (m_Hook != nullptr) {
        SCA_SetModalHook(m_Previous);
    }
}

int SCA_ViewerProcess::IsTerminating() {
    return SCA_TerminationRequest::IsRequested();
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
