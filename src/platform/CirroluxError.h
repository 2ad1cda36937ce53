#pragma once

#include <stdexcept>
#include <string>

namespace cirrolux {

// Base of every error the program raises on purpose. The text is shown to the user as it stands
// by the command guard, so it is always one of the program's own messages.
class CirroluxError : public std::runtime_error
{
public:
    explicit CirroluxError(const std::string& text) : std::runtime_error(text) {}
};

// The settings store could not read or write (texts "Failed to set data for '%s'", ...).
class SettingsError : public CirroluxError
{
public:
    using CirroluxError::CirroluxError;
};

// A transfer of the HTTP component ended with an error ("Connection Timed Out", ...).
class TransferError : public CirroluxError
{
public:
    using CirroluxError::CirroluxError;
};

// A picture could not be decoded; the text is the decoder's own.
class DecoderError : public CirroluxError
{
public:
    using CirroluxError::CirroluxError;
};

// A dialog could not be shown.
class DialogError : public CirroluxError
{
public:
    using CirroluxError::CirroluxError;
};

} // namespace cirrolux
