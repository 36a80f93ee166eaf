// The resource script reader: the subset of the .rc language that menus, bitmaps and tool
// bars need.
//
//   #define NAME expr, #undef, #include "file.h" (its #defines), #include <...> (skipped),
//   #if / #ifdef / #ifndef / #elif / #else / #endif, #pragma (skipped)
//   LANGUAGE a, b                                       (skipped)
//   name MENU [memory options] BEGIN|{ items END|}      items: MENUITEM "text", id [, options]
//                                                        MENUITEM SEPARATOR
//                                                        POPUP "text" [, options] BEGIN .. END
//       options: CHECKED GRAYED INACTIVE MENUBREAK MENUBARBREAK HELP
//   name BITMAP [memory options] "file.bmp"
//   name TOOLBAR [memory options] cx, cy BEGIN BUTTON id | SEPARATOR ... END
//
// Names and ids are numbers, #defined symbols or, for resource names, bare words. Numbers
// are decimal, 0x hex or 0 octal, with an optional L or U suffix; expressions take
// + - | & ~ and parentheses. Strings take "" for a quote and the C escapes (\t, \n, \r,
// \a, \\, \", \xHH and octal). Comments are // and /* */. Errors stop the script: "file:line: what".
//
// A script is untrusted input: numbers must fit 32 bits, POPUPs and expressions nest at
// most kMaxNesting deep (the parser recurses), and #include and BITMAP name files inside
// the script's folder or the caller's include folders, regular files of bounded size.
//
// Index
//   1. Lexer and preprocessor
//   2. Expressions
//   3. Statements
//   4. Entry point
#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

#include "res/res_private.h"
#include "utf8.h"
#include "win32/runtime_ext.h"

namespace res {
namespace {

struct ParseError {
    std::string file;
    int line;
    std::string what;
};

constexpr int kMaxNesting = 256;                         // POPUP in POPUP, unary operators, parentheses
constexpr int kMaxIncludeDepth = 16;                     // #include in an included file
constexpr long long kMaxIncludeBytes = 1 << 20;          // one included file
constexpr long long kMaxIncludedTotal = 16LL << 20;      // every #include of one script together

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// ---- 1. Lexer and preprocessor --------------------------------------------------------------------
enum class Tok { End, Ident, Number, String, Punct };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifiers as written, punctuation, the number's spelling
    std::wstring str;  // strings, escapes resolved
    long long value = 0;
    int line = 0;
};

class Lexer {
public:
    // Shared by a script and the files it includes.
    struct Context {
        const rt::ResourceScriptFolders* folders;
        std::map<std::string, long long> defines;
        long long includedBytes = 0;
    };

    Lexer(const std::string& text, std::string file, Context* context)
        : text_(text), file_(std::move(file)), context_(context) {}

    [[noreturn]] void Fail(int line, const std::string& what) const { throw ParseError{file_, line, what}; }
    const std::string& File() const { return file_; }
    std::map<std::string, long long>& Defines() { return context_->defines; }
    const rt::ResourceScriptFolders& Folders() const { return *context_->folders; }

    Token Next() {
        for (;;) {
            SkipSpaceAndComments();
            if (pos_ >= text_.size()) {
                if (!conditions_.empty()) Fail(line_, "#if without #endif");
                return Token{Tok::End, "", L"", 0, line_};
            }
            if (text_[pos_] == '#' && atLineStart_) {
                Directive();
                continue;
            }
            Token t = Lex();
            if (Active()) return t;
        }
    }

    // One token of a directive's expression (no directives, no conditions).
    Token Lex0() {
        SkipSpaceAndComments();
        if (pos_ >= text_.size()) return Token{Tok::End, "", L"", 0, line_};
        return Lex();
    }

private:
    // A branch is read only when its enclosing ones are, so the innermost decides.
    bool Active() const { return conditions_.empty() || conditions_.back().taking; }

