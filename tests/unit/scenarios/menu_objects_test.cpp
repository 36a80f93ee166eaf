// Bad lines for the menu verbs (menu, and CMenuEx's menuex, menucall, menuget, menutrack):
// each stops the run with its line and a message naming what is wrong, and nothing loops
// or crashes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tools/kelem/Runner.h"

namespace {

TEST(MenuObjects, BadLinesAreNamed) {
    struct Row {
        const char* name;
        const char* script;
        const char* error;
    };
    const Row rows[] = {
        {"a menu inside itself", "menuex m 0 0\nmenucall m AppendMenuEx 0x10 m \"Me\"\n",
         "line 2: 'm' would open a menu that holds it"},
        {"a cycle through another menu",
         "menuex a 0 0\nmenuex m 0 0\nmenucall m AppendMenuEx 0x10 a \"A\"\nmenucall a AppendMenuEx 0x10 m \"M\"\n",
         "line 4: 'm' would open a menu that holds it"},
        {"an unknown menu", "menucall x GetMenuItemCount\n", "line 1: no menuex named 'x'"},
        {"a name made twice", "menuex m 0 0\nmenuex m 1 1\n", "line 2: 'm' exists already"},
        {"a name with a dot", "menuex a.b 0 0\n", "line 1: a menu name has no '.'"},
        {"a converted menu that is not there", "menuex m 0 0\nmenuget m.m_arrSubMenu[0] m_clrBack\n",
         "line 2: index out of range in 'm.m_arrSubMenu[0]'"},
        {"a path that names no menu", "menuex m 0 0\nmenuget m.m_arrItems[0] m_clrBack\n",
         "line 2: 'm.m_arrItems[0]' names no menu"},
        {"a protected operation on a converted menu",
         "menuex m 0 0\nmenucall m ChangeMenuStyle m\nmenucall m.m_arrSubMenu[0] ChangeMenuStyle m\n",
         "line 3: this operation needs a menu made by menuex"},
        {"an unknown operation", "menuex m 0 0\nmenucall m TrackPopupMenu 0\n", "unknown operation 'TrackPopupMenu'"},
        {"an unknown field", "menuex m 0 0\nmenuget m m_clrBackground\n", "unknown field 'm_clrBackground'"},
        {"a record past the end", "menuex m 0 0\nmenuget m m_arrItems[0].nID\n", "index out of range"},
        {"tracking for an unknown element", "menuex m 0 0\nmenutrack m 0 1 1 nobody\n", "unknown element 'nobody'"},
        {"menu without an answer", "menu\n", "expected at least 1 arguments, got 0"},
        {"menu with a number", "menu 3\n", "menu takes \"TEXT\" or cancel"},
        {"menu with empty text", "menu \"\"\n", "menu needs the text of an item"},
        {"menu with a stray word", "menu cancel picture x.png\n", "expected snapshot FILE.png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kelem::Registry registry;
        kelem::RegisterAllKinds(registry);
        std::ostringstream out;
        kelem::Runner runner(registry, kelem::RunOptions{}, out);
        std::string error;
        try {
            runner.Run(kelem::ParseScript(row.script));
        } catch (const kelem::ScriptError& e) {
            error = e.what();
        }
        EXPECT_NE(std::string::npos, error.find(row.error)) << error;
    }
}

}  // namespace
