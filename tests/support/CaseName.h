#pragma once

#include <cctype>
#include <string>

namespace cirrolux::test {

// A text made fit for a test case name: every character other than a letter or digit becomes
// "_", so place names and keys can name the cases of a table; an empty text is "empty".
inline std::string CaseName(std::string text)
{
    for (char& c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            c = '_';
    }
    return text.empty() ? std::string("empty") : text;
}

} // namespace cirrolux::test
