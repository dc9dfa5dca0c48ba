// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

// Every message box, every modal run of a dialog and every address handed to the desktop goes
// through the installed hook. The default shows and runs them; tests install one that records
// and answers, so that each command runs without a screen and without a browser.
class SCA_ModalHook {
public:
    virtual ~SCA_ModalHook() = default;

    // A modal box with one "Ok" button: type 3 information, 4 warning, any other critical. The
    // text is shown as it stands, never read as a format.
    virtual int MessageBox(QWidget* parent, uint32_t type, const QString& title,
                           const QString& text);
    // Runs the dialog modally; its result (QDialog::Accepted is 1).
    virtual int Exec(QDialog* dialog);
    // Opens an address with the desktop's handler; 1 when it was handed over.
    virtual int OpenUrl(const QString& address);
    // A modal question with the given QMessageBox::StandardButtons; the button pressed (a
    // QMessageBox::StandardButton), or 0 when the box was closed otherwise.
    virtual int Ask(QWidget* parent, uint32_t type, const QString& title, const QString& text,
                    int buttons);
    // File dialogs; an empty text when cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& title, const QString& start,
                                    const QString& filter);
    virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& start,
                                    const QString& filter);
    // Several files to open, in the order the dialog gives them; empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget* parent, const QString& title,
                                         const QString& start, const QString& filter);
    // A folder dialog; an empty text when cancelled.
    virtual QString GetExistingDirectory(QWidget* parent, const QString& title,
                                         const QString& start);
    // Runs a pop-up menu at a global position; the action chosen (already triggered), or null.
    virtual QAction* ExecMenu(QMenu* menu, const QPoint& at);
};

// Installs hook (null: the default) and answers the one it replaces. Only the GUI thread calls
// these.
SCA_ModalHook* SCA_SetModalHook(SCA_ModalHook* hook);
SCA_ModalHook* SCA_GetModalHook();

// The shorthands the windows use. SCA_ExecDialog gives the dialog the frame of a dialog (title
// and close button only) before the hook runs it.
int SCA_ShowMessageBox(QWidget* parent, uint32_t type, const QString& title, const QString& text);
int SCA_ExecDialog(QDialog* dialog);
int SCA_OpenUrl(const QString& address);
int SCA_AskMessageBox(QWidget* parent, uint32_t type, const QString& title, const QString& text,
                      int buttons);
QString SCA_GetSaveFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter);
QString SCA_GetOpenFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter);
QStringList SCA_GetOpenFileNames(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter);
QString SCA_GetExistingDirectory(QWidget* parent, const QString& title, const QString& start);
QAction* SCA_ExecMenu(QMenu* menu, const QPoint& at);
