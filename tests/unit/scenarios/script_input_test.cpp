// Hostile scripts and skins: each is refused with the line that caused it, or run to the
// end with its problems reported and a non-zero exit, and never writes outside --out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_fixture.h"
#include "pixels.h"
#include "tools/kelem/Runner.h"
#include "win32/runtime_ext.h"

namespace {

namespace fs = std::filesystem;

using kt::Repeat;

struct Outcome {
    int code;
    std::string out, err;
};

class ScriptInput : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::path(KELEM_TEST_OUTPUT_DIR) / ("script_input_" + std::string(::testing::UnitTest::GetInstance()
                                                                                    ->current_test_info()
                                                                                    ->name()));
        fs::remove_all(base);
        fs::create_directories(base / "out");
    }
    // The virtual screen keeps what these runs' windows painted, and a later picture of a
    // popup beside its window would show it: leave the screen fresh, as it starts.
    void TearDown() override { kt::FreshScreen(); }
    Outcome RunScript(const std::string& text, const std::string& skin) {
        const std::string script = (base / "script.kel").string();
        std::ofstream(script, std::ios::binary) << text;
        std::ostringstream out, err;
        const kelem::RunOptions options{skin, (base / "out").string()};
        const int code = kelem::RunScriptFile(script, options, out, err);
        return Outcome{code, out.str(), err.str()};
    }
    std::string Skin(const std::string& name, const std::string* palette) {
        const fs::path dir = base / name;
        fs::create_directories(dir);
        if (palette) std::ofstream(dir / "palette.ini") << *palette;
        return dir.string();
    }
    fs::path base;
};

const std::string kDefaultSkin = kt::DefaultSkinDir();

TEST_F(ScriptInput, HostileScriptsAreRefusedWithTheirLine) {
    struct Row {
        const char* name;
        std::string script;
        const char* err;  // what the error must say
    } rows[] = {
        {"many pairs on one line", "call b x " + Repeat("a=", 200000) + "1\n", "line 1: nested '=' in a"},
        {"a pair whose value is empty", "call b x a=\r\n", "line 1: no value for a"},
        {"a rectangle past INT_MAX", "create button b 2147483600 0 100 10\n", "line 1: the rectangle"},
        {"a rectangle past INT_MIN", "create button b 0 0 10 10\nplace b 0 -2147483600 10 -100\n",
         "line 2: the rectangle 0 -2147483600 10 -100 reaches past the int range"},
        {"a NUL byte in a name", "create button b" + std::string(1, '\0') + "x 0 0 10 10\n", "line 1: NUL byte in column 16"},
        {"a NUL byte in a string", "skin \"a" + std::string(1, '\0') + "b\"\n", "line 1: NUL byte in column 8"},
        {"a snapshot climbing out", "snapshot ../escaped.png\n", "line 1: '../escaped.png' leaves the --out folder"},
        {"an absolute snapshot", "snapshot \"" + (base / "escaped.png").string() + "\"\n", "is an absolute path"},
        {"a menu snapshot climbing out", "menu cancel snapshot ../escaped.png\n", "leaves the --out folder"},
        {"a wait past the bound", "wait 600001\n", "line 1: wait takes 0 to 600000 milliseconds"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome run = RunScript(row.script, kDefaultSkin);
        EXPECT_EQ(1, run.code) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(row.err)) << run.err;
        EXPECT_FALSE(fs::exists(base / "escaped.png"));
    }
}

// A skin that cannot be read, is empty or has bad lines: the run goes on with what it has,
// prints the problems and fails at the end.
TEST_F(ScriptInput, SkinProblemsArePrintedAndFailTheRun) {
    const std::string empty, bad = "[colors]\nButton.Text = #zzzzzz\n";
    const std::string script = "create button b 0 0 50 20\ncall b InitBtn 1 0 \"button\" \"normal.bmp\"\nget b m_nID\n";
    struct Row {
        const char* name;
        std::string skin;           // given as --skin
        std::string scriptBefore;   // lines before the script
        const char* out;            // in the transcript
        const char* err;            // in the errors
    } rows[] = {
        {"a missing --skin", (base / "none").string(), "", "t=0 get b m_nID = 1",
         "none/palette.ini: cannot open the palette file: no such file"},
        {"an empty --skin", Skin("empty", &empty), "", "t=0 get b m_nID = 1", "skin lacks the picture button/normal.bmp"},
        {"a skin line with a bad colour", kDefaultSkin, "skin \"" + Skin("bad", &bad) + "\"\n",
         "palette.ini:2: bad colour '#zzzzzz' for Button.Text; the previous value is kept", "bad colour '#zzzzzz'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome run = RunScript(row.scriptBefore + script, row.skin);
        EXPECT_EQ(3, run.code) << run.err;
        EXPECT_NE(std::string::npos, run.out.find(row.out)) << run.out;
        EXPECT_NE(std::string::npos, run.out.find("t=0 get b m_nID = 1")) << "the script went on\n" << run.out;
        EXPECT_NE(std::string::npos, run.err.find(row.err)) << run.err;
    }
    const Outcome good = RunScript(script, kDefaultSkin);
    EXPECT_EQ(0, good.code) << good.err;
}

}  // namespace
