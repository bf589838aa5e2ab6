#pragma once
#include "CException.h"

// A file could not be opened, read, written or closed.
class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        diskFull,
        endOfFile
    };

    CFileException(Cause cause, std::string fileName) : m_cause(cause), m_strFileName(std::move(fileName)) {}

    // The cause that best describes a C library errno value.
    static Cause CauseFromErrno(int err);

    std::string GetErrorMessage() const override;

    Cause m_cause;
    std::string m_strFileName;
};