    void SkipSpaceAndComments() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                atLineStart_ = true;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
                const int start = line_;
                pos_ += 2;
                while (pos_ + 1 < text_.size() && !(text_[pos_] == '*' && text_[pos_ + 1] == '/')) {
                    if (text_[pos_] == '\n') ++line_;
                    ++pos_;
                }
                if (pos_ + 1 >= text_.size()) Fail(start, "unterminated comment");
                pos_ += 2;
            } else {
                return;
            }
        }
    }

    Token Lex() {
        atLineStart_ = false;
        Token t;
        t.line = line_;
        const char c = text_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const size_t start = pos_;
            while (pos_ < text_.size() &&
                   (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_' || text_[pos_] == '.'))
                ++pos_;
            t.kind = Tok::Ident;
            t.text = text_.substr(start, pos_ - start);
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) return LexNumber();
        if (c == '"') return LexString();
        ++pos_;
        t.kind = Tok::Punct;
        t.text = std::string(1, c);
        if (std::string(",{}|&+-~()").find(c) == std::string::npos)
            Fail(line_, "unexpected character '" + t.text + "'");
        return t;
    }

    Token LexNumber() {
        Token t;
        t.kind = Tok::Number;
        t.line = line_;
        const size_t start = pos_;
        while (pos_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        t.text = text_.substr(start, pos_ - start);
        std::string digits = t.text;
        while (!digits.empty() && (std::toupper(static_cast<unsigned char>(digits.back())) == 'L' ||
                                   std::toupper(static_cast<unsigned char>(digits.back())) == 'U'))
            digits.pop_back();
        int base = 10;
        size_t first = 0;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            base = 16;
            first = 2;
        } else if (digits.size() > 1 && digits[0] == '0') {
            base = 8;
            first = 1;
        }
        long long v = 0;
        for (size_t i = first; i < digits.size(); ++i) {
            const int d = std::isdigit(static_cast<unsigned char>(digits[i])) ? digits[i] - '0'
                          : std::isxdigit(static_cast<unsigned char>(digits[i]))
                              ? std::toupper(static_cast<unsigned char>(digits[i])) - 'A' + 10
                              : 99;
            if (d >= base || digits.size() == first) Fail(line_, "bad number '" + t.text + "'");
            v = v * base + d;
            if (v > 0xFFFFFFFFLL) Fail(line_, "number '" + t.text + "' does not fit 32 bits");
        }
        t.value = v;
        return t;
    }

    Token LexString() {
        Token t;
        t.kind = Tok::String;
        t.line = line_;
        ++pos_;
        // The file's own characters are UTF-8; \x and octal escapes stand for one UTF-16
        // code unit each and go into the text as they are.
        std::string raw;
        const auto flush = [&] {
            t.str += rt::Utf8ToWide(raw);
            raw.clear();
        };
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n') Fail(t.line, "unterminated string");
            const char c = text_[pos_++];
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {  // "" stands for one quote
                    raw.push_back('"');
                    ++pos_;
                    continue;
                }
                break;
            }
            if (c != '\\') {
                raw.push_back(c);
                continue;
            }
            if (pos_ >= text_.size()) Fail(t.line, "unterminated string");
            const char e = text_[pos_++];
            switch (e) {
                case 't':
                    raw.push_back('\t');
                    break;
                case 'n':
                    raw.push_back('\n');
                    break;
                case 'r':
                    raw.push_back('\r');
                    break;
                case 'a':
                    raw.push_back('\b');
                    break;  // right-aligns the rest of a menu text
                case '\\':
                    raw.push_back('\\');
                    break;
                case '"':
                    raw.push_back('"');
                    break;
                case 'x': {
                    int v = 0, n = 0;
                    while (n < 4 && pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
                        const char h = text_[pos_++];
                        v = v * 16 +
                            (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : std::toupper(h) - 'A' + 10);
                        ++n;
                    }
                    if (n == 0) Fail(t.line, "\\x needs hex digits");
                    flush();
                    t.str.push_back(wchar_t(v));
                    break;
                }
                default:
                    if (e >= '0' && e <= '7') {
                        int v = e - '0', n = 1;
                        while (n < 3 && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '7') {
                            v = v * 8 + (text_[pos_++] - '0');
                            ++n;
                        }
                        flush();
                        t.str.push_back(wchar_t(v));
                        break;
                    }
                    Fail(t.line, std::string("unknown escape \\") + e);
            }
        }
        flush();
        return t;
    }

    // A directive line, with backslash-newline continuations joined.
    std::string DirectiveLine() {
        std::string line;
        while (pos_ < text_.size() && text_[pos_] != '\n') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
                pos_ += 2;
                ++line_;
                continue;
            }
            if (text_[pos_] == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
                break;
            }
            line.push_back(text_[pos_++]);
        }
        return line;
    }

    struct Cond {
        bool taking;    // this branch is read
        bool taken;     // some branch of this #if was read
        bool parentOn;  // the enclosing branches are read
    };

    long long EvalDirective(const std::string& expr, int line);

    void Directive() {
        const int line = line_;
        ++pos_;  // '#'
        std::string text = DirectiveLine();
        std::istringstream in(text);
        std::string word;
        in >> word;
        std::string rest;
        std::getline(in, rest);
        rest.erase(0, rest.find_first_not_of(" \t"));
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r')) rest.pop_back();
        const bool on = Active();
        if (word == "if" || word == "ifdef" || word == "ifndef") {
            bool value = false;
            if (on) {
                if (word == "if") {
                    value = EvalDirective(rest, line) != 0;
                } else {
                    value = Defines().count(rest) != 0;
                    if (word == "ifndef") value = !value;
                }
            }
            conditions_.push_back(Cond{on && value, on && value, on});
        } else if (word == "elif") {
            if (conditions_.empty()) Fail(line, "#elif without #if");
            Cond& c = conditions_.back();
            const bool value = c.parentOn && !c.taken && EvalDirective(rest, line) != 0;
            c.taking = value;
            c.taken = c.taken || value;
        } else if (word == "else") {
            if (conditions_.empty()) Fail(line, "#else without #if");
            Cond& c = conditions_.back();
            c.taking = c.parentOn && !c.taken;
            c.taken = true;
        } else if (word == "endif") {
            if (conditions_.empty()) Fail(line, "#endif without #if");
            conditions_.pop_back();
        } else if (!on) {
            // skipped branch
        } else if (word == "define") {
            std::istringstream def(rest);
            std::string name;
            def >> name;
            if (name.empty()) Fail(line, "#define needs a name");
            if (name.find('(') != std::string::npos) Fail(line, "macros with arguments are not supported");
            std::string value;
            std::getline(def, value);
            Defines()[name] = value.find_first_not_of(" \t") == std::string::npos ? 1 : EvalDirective(value, line);
        } else if (word == "undef") {
            Defines().erase(rest);
        } else if (word == "include") {
            Include(rest, line);
        } else if (word == "pragma") {
            // code pages and the like change nothing here
        } else {
            Fail(line, "unknown directive #" + word);
        }
        atLineStart_ = true;
    }

    void Include(const std::string& spec, int line) {
        if (spec.size() >= 2 && spec.front() == '<') return;  // system headers hold no resources
        if (spec.size() < 2 || spec.front() != '"' || spec.back() != '"') Fail(line, "#include needs \"file\"");
        if (depth_ + 1 > kMaxIncludeDepth) Fail(line, "#include nested too deeply");
        const std::string name = spec.substr(1, spec.size() - 2);
        std::string path, why;
        if (!ResolveScriptFile(Folders(), name, &path, &why)) Fail(line, "cannot include '" + name + "': " + why);
        std::string text;
        if (!ReadScriptFile(path, kMaxIncludeBytes, &text, &why)) Fail(line, "cannot include '" + name + "': " + why);
        context_->includedBytes += static_cast<long long>(text.size());
        if (context_->includedBytes > kMaxIncludedTotal)
            Fail(line, "cannot include '" + name + "': the included files of one script may hold at most " +
                           std::to_string(kMaxIncludedTotal) + " bytes together");
        Lexer inner(text, path, context_);
        inner.depth_ = depth_ + 1;
        for (Token t = inner.Next(); t.kind != Tok::End; t = inner.Next())
            inner.Fail(t.line, "an included header may hold only directives");
    }

    std::string text_;
    std::string file_;
    Context* context_;
    size_t pos_ = 0;
    int line_ = 1;
    bool atLineStart_ = true;
    std::vector<Cond> conditions_;
    int depth_ = 0;
};

