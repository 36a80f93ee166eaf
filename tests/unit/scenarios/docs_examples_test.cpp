// Every example script of docs/scenarios.md runs as written: each ```kel block is saved as
// example.kel in a folder of its own and run with the default skin; the ```transcript
// block that follows it, where there is one, is its transcript to the byte (a run that
// fails ends with "exit N: " and what it printed on stderr, as in tests/scenarios).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "pixels.h"
#include "tools/kelem/Runner.h"

namespace {

struct Example {
    int line = 0;  // of the opening fence in the document
    std::string script;
    bool hasTranscript = false;
    std::string transcript;
};

// The fenced blocks of kind `kel`, each with the `transcript` block that follows it after
// nothing but blank lines.
std::vector<Example> Examples(const std::string& doc) {
    std::vector<Example> examples;
    std::istringstream in(doc);
    std::string fence, body;  // the open block's kind ("" outside a block) and its text
    bool afterKel = false;    // only blank lines since a kel block closed
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (line.rfind("```", 0) != 0) {
            if (!fence.empty()) body += line + "\n";
            afterKel = afterKel && (!fence.empty() || line.empty());
        } else if (fence.empty()) {
            fence = line.size() > 3 ? line.substr(3) : "-";
            body.clear();
            if (fence == "kel") examples.push_back(Example{lineNo, "", false, ""});
        } else {
            if (fence == "kel") examples.back().script = body;
            if (fence == "transcript" && afterKel) {
                examples.back().hasTranscript = true;
                examples.back().transcript = body;
            }
            afterKel = fence == "kel";
            fence.clear();
        }
    }
    return examples;
}

TEST(DocsExamples, EveryExampleRunsAsWritten) {
    const std::string doc = kt::ReadFile(std::string(KELEM_SOURCE_DIR) + "/docs/scenarios.md");
    ASSERT_FALSE(doc.empty());
    const std::vector<Example> examples = Examples(doc);
    std::set<std::string> kinds;  // every element kind the examples create, and menuex
    for (const Example& ex : examples) {
        SCOPED_TRACE("docs/scenarios.md:" + std::to_string(ex.line));
        const std::string dir = std::string(KELEM_TEST_OUTPUT_DIR) + "/docs_examples/" + std::to_string(ex.line);
        std::system(("mkdir -p '" + dir + "'").c_str());
        std::ofstream(dir + "/example.kel") << ex.script;
        std::ostringstream out, err;
        kelem::RunOptions options{kt::DefaultSkinDir(), dir};
        const int code = kelem::RunScriptFile(dir + "/example.kel", options, out, err);
        std::string transcript = out.str();
        if (code != 0) transcript += "exit " + std::to_string(code) + ": " + err.str();
        if (ex.hasTranscript) {
            EXPECT_EQ(ex.transcript, transcript);
        } else {
            EXPECT_EQ(0, code) << err.str();
        }
        std::istringstream lines(ex.script);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string verb, kind;
            words >> verb >> kind;
            if (verb == "create") kinds.insert(kind);
            if (verb == "menuex") kinds.insert(verb);
        }
    }
    // A new user learns every kind from the document alone.
    EXPECT_EQ((std::set<std::string>{"button", "hscroll", "menuex", "tabs", "vscroll"}), kinds);
}

}  // namespace
