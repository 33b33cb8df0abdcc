// The launcher's rules that are pure text: which settings file the command line names and what of
// it reaches the settings, and the second instance's message. Files live in the parser fixture's
// temporary working folder, which is the file-system library's one source.
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "game_settings.h"
#include "parser_fixture.h"
#include "running_message.h"

namespace {

const std::string kDeclarations =
    "!JavaGameClassName(string)\n!JavaClasses(string)\n!JavaClassesPacked(string)\n";

struct SettingsCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> files;
  std::string commandLine;
  std::string executablePath;
  const char* gameClass;
  const char* classes;
  const char* packed;
};

using GameSettingsTest = ParserTest;

TEST_F(GameSettingsTest, TheCommandLineNamesTheFileAndTheFileOverridesTheDefaults) {
  const std::string longValue(300, 'v');
  std::string manyWords;
  for (int word = 0; word < 63; ++word) manyWords += "w ";
  const SettingsCase cases[] = {
      {"no file: the defaults", {}, "", "C:\\Games\\Vantor.exe", "TestGame", "Java", "code"},
      {"game.ini by default",
       {{"game.ini", kDeclarations + "JavaClasses(\"FromGame\")\n"}},
       "-x",
       "C:\\Vantor.exe",
       "TestGame",
       "FromGame",
       "code"},
      {"the last ini= wins",
       {{"a.ini", kDeclarations + "JavaClasses(\"FromA\")\n"},
        {"b.ini", kDeclarations + "JavaClasses(\"FromB\")\n"}},
       "ini=a.ini ini=b.ini",
       "C:\\Vantor.exe",
       "TestGame",
       "FromB",
       "code"},
      {"INI= is another word",
       {{"game.ini", kDeclarations + "JavaClasses(\"FromGame\")\n"},
        {"a.ini", kDeclarations + "JavaClasses(\"FromA\")\n"}},
       "INI=a.ini",
       "C:\\Vantor.exe",
       "TestGame",
       "FromGame",
       "code"},
      {"a word ends at a blank",
       {{"my", kDeclarations + "JavaClasses(\"FromMy\")\n"}},
       "ini=my settings.ini\t-x",
       "C:\\Vantor.exe",
       "TestGame",
       "FromMy",
       "code"},
      {"the executable's path is looked at like a word",
       {{"path.ini", kDeclarations + "JavaGameClassName(\"FromPath\")\n"}},
       "",
       "ini=path.ini",
       "FromPath",
       "Java",
       "code"},
      {"words past the 64th are dropped",
       {{"late.ini", kDeclarations + "JavaClasses(\"FromLate\")\n"}},
       manyWords + "ini=late.ini",
       "C:\\Vantor.exe",
       "TestGame",
       "Java",
       "code"},
      {"a key set twice: the second counts; every key in any case",
       {{"game.ini", kDeclarations +
                         "JavaClasses(\"First\")\njavaclasses(\"Second\")\n"
                         "JAVACLASSESPACKED(\"Packed\")\nJavaGameClassName(\"Game\")\n"}},
       "",
       "C:\\Vantor.exe",
       "Game",
       "Second",
       "Packed"},
      {"an undeclared keyword fails the parse: all defaults",
       {{"game.ini", kDeclarations + "JavaClasses(\"Set\")\nUnknown(\"x\")\n"}},
       "",
       "C:\\Vantor.exe",
       "TestGame",
       "Java",
       "code"},
      {"only a string first argument counts; calls in a block are not settings",
       {{"game.ini",
         "!JavaClasses(int)\n!JavaClassesPacked(string)\nJavaClasses(5)\n"
         "JavaClassesPacked(\"Outer\") { JavaClassesPacked(\"Inner\") }\n"}},
       "",
       "C:\\Vantor.exe",
       "TestGame",
       "Java",
       "Outer"},
  };
  for (const SettingsCase& test : cases) {
    SCOPED_TRACE(test.what);
    for (const auto& [name, bytes] : test.files) std::ofstream(name, std::ios::binary) << bytes;
    const GameSettings settings =
        ReadGameSettings(test.commandLine.c_str(), test.executablePath.c_str());
    EXPECT_STREQ(settings.JavaGameClassName, test.gameClass);
    EXPECT_STREQ(settings.JavaClasses, test.classes);
    EXPECT_STREQ(settings.JavaClassesPacked, test.packed);
    for (const auto& file : test.files) std::remove(file.first.c_str());
  }
  // A value past 259 characters is cut to fit.
  std::ofstream("game.ini", std::ios::binary)
      << kDeclarations + "JavaClasses(\"" + longValue + "\")\n";
  EXPECT_EQ(std::string(ReadGameSettings("", "C:\\Vantor.exe").JavaClasses),
            longValue.substr(0, 259));
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
    std::ofstream("Running.scr", std::ios::binary) << test.bytes;
    ASSERT_TRUE(ReadRunningMessage("Running.scr", message));
    EXPECT_STREQ(message.caption, test.caption);
    EXPECT_STREQ(message.text, test.text);
  }
  // A first line longer than the caption holds goes on into the text.
  std::ofstream("Running.scr", std::ios::binary) << longCaption + "\nSecond\n";
  ASSERT_TRUE(ReadRunningMessage("Running.scr", message));
  EXPECT_EQ(std::string(message.caption), longCaption.substr(0, 127));
  EXPECT_EQ(std::string(message.text), longCaption.substr(127));
  EXPECT_FALSE(ReadRunningMessage("missing.scr", message));
}

}  // namespace