// ---- 2. Expressions -------------------------------------------------------------------------------
// A tiny recursive-descent evaluator over a token source.
template <class Source>
class Expr {
public:
    Expr(Source& src, Lexer& lexer) : src_(src), lexer_(lexer) {}

    long long Parse() {
        long long v = Unary();
        for (;;) {
            const Token& t = src_.Peek();
            if (t.kind != Tok::Punct || std::string("+-|&").find(t.text) == std::string::npos) return v;
            const char op = src_.Take().text[0];
            const long long r = Unary();
            v = op == '+' ? v + r : op == '-' ? v - r : op == '|' ? (v | r) : (v & r);
            v &= 0xFFFFFFFFLL;
        }
    }

private:
    // Counts the recursion of Unary: nested operators and parentheses.
    struct Nesting {
        explicit Nesting(Expr& e, int line) : expr(e) {
            if (++expr.depth_ > kMaxNesting)
                expr.lexer_.Fail(line, "expression nested more than " + std::to_string(kMaxNesting) + " deep");
        }
        ~Nesting() { --expr.depth_; }
        Expr& expr;
    };

    long long Unary() {
        const Token t = src_.Take();
        if (t.kind == Tok::Number) return t.value;
        const Nesting nesting(*this, t.line);
        if (t.kind == Tok::Punct && t.text == "-") return (-Unary()) & 0xFFFFFFFFLL;
        if (t.kind == Tok::Punct && t.text == "~") return (~Unary()) & 0xFFFFFFFFLL;
        if (t.kind == Tok::Punct && t.text == "(") {
            const long long v = Parse();
            const Token close = src_.Take();
            if (close.text != ")") lexer_.Fail(close.line, "expected ')'");
            return v;
        }
        if (t.kind == Tok::Ident && t.text == "defined") {
            Token name = src_.Take();
            const bool paren = name.text == "(";
            if (paren) name = src_.Take();
            if (paren && src_.Take().text != ")") lexer_.Fail(name.line, "expected ')'");
            return lexer_.Defines().count(name.text) ? 1 : 0;
        }
        if (t.kind == Tok::Ident) {
            const auto it = lexer_.Defines().find(t.text);
            if (it == lexer_.Defines().end()) lexer_.Fail(t.line, "undefined symbol '" + t.text + "'");
            return it->second;
        }
        lexer_.Fail(t.line, t.kind == Tok::End ? "expected a value" : "expected a value, found '" + t.text + "'");
    }

