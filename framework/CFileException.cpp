#include "CFileException.h"

#include <cerrno>

CFileException::Cause CFileException::CauseFromErrno(int err)
{
    switch (err) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case EBUSY: return sharingViolation;
    case ENOSPC: return diskFull;
    default: return genericException;
    }
}

std::string CFileException::GetErrorMessage() const
{
    const std::string& f = m_strFileName.empty() ? std::string("the file") : m_strFileName;
    switch (m_cause) {
    case none: return "No error occurred with " + f + ".";
    case fileNotFound: return f + " was not found.";
    case badPath: return f + " is not a valid file name, or its folder does not exist.";
    case tooManyOpenFiles: return f + " could not be opened: too many files are open.";
    case accessDenied: return "Access to " + f + " was denied.";
    case invalidFile: return f + " could not be used: the file handle is not valid.";
    case directoryFull: return f + " could not be created: the folder is full.";
    case badSeek: return "The position in " + f + " could not be set.";
    case hardIO: return "A hardware error occurred while accessing " + f + ".";
    case sharingViolation: return f + " is in use by another program.";
    case diskFull: return f + " could not be written: the disk is full.";
    case endOfFile: return "The end of " + f + " was reached unexpectedly.";
    case genericException: break;
    }
    return "An error occurred while accessing " + f + ".";
}
