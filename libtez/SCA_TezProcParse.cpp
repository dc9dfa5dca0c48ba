#include "libtez/SCA_TezProcParse.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>

#include "libtez/SCA_TezProcSample.h"
#include "model/SCA_ExeModuleList.h"

namespace {

// Bytes of a kB figure in status.
constexpr uint64_t kBytesPerKb = 1024;

// Positions of the stat fields after the name, counted as proc(5) counts them: the state is
// field 3.
enum StatField : uint32_t {
    kState = 3,
    kParent = 4,
    kFlags = 9,
    kMinorFaults = 10,
    kMajorFaults = 12,
    kUserTicks = 14,
    kSystemTicks = 15,
    kPriority = 18,
    kNice = 19,
    kThreads = 20,
    kStartTicks = 22,
};

// Splits off the next blank-separated word of text; empty when none is left.
std::string_view NextWord(std::string_view* text) {
    const size_t start = text->find_first_not_of(" \t\n");
    if (start == std::string_view::npos) {
        *text = {};
        return {};
    }
    const size_t end = text->find_first_of(" \t\n", start);
    const std::string_view word = text->substr(start, end - start);
    *text = end == std::string_view::npos ? std::string_view{} : text->substr(end);
    return word;
}

template <typename T>
bool ToNumber(std::string_view word, T* value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *value);
    return error == std::errc{} && end == word.data() + word.size();
}

// The value after "key" on the line that starts with it ("key  value ..."), or empty.
std::string_view LineValue(std::string_view text, std::string_view key) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        if (line.substr(0, key.size()) == key) {
            std::string_view rest = line.substr(key.size());
            return NextWord(&rest);
        }
        at = end + 1;
    }
    return {};
}

bool ReadStatFields(std::string_view rest, tagSCA_TEZ_PROC_SAMPLE* sample) {
    bool ok = true;
    uint32_t field = kState;
    for (std::string_view word = NextWord(&rest); !word.empty() && field <= kStartTicks;
         word = NextWord(&rest), ++field) {
        switch (field) {
        case kState:
            sample->State = word[0];
            break;
        case kParent:
            ok = ok && ToNumber(word, &sample->ParentPid);
            break;
        case kFlags:
            ok = ok && ToNumber(word, &sample->Flags);
            break;
        case kMinorFaults:
            ok = ok && ToNumber(word, &sample->MinorFaults);
            break;
        case kMajorFaults:
            ok = ok && ToNumber(word, &sample->MajorFaults);
            break;
        case kUserTicks:
            ok = ok && ToNumber(word, &sample->UserTicks);
            break;
        case kSystemTicks:
            ok = ok && ToNumber(word, &sample->SystemTicks);
            break;
        case kPriority:
            ok = ok && ToNumber(word, &sample->Priority);
            break;
        case kNice:
            ok = ok && ToNumber(word, &sample->Nice);
            break;
        case kThreads:
            ok = ok && ToNumber(word, &sample->Threads);
            break;
        case kStartTicks:
            ok = ok && ToNumber(word, &sample->StartTicks);
            break;
        default:
            break;
        }
    }
    return ok && field > kStartTicks;
}

} // namespace

int SCA_TezParseProcStat(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample) {
    const std::string_view all(text, size);
    const size_t open = all.find('(');
    const size_t close = all.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return 0;
    }
    std::string_view head = all.substr(0, open);
    if (!ToNumber(NextWord(&head), &sample->Pid)) {
        return 0;
    }
    const std::string_view name = all.substr(open + 1, close - open - 1);
    sample->CommLength = static_cast<uint32_t>(name.size());
    // Raw bytes: the name is cleaned for travel where names meet the lists.
    const size_t length = std::min(name.size(), sizeof(sample->Name) - 1);
    std::memcpy(sample->Name, name.data(), length);
    sample->Name[length] = '\0';
    return ReadStatFields(all.substr(close + 1), sample) ? 1 : 0;
}

int SCA_TezParseProcStatus(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample) {
    uint64_t kb = 0;
    if (!ToNumber(LineValue(std::string_view(text, size), "VmRSS:"), &kb)) {
        return 0;
    }
    sample->RssBytes = kb * kBytesPerKb;
    sample->HasRss = true;
    return 1;
}

int SCA_TezParseProcIo(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample) {
    const std::string_view all(text, size);
    if (!ToNumber(LineValue(all, "rchar:"), &sample->ReadBytes) ||
        !ToNumber(LineValue(all, "wchar:"), &sample->WriteBytes)) {
        return 0;
    }
    sample->HasIo = true;
    return 1;
}

int SCA_TezParseBootTime(const char* text, size_t size, uint64_t* bootSeconds) {
    return ToNumber(LineValue(std::string_view(text, size), "btime "), bootSeconds) ? 1 : 0;
}

int SCA_TezParseProcMaps(const char* text, size_t size, SCA_ExeModuleList* modules) {
    std::unordered_set<std::string_view> seen;
    std::string_view all(text, size);
    uint32_t id = 1;
    while (!all.empty()) {
        const size_t end = std::min(all.find('\n'), all.size());
        std::string_view line = all.substr(0, end);
        all = end < all.size() ? all.substr(end + 1) : std::string_view{};
        // address, permissions, offset, device, inode, then the path (which may hold blanks).
        for (int i = 0; i < 4; ++i) {
            NextWord(&line);
        }
        uint64_t inode = 0;
        if (!ToNumber(NextWord(&line), &inode) || inode == 0) {
            continue;
        }
        const size_t pathStart = line.find('/');
        if (pathStart == std::string_view::npos) {
            continue;
        }
        const std::string_view path = line.substr(pathStart);
        if (!seen.insert(path).second) {
            continue;
        }
        auto* module = new (std::nothrow) SCA_ExeModule();
        if (module == nullptr) {
            return 0;
        }
        const std::string file(path);
        module->SetId(id++);
        module->SetFileName(file.c_str());
        if (!modules->AddModule(module)) {
            module->Destroy();
            return 0;
        }
    }
    return 1;
}
