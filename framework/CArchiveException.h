#pragma once
#include "CException.h"

// The contents of an archive could not be read or written.
class CArchiveException : public CException {
public:
    enum Cause {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    CArchiveException(Cause cause, std::string fileName) : m_cause(cause), m_strFileName(std::move(fileName)) {}

    std::string GetErrorMessage() const override;

    Cause m_cause;
    std::string m_strFileName;
};
