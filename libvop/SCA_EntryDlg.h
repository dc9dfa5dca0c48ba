// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QDialogButtonBox;
class QLineEdit;

// Asks the user for one text: a title, a label before the entry, a text to start with and
// the most characters the entry takes. "Ok" is offered only while the entry is not blank.
class SCA_EntryDlg : public QDialog {
    Q_OBJECT
public:
    SCA_EntryDlg(QWidget* parent, const QString& title, const QString& label, const char* text,
                 uint32_t maxLength);

    // The entry without surrounding blanks, cut to size on a character boundary. 0 when it is
    // blank.
    int GetData(char* buf, uint32_t size) const;

    QLineEdit* GetEdit() const { return m_Edit; }

private:
    QLineEdit* m_Edit;
    QDialogButtonBox* m_Buttons;
};
