// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Desktop shortcuts: a Desktop Entry file ("<name>.desktop") in the user's desktop folder (XDG:
// XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop) that starts a program with its arguments.
// The file has mode 0600 and is replaced whole (a crash leaves the old one or the new one).

// The user's desktop folder; empty when there is none (no home folder).
QString SCA_GetDesktopFolder();
// The file of the shortcut named name: the name made file-name safe, with ".desktop".
QString SCA_GetDesktopShortcutPath(const char* name);
// 1 when the desktop has a shortcut file of that name.
int SCA_IsDesktopShortcutExists(const char* name);
// Creates or replaces the shortcut; 0 with an errno value in *error (may be null) when the
// folder or the file cannot be written, or the program path cannot stand in an Exec line.
int SCA_CreateDesktopShortcut(const char* name, const QString& program,
                              const QStringList& arguments, uint32_t* error);

// The value of the Exec key for program and arguments, quoted by the Desktop Entry rules: the
// program and every argument that is empty or holds a reserved character in double quotes
// (with '"', '`', '$' and '\' escaped inside), '%' doubled, then the string escapes of the
// key file ("\\", "\n", "\t", "\r"). The program path may not hold '=': an empty text then.
QString SCA_DesktopExecLine(const QString& program, const QStringList& arguments);
