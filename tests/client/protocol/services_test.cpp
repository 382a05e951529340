// The services already carried out behind the routes: whether a local file
// exists, sending a local file, and slave print jobs into files (with the
// ESC dP redirection), driven through the reader.
#include <gtest/gtest.h>

#include "client/services/service_commands.h"
#include "client/services/slave_print_job.h"
#include "tests/client/protocol/protocol_harness.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"

TEST(Services, FileExistsAndLocalFiles) {
  vestra::test::TempDir dir;
  const std::string path = dir.write("a.txt", std::string("line\r\n\x04x", 8));
  ProtocolHarness h(false);
  service_commands::install(h.in.routes);
  h.feed(ESC "mre;" + path + "\r" ESC "mre;" + dir.file("none") + "\r" ESC "mre\r");
  EXPECT_EQ(h.take(), (std::vector<std::string>{"gui on", "reply \\enr1S\\r\\enr0S\\r\\enr0S\\r"}));

  std::string backslashed = path;
  for (char& c : backslashed)
    if (c == '/') c = '\\';
  h.feed(ESC "dG" + backslashed + "\r");
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply line\\r\\n\\x04x\\x04\\r"});

  vestra::test::ScriptedMessages m;
  h.feed(ESC "dG" + dir.file("missing") + "\r");
  EXPECT_EQ(m.texts(), std::vector<std::string>{"Could not open '" + dir.file("missing") + "'"});
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\x04\\r"});

  // A local program cannot be started yet: the host hears so.
  h.feed(ESC "vx;;anything\r");
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply 1"});
}

TEST(Services, PrintIntoAFileAndBackToTheSettings) {
  vestra::test::TempDir dir;
  ClientSettings settings;
  settings.slave_type = kSlavePrinter;
  settings.slave_name = "office";
  SlavePrintJob job(settings);
  ProtocolHarness h;
  h.in.printing.set_sink(&job);
  const std::string out = dir.file("a.txt");
  h.feed(ESC "dP" + out + "\rreport\r\n");
  EXPECT_EQ(settings.slave_type, kSlaveFile);
  h.feed("line 2\x14");
  h.feed("x");  // the next byte closes the job
  EXPECT_EQ(vestra::test::TempDir::read(out), "report\r\nline 2");
  EXPECT_EQ(settings.slave_type, kSlavePrinter);
  EXPECT_EQ(settings.slave_name, "office");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"x"});
}

TEST(Services, PrintJobFailuresAreReportedWhenTheJobEnds) {
  vestra::test::TempDir dir;
  ClientSettings settings;
  SlavePrintJob job(settings);
  ProtocolHarness h;
  h.in.printing.set_sink(&job);
  vestra::test::ScriptedMessages m;

  settings.slave_type = kSlaveFile;
  settings.slave_name = dir.file("no/such/dir/out.prn");
  h.feed(ESC "d#data\x14z");
  settings.slave_type = kSlavePrinter;
  settings.slave_name = "office";
  h.feed(ESC "d~[(ON])data" ESC "d~[(OFF])z");
  settings.slave_type = kSlaveDisabled;
  h.feed(ESC "d#dropped\x14z");
  EXPECT_EQ(m.texts(), (std::vector<std::string>{
                           "Could not open/create '" + dir.file("no/such/dir/out.prn") + "'",
                           "Could not create print job for 'office'"}));

  // Two prints into the same file append.
  settings.slave_type = kSlaveFile;
  settings.slave_name = dir.file("out.prn");
  h.feed(ESC "d#one\x14z" ESC "d#two\x14z");
  EXPECT_EQ(vestra::test::TempDir::read(dir.file("out.prn")), "onetwo");
}

}  // namespace
}  // namespace veslink::test
