// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_DesktopShortcut.h"

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <cerrno>
#include <climits>

#include "libmor/SCA_FileName.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_String.h"

namespace {

constexpr const char* kSuffix = ".desktop";
// The client's icon as installed in the icon theme, where the desktop finds it by name.
constexpr const char* kIconName = "korvac";
// A file name's room in bytes, the suffix included.
constexpr size_t kFileNameMax = NAME_MAX;
// The characters that make an argument need quotes.
constexpr const char* kReserved = " \t\n\"'\\><~|&;$*?#()`";
// The characters escaped with a backslash inside quotes.
constexpr const char* kEscapedInQuotes = "\"`$\\";

bool NeedsQuotes(const QString& argument) {
    if (argument.isEmpty()) {
        return true;
    }
    for (const QChar c : argument) {
        if (c.unicode() < 0x80 && std::strchr(kReserved, c.toLatin1()) != nullptr) {
            return true;
        }
    }
    return false;
}

QString QuoteArgument(const QString& argument, bool always) {
    const bool quote = always || NeedsQuotes(argument);
    QString out;
    if (quote) {
        out += QLatin1Char('"');
    }
    for (const QChar c : argument) {
        if (c == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else if (quote && c.unicode() < 0x80 &&
                   std::strchr(kEscapedInQuotes, c.toLatin1()) != nullptr) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    if (quote) {
        out += QLatin1Char('"');
    }
    return out;
}

// The escapes of a string value of a key file, which readers undo before anything else.
QString EscapeString(const QString& value) {
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

QString SCA_GetDesktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString SCA_GetDesktopShortcutPath(const char* name) {
    const QString folder = SCA_GetDesktopFolder();
    if (folder.isEmpty()) {
        return QString();
    }
    char safe[kFileNameMax + 1];
    SCA_StrnCpy(safe, name != nullptr ? name : "", kFileNameMax + 1 - std::strlen(kSuffix));
    SCA_NormalizeFileName(safe, sizeof(safe));
    return QDir(folder).filePath(QString::fromUtf8(safe) + QLatin1String(kSuffix));
}

int SCA_IsDesktopShortcutExists(const char* name) {
    const QString path = SCA_GetDesktopShortcutPath(name);
    return !path.isEmpty() && SCA_IsFileExists(path.toUtf8().constData()) ? 1 : 0;
}

QString SCA_DesktopExecLine(const QString& program, const QStringList& arguments) {
    if (program.contains(QLatin1Char('='))) {
        return QString();
    }
    QStringList words = {QuoteArgument(program, true)};
    for (const QString& argument : arguments) {
        words << QuoteArgument(argument, false);
    }
    return EscapeString(words.join(QLatin1Char(' ')));
}

int SCA_CreateDesktopShortcut(const char* name, const QString& program,
                              const QStringList& arguments, uint32_t* error) {
    uint32_t ignored = 0;
    uint32_t* code = error != nullptr ? error : &ignored;
    const QString exec = SCA_DesktopExecLine(program, arguments);
    const QString path = SCA_GetDesktopShortcutPath(name);
    if (exec.isEmpty() || path.isEmpty()) {
        *code = EINVAL;
        return 0;
    }
    if (!SCA_CreateDirectory(SCA_GetDesktopFolder().toUtf8().constData(), code)) {
        return 0;
    }
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Version=1.0\n"
                                        "Name=%1\n"
                                        "Exec=%2\n"
                                        "Icon=%3\n"
                                        "Terminal=false\n")
                             .arg(EscapeString(QString::fromUtf8(name != nullptr ? name : "")),
                                  exec, QLatin1String(kIconName));
    const QByteArray data = text.toUtf8();
    return SCA_WriteFileAtomic(path.toUtf8().constData(), data.constData(),
                               static_cast<size_t>(data.size()), code);
}