    Source& src_;
    Lexer& lexer_;
    int depth_ = 0;
};

// Tokens of one directive line.
struct LineSource {
    std::vector<Token> tokens;
    size_t at = 0;
    const Token& Peek() const { return tokens[std::min(at, tokens.size() - 1)]; }
    Token Take() { return tokens[std::min(at++, tokens.size() - 1)]; }
};

long long Lexer::EvalDirective(const std::string& expr, int line) {
    Lexer sub(expr, file_, context_);
    sub.line_ = line;
    sub.atLineStart_ = false;
    LineSource src;
    for (Token t = sub.Lex0(); t.kind != Tok::End; t = sub.Lex0()) src.tokens.push_back(t);
    src.tokens.push_back(Token{Tok::End, "", L"", 0, line});
    Expr<LineSource> e(src, sub);
    const long long v = e.Parse();
    if (src.Peek().kind != Tok::End) Fail(line, "unexpected '" + src.Peek().text + "' in #" + "directive");
    return v;
}

// ---- 3. Statements ------------------------------------------------------------------------------------
class Parser {
public:
    explicit Parser(Lexer& lexer) : lexer_(lexer) { Fill(); }

    const Token& Peek() const { return ahead_; }
    Token Take() {
        Token t = ahead_;
        Fill();
        return t;
    }

