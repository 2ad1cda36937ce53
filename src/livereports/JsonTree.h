#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cirrolux::livereports {

// A JSON value that keeps the order of an object's members as the file has them (the Factbook's
// fields are shown in their published order). Strings stay UTF-8.
struct JsonValue
{
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    std::string text; // String: the decoded text; Number: as written; Boolean: "true"/"false"
    std::vector<JsonValue> items;
    // An object's members; a struct of its own rather than a pair, which would have to be
    // complete before JsonValue is.
    struct Member;
    std::vector<Member> members;

    // The member `name` of an object; null when absent or not an object.
    const JsonValue* member(std::string_view name) const;
    bool isString() const { return kind == Kind::String; }
    bool isObject() const { return kind == Kind::Object; }
    bool isArray() const { return kind == Kind::Array; }
};

struct JsonValue::Member
{
    std::string name;
    JsonValue value;
};

// The finite value of a JSON number; with `orNumericText`, also of a string that holds only a
// number. Nothing for anything else, a null pointer included.
std::optional<double> JsonNumber(const JsonValue* value, bool orNumericText = false);

// Parses a whole JSON document (nesting up to 64 levels). Nothing for text that is not JSON.
std::optional<JsonValue> ParseJson(std::string_view text);

} // namespace cirrolux::livereports
