// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

// The root of the shared classes.
//
// Constructors never throw for ordinary failures (an allocation that fails, a missing name):
// they leave the construction flag at 0 and the creator tests it with IsConstructed(), then
// releases the object through Destroy. A class sets the flag with SetConstructed() as the last
// step of its constructor, once everything it allocates exists.
//
// Owners release objects through Destroy, never with a plain delete of a base pointer, so that
// every object is destroyed by its own destructor. The static form accepts a null pointer.
class SCA_Object {
public:
    SCA_Object() = default;
    virtual ~SCA_Object() = default;

    // Destroys and frees this object through its deleting destructor.
    virtual void Destroy() { delete this; }

    // Null-safe release: does nothing for a null object.
    static void Destroy(SCA_Object* object) {
        if (object != nullptr) {
            object->Destroy();
        }
    }

    // 1 once construction has succeeded, 0 while building or after a failed construction.
    uint32_t IsConstructed() const { return m_Constructed; }

protected:
    void SetConstructed() { m_Constructed = 1; }
    void SetConstructed(uint32_t flag) { m_Constructed = flag; }

    // Copies (where a derived class allows them) carry the flag of their source, as a record
    // made of plain members copies member by member, flag included.
    SCA_Object(const SCA_Object&) = default;
    SCA_Object& operator=(const SCA_Object&) = default;

private:
    uint32_t m_Constructed = 0;
};

// Releases an object through Destroy: the deleter of SCA_OwnedPtr.
struct SCA_ObjectDeleter {
    void operator()(SCA_Object* object) const { SCA_Object::Destroy(object); }
};

// The one owner of an object handed over by an operation (a reply object, a record): released
// on every path without a Destroy written on each.
template <typename T>
using SCA_OwnedPtr = std::unique_ptr<T, SCA_ObjectDeleter>;
