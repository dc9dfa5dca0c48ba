// SPDX-License-Identifier: MIT
#include "libvop/SCA_ModalHook.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>

#include "libmor/SCA_Report.h"

namespace {

SCA_ModalHook g_DefaultHook;
SCA_ModalHook* g_Hook = &g_DefaultHook;

} // namespace

int SCA_ModalHook::MessageBox(QWidget* parent, uint32_t type, const QString& title,
                              const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // Plain text: a report carrying '<' or '&' from a host name is shown, not interpreted.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(type == SCA_LEVEL_INFO      ? QMessageBox::Information
                : type == SCA_LEVEL_WARNING ? QMessageBox::Warning
                                            : QMessageBox::Critical);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 1;
}

int SCA_ModalHook::Exec(QDialog* dialog) {
    return dialog != nullptr ? dialog->exec() : QDialog::Rejected;
}

int SCA_ModalHook::OpenUrl(const QString& address) {
    return !address.isEmpty() && QDesktopServices::openUrl(QUrl(address)) ? 1 : 0;
}

int SCA_ModalHook::Ask(QWidget* parent, uint32_t type, const QString& title, const QString& text,
                       int buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(type == SCA_LEVEL_INFO      ? QMessageBox::Information
                : type == SCA_LEVEL_WARNING ? QMessageBox::Warning
                                            : QMessageBox::Critical);
    box.setStandardButtons(QMessageBox::StandardButtons(buttons));
    box.exec();
    return static_cast<int>(box.standardButton(box.clickedButton()));
}

QString SCA_ModalHook::GetSaveFileName(QWidget* parent, const QString& title, const QString& start,
                                       const QString& filter) {
    QString selected = filter;
    return QFileDialog::getSaveFileName(parent, title, start, filter, &selected);
}

QString SCA_ModalHook::GetOpenFileName(QWidget* parent, const QString& title, const QString& start,
                                       const QString& filter) {
    QString selected = filter;
    return QFileDialog::getOpenFileName(parent, title, start, filter, &selected);
}

QStringList SCA_ModalHook::GetOpenFileNames(QWidget* parent, const QString& title,
                                            const QString& start, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, start, filter);
}

QString SCA_ModalHook::GetExistingDirectory(QWidget* parent, const QString& title,
                                            const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

QAction* SCA_ModalHook::ExecMenu(QMenu* menu, const QPoint& at) {
    return menu != nullptr ? menu->exec(at) : nullptr;
}

SCA_ModalHook* SCA_SetModalHook(SCA_ModalHook* hook) {
    SCA_ModalHook* previous = g_Hook;
    g_Hook = hook != nullptr ? hook : &g_DefaultHook;
    return previous == &g_DefaultHook ? nullptr : previous;
}

SCA_ModalHook* SCA_GetModalHook() {
    return g_Hook;
}

int SCA_ShowMessageBox(QWidget* parent, uint32_t type, const QString& title, const QString& text) {
    return g_Hook->MessageBox(parent, type, title, text);
}

int SCA_ExecDialog(QDialog* dialog) {
    if (dialog != nullptr) {
        // A modal dialog answers a question and goes: it has a title and a close button, never
        // the minimise and maximise buttons some window managers add to resizable windows.
        dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint);
    }
    return g_Hook->Exec(dialog);
}

int SCA_OpenUrl(const QString& address) {
    return g_Hook->OpenUrl(address);
}

int SCA_AskMessageBox(QWidget* parent, uint32_t type, const QString& title, const QString& text,
                      int buttons) {
    return g_Hook->Ask(parent, type, title, text, buttons);
}

QString SCA_GetSaveFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter) {
    return g_Hook->GetSaveFileName(parent, title, start, filter);
}

QString SCA_GetOpenFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter) {
    return g_Hook->GetOpenFileName(parent, title, start, filter);
}

QStringList SCA_GetOpenFileNames(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) {
    return g_Hook->GetOpenFileNames(parent, title, start, filter);
}

QString SCA_GetExistingDirectory(QWidget* parent, const QString& title, const QString& start) {
    return g_Hook->GetExistingDirectory(parent, title, start);
}

QAction* SCA_ExecMenu(QMenu* menu, const QPoint& at) {
    return g_Hook->ExecMenu(menu, at);
}
