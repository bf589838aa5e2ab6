#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/CObject.h"

// A recording project: title and file path, the photo count and total size
// as of the last save or load, an unsaved-changes flag that is never
// written, and the photos' paths and delays (seconds) in list order.
class CProjectInfo : public CObject {
public:
    CProjectInfo() { Reset(); }
    CProjectInfo(const CProjectInfo&) = delete;
    // Takes title, path, count and total from a project just read; copies
    // path and delay i for every index both lists have. m_bModified stays.
    CProjectInfo& operator=(const CProjectInfo& other);

    void Reset();
    // Refreshes the photo count and total size (whole KiB of each file that
    // opens, as 32 bits) and clears the modified flag, just before writing.
    void PrepareForSave();
    // How many photos a loaded project rebuilds: no more than its stored
    // count and the lengths of both lists allow.
    size_t GetRebuildCount() const;

    static const CRuntimeClass classRecord;
    static CObject* CreateObject() { return new CProjectInfo; }
    const CRuntimeClass* GetRuntimeClass() const override { return &classRecord; }
    void Serialize(CArchive& ar) override;

    std::string m_strTitle;
    std::string m_strPath;
    int32_t m_nPhotoCount;
    int32_t m_nTotalKB;
    int32_t m_bModified;
    std::vector<std::string> m_arrPaths;
    std::vector<uint32_t> m_arrDelays;
};
