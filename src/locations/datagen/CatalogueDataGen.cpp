// Build-time tool: turns the catalogue's data files into a C++ source that holds the location
// tree and the foreign station table as constant arrays, so the program carries them compiled in.
//
//   cirrolux_catalogue_datagen <tree_foreign.txt> <tree_us.txt> <stations.tsv> <output.cpp>
//
// The data files are UTF-8 (plain ASCII in practice); the program's texts are Latin-1, so every
// character must lie in Latin-1. A malformed file stops the build with the file, line and reason.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct DataError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct Line
{
    int number;
    std::string text; // Latin-1
};

struct Node
{
    std::string text;
    int depth;
};

struct Station
{
    std::string group;
    std::string list;
    std::string city;
    std::string number;
};

[[noreturn]] void fail(const std::string& file, int line, const std::string& reason)
{
    std::ostringstream out;
    out << file << ':' << line << ": " << reason;
    throw DataError(out.str());
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DataError(path + ": cannot be opened");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// UTF-8 to Latin-1; anything outside Latin-1 or not UTF-8 is a data fault.
std::string toLatin1(const std::string& utf8, const std::string& file, int line)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) != 0xC0 || i + 1 >= utf8.size())
            fail(file, line, "character outside Latin-1 or not UTF-8");
        const auto trail = static_cast<unsigned char>(utf8[i + 1]);
        if ((trail & 0xC0) != 0x80)
            fail(file, line, "malformed UTF-8");
        const unsigned code = ((lead & 0x1Fu) << 6) | (trail & 0x3Fu);
        if (code < 0x80 || code > 0xFF)
            fail(file, line, "character outside Latin-1");
        out += static_cast<char>(code);
        i += 2;
    }
    return out;
}

// Data lines of a file: comment ("#") and blank lines dropped, CR of CRLF files removed.
std::vector<Line> dataLines(const std::string& path)
{
    const std::string bytes = readFile(path);
    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string text = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text.front() == '#')
            continue;
        lines.push_back({number, toLatin1(text, path, number)});
    }
    return lines;
}

bool hasOuterSpace(const std::string& text)
{
    return text.front() == ' ' || text.back() == ' ';
}

bool hasControl(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    }
    return false;
}

std::vector<Node> readTree(const std::string& path, int maxDepth)
{
    std::vector<Node> nodes;
    for (const Line& line : dataLines(path)) {
        const std::size_t depth = line.text.find_first_not_of('\t');
        if (depth == std::string::npos)
            fail(path, line.number, "line holds only tabs");
        const std::string text = line.text.substr(depth);
        if (hasControl(text))
            fail(path, line.number, "tab or control character inside a node text");
        if (hasOuterSpace(text))
            fail(path, line.number, "node text starts or ends with a space");
        const int d = static_cast<int>(depth);
        if (d > maxDepth)
            fail(path, line.number, "node deeper than the tree allows");
        if (nodes.empty() ? d != 0 : d > nodes.back().depth + 1)
            fail(path, line.number, "node skips a level");
        nodes.push_back({text, d});
    }
    if (nodes.empty())
        throw DataError(path + ": no nodes");
    return nodes;
}

// The foreign tree with the US subtree inserted as the children of "United States" (depth 2).
std::vector<Node> joinTrees(const std::vector<Node>& foreign, const std::vector<Node>& us,
                            const std::string& foreignPath)
{
    int roots = 0;
    for (const Node& node : foreign)
        roots += node.depth == 0 ? 1 : 0;
    if (roots != 1)
        throw DataError(foreignPath + ": the tree must have exactly one root");

    std::vector<Node> joined;
    int anchors = 0;
    for (std::size_t i = 0; i < foreign.size(); ++i) {
        joined.push_back(foreign[i]);
        if (foreign[i].depth != 2 || foreign[i].text != "United States")
            continue;
        ++anchors;
        if (i + 1 < foreign.size() && foreign[i + 1].depth > 2)
            throw DataError(foreignPath + ": \"United States\" already has children");
        for (const Node& node : us)
            joined.push_back({node.text, node.depth + 3});
    }
    if (anchors != 1)
        throw DataError(foreignPath + ": needs exactly one depth-2 node \"United States\"");
    return joined;
}

