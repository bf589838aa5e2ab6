#pragma once
#include <string>

#include "framework/CObject.h"

// The display information of one picture file, taken from the file system
// when the record is made: name, size in bytes, last-write date (local
// time) and the full path. A file that cannot be found gives a record whose
// name is the "NoFile" text and whose other fields are empty.
class CPhotoInfo : public CObject {
public:
    CPhotoInfo() = default;
    explicit CPhotoInfo(std::string path);
    CPhotoInfo(const CPhotoInfo&) = default;
    CPhotoInfo& operator=(const CPhotoInfo&) = default;

    static const CRuntimeClass classRecord;
    static CObject* CreateObject() { return new CPhotoInfo; }
    const CRuntimeClass* GetRuntimeClass() const override { return &classRecord; }
    void Serialize(CArchive& ar) override;

    std::string m_strName;
    std::string m_strSize;
    std::string m_strDate;
    std::string m_strPath;
    std::string m_strReserved;
};
