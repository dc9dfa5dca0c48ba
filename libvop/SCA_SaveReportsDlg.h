// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "libmor/SCA_Limits.h"

class QComboBox;
class QLabel;
class QLineEdit;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Asks how and where to save many reports at once: the format (only the valid report formats
// are offered), the report mode and an existing folder; each report then gets a file of its
// own there. A folder that does not exist is refused with a message and the dialog stays.
class SCA_SaveReportsDlg : public QDialog {
    Q_OBJECT
public:
    // The configurations and parameters are the caller's; the dialog keeps none of them.
    // caption is the window title. chooseFormat nonzero offers the formats; 0 leaves the
    // format to the caller (no format is asked). modeLocked nonzero shows the mode FillDialog
    // gives without letting it be changed.
    SCA_SaveReportsDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                       SCA_ConfigObj* params, const char* caption, int chooseFormat,
                       int modeLocked);

    // The first choice: a format (all ones: no format is asked; another invalid one chooses the
    // first format offered) and a mode. The folder starts as the user's home folder. 1.
    int FillDialog(uint32_t format, uint32_t mode);
    // The choice: format (what FillDialog gave when none was asked), mode and the folder's full
    // path. 0 when the folder does not fit into folderSize.
    int GetReportData(uint32_t* format, uint32_t* mode, char* folder, uint32_t folderSize) const;

    QComboBox* GetFormatBox() const { return m_Format; }
    QComboBox* GetModeBox() const { return m_Mode; }
    QLineEdit* GetFolderEdit() const { return m_Folder; }

public slots:
    // Accepts only an existing folder given by its full path.
    void accept() override;

private slots:
    void FormatChanged();
    void Browse();

private:
    bool AsksFormat() const { return m_ChooseFormat && m_GivenFormat != SCA_ALL_ONES; }

    bool m_ChooseFormat;
    bool m_ModeLocked;
    uint32_t m_GivenFormat = SCA_ALL_ONES;
    QLabel* m_FormatLabel;
    QComboBox* m_Format;
    QComboBox* m_Mode;
    QLineEdit* m_Folder;
};
