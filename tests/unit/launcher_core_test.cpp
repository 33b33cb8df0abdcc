// The launcher's rules that are pure text: which settings file the command line names and what of
// it reaches the settings, and the second instance's message. Files live in the parser fixture's
// temporary working folder, which is the file-system library's one source.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game_settings.h"
#include "parser_fixture.h"
#include "running_message.h"

namespace {

const std::string kDeclarations =
    "!JavaGameClassName(string)\n!JavaClasses(string)\n!JavaClassesPacked(string)\n";

using GameSettingsTest = ParserTest;

TEST_F(GameSettingsTest, TheCommandLineNamesTheFileAndTheFileOverridesTheDefaults) {
  std::string manyWords;
  for (int word = 0; word < 63; ++word) manyWords += "w ";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // name, settings after kDeclarations
    std::string commandLine, executablePath;
    std::string expected;  // game class, classes, packed
  };
  const std::string exe = "C:\\Vantor.exe";
  const Case cases[] = {
      {"no file: the defaults", {}, "", "C:\\Games\\Vantor.exe", "TestGame Java code"},
      {"game.ini by default", {{"game.ini", "JavaClasses(\"G\")"}}, "-x", exe, "TestGame G code"},
      {"the last ini= wins",
       {{"a.ini", "JavaClasses(\"A\")"}, {"b.ini", "JavaClasses(\"B\")"}},
       "ini=a.ini ini=b.ini",
       exe,
       "TestGame B code"},
      {"INI= is another word",
       {{"game.ini", "JavaClasses(\"G\")"}, {"a.ini", "JavaClasses(\"A\")"}},
       "INI=a.ini",
       exe,
       "TestGame G code"},
      {"a word ends at a blank",
       {{"my", "JavaClasses(\"My\")"}},
       "ini=my settings.ini\t-x",
       exe,
       "TestGame My code"},
      {"the executable's path is looked at like a word",
       {{"path.ini", "JavaGameClassName(\"P\")"}},
       "",
       "ini=path.ini",
       "P Java code"},
      {"words past the 64th are dropped",
       {{"late.ini", "JavaClasses(\"Late\")"}},
       manyWords + "ini=late.ini",
       exe,
       "TestGame Java code"},
      {"a key set twice: the second counts; every key in any case",
       {{"game.ini",
         "JavaClasses(\"1st\")\njavaclasses(\"2nd\")\nJAVACLASSESPACKED(\"P\")\n"
         "JavaGameClassName(\"G\")"}},
       "",
       exe,
       "G 2nd P"},
      {"an undeclared keyword fails the parse: all defaults",
       {{"game.ini", "JavaClasses(\"Set\")\nUnknown(\"x\")"}},
       "",
       exe,
       "TestGame Java code"},
      {"a value past 259 characters is cut to fit",
       {{"game.ini", "JavaClasses(\"" + std::string(300, 'v') + "\")"}},
       "",
       exe,
       "TestGame " + std::string(259, 'v') + " code"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    for (const auto& [name, body] : test.files) WriteFile(name, kDeclarations + body + "\n");
    const GameSettings settings =
        ReadGameSettings(test.commandLine.c_str(), test.executablePath.c_str());
    EXPECT_EQ(std::string(settings.JavaGameClassName) + " " + settings.JavaClasses + " " +
                  settings.JavaClassesPacked,
              test.expected);
    for (const auto& file : test.files) std::remove(file.first.c_str());
  }
  // Only a string first argument counts; calls in a block are not settings.
  WriteFile("game.ini",
            "!JavaClasses(int)\n!JavaClassesPacked(string)\nJavaClasses(5)\n"
            "JavaClassesPacked(\"Outer\") { JavaClassesPacked(\"Inner\") }\n");
  const GameSettings settings = ReadGameSettings("", exe.c_str());
  EXPECT_STREQ(settings.JavaClasses, "Java");
  EXPECT_STREQ(settings.JavaClassesPacked, "Outer");
}

using RunningMessageTest = ParserTest;

TEST_F(RunningMessageTest, TwoLinesGiveCaptionAndTextWithDefaultsForWhatIsMissing) {
  struct Case {
    const char* bytes;
    const char* caption;
    const char* text;
  };
  const std::string longCaption = std::string(130, 'c');
  const Case cases[] = {
      {"Game\r\nIt runs already\r\nmore\r\n", "Game", "It runs already"},
      {"Only a caption", "Only a caption", "Vantor already running"},
      {"", "Error", "Vantor already running"},
      {"\n\n", "", ""},
  };
  RunningMessage message;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.bytes);
    WriteFile("Running.scr", test.bytes);
    ASSERT_TRUE(ReadRunningMessage("Running.scr", message));
    EXPECT_STREQ(message.caption, test.caption);
    EXPECT_STREQ(message.text, test.text);
  }
  // A first line longer than the caption holds goes on into the text.
  WriteFile("Running.scr", longCaption + "\nSecond\n");
  ASSERT_TRUE(ReadRunningMessage("Running.scr", message));
  EXPECT_EQ(std::string(message.caption), longCaption.substr(0, 127));
  EXPECT_EQ(std::string(message.text), longCaption.substr(127));
  EXPECT_FALSE(ReadRunningMessage("missing.scr", message));
}

}  // namespace
