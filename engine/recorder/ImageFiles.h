#pragma once
#include <ctime>
#include <string>

// The BIN/CUE pair of one burn. Names come from the date and time and never
// replace an existing file; the pair is written under temporary names and
// gets its real names only when complete, so a failed or aborted burn
// leaves nothing behind.
class ImageFiles {
public:
    ImageFiles() = default;
    ~ImageFiles();  // discards what was not committed
    ImageFiles(const ImageFiles&) = delete;
    ImageFiles& operator=(const ImageFiles&) = delete;

    // Creates the folder if needed and chooses the names.
    bool Prepare(const std::string& folder, std::time_t when, std::string& error);
    // Writes the cue sheet under its temporary name.
    bool WriteCueSheet(const std::string& text, std::string& error);
    // Gives both files their real names; on failure neither keeps one.
    bool Commit(std::string& error);
    void Discard();

    const std::string& BinPath() const { return m_bin; }
    const std::string& CuePath() const { return m_cue; }
    const std::string& TempBinPath() const { return m_tempBin; }
    const std::string& TempCuePath() const { return m_tempCue; }
    // The BIN's file name, as the CUE sheet names it.
    std::string BinFileName() const;

private:
    std::string m_bin, m_cue, m_tempBin, m_tempCue;
    bool m_bPrepared = false;
};

// Creates a folder and the folders above it; true when it exists afterwards.
bool CreateFolders(const std::string& folder);
