#pragma once

#include <stdexcept>
#include <string>

namespace cirrolux {

// A picture the gateway cannot convert: the text says why, in words a user can act on.
class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace cirrolux
