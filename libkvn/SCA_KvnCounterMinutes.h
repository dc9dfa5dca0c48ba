// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"

class SCA_ConfigObj;
class SCA_KvnCounter;

// The summary of one minute of a counter's values. Times are absolute times in whole seconds;
// the minute of a time t is t / 60.
struct tag_SCA_KVN_COUNTER_MINUTE {
    uint64_t StartTime; // time of the value that opened the record (not cut to the minute)
    uint64_t StopTime;  // time of the latest value added
    double LastValue;
    double AvgValue; // TotalValue / ValueCount
    double MinValue;
    double MaxValue;
    double TotalValue;
    uint32_t ValueCount;
};

// The minute records of one counter, oldest first; records are allocated zero-filled from the
// process heap and owned by the list. Items carry no name and no id.
class SCA_KVN_EXPORT SCA_KvnCounterMinutes : public SCA_OwnerList<tag_SCA_KVN_COUNTER_MINUTE> {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnCounterMinutes() { SetConstructed(); }
    ~SCA_KvnCounterMinutes() override = default;
    // Copies hold their own records (through the stored form); flag 0 when that failed.
    SCA_KvnCounterMinutes(const SCA_KvnCounterMinutes& other);
    SCA_KvnCounterMinutes& operator=(const SCA_KvnCounterMinutes& other);

    // Adds a value at time (seconds) to the tail record when its minute is not after the
    // tail's, else to a new record. 0 when a new record cannot be allocated.
    int AddValue(SCA_KvnCounter* counter, uint64_t time, double value);
    // The first record of time's minute: its mean, minimum and maximum; 0 (outputs untouched)
    // when no record opened in that minute.
    int GetMinuteData(uint64_t time, double* avg, double* min, double* max) const;
    // Mean, minimum and maximum of all values of all records. With no value at all the
    // outputs are 0.0 and the result 0.
    int GetStatistics(double* avg, double* min, double* max) const;
    uint64_t CalcMemoryUsage() const;

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);
    int SetContents(const SCA_KvnCounterMinutes* source);
    SCA_KvnCounterMinutes* Clone() const;

    // The start of a record's minute as text (also the name of its stored sub-object).
    static void FormatMinuteStart(const tag_SCA_KVN_COUNTER_MINUTE* record, char* buf,
                                  uint32_t size);

protected:
    // A new record opened by the value at time, appended at the tail.
    int AddMinute(uint64_t time, tag_SCA_KVN_COUNTER_MINUTE** record);

private:
    static tag_SCA_KVN_COUNTER_MINUTE* NewMinute();
};

// A record's mean, minimum and maximum (any output may be null); 0 for a null record.
int SCA_KvnGetMinuteStats(tag_SCA_KVN_COUNTER_MINUTE* record, double* avg, double* min,
                          double* max);
