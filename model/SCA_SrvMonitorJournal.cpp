// SPDX-License-Identifier: MIT
#include "model/SCA_SrvMonitorJournal.h"

#include <algorithm>
#include <cstring>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordList.h"

namespace {

constexpr size_t kLengthBytes = 8;
// Where the file form's magic sits in a record, and its text.
constexpr size_t kMagicAt = kLengthBytes;
constexpr char kMagic[4] = {'K', 'H', 'D', 'X'};

uint64_t ReadLength(const char* bytes) {
    uint64_t length = 0;
    for (size_t i = 0; i < kLengthBytes; ++i) {
        length |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    }
    return length;
}

void PutLength(std::string* out, uint64_t length) {
    for (size_t i = 0; i < kLengthBytes; ++i) {
        out->push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    }
}

// What every record's file form begins with (magic, version and type), and the size of its
// head before the payload.
struct FileHead {
    std::string Fixed;
    uint64_t Size = 0;
};

const FileHead& JournalFileHead() {
    static const FileHead head = [] {
        constexpr size_t kFixedBytes = 12; // magic, version and type, four bytes each
        constexpr size_t kPayloadLengthAt = kFixedBytes;
        SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
        std::string file;
        FileHead made;
        if (change.ToFileBytes(SCA_SRV_MONITORS_JOURNAL_TYPE, &file) &&
            file.size() >= kPayloadLengthAt + kLengthBytes) {
            made.Fixed = file.substr(0, kFixedBytes);
            made.Size = file.size() - ReadLength(file.data() + kPayloadLengthAt);
        }
        return made;
    }();
    return head;
}

// The smallest record any version wrote: a change without a monitor or a sequence number.
uint64_t SmallestRecord() {
    static const uint64_t smallest = [] {
        SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
        std::string record;
        if (!change.AddField(SCA_SRV_JOURNAL_CHANGE_ID, uint32_t{0}) ||
            !change.AddField(SCA_TEZ_NEXT_ID_FIELD, uint32_t{0}) ||
            !SCA_SrvMonitorJournal::AppendRecord(&change, &record)) {
            return uint64_t{kLengthBytes + 1};
        }
        return uint64_t{record.size()};
    }();
    return smallest;
}

} // namespace

SCA_SrvMonitorJournal::SCA_SrvMonitorJournal(const std::string& bytes) : m_Bytes(bytes) {
    uint64_t at = 0;
    Record record;
    while (at < m_Bytes.size()) {
        if (Verify(at, &record)) {
            m_Changes.push_back(record);
            at += record.Size;
            m_WholeSize = at;
            continue;
        }
        const uint64_t next = NextVerifying(at + 1, &record);
        const bool tail = next == m_Bytes.size();
        Classify(at, next, tail);
        if (tail) {
            m_TailBytes = m_Bytes.size() - at;
            break;
        }
        m_DamagedBytes += next - at;
        ++m_DamagedParts;
        at = next;
    }
    Order();
}

int SCA_SrvMonitorJournal::Verify(uint64_t at, Record* record) const {
    if (m_Bytes.size() - at < kLengthBytes) {
        return 0;
    }
    const uint64_t length = ReadLength(m_Bytes.data() + at);
    if (length > m_Bytes.size() - at - kLengthBytes) {
        return 0;
    }
    SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
    const Record candidate{at, kLengthBytes + length, 0};
    if (!ReadChange(candidate, &change)) {
        return 0;
    }
    *record = candidate;
    if (!change.GetField(SCA_SRV_JOURNAL_CHANGE_SEQ, &record->Seq)) {
        record->Seq = 0;
    }
    return 1;
}

int SCA_SrvMonitorJournal::ReadChange(const Record& record, SCA_ConfigObj* change) const {
    uint32_t error = 0;
    uint32_t fileType = 0;
    return change->LoadBytes(m_Bytes.data() + record.Offset + kLengthBytes,
                             record.Size - kLengthBytes, &error, &fileType) &&
           fileType == SCA_SRV_MONITORS_JOURNAL_TYPE;
}

