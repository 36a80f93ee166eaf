// Replays every script in tests/scenarios and compares its transcript with the
// checked-in <name>.out next to it. KELEM_UPDATE_GOLDEN=1 rewrites the .out files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_fixture.h"
#include "pixels.h"
#include "tools/kelem/Runner.h"
#include "win32/runtime_ext.h"

namespace {

std::string ScenarioDir() { return std::string(KELEM_SOURCE_DIR) + "/tests/scenarios"; }

std::vector<std::string> Scripts() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(ScenarioDir()))
        if (e.path().extension() == ".kel") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A PNG the run wrote, as a bitmap for the golden comparison.
HBITMAP LoadPng(const std::string& path) {
    kt::Image img;
    if (!kt::ReadPng(path, &img)) return nullptr;
    return kt::PaintedBitmap(img.width, img.height, [&img](int x, int y) { return img.at(x, y); });
}

// Every "snapshot FILE" line of a transcript.
std::vector<std::string> Snapshots(const std::string& transcript) {
    std::vector<std::string> files;
    std::istringstream lines(transcript);
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find(" snapshot ");
        if (line.rfind("t=", 0) == 0 && at != std::string::npos) files.push_back(line.substr(at + 10));
    }
    return files;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, TranscriptMatches) {
    const std::string base = ScenarioDir() + "/" + GetParam();
    const std::string outDir = std::string(KELEM_TEST_OUTPUT_DIR) + "/scenarios";
    std::system(("mkdir -p '" + outDir + "'").c_str());
    kt::FreshScreen();
    std::ostringstream out, err;
    kelem::RunOptions options{kt::DefaultSkinDir(), outDir};
    const int code = kelem::RunScriptFile(base + ".kel", options, out, err);
    std::string transcript = out.str();
    if (code != 0) transcript += "exit " + std::to_string(code) + ": " + err.str();
    const char* update = std::getenv("KELEM_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") std::ofstream(base + ".out") << transcript;
    EXPECT_EQ(kt::ReadFile(base + ".out"), transcript) << "script " << base << ".kel";
    for (const std::string& file : Snapshots(transcript)) {
        HBITMAP shot = LoadPng(outDir + "/" + file);
        ASSERT_NE(nullptr, shot) << file;
        EXPECT_TRUE(kt::MatchesGolden(shot, "scenarios/" + file.substr(0, file.rfind('.'))));
        ::DeleteObject(shot);
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, Scenario, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Scenario);

}  // namespace
