// The reader, byte by byte: GUI commands with their parameters and strings,
// GUI mode, unknown sequences, monitor mode, the identification answers,
// local commands and slave printing. Every case is replayed split at each
// position of its input.
#include <gtest/gtest.h>

#include "client/protocol/command_params.h"
#include "tests/client/protocol/protocol_harness.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"
using namespace std::string_literals;

TEST(Reader, GuiCommandsReadTheirParametersAndStrings) {
  const ByteCase cases[] = {
      {"a window, as a host sends it",
       ESC "mcw 10I 2P 40W 12H 5X 3Y ;Customer\r",
       {"gui on", "mcw H12 I10 P2 W40 X5 Y3 ;\"Customer\""}},
      {"reals keep their fraction, integers drop it",
       ESC "mmc12.5X12Y\r" ESC "mmc-3X\r",
       {"gui on", "mmc X12/12.5 Y12", "mmc X3"}},
      {"a second dot starts the fraction again", ESC "mmc1.5.25Y\r", {"gui on", "mmc Y1/1.25"}},
      {"lower-case letters and blanks are skipped without ending the number",
       ESC "mcc 7p 3P\r",
       {"gui on", "mcc P73"}},
      {"a line feed in a string becomes CR LF",
       ESC "mtw10I;a\nb\r",
       {"gui on", "mtw I10 ;\"a\\r\\nb\""}},
      {"Base64 strings are decoded", ESC "mtw10I:QUJD\r", {"gui on", "mtw I10 ;\"ABC\""}},
      {"Base64 skips blanks and ends at =",
       ESC "mtw10I:QU JD=QUJD\r",
       {"gui on", "mtw I10 ;\"ABC\""}},
      {"Base64 carries carriage returns and zero bytes",
       ESC "mtw10I:YQ1iAGM=\r",
       {"gui on", "mtw I10 ;\"a\\rb\\x00c\""}},
      {"wrapped Base64 lines decode as one",
       ESC "mtw10I:QUJD\nREVG\r",
       {"gui on", "mtw I10 ;\"ABCDEF\""}},
      {"a byte outside the alphabet counts as all ones",
       ESC "mtw10I:QU*D\r",
       {"gui on", "mtw I10 ;\"AO\\xc3\""}},
      {"no string differs from an empty one",
       ESC "mtw10I\r" ESC "mtw10I;\r",
       {"gui on", "mtw I10", "mtw I10 ;\"\""}},
      {"zero bytes are dropped from strings, colons are kept",
       ESC "mtw;a\0b:c\r"s,
       {"gui on", "mtw ;\"ab:c\""}},
      {"an ESC inside a string is part of it",
       ESC "maf3I;x" ESC "y\r",
       {"gui on", "cancel", "maf I3 ;\"x\\ey\""}},
      {"commands that activate something drop queued input first",
       ESC "mif1P20I\r" ESC "mdf1P20I\r",
       {"gui on", "cancel", "mif I20 P1", "mdf I20 P1"}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);
}

TEST(Reader, ProgramsAnswerTheIdentificationOnce) {
  const ByteCase cases[] = {
      {"a new program is identified",
       ESC "mpi5P2F\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi F2 P5"}},
      {"an existing one is only selected",
       ESC "mpi5P2F\r" ESC "mpi5P\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi F2 P5", "cancel", "mpi P5"}},
      {"with A over TCP the local address follows",
       ESC "mpi6P4F1A\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S;192.0.2.7\\r", "mpi A1 F4 P6"}},
      {"only A's low byte counts",
       ESC "mpi6P256A\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi A256 P6"}},
      {"P 0 keeps the current program and sends nothing", ESC "mpi\r", {"gui on", "cancel", "mpi"}},
      {"deleting the last program leaves GUI mode",
       ESC "mpi5P\r" ESC "mpd5P\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi P5", "cancel", "program deleted 5",
        "mpd P5", "cancel", "gui off"}},
      {"deleting one of two stays in GUI mode",
       ESC "mpi5P\r" ESC "mpi6P\r" ESC "mpd6P\r",
       {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi P5", "cancel",
        "reply \\env10F6.5V1S\\r", "mpi P6", "cancel", "program deleted 6", "mpd P6"}},
      {"deleting a missing program changes nothing", ESC "mpd9P\r", {"gui on", "cancel", "mpd P9"}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);

  expect_case({"the mail setting adds 4 to the flags",
               ESC "mpi1P\r",
               {"gui on", "cancel", "reply \\env14F6.5V1S\\r", "mpi P1"}},
              [](ProtocolHarness& h) { h.mail_notify = true; });
  expect_case({"no address over a serial line",
               ESC "mpi1P1A\r",
               {"gui on", "cancel", "reply \\env10F6.5V1S\\r", "mpi A1 P1"}},
              [](ProtocolHarness& h) { h.tcp = false; });
}

