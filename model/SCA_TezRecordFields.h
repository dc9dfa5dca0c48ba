#pragma once

#include <cstdint>

class SCA_ConfigObj;

// Size of the fixed configuration texts of the monitoring records (255 characters and a NUL).
inline constexpr uint32_t SCA_TEZ_TEXT_SIZE = 256;
// Size of the fixed computer-name and name-prefix texts of counters and monitor definitions.
inline constexpr uint32_t SCA_TEZ_NAME_SIZE = 64;

// Writes the fields of a record into a configuration object, one value field per member. The
// first field that cannot be added makes the writer fail; later puts are then skipped.
class SCA_TezFieldWriter {
public:
    explicit SCA_TezFieldWriter(SCA_ConfigObj* object);

    void Put(const char* name, uint32_t value);
    void Put(const char* name, int value);
    void Put(const char* name, uint64_t value);
    void Put(const char* name, double value);
    void Put(const char* name, const char* text);
    // A new child object for an embedded record or list, or null (the writer then fails).
    SCA_ConfigObj* PutObject(const char* name);

    int IsOk() const { return m_Ok ? 1 : 0; }

private:
    SCA_ConfigObj* m_Object;
    bool m_Ok;
};

// Reads the fields of a record back. A field that is absent leaves its member as it was, so
// files written before a field existed still load; a field that is there but does not hold a
// value of the member's kind makes the reader fail, and GetBadField names it.
class SCA_TezFieldReader {
public:
    explicit SCA_TezFieldReader(SCA_ConfigObj* object);

    void Get(const char* name, uint32_t* value);
    void Get(const char* name, int* value);
    void Get(const char* name, uint64_t* value);
    void Get(const char* name, double* value);
    // Copied bounded by size and cut on a UTF-8 character boundary.
    void Get(const char* name, char* text, uint32_t size);
    // The child object of that name; null when it is absent. A value field of that name makes
    // the reader fail.
    SCA_ConfigObj* GetObject(const char* name);

    int IsOk() const { return m_Ok ? 1 : 0; }
    const char* GetBadField() const { return m_BadField; }

private:
    // Whether name may be read: true when it is a value field (present set) or absent; a
    // child object of that name fails the reader.
    bool FindValue(const char* name, bool* present);
    void Fail(const char* name);
    template <typename Number>
    void GetNumber(const char* name, Number* value);

    SCA_ConfigObj* m_Object;
    bool m_Ok;
    const char* m_BadField;
};
