#include "CArchiveException.h"

std::string CArchiveException::GetErrorMessage() const
{
    const std::string& f = m_strFileName.empty() ? std::string("the file") : m_strFileName;
    switch (m_cause) {
    case none: return "No error occurred with " + f + ".";
    case readOnly: return f + " was opened for reading and cannot be written.";
    case endOfFile: return f + " ends too early: it is incomplete or damaged.";
    case writeOnly: return f + " was opened for writing and cannot be read.";
    case badIndex: return f + " is damaged: it refers to an object it does not contain.";
    case badClass: return f + " has an unexpected format: it is not a file of this program.";
    case badSchema: return f + " was written by a version of this program that this one cannot read.";
    case genericException: break;
    }
    return f + " could not be read: its contents are not valid.";
}
