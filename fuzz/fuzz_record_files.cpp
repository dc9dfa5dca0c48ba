// SPDX-License-Identifier: MIT
// The record readers of the service's stored files, past their container (fuzz_config_file
// covers that): the monitors list, the user configuration, the report index and a stored
// report, each read from the tree in the bytes after the first, which picks the reader.
// A tree a reader refuses leaves what it read into as it was; one it takes writes back to a
// form that reads again to the same thing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzTreeSupport.h"
#include "libmor/SCA_Limits.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

constexpr uint32_t kAllParts = SCA_ALL_ONES;

// The stored form of what a reader read into.
template <typename Records>
std::string FormOf(Records* records) {
    SCA_ConfigObj form("Form", nullptr);
    if (!records->Serialize(&form)) {
        __builtin_trap(); // what was read can always be written
    }
    return fuzz_service::BytesOf(&form);
}

// Reads tree into a fresh object of the kind make makes; a refusal must leave it unchanged
// (when keepsOnFailure), an acceptance must read back the same from its own form.
template <typename Make, typename Read>
void CheckReader(SCA_ConfigObj* tree, Make&& make, Read&& read, bool keepsOnFailure) {
    auto first = make();
    const std::string before = FormOf(first.get());
    if (!read(first.get(), tree)) {
        if (keepsOnFailure && FormOf(first.get()) != before) {
            __builtin_trap();
        }
        return;
    }
    SCA_ConfigObj form("Form", nullptr);
    if (!first->Serialize(&form)) {
        __builtin_trap();
    }
    auto second = make();
    if (!read(second.get(), &form) || FormOf(second.get()) != fuzz_service::BytesOf(&form)) {
        __builtin_trap();
    }
}

struct Configs {
    SCA_TezConfig Product{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_TezConfigUser User{&Product};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzz_service::kMaxInput) {
        return 0;
    }
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    auto tree = fuzz_service::TreeFrom(data + 1, size - 1);
    if (tree == nullptr) {
        return 0;
    }
    static Configs configs;
    switch (data[0] % 4) {
    case 0:
        CheckReader(
            tree.get(),
            [] { return std::make_unique<SCA_SrvMonitorList>(&configs.Product, &configs.User); },
            [](SCA_SrvMonitorList* list, SCA_ConfigObj* object) {
                return list->Deserialize(object);
            },
            true);
        break;
    case 1:
        CheckReader(
            tree.get(), [] { return std::make_unique<SCA_TezConfigUser>(&configs.Product); },
            [](SCA_TezConfigUser* user, SCA_ConfigObj* object) {
                return user->Deserialize(&configs.Product, object, kAllParts);
            },
            true);
        break;
    case 2:
        CheckReader(
            tree.get(),
            [] { return std::make_unique<SCA_TezReportIndex>(&configs.Product, &configs.User); },
            [](SCA_TezReportIndex* index, SCA_ConfigObj* object) {
                return index->Deserialize(object);
            },
            true);
        break;
    default:
        CheckReader(
            tree.get(),
            [] { return std::make_unique<SCA_TezReport>(&configs.Product, &configs.User); },
            [](SCA_TezReport* report, SCA_ConfigObj* object) {
                return report->Deserialize(object);
            },
            false);
        break;
    }
    return 0;
}
