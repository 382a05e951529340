// Start-up rules: the command-line forms, INI names, directories and title.
#include "client/app/startup_rules.h"

#include <gtest/gtest.h>

namespace veslink {
namespace {

TEST(CommandLine, Forms) {
  struct Case {
    std::vector<std::string> words;
    StartMode mode;
    std::string ini_name;
  } cases[] = {
      {{"/opt/v/veslink"}, StartMode::DefaultIni, "/opt/v/veslink"},
      {{"/opt/v/veslink", "site"}, StartMode::ExplicitIni, "site"},
      {{"/opt/v/veslink", "site.cfg"}, StartMode::ExplicitIni, "site.cfg"},
      {{"/opt/v/veslink", "-autologin"}, StartMode::AutoLogin, ""},
      {{"/opt/v/veslink", "-autologin", "site"}, StartMode::DefaultIni, "/opt/v/veslink"},
      {{"/opt/v/veslink", "a", "b"}, StartMode::DefaultIni, "/opt/v/veslink"},
      {{"/opt/v/veslink", "-AUTOLOGIN"}, StartMode::ExplicitIni, "-AUTOLOGIN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.size() > 1 ? c.words[1] : "(none)");
    StartChoice choice = classify_command_line(c.words);
    EXPECT_EQ(choice.mode, c.mode);
    EXPECT_EQ(choice.ini_name, c.ini_name);
  }
}

TEST(StartupNames, ProgramDirectoryIniNameAndFallback) {
  EXPECT_EQ(program_directory("/opt/vestra/veslink/veslink"), "/opt/vestra/veslink");
  EXPECT_EQ(program_directory("C:\\A\\VESLINK.EXE"), "C:\\A");
  EXPECT_EQ(program_directory("veslink"), "");
  EXPECT_EQ(program_directory(std::string(150, 'd') + "/veslink"), std::string(150, 'd'));

  struct Case {
    const char* name;
    const char* ini;
    const char* fallback;
  } cases[] = {
      {"site", "site.INI", "VESLINK.INI"},
      {"site.cfg", "site.INI", "VESLINK.INI"},
      {"C:\\dir1.2\\site", "C:\\dir1.2\\site.INI", "C:\\dir1.2\\VESLINK.INI"},
      {"/home/a.b/site", "/home/a.b/site.INI", "/home/a.b/VESLINK.INI"},
      {"/opt/vestra/veslink/veslink", "/opt/vestra/veslink/veslink.INI",
       "/opt/vestra/veslink/VESLINK.INI"},
      {"C:\\A\\VESLINK.EXE", "C:\\A\\VESLINK.INI", "C:\\A\\VESLINK.INI"},
      {"d:site.x", "d:site.INI", "d:VESLINK.INI"},
      {"x.tar.gz", "x.tar.INI", "VESLINK.INI"},
      {"./site", "./site.INI", "./VESLINK.INI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ini_name_for(c.name), c.ini);
    EXPECT_EQ(ini_fallback_name(ini_name_for(c.name)), c.fallback);
  }
}

TEST(StartupNames, PathGetsTheProgramDirectory) {
  EXPECT_EQ(extended_path("/usr/bin:/bin", "/opt/v"), "/usr/bin:/bin:/opt/v");
  EXPECT_EQ(extended_path("", "/opt/v"), "/opt/v");
  EXPECT_EQ(extended_path("/usr/bin", ""), "/usr/bin");
}

TEST(StartupNames, ConnectionTitle) {
  struct Case {
    int interface_code;
    const char* host;
    const char* suffix;
    const char* title;
  } cases[] = {
      {INTERFACE_TELNET, "myhost/23", "", "myhost - VESTRA-Nu Thin Client "},
      {INTERFACE_TELNET, "a\\b", "", "a - VESTRA-Nu Thin Client "},
      {INTERFACE_TELNET, "myhost:2001", "", "myhost:2001 - VESTRA-Nu Thin Client "},
      {INTERFACE_SSL_TELNET, "h", "(Secure connection)",
       "h - VESTRA-Nu Thin Client (Secure connection)"},
      {3, "myhost", "", "VESTRA-Nu Thin Client"},
  };
  for (const Case& c : cases) {
    ClientSettings s;
    s.interface_code = c.interface_code;
    s.current_host = c.host;
    s.secure_suffix = c.suffix;
    EXPECT_EQ(connection_title(s), c.title) << c.host;
  }
}

}  // namespace
}  // namespace veslink
