// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SCA_ConfigObj;
class SCA_Field;

// One monitor of the "MonitorsStatus" object of GetStatusEx: a value field named by the
// monitor id in decimal whose value is five numbers, a host word and the description,
// separated by blanks:
//     <state> <run state> <counters> <errors> <warnings> <host> <description>
// The host is "-" for the local computer; the description is the rest of the text after the
// blanks that follow the host, so it may hold blanks itself. The service writes the rows and
// every client reads them with this one class.
class SCA_KorvantaMonitorRow {
public:
    static constexpr uint32_t kTextSize = 256;
    // Longest value Format writes.
    static constexpr uint32_t kRowSize = 5 * 11 + 2 * kTextSize;

    uint32_t MonitorId = 0;
    uint32_t State = 0;    // the monitor's status code (idle, running, warning, error, ...)
    uint32_t RunState = 0; // the run state of its task
    uint32_t Counters = 0;
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
    char Host[kTextSize] = ""; // empty: the local computer
    char Description[kTextSize] = "";

    // Sets the host and the description, bounded and cut on a character boundary. A blank in
    // the host would end its word, so it becomes '?'.
    void SetHost(const char* host);
    void SetDescription(const char* description);

    // The field's value; 0 (buf emptied) when it does not fit.
    int Format(char* buf, uint32_t size) const;
    // Reads a value. 0, with the row unchanged, unless it holds five decimal numbers in the
    // 32-bit range and a host word.
    int Parse(const char* text);
    // Appends the row to a "MonitorsStatus" object.
    int Write(SCA_ConfigObj* monitorsStatus) const;
    // Appends to out the bytes that Write adds to the byte form of the object, for a reply
    // whose rows are encoded once and sent many times. 0, with out unchanged, when Write
    // would fail.
    int Encode(std::string* out) const;
    // Every number and text the same.
    bool operator==(const SCA_KorvantaMonitorRow& other) const;
    // Reads one field of a "MonitorsStatus" object: its name is the monitor id.
    int Read(const SCA_Field* field);
    // Every field of a "MonitorsStatus" object, in order. 0 at the first field that is not a
    // row (rows holds those read before it).
    static int ReadAll(SCA_ConfigObj* monitorsStatus, std::vector<SCA_KorvantaMonitorRow>* rows);

    // The value's tokens as a Markdown table, for the protocol reference.
    static std::string Schema();

private:
    static constexpr uint32_t kNameSize = 16;
    // The field's name (the id) and value; 0 when the value does not fit.
    int FormatField(char (&name)[kNameSize], char (&value)[kRowSize]) const;
};
