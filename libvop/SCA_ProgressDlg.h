// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class SCA_ProgressObj;

// Follows a long job on a thread of its own: a bar of its progress (0 to 100) and its status
// text, polled a few times a second. The dialog is accepted when the job ends stopped (done),
// rejected when it fails. Cancel (or closing the window) asks the job's thread to stop and
// rejects; the caller still ends the job (its StopAll) after the dialog returns, whatever it
// returned.
class SCA_ProgressDlg : public QDialog {
    Q_OBJECT
public:
    // job stays the caller's and must outlive the dialog. cancelButton nonzero offers Cancel;
    // autoClose nonzero ends the dialog by itself when the job ends (0: it stays, with a Close
    // button, until the user closes it). width is the dialog's width in pixels.
    SCA_ProgressDlg(QWidget* parent, SCA_ProgressObj* job, const QString& title,
                    uint32_t cancelButton, uint32_t autoClose, int width);
    ~SCA_ProgressDlg() override;

    // Starts following the job; 0 without a job or when the poll cannot start.
    int StartProcess();
    // One look at the job (the poll calls it).
    void Poll();

    QProgressBar* GetBar() const { return m_Bar; }
    QLabel* GetStatus() const { return m_Status; }
    QPushButton* GetButton() const { return m_Button; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void Finish(int result);

    SCA_ProgressObj* m_Job;
    bool m_AutoClose;
    int m_TimerId = 0;
    // The dialog's result once the job ended; -1 while it runs.
    int m_Ended = -1;
    QProgressBar* m_Bar;
    QLabel* m_Status;
    QPushButton* m_Button;
};
