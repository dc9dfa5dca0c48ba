// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SCA_ConfigObj;

// Beside the monitors file, the changes made since the file was last written, one record per
// change.
inline constexpr const char* SCA_SRV_MONITORS_JOURNAL = "monitors.journal";
inline constexpr uint32_t SCA_SRV_MONITORS_JOURNAL_TYPE = 1019;

// The records of a monitors journal. A record is the u64 length (little-endian) of a file form
// (SCA_ConfigObj::ToFileBytes: magic, version, type, payload length and SHA-256 of the payload)
// of one "Change" object. Every byte of a record is checked on its own: the fixed header
// fields, the two lengths against each other and the payload against its checksum, so damage
// in one record never hides the records after it.
//
// What the bytes in no verifying record were is told from the records' heads: a record's head
// (its length, then the file form's magic, version, type and payload length) stands in front
// of every change. A journal that ends in the first bytes of a record, whose head as far as it
// goes agrees with itself but whose length reaches past the end, ends in a record cut short:
// an append interrupted by a crash, whose change was never acknowledged. Anything else is
// damage: a record whose head is there (its magic in place) but that fails its checksum or
// contents is a change that cannot be read; bytes that no head marks held changes that
// cannot be counted.
//
// Changes written since the sequence numbers came carry "Seq", counting up within a journal;
// older records have none and keep their place at the front.
class SCA_SrvMonitorJournal {
public:
    struct Record {
        uint64_t Offset = 0;
        uint64_t Size = 0;
        uint64_t Seq = 0;
    };

    // Finds every record of bytes that verifies. Bytes in no verifying record are damaged.
    // The journal reads bytes in place: they must outlive it.
    explicit SCA_SrvMonitorJournal(const std::string& bytes);

    // The verifying records in the order their changes were made; a record repeated under a
    // sequence number already taken is left out.
    const std::vector<Record>& Changes() const { return m_Changes; }
    // Reads the change of a record; 0 when it does not verify.
    int ReadChange(const Record& record, SCA_ConfigObj* change) const;

    // Damaged bytes between verifying records, and after the last of them.
    uint64_t GetDamagedBytes() const { return m_DamagedBytes; }
    uint64_t GetTailBytes() const { return m_TailBytes; }
    uint32_t GetDamagedParts() const { return m_DamagedParts; }
    // Records that were out of order or repeated.
    uint32_t GetMisplaced() const { return m_Misplaced; }
    // Of the damaged bytes: the records marked by their head that fail to verify (changes
    // that cannot be read), the bytes that no head marks, and the bytes of a last record cut
    // short (part of the tail).
    uint32_t GetLostChanges() const { return m_LostChanges; }
    uint64_t GetUnmarkedBytes() const { return m_UnmarkedBytes; }
    uint64_t GetCutShortBytes() const { return m_CutShortBytes; }
    // The journal's only fault is a last record cut short, as an interrupted append leaves it.
    bool EndsInCutShortRecordOnly() const {
        return m_DamagedBytes == 0 && m_Misplaced == 0 && m_TailBytes != 0 &&
               m_CutShortBytes == m_TailBytes;
    }
    // The end of the last verifying record.
    uint64_t GetWholeSize() const { return m_WholeSize; }
    uint64_t GetLastSeq() const { return m_LastSeq; }
    bool IsIntact() const { return m_DamagedBytes == 0 && m_TailBytes == 0 && m_Misplaced == 0; }

    // The record of change, appended to out; 0 when it cannot be written.
    static int AppendRecord(SCA_ConfigObj* change, std::string* out);
    // How many changes, each handing out at most one id, fit in that many damaged bytes.
    static uint32_t ChangesThatFit(uint64_t bytes);

private:
    int Verify(uint64_t at, Record* record) const;
    uint64_t NextVerifying(uint64_t from, Record* record) const;
    void Order();
    // Tells what the damaged bytes [from, to) were; tail: they end the journal.
    void Classify(uint64_t from, uint64_t to, bool tail);
    bool IsMarked(uint64_t at) const;
    uint64_t NextMarked(uint64_t from, uint64_t to) const;
    uint64_t MarkedEnd(uint64_t at, uint64_t to) const;
    bool IsCutShort(uint64_t at) const;

    const std::string& m_Bytes;
    std::vector<Record> m_Changes;
    uint64_t m_DamagedBytes = 0;
    uint64_t m_TailBytes = 0;
    uint32_t m_DamagedParts = 0;
    uint32_t m_Misplaced = 0;
    uint32_t m_LostChanges = 0;
    uint64_t m_UnmarkedBytes = 0;
    uint64_t m_CutShortBytes = 0;
    uint64_t m_WholeSize = 0;
    uint64_t m_LastSeq = 0;
};

inline constexpr const char* SCA_SRV_JOURNAL_CHANGE_ROOT = "Change";
inline constexpr const char* SCA_SRV_JOURNAL_CHANGE_ID = "Id";
inline constexpr const char* SCA_SRV_JOURNAL_CHANGE_SEQ = "Seq";
inline constexpr const char* SCA_SRV_JOURNAL_CHANGE_MONITOR = "Monitor";
