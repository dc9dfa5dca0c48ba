// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Asks how and where to save one report: its title, the format (only the valid report
// formats are offered), the report mode and the file. The file's extension follows the
// format; a file outside an existing folder is refused with a message and the dialog stays.
class SCA_SaveReportDlg : public QDialog {
    Q_OBJECT
public:
    // The configurations and parameters are the caller's; the dialog keeps none of them.
    // caption is the window title; name says what is saved ("Process Monitor") and makes the
    // default file name. formatLocked nonzero shows the format FillDialog gives without letting
    // it be changed; chooseMode nonzero offers the report modes (0: no mode is asked).
    SCA_SaveReportDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                      SCA_ConfigObj* params, const char* caption, const char* name,
                      int formatLocked, int chooseMode);

    // The first choice: the report title, a format (an invalid one chooses the first format
    // offered) and a mode (one that is no mode chooses the first). The file starts in the
    // user's home folder. 1.
    int FillDialog(const char* title, uint32_t format, uint32_t mode);
    // The choice: format, mode (all ones when none was asked; mode may be null), title (cut to
    // its size) and the file's full path. 0 when the choice is incomplete or the path does not
    // fit.
    int GetReportData(uint32_t* format, uint32_t* mode, char* title, uint32_t titleSize, char* path,
                      uint32_t pathSize) const;

    QLineEdit* GetTitleEdit() const { return m_Title; }
    QComboBox* GetFormatBox() const { return m_Format; }
    QComboBox* GetModeBox() const { return m_Mode; }
    QLineEdit* GetPathEdit() const { return m_Path; }

public slots:
    // Accepts only a file in an existing folder (asking before an existing file is replaced).
    void accept() override;

private slots:
    void FormatChanged();
    void Browse();

private:
    QString ChosenPath() const;

    QString m_Name;
    bool m_ChooseMode;
    QLineEdit* m_Title;
    QComboBox* m_Format;
    QLabel* m_ModeLabel;
    QComboBox* m_Mode;
    QLineEdit* m_Path;
};
