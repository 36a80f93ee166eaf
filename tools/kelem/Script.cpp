#include "Script.h"

#include <cerrno>
#include <cstdlib>

#include "utf8.h"

namespace kelem {
namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
    throw ScriptError("line " + std::to_string(line) + ": " + what);
}

class Lexer {
public:
    Lexer(const std::string& text, int line) : t_(text), line_(line) {}

    bool AtEnd() {
        while (pos_ < t_.size() && (t_[pos_] == ' ' || t_[pos_] == '\t' || t_[pos_] == '\r')) ++pos_;
        return pos_ >= t_.size() || t_[pos_] == '#';
    }

    // One argument. A pair's value is read as a plain string or word, never as another
    // pair, so a line of "a=a=a=..." costs one step per '=' and no stack.
    Arg Next() {
        if (t_[pos_] == '"') return String();
        const std::string word = BareWord();
        if (pos_ < t_.size() && t_[pos_] == '=') {
            ++pos_;
            if (word.empty()) Fail(line_, "'=' without a field name");
            if (pos_ >= t_.size() || t_[pos_] == ' ' || t_[pos_] == '\t') Fail(line_, "no value for " + word);
            Arg pair;
            pair.type = Arg::Type::Pair;
            pair.word = word;
            if (t_[pos_] == '"') {
                pair.value.push_back(String());
            } else {
                const std::string value = BareWord();
                if (pos_ < t_.size() && t_[pos_] == '=') Fail(line_, "nested '=' in " + word);
                if (value.empty()) Fail(line_, "no value for " + word);
                pair.value.push_back(Word(value));
            }
            return pair;
        }
        if (word.empty()) Fail(line_, "unexpected '\"'");
        return Word(word);
    }

private:
    std::string BareWord() {
        const size_t start = pos_;
        while (pos_ < t_.size() && t_[pos_] != ' ' && t_[pos_] != '\t' && t_[pos_] != '\r' && t_[pos_] != '=' &&
               t_[pos_] != '"')
            ++pos_;
        return t_.substr(start, pos_ - start);
    }

    Arg String() {
        Arg a;
        a.type = Arg::Type::String;
        std::string raw;
        ++pos_;
        for (;;) {
            if (pos_ >= t_.size()) Fail(line_, "unterminated string");
            const char c = t_[pos_++];
            if (c == '"') break;
            if (c == '\\') {
                if (pos_ >= t_.size()) Fail(line_, "unterminated string");
                const char e = t_[pos_++];
                if (e == 'n') raw.push_back('\n');
                else if (e == 't') raw.push_back('\t');
                else if (e == '"' || e == '\\') raw.push_back(e);
                else Fail(line_, std::string("unknown escape \\") + e);
            } else {
                raw.push_back(c);
            }
        }
        a.s = rt::Utf8ToWide(raw);
        return a;
    }

    Arg Word(const std::string& w) {
        Arg a;
        if (w == "null") return a;
        const bool neg = w[0] == '-';
        const std::string digits = neg ? w.substr(1) : w;
        if (!digits.empty() && digits[0] >= '0' && digits[0] <= '9') {
            const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
            char* end = nullptr;
            errno = 0;
            const unsigned long long v = std::strtoull(digits.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
            if (*end != '\0' || errno != 0 || v > 0xFFFFFFFFull) Fail(line_, "bad number '" + w + "'");
            a.type = Arg::Type::Int;
            a.i = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
            return a;
        }
        a.type = Arg::Type::Word;
        a.word = w;
        return a;
    }

    const std::string& t_;
    size_t pos_ = 0;
    int line_;
};

}  // namespace

std::string Arg::Describe() const {
    switch (type) {
        case Type::Int: return std::to_string(i);
        case Type::String: return "\"" + rt::WideToUtf8(s) + "\"";
        case Type::Null: return "null";
        case Type::Word: return word;
        case Type::Pair: return word + "=" + PairValue().Describe();
    }
    return "?";
}

Command ParseLine(const std::string& text, int line) {
    Command cmd;
    cmd.line = line;
    // Names and strings reach the elements as C strings: a NUL would cut them short unseen.
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) Fail(line, "NUL byte in column " + std::to_string(nul + 1));
    Lexer lex(text, line);
    if (lex.AtEnd()) return cmd;
    const Arg verb = lex.Next();
    if (verb.type != Arg::Type::Word) Fail(line, "a command starts with a word, not " + verb.Describe());
    cmd.verb = verb.word;
    while (!lex.AtEnd()) cmd.args.push_back(lex.Next());
    return cmd;
}

std::vector<Command> ParseScript(const std::string& text) {
    std::vector<Command> commands;
    size_t start = 0;
    int line = 0;
    while (start <= text.size()) {
        const size_t nl = text.find('\n', start);
        const std::string one = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        ++line;
        Command cmd = ParseLine(one, line);
        if (!cmd.verb.empty()) commands.push_back(std::move(cmd));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return commands;
}

}  // namespace kelem
