// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>

#include "containers/SCA_List.h"
#include "libmor/SCA_Object.h"

// The command table of SCA_NetServer: 256 buckets, each a list of (name, T) nodes, created on
// the first name that falls into it. The bucket of a name is the sum of its bytes modulo 256.
// The table owns its bucket lists; the lists own their nodes and the name copies.
template <typename T>
class SCA_NameHashTable : public SCA_Object {
public:
    static constexpr uint32_t kBucketCount = 256;

    SCA_NameHashTable() { SetConstructed(); }
    ~SCA_NameHashTable() override {
        for (SCA_List<T>*& bucket : m_Buckets) {
            SCA_Object::Destroy(bucket);
            bucket = nullptr;
        }
    }
    SCA_NameHashTable(const SCA_NameHashTable&) = delete;
    SCA_NameHashTable& operator=(const SCA_NameHashTable&) = delete;

    // The byte sum of name modulo 256, case-sensitive; 0 for the empty (or null) name.
    static uint32_t Hash(const char* name) {
        uint8_t sum = 0;
        for (const char* at = name; at != nullptr && *at != '\0'; ++at) {
            sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(*at));
        }
        return sum;
    }

    // The list of bucket index, or null while no name has fallen into it.
    SCA_List<T>* GetBucket(uint32_t index) const {
        return index < kBucketCount ? m_Buckets[index] : nullptr;
    }
    // The list of bucket index, created empty (first id 0) when there is none yet; null when
    // it cannot be allocated.
    SCA_List<T>* CreateBucket(uint32_t index) {
        if (index >= kBucketCount) {
            return nullptr;
        }
        if (m_Buckets[index] == nullptr) {
            m_Buckets[index] = new (std::nothrow) SCA_List<T>(0u);
            if (m_Buckets[index] == nullptr) {
                return nullptr;
            }
            ++m_BucketCount;
        }
        return m_Buckets[index];
    }
    // Bucket lists created so far.
    uint32_t GetBucketCount() const { return m_BucketCount; }

private:
    SCA_List<T>* m_Buckets[kBucketCount] = {};
    uint32_t m_BucketCount = 0;
};