TEST(Reader, ProgramLevelsFollowTheCurrentProgram) {
  ProtocolHarness h;
  h.feed(ESC "mpi5P4F\r" ESC "mpi6P1F\r");
  EXPECT_EQ(h.in.programs.level(), 1);
  h.feed(ESC "mpi5P\r");
  EXPECT_EQ(h.in.programs.level(), 4);
  h.feed(ESC "mpd5P\r");
  EXPECT_EQ(h.in.programs.level(), 1);  // the first of the list became current
}

TEST(Reader, GuiModeBeginsAndEnds) {
  const ByteCase cases[] = {
      {"a printable byte after a command leaves GUI mode",
       ESC "mcc\rX",
       {"gui on", "mcc", "cancel", "gui off"}},
      {"control bytes and sequences do not", ESC "mcc\r\r\n" ESC "T\x01", {"gui on", "mcc"}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);

  ProtocolHarness h;
  h.feed("text on the page");
  h.feed(ESC "mcc\r");
  // Entering GUI mode clears the page and puts the cursor on its last line.
  EXPECT_TRUE(h.rows().empty());
  EXPECT_EQ(h.page().cursor_row(), 23);
  EXPECT_TRUE(h.in.gui_mode);
  h.feed("$ ");
  EXPECT_FALSE(h.in.gui_mode);
  EXPECT_EQ(h.page().row_text(23).substr(0, 2), "$ ");
}

TEST(Reader, UnknownSequencesAreSwallowed) {
  const ByteCase cases[] = {
      {"ESC c9 is not in the table: all three bytes go", "A" ESC "c9B", {}},
      {"the byte that fits nothing goes with it", "A" ESC "hB", {}},
      {"swallowed entries change nothing", "A" ESC "~3" ESC "C" ESC "DFB\x0e", {}},
      {"control bytes that start nothing are shown",
       "A\x01"
       "B",
       {}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);
  ProtocolHarness h;
  h.feed("A" ESC "c9B" ESC "hC" ESC "~3D\x01");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"ABCD\x01"});
}

TEST(Reader, MonitorModeShowsEverything) {
  ProtocolHarness h;
  h.feed(ESC "Uab" ESC "A\x07" ESC "Xc" ESC "T");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"ab\x9b"
                                               "A\x07"
                                               "c"});
  EXPECT_FALSE(h.in.monitor_mode);
  EXPECT_TRUE(h.take().empty());  // the bell was shown, not rung

  ProtocolHarness u;
  u.feed(ESC "U" ESC);
  u.feed("uq" ESC "T");
  EXPECT_EQ(u.rows(), std::vector<std::string>{"q"});
  EXPECT_FALSE(u.in.monitor_mode);

  expect_case(
      {"ESC X leaves monitor mode without showing anything", ESC "Ux" ESC "Xy" ESC "Xz", {}});
}

TEST(Reader, IdentificationAnswers) {
  const ByteCase cases[] = {
      {"ESC space in plain terminal mode", ESC " ", {"reply 60\\r"}},
      {"ESC space in enhanced mode",
       ESC "~P" ESC " " ESC "~4" ESC " ",
       {"enhanced on", "reply P6.5\\r", "enhanced off", "reply 60\\r"}},
      {"ESC g switches enhanced mode on", ESC "g@@" ESC " ", {"enhanced on", "reply P6.5\\r"}},
      {"ESC / answers the current page", ESC "/" ESC "w2" ESC "/" ESC "w`", {"reply 022"}},
      {"ESC vf answers 0 whatever follows", ESC "vfanything at all\r", {"reply 0\\r"}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);
}

TEST(Reader, LocalProgramsAndFiles) {
  const ByteCase cases[] = {
      {"a program with wait",
       ESC "vxw;C:\\tmp; notepad a.txt\r",
       {"launch wait dir=\"C:\\\\tmp\" command=\" notepad a.txt\""}},
      {"without a directory", ESC "vx;;report.pdf\r", {"launch dir=\"\" command=\"report.pdf\""}},
      {"a return before the second ; abandons it", ESC "vx;/tmp\rX", {}},
      {"a local file to send, either slash",
       ESC "dGC:\\data\\a.txt\r",
       {"send file \"C:/data/a.txt\""}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);
  ProtocolHarness h;
  h.feed(ESC "vx;/tmp\rX");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"X"});
}

