// The scenario script language: one command per line, '#' starts a comment, arguments
// are ints (decimal or 0x hex, negative allowed), double-quoted strings ("\"" and "\\"
// escapes), the word null, bare words (names), and field=value pairs (whose value is
// never another pair). A NUL byte anywhere on a line is an error.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kelem {

struct Arg {
    enum class Type { Int, String, Null, Word, Pair };
    Type type = Type::Null;
    long long i = 0;     // Int
    std::wstring s;      // String
    std::string word;    // Word, and the field name of a Pair
    std::vector<Arg> value;  // Pair: exactly one element, the value

    bool IsPair() const { return type == Type::Pair; }
    const Arg& PairValue() const { return value.front(); }
    std::string Describe() const;  // for error messages
};

struct Command {
    int line = 0;
    std::string verb;
    std::vector<Arg> args;
};

// A script error: the message names the line; the run stops with a non-zero exit.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits one line into a command; an empty or comment-only line gives verb "".
Command ParseLine(const std::string& text, int line);
std::vector<Command> ParseScript(const std::string& text);

}  // namespace kelem