    void Script(std::vector<std::unique_ptr<Resource>>* out) {
        while (Peek().kind != Tok::End) {
            const Token first = Take();
            if (first.kind == Tok::Ident && Upper(first.text) == "LANGUAGE") {
                Value();
                Expect(",");
                Value();
                continue;
            }
            auto r = std::make_unique<Resource>();
            r->file = lexer_.File();
            r->line = first.line;
            r->name = ResourceName(first);
            const Token type = Take();
            const std::string word = type.kind == Tok::Ident ? Upper(type.text) : "";
            if (word == "MENU") {
                r->type = Type::Menu;
                SkipMemoryOptions();
                SkipMenuStatements();
                r->menu = Items(0);
            } else if (word == "BITMAP") {
                r->type = Type::Bitmap;
                SkipMemoryOptions();
                r->bitmapPath = BitmapFile();
            } else if (word == "TOOLBAR") {
                r->type = Type::Toolbar;
                SkipMemoryOptions();
                const long long cx = Value();
                Expect(",");
                const long long cy = Value();
                r->buttonSize = SIZE{LONG(cx), LONG(cy)};
                ToolbarButtons(r.get());
            } else if (type.kind == Tok::End) {
                lexer_.Fail(type.line, "a resource type must follow the name");
            } else {
                lexer_.Fail(type.line, "unsupported resource type '" + type.text + "'");
            }
            for (const auto& earlier : *out) {
                if (earlier->type == r->type && earlier->name == r->name)
                    lexer_.Fail(r->line, "duplicate " + word + " resource " + Describe(r->name) + " (first at line " +
                                             std::to_string(earlier->line) + ")");
            }
            out->push_back(std::move(r));
        }
    }

private:
    void Fill() { ahead_ = lexer_.Next(); }

    struct Source {
        Parser& p;
        const Token& Peek() const { return p.Peek(); }
        Token Take() { return p.Take(); }
    };

    long long Value() {
        Source src{*this};
        Expr<Source> e(src, lexer_);
        return e.Parse();
    }

    void Expect(const std::string& punct) {
        const Token t = Take();
        if (t.kind != Tok::Punct || t.text != punct)
            lexer_.Fail(t.line, "expected '" + punct + "'" +
                                    (t.kind == Tok::End ? " before the end" : ", found '" + t.text + "'"));
    }

    bool IsWord(const Token& t, const char* word) const { return t.kind == Tok::Ident && Upper(t.text) == word; }
    bool IsBegin(const Token& t) const { return IsWord(t, "BEGIN") || (t.kind == Tok::Punct && t.text == "{"); }
    bool IsEnd(const Token& t) const { return IsWord(t, "END") || (t.kind == Tok::Punct && t.text == "}"); }

    Name ResourceName(const Token& t) {
        Name name;
        if (t.kind == Tok::Number) {
            name.id = WORD(t.value);
            return name;
        }
        if (t.kind == Tok::Ident) {
            const auto it = lexer_.Defines().find(t.text);
            if (it != lexer_.Defines().end()) {
                name.id = WORD(it->second);
                return name;
            }
            name.isId = false;
            name.text = rt::Utf8ToWide(Upper(t.text));
            return name;
        }
        if (t.kind == Tok::String) {
            name.isId = false;
            for (wchar_t c : t.str) name.text.push_back(wchar_t(std::towupper(wint_t(c))));
            return name;
        }
        lexer_.Fail(t.line, "expected a resource name, found '" + t.text + "'");
    }

    void SkipMemoryOptions() {
        static const char* const kOptions[] = {"DISCARDABLE", "PRELOAD", "LOADONCALL", "MOVEABLE", "FIXED",
                                               "PURE",        "IMPURE",  "SHARED",     "NONSHARED"};
        for (;;) {
            const Token& t = Peek();
            if (t.kind != Tok::Ident) return;
            const std::string w = Upper(t.text);
            if (std::none_of(std::begin(kOptions), std::end(kOptions), [&](const char* o) { return w == o; })) return;
            Take();
        }
    }

    void SkipMenuStatements() {
        for (;;) {
            const Token& t = Peek();
            if (IsWord(t, "CHARACTERISTICS") || IsWord(t, "VERSION")) {
                Take();
                Value();
            } else if (IsWord(t, "LANGUAGE")) {
                Take();
                Value();
                Expect(",");
                Value();
            } else {
                return;
            }
        }
    }

    UINT ItemOptions() {
        UINT flags = 0;
        for (;;) {
            if (Peek().kind == Tok::Punct && Peek().text == ",") {
                Take();
                continue;
            }
            const Token& t = Peek();
            if (t.kind != Tok::Ident) return flags;
            const std::string w = Upper(t.text);
            if (w == "CHECKED") {
                flags |= MF_CHECKED;
            } else if (w == "GRAYED") {
                flags |= MF_GRAYED;
            } else if (w == "INACTIVE") {
                flags |= MF_DISABLED;
            } else if (w == "MENUBREAK") {
                flags |= MF_MENUBREAK;
            } else if (w == "MENUBARBREAK") {
                flags |= MF_MENUBARBREAK;
            } else if (w == "HELP") {
                flags |= MF_HELP;
            } else {
                return flags;  // the next item or END
            }
            Take();
        }
    }