// Without the modules, commands answer as for objects that do not exist,
// so the host never waits for an answer that cannot come.
TEST(Reader, CommandsWithoutTheirModuleAnswerAsMissing) {
  const ByteCase cases[] = {
      {"field input", ESC "mif1P2I\r", {"cancel", "reply \\x1e"}},
      {"window action, characters, grid cell, field value",
       ESC "mib1P\r" ESC "mic1P1F\r" ESC "mid1P2I\r" ESC "mvf1P2I\r",
       {"cancel", "reply \\x1e", "cancel", "reply \\x1e", "cancel", "reply \\x1e\\x1e"}},
      {"button choice", ESC "mir1P2I\r", {"cancel", "reply \\enr\\r"}},
      {"a character input with F beyond 1 is none", ESC "mic1P2F\r", {"cancel"}},
      {"window title query", ESC "mgv5F10I\r", {"reply \\enr;\\r"}},
      {"other queries", ESC "mgv4F1M\r" ESC "mgv9F\r", {"reply \\enr\\r\\enr\\r"}},
      {"report viewer without a transfer file",
       ESC "mxv1I3F\r" ESC "mxv1I4F\r",
       {"reply \\enr\\r"}},
      {"transfer files",
       ESC "mft1I7F\r" ESC "mft1I18F;t,x\r" ESC "mft1I8F;t,x\r",
       {"reply \\enr\\r\\enr0S\\r"}},
      {"pictures",
       ESC "msi1F;logo\tt,x\r" ESC "msi1F;\r" ESC "msi;logo\tt,x\r",
       {"reply \\enr0S\\r\\enr\\r"}},
      {"registry and DDE",
       ESC "mrv;/HKEY_CURRENT_USER/x\r" ESC "msv;/a\tb\r" ESC "mes\r",
       {"reply \\enr;\\r\\enr0S\\r\\enr0S\\r"}},
      {"windows and fields answer nothing", ESC "mcw10I\r" ESC "mcf10P1I1T5W\r", {}},
      {"a local program", ESC "vx;;x\r", {"reply 1"}},
      {"a local file", ESC "dGx\r", {"reply \\x04\\r"}},
  };
  for (const ByteCase& c : cases)
    expect_case(
        c, [](ProtocolHarness& h) { h.feed(ESC "mcc\r"); }, false);
}

class RecordingPrintJob : public PrintJobSink {
 public:
  explicit RecordingPrintJob(ProtocolHarness& h) : h_(h) {}
  void write(std::uint8_t b) override {
    open_ = true;
    data_ += static_cast<char>(b);
  }
  bool needs_finish() const override { return open_; }
  void finish() override {
    h_.record("print \"" + shown(data_) + "\"");
    data_.clear();
    open_ = false;
  }
  void begin_redirect() override { h_.record("redirect"); }
  void redirect_to(std::string_view name) override {
    h_.record("print to \"" + shown(name) + "\"");
  }

 private:
  ProtocolHarness& h_;
  std::string data_;
  bool open_ = false;
};

TEST(Reader, SlavePrintingDivertsTheStream) {
  std::vector<std::unique_ptr<RecordingPrintJob>> jobs;
  auto with_job = [&jobs](ProtocolHarness& h) {
    jobs.push_back(std::make_unique<RecordingPrintJob>(h));
    h.in.printing.set_sink(jobs.back().get());
  };
  const ByteCase cases[] = {
      {"bracketed print ends at its end sequence",
       ESC "d~[(ON])" ESC "Y\rdata\n" ESC "d~[(OFF])" ESC "/",
       {"print \"\\eY\\rdata\\n\"", "reply 0"}},
      {"a near end sequence is print data",
       ESC "d~[(ON])" ESC "d~[(OFX" ESC "d~[(OFF])x",
       {"print \"\\ed~[(OFX\""}},
      {"transparent print ends at ^T",
       ESC "d#" ESC "d~[(OFF])\x14" ESC "/",
       {"print \"\\ed~[(OFF])\"", "reply 0"}},
      {"ESC dP prints into a file until ^T",
       ESC "dPC:\\out\\a.txt\rdata\x14z",
       {"redirect", "print to \"C:/out/a.txt\"", "print \"data\""}},
      {"^T outside printing is swallowed",
       "a\x14"
       "b",
       {}},
  };
  for (const ByteCase& c : cases)
    expect_case(c, with_job);
  ProtocolHarness h;
  with_job(h);
  h.feed(ESC "d~[(ON])abc" ESC "d~[(OFF])xyz");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"xyz"});  // print data never reaches the page
}

}  // namespace
}  // namespace veslink::test
