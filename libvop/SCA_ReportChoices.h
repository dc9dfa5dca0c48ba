// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QComboBox;
class QDialog;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QWidget;

// The choices the save dialogs share: the report formats and modes as combo boxes (each entry
// carries its code), and the checks of a chosen file or folder.
class SCA_ReportChoices {
public:
    // Offers every valid report format, with selected chosen (the first one offered when
    // selected is not valid).
    static void FillFormats(QComboBox* box, uint32_t selected);
    // Offers the report modes, with selected chosen (the first when it is not a mode).
    static void FillModes(QComboBox* box, uint32_t selected);
    // The code of the box's current entry; all ones without one.
    static uint32_t Selected(const QComboBox* box);

    // path with the extension of format in place of its own ("a/b.txt" becomes "a/b.pdf"); an
    // extension that is not a report format's stays, and the new one follows it.
    static QString WithExtension(const QString& path, uint32_t format);
    // Whether folder is an existing folder given by its full path; tells the user why not.
    static bool CheckFolder(QWidget* parent, const QString& folder);
    // edit with a small button after it that runs browse (which asks for a file or folder).
    static QHBoxLayout* BrowseRow(QWidget* parent, QLineEdit* edit, const QString& tip,
                                  const std::function<void()>& browse);
    // Lays dialog out: form above Save and Cancel (Save reaches the dialog's accept, which
    // checks the choice), at least minWidth wide.
    static void LayOut(QDialog* dialog, QFormLayout* form, int minWidth);
    // A file name made of the product, what is saved and the time, safe in any folder:
    // "Korvanta <name> <date-time>.<extension>".
    static QString DefaultFileName(const char* name, uint32_t format);
};
