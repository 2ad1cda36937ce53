#pragma once

#include <ostream>
#include <string>

namespace cirrolux::test {

// Table rows print as their name, so CTest's test names stay readable. Test files bring it into
// their unnamed namespace with `using test::PrintTo;`.
template <typename Case>
requires requires(const Case& c)
{
    std::string(c.name);
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

} // namespace cirrolux::test