    // The items of a MENU (depth 0) or of a POPUP nested `depth` deep.
    std::vector<MenuNode> Items(int depth) {
        const bool in_popup = depth > 0;
        const Token open = Take();
        if (!IsBegin(open))
            lexer_.Fail(open.line, "expected BEGIN or '{'" + std::string(in_popup ? " after POPUP" : " after MENU"));
        std::vector<MenuNode> items;
        for (;;) {
            const Token t = Take();
            if (IsEnd(t)) return items;
            if (t.kind == Tok::End) lexer_.Fail(open.line, "BEGIN without END");
            MenuNode node;
            if (IsWord(t, "MENUITEM")) {
                if (IsWord(Peek(), "SEPARATOR")) {
                    Take();
                    node.flags = MF_SEPARATOR;
                } else {
                    const Token text = Take();
                    if (text.kind != Tok::String) lexer_.Fail(text.line, "MENUITEM needs a quoted text or SEPARATOR");
                    node.text = text.str;
                    Expect(",");
                    node.id = UINT(Value());
                    node.flags = ItemOptions();
                }
            } else if (IsWord(t, "POPUP")) {
                const Token text = Take();
                if (text.kind != Tok::String) lexer_.Fail(text.line, "POPUP needs a quoted text");
                if (depth + 1 > kMaxNesting)
                    lexer_.Fail(t.line, "POPUP nested more than " + std::to_string(kMaxNesting) + " deep");
                node.text = text.str;
                node.flags = MF_POPUP | ItemOptions();
                node.children = Items(depth + 1);
            } else {
                lexer_.Fail(t.line, "expected MENUITEM, POPUP or END, found '" + t.text + "'");
            }
            items.push_back(std::move(node));
        }
    }

    std::string BitmapFile() {
        const Token t = Take();
        if (t.kind != Tok::String) lexer_.Fail(t.line, "BITMAP needs a quoted file name");
        std::string name;
        for (wchar_t c : t.str) {
            if (c >= 0x80) lexer_.Fail(t.line, "bitmap file names must be ASCII");
            name.push_back(c == L'\\' ? '/' : char(c));
        }
        std::string path, why;
        if (!ResolveScriptFile(lexer_.Folders(), name, &path, &why))
            lexer_.Fail(t.line, "cannot load bitmap '" + name + "': " + why);
        HBITMAP probe = rt::LoadBmpFile(path, &why);
        if (!probe) lexer_.Fail(t.line, "cannot load bitmap '" + name + "': " + why);
        DeleteObject(probe);
        return path;
    }

    void ToolbarButtons(Resource* r) {
        const Token open = Take();
        if (!IsBegin(open)) lexer_.Fail(open.line, "expected BEGIN or '{' after TOOLBAR");
        for (;;) {
            const Token t = Take();
            if (IsEnd(t)) return;
            if (t.kind == Tok::End) lexer_.Fail(open.line, "BEGIN without END");
            if (IsWord(t, "BUTTON")) {
                r->buttons.push_back(UINT(Value()));
            } else if (IsWord(t, "SEPARATOR")) {
                r->buttons.push_back(0);
            } else {
                lexer_.Fail(t.line, "expected BUTTON, SEPARATOR or END, found '" + t.text + "'");
            }
        }
    }

    Lexer& lexer_;
    Token ahead_;
};

}  // namespace

// ---- 4. Entry point ------------------------------------------------------------------------------------
bool ParseScript(const std::string& text, const std::string& file, const rt::ResourceScriptFolders& folders,
                 std::vector<std::unique_ptr<Resource>>* out, std::string* error) {
    Lexer::Context context{&folders, {}, 0};
    std::vector<std::unique_ptr<Resource>> parsed;
    try {
        Lexer lexer(text, file, &context);
        Parser parser(lexer);
        parser.Script(&parsed);
    } catch (const ParseError& e) {
        if (error) *error = e.file + ":" + std::to_string(e.line) + ": " + e.what;
        return false;
    }
    for (auto& r : parsed) out->push_back(std::move(r));
    return true;
}

}  // namespace res
