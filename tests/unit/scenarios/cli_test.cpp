// The kelem command line as a new user meets it: help and version answer on stdout with
// exit 0, and a bad word is named on stderr with exit 2 before anything runs.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/kelem/Cli.h"

namespace {

TEST(Cli, HelpVersionAndBadWords) {
    struct Row {
        const char* name;
        std::vector<const char*> args;  // after "kelem"
        int code;
        const char* out;  // what stdout holds ("" for nothing)
        const char* err;  // what stderr holds ("" for nothing)
    };
    const Row rows[] = {
        {"no command", {}, 2, "", "usage: kelem COMMAND"},
        {"--help", {"--help"}, 0, "kelem run SCRIPT", ""},
        {"--version", {"--version"}, 0, "kelem 0.1.0", ""},
        {"view --help (its options take values)", {"view", "--help"}, 0, "usage: kelem view", ""},
        {"unknown command", {"paint"}, 2, "", "unknown command paint"},
        {"unknown option of run", {"run", "x.kel", "--fast"}, 2, "", "kelem run: unknown option --fast"},
        {"unknown option of view, last", {"view", "--bogus"}, 2, "", "unknown option --bogus"},
        {"option without its value", {"run", "x.kel", "--skin"}, 2, "", "--skin needs a value"},
        {"run without a script", {"run"}, 2, "", "a script file is needed"},
        {"run with two scripts", {"run", "a.kel", "b.kel"}, 2, "", "not also b.kel"},
        {"gallery with a stray word", {"gallery", "out2"}, 2, "", "unexpected argument out2"},
        {"a script that cannot be read", {"run", "/nonexistent/x.kel"}, 2, "", "cannot open"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<const char*> argv{"kelem"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(row.code, kelem::KelemMain(int(argv.size()), argv.data(), out, err));
        for (const auto& [text, stream] : {std::pair{row.out, out.str()}, std::pair{row.err, err.str()}}) {
            if (*text) {
                EXPECT_NE(std::string::npos, stream.find(text)) << stream;
            } else {
                EXPECT_EQ("", stream);
            }
        }
    }
}

}  // namespace
