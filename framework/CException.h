#pragma once
#include <string>

// Base of the framework's exceptions. Each kind carries a cause and the
// file it concerns, and knows its standard message for the user.
class CException {
public:
    virtual ~CException() = default;
    virtual std::string GetErrorMessage() const = 0;
};
