#pragma once
#include <cstdint>

class CArchive;
class CObject;

// What the archive needs to know of a class to write an object of it and to
// create one again when reading: its name, its schema number and a factory.
struct CRuntimeClass {
    const char* m_lpszClassName;
    uint16_t m_wSchema;
    CObject* (*m_pfnCreateObject)();
};

// Root of the objects that write and read themselves through an archive.
class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const = 0;
    virtual void Serialize(CArchive& ar) = 0;
};
