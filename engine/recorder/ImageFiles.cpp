#include "ImageFiles.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include "engine/base/CalendarTime.h"

namespace {

#ifdef _WIN32
const char kSeparators[] = "\\/";
const char kSeparator = '\\';
int MakeDir(const std::string& p) { return _mkdir(p.c_str()); }
#else
const char kSeparators[] = "/";
const char kSeparator = '/';
int MakeDir(const std::string& p) { return mkdir(p.c_str(), 0777); }
#endif

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFDIR);
}

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

bool CreateFolders(const std::string& folder)
{
    if (folder.empty() || IsFolder(folder))
        return !folder.empty();
    size_t cut = folder.find_last_of(kSeparators);
    if (cut != std::string::npos && cut > 0) {
        std::string parent = folder.substr(0, cut);
        // Stop at a drive ("C:") or the root.
        if (!(parent.size() == 2 && parent[1] == ':') && !CreateFolders(parent))
            return false;
    }
    return MakeDir(folder) == 0 || IsFolder(folder);
}

ImageFiles::~ImageFiles()
{
    Discard();
}

bool ImageFiles::Prepare(const std::string& folder, std::time_t when, std::string& error)
{
    if (!CreateFolders(folder)) {
        error = folder + ": the image folder cannot be created";
        return false;
    }
    char stamp[64];
    std::tm local = LocalCalendarTime(when);
    std::strftime(stamp, sizeof stamp, "Snapdisc %Y-%m-%d %H.%M.%S", &local);
    std::string base = folder;
    if (base.back() != '/' && base.back() != '\\')
        base += kSeparator;
    base += stamp;
    for (int n = 1; n < 1000; ++n) {
        std::string name = n == 1 ? base : base + " (" + std::to_string(n) + ")";
        if (Exists(name + ".bin") || Exists(name + ".cue") || Exists(name + ".bin.part") ||
            Exists(name + ".cue.part"))
            continue;
        m_bin = name + ".bin";
        m_cue = name + ".cue";
        m_tempBin = m_bin + ".part";
        m_tempCue = m_cue + ".part";
        m_bPrepared = true;
        return true;
    }
    error = folder + ": no free image name is left for this time";
    return false;
}

bool ImageFiles::WriteCueSheet(const std::string& text, std::string& error)
{
    std::FILE* f = std::fopen(m_tempCue.c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f)
        ok = std::fclose(f) == 0 && ok;
    if (!ok)
        error = m_cue + ": the cue sheet cannot be written";
    return ok;
}

bool ImageFiles::Commit(std::string& error)
{
    if (std::rename(m_tempBin.c_str(), m_bin.c_str()) != 0) {
        error = m_bin + ": the image cannot be given its name";
        return false;
    }
    if (std::rename(m_tempCue.c_str(), m_cue.c_str()) != 0) {
        std::remove(m_bin.c_str());
        error = m_cue + ": the cue sheet cannot be given its name";
        return false;
    }
    m_bPrepared = false;
    return true;
}

void ImageFiles::Discard()
{
    if (!m_bPrepared)
        return;
    std::remove(m_tempBin.c_str());
    std::remove(m_tempCue.c_str());
    m_bPrepared = false;
}

std::string ImageFiles::BinFileName() const
{
    size_t cut = m_bin.find_last_of(kSeparators);
    return cut == std::string::npos ? m_bin : m_bin.substr(cut + 1);
}
