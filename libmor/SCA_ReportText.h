// SPDX-License-Identifier: MIT
#pragma once

#include <cstdarg>
#include <string>

// The text of a report. Reports end up as lines of the console, the system log and the
// service's debug log, and their arguments carry text from clients and files: a newline there
// would forge a line of its own, an escape sequence would drive the terminal. So the text an
// argument brings has its control bytes (below 0x20, 0x7F and the C1 controls U+0080 to
// U+009F) written as escapes: "\n", "\r", "\t", "\xHH" and "\u00HH". The format's own text,
// a newline it asks for included, is the program's and stays as written.

// Formats like vsnprintf with the escapes above, into at most maxSize bytes (cut anywhere;
// the caller cuts on a character boundary).
std::string SCA_FormatReportText(size_t maxSize, const char* format, va_list args);

// Appends text to out with its control bytes escaped as above.
void SCA_AppendEscaped(const char* text, std::string* out);
