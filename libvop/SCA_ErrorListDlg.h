// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class SCA_TezError;
class SCA_TezErrorList;

// What the Errors and Warnings counts shown beside a monitor are, said wherever they and the
// error list's rows (every error and warning recorded) meet the user's eye.
inline constexpr const char* SCA_ERROR_COUNTS_TEXT =
    "The Errors and Warnings counts beside a monitor count what is in error or warning now, "
    "not these rows.";
inline constexpr const char* SCA_ERRORS_COLUMN_TIP =
    "Counters in error now; View Errors lists every error recorded";
inline constexpr const char* SCA_WARNINGS_COLUMN_TIP =
    "Counters in warning now; View Errors lists every warning recorded";

// The errors and warnings a monitor recorded, newest last: when, how severe, the counter and
// its instance and computer, the value and what happened.
class SCA_ErrorListDlg : public QDialog {
    Q_OBJECT
public:
    // errors stays the caller's and must outlive FillDialog. title is the window title (null
    // or empty: "<description> Errors"); description names what the errors belong to (a
    // monitor, "Process Monitor").
    SCA_ErrorListDlg(QWidget* parent, SCA_TezErrorList* errors, const char* title,
                     const char* description);

    // Lists the errors; 0 without a list.
    int FillDialog();

    QTreeWidget* GetView() const { return m_View; }

    // The columns of an error list, and one error's row, for every view that lists errors.
    static void SetupErrorView(QTreeWidget* view);
    static QTreeWidgetItem* NewErrorRow(const SCA_TezError& error);
    QLabel* GetSummary() const { return m_Summary; }

private:
    SCA_TezErrorList* m_Errors;
    QString m_Description;
    QTreeWidget* m_View;
    QLabel* m_Summary;
};
