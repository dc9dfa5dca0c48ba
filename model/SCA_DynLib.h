// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// A loaded dynamic library: the platform object that holds it (null while none is loaded),
// which it releases when it goes. Not copyable.
class SCA_DynLib : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // Takes library (may be null), which it owns from then on.
    explicit SCA_DynLib(SCA_Object* library = nullptr) : m_Library(library) { SetConstructed(); }
    ~SCA_DynLib() override { SCA_Object::Destroy(m_Library); }
    SCA_DynLib(const SCA_DynLib&) = delete;
    SCA_DynLib& operator=(const SCA_DynLib&) = delete;

private:
    SCA_Object* m_Library;
};