std::vector<std::string> splitTabs(const std::string& text)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool isStationNumber(const std::string& number)
{
    if (number.empty())
        return true;
    if (number.size() != 5)
        return false;
    for (const char c : number) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::vector<Station> readStations(const std::string& path)
{
    std::vector<Station> stations;
    std::map<std::string, std::string> groupOfList;
    std::set<std::string> closedLists;
    for (const Line& line : dataLines(path)) {
        const std::vector<std::string> fields = splitTabs(line.text);
        if (fields.size() != 4)
            fail(path, line.number, "expected group, list, city and number separated by tabs");
        Station station{fields[0], fields[1], fields[2], fields[3]};
        for (const std::string* field : {&station.group, &station.list, &station.city}) {
            if (field->empty())
                fail(path, line.number, "empty group, list or city");
            if (hasOuterSpace(*field) || hasControl(*field))
                fail(path, line.number, "group, list or city with outer spaces or controls");
        }
        if (!isStationNumber(station.number))
            fail(path, line.number, "station number must be 5 digits or empty");
        const auto known = groupOfList.find(station.list);
        if (known != groupOfList.end() && known->second != station.group)
            fail(path, line.number, "list \"" + station.list + "\" under two groups");
        groupOfList[station.list] = station.group;
        // Lists are kept together so a lookup can scan one run of rows in stored order.
        if (!stations.empty() && stations.back().list != station.list) {
            closedLists.insert(stations.back().list);
            if (closedLists.count(station.list) != 0)
                fail(path, line.number, "rows of list \"" + station.list + "\" are not together");
        }
        stations.push_back(std::move(station));
    }
    if (stations.empty())
        throw DataError(path + ": no stations");
    return stations;
}

// A C string literal of Latin-1 bytes; octal escapes so no following character can extend them.
std::string literal(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\' || byte == '?' || byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string generate(const std::vector<Node>& tree, const std::vector<Station>& stations)
{
    std::ostringstream out;
    out << "// Generated by cirrolux_catalogue_datagen from src/locations/data. Do not edit.\n"
           "#include \"locations/LocationCatalogue.h\"\n\n"
           "namespace cirrolux {\nnamespace {\n\n"
           "constexpr TreeNode kTree[] = {\n";
    for (const Node& node : tree)
        out << "    {" << literal(node.text) << ", " << node.depth << "},\n";
    out << "};\n\nconstexpr StationEntry kStations[] = {\n";
    for (const Station& s : stations) {
        out << "    {" << literal(s.group) << ", " << literal(s.list) << ", " << literal(s.city)
            << ", " << literal(s.number) << "},\n";
    }
    out << "};\n\n} // namespace\n\n"
           "std::span<const TreeNode> LocationTree()\n{\n    return kTree;\n}\n\n"
           "std::span<const StationEntry> StationTable()\n{\n    return kStations;\n}\n\n"
           "} // namespace cirrolux\n";
    return out.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw DataError(path + ": cannot be written");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s tree_foreign.txt tree_us.txt stations.tsv output.cpp\n",
                     argv[0]);
        return 2;
    }
    try {
        const std::vector<Node> foreign = readTree(argv[1], 4);
        const std::vector<Node> us = readTree(argv[2], 1);
        const std::vector<Node> tree = joinTrees(foreign, us, argv[1]);
        writeFile(argv[4], generate(tree, readStations(argv[3])));
    } catch (const DataError& error) {
        std::fprintf(stderr, "catalogue data: %s\n", error.what());
        return 1;
    }
    return 0;
}
