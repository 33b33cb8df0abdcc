// The launcher's rules that are pure text: which settings file the command line names and what of
// it reaches the settings, and the second instance's message. Files live in the log fixture's
// temporary working folder, which is the file-system library's one source.
#include <cstdio>
#include <string>

#include "game_settings.h"
#include "log_folder_fixture.h"
#include "running_message.h"

namespace {

using GameSettingsTest = LogFolderTest;

TEST_F(GameSettingsTest, TheCommandLineNamesTheFileAndTheFileOverridesTheDefaults) {
  const std::string declarations =
      "!JavaGameClassName(string)\n!JavaClasses(string)\n!JavaClassesPacked(string)\n";
  // Each file other than game.ini names itself as the classes.
  for (const std::string name : {"a.ini", "b.ini", "my", "path.ini", "late.ini"}) {
    WriteFile(name, declarations + "JavaClasses(\"" + name + "\")\n");
  }
  std::string manyWords;
  for (int word = 0; word < 63; ++word) manyWords += "w ";
  const std::string exe = "C:\\Games\\Vantor.exe";
  struct Case {
    const char* what;
    std::string gameIni, commandLine, executablePath;  // no game.ini when empty
    std::string expected;                              // game class, classes, packed
  };
  const Case cases[] = {
      {"no file: the defaults", "", "", exe, "TestGame Java code"},
      {"game.ini by default", "JavaClasses(\"G\")", "-x", exe, "TestGame G code"},
      {"the last ini= wins", "", "ini=a.ini ini=b.ini", exe, "TestGame b.ini code"},
      {"INI= is another word", "JavaClasses(\"G\")", "INI=a.ini", exe, "TestGame G code"},
      {"a word ends at a blank", "", "ini=my settings.ini\t-x", exe, "TestGame my code"},
      {"the executable's path is a word too", "", "", "ini=path.ini", "TestGame path.ini code"},
      {"words past the 64th are dropped", "", manyWords + "ini=late.ini", exe,
       "TestGame Java code"},
      {"a key set twice: the second counts; every key in any case",
       "JavaClasses(\"1st\")\njavaclasses(\"2nd\")\nJAVACLASSESPACKED(\"P\")\n"
       "JavaGameClassName(\"G\")",
       "", exe, "G 2nd P"},
      {"an undeclared keyword fails the parse: all defaults",
       "JavaClasses(\"Set\")\nUnknown(\"x\")", "", exe, "TestGame Java code"},
      {"a value past 259 characters is cut to fit",
       "JavaClasses(\"" + std::string(300, 'v') + "\")", "", exe,
       "TestGame " + std::string(259, 'v') + " code"},
      {"only a string first argument counts; calls in a block are not settings",
       "!JavaClasses(int)\nJavaClasses(5)\nJavaClassesPacked(\"Out\") { JavaClassesPacked(\"In\") "
       "}",
       "", exe, "TestGame Java Out"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    std::remove("game.ini");
    if (!test.gameIni.empty()) WriteFile("game.ini", declarations + test.gameIni + "\n");
    const GameSettings settings =
        ReadGameSettings(test.commandLine.c_str(), test.executablePath.c_str());
    EXPECT_EQ(std::string(settings.JavaGameClassName) + " " + settings.JavaClasses + " " +
                  settings.JavaClassesPacked,
              test.expected);
  }
}

using RunningMessageTest = LogFolderTest;

TEST_F(RunningMessageTest, TwoLinesGiveCaptionAndTextWithDefaultsForWhatIsMissing) {
  const std::string c130(130, 'c');
  // Bytes, caption, text. A first line longer than the caption holds goes on into the text.
  const std::string cases[][3] = {
      {"Game\r\nIt runs already\r\nmore\r\n", "Game", "It runs already"},
      {"Only a caption", "Only a caption", "Vantor already running"},
      {"", "Error", "Vantor already running"},
      {"\n\n", "", ""},
      {c130 + "\nSecond\n", c130.substr(0, 127), c130.substr(127)},
  };
  RunningMessage message;
  for (const auto& [bytes, caption, text] : cases) {
    SCOPED_TRACE(bytes);
    WriteFile("Running.scr", bytes);
    ASSERT_TRUE(ReadRunningMessage("Running.scr", message));
    EXPECT_EQ(message.caption, caption);
    EXPECT_EQ(message.text, text);
  }
  EXPECT_FALSE(ReadRunningMessage("missing.scr", message));
}

}  // namespace