void SCA_SrvMonitorJournal::Classify(uint64_t from, uint64_t to, bool tail) {
    for (uint64_t at = from; at < to;) {
        if (tail && IsCutShort(at)) {
            m_CutShortBytes = to - at;
            return;
        }
        if (IsMarked(at)) {
            ++m_LostChanges;
            at = MarkedEnd(at, to);
            continue;
        }
        const uint64_t next = NextMarked(at + 1, to);
        m_UnmarkedBytes += next - at;
        at = next;
    }
}

bool SCA_SrvMonitorJournal::IsMarked(uint64_t at) const {
    return at + kMagicAt + sizeof(kMagic) <= m_Bytes.size() &&
           std::memcmp(m_Bytes.data() + at + kMagicAt, kMagic, sizeof(kMagic)) == 0;
}

uint64_t SCA_SrvMonitorJournal::NextMarked(uint64_t from, uint64_t to) const {
    for (uint64_t at = from; at < to; ++at) {
        if (IsMarked(at)) {
            return at;
        }
    }
    return to;
}

// A damaged record ends where its length says when that is where the damage ends or another
// record's head stands; a length that says otherwise is damaged too, and the next head ends it.
uint64_t SCA_SrvMonitorJournal::MarkedEnd(uint64_t at, uint64_t to) const {
    const uint64_t length = ReadLength(m_Bytes.data() + at);
    if (to - at >= kLengthBytes && length <= to - at - kLengthBytes) {
        const uint64_t end = at + kLengthBytes + length;
        if (end == to || IsMarked(end)) {
            return end;
        }
    }
    return NextMarked(at + 1, to);
}

// The bytes from at to the end are the start of a record: too few for its length, or a length
// that reaches past the end with the head, as far as the bytes go, of a record of that length.
bool SCA_SrvMonitorJournal::IsCutShort(uint64_t at) const {
    const uint64_t left = m_Bytes.size() - at;
    if (left < kLengthBytes) {
        return true;
    }
    const FileHead& head = JournalFileHead();
    const uint64_t length = ReadLength(m_Bytes.data() + at);
    if (head.Size == 0 || length < head.Size || length <= left - kLengthBytes) {
        return false;
    }
    std::string expected = head.Fixed;
    PutLength(&expected, length - head.Size);
    const size_t present =
        static_cast<size_t>(std::min<uint64_t>(left - kLengthBytes, expected.size()));
    return std::memcmp(m_Bytes.data() + at + kLengthBytes, expected.data(), present) == 0;
}

uint64_t SCA_SrvMonitorJournal::NextVerifying(uint64_t from, Record* record) const {
    // A record starts its length field right before a magic; only those places are tried.
    for (uint64_t at = from; at + kMagicAt + sizeof(kMagic) <= m_Bytes.size(); ++at) {
        if (std::memcmp(m_Bytes.data() + at + kMagicAt, kMagic, sizeof(kMagic)) == 0 &&
            Verify(at, record)) {
            return at;
        }
    }
    return m_Bytes.size();
}

void SCA_SrvMonitorJournal::Order() {
    std::vector<Record> ordered = m_Changes;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Record& a, const Record& b) { return a.Seq < b.Seq; });
    std::vector<Record> kept;
    kept.reserve(ordered.size());
    for (const Record& record : ordered) {
        if (record.Seq != 0 && !kept.empty() && kept.back().Seq == record.Seq) {
            ++m_Misplaced; // a copy of a change already replayed
            continue;
        }
        if (kept.size() < m_Changes.size() && m_Changes[kept.size()].Offset != record.Offset) {
            ++m_Misplaced;
        }
        kept.push_back(record);
        m_LastSeq = std::max(m_LastSeq, record.Seq);
    }
    m_Changes = std::move(kept);
}

int SCA_SrvMonitorJournal::AppendRecord(SCA_ConfigObj* change, std::string* out) {
    std::string file;
    if (!change->ToFileBytes(SCA_SRV_MONITORS_JOURNAL_TYPE, &file)) {
        return 0;
    }
    out->reserve(out->size() + kLengthBytes + file.size());
    PutLength(out, file.size());
    *out += file;
    return 1;
}

uint32_t SCA_SrvMonitorJournal::ChangesThatFit(uint64_t bytes) {
    const uint64_t changes = (bytes + SmallestRecord() - 1) / SmallestRecord();
    return changes > SCA_ALL_ONES ? SCA_ALL_ONES : static_cast<uint32_t>(changes);
}
