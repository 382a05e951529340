// The entries of the EscapeTable, in the families the host's dialect has,
// and the one-time sort and LeadIndex.
#include "client/protocol/escape_table.h"

#include <algorithm>
#include <array>

#include "client/protocol/handlers.h"

namespace veslink {

namespace {

using namespace handlers;
using G = GuiCommandId;

constexpr EscapeEntry run(std::string_view s, EscapeHandler h) {
  return {s, h, Variable::None, 0};
}
constexpr EscapeEntry set(std::string_view s, Variable target, std::uint16_t value) {
  return {s, nullptr, target, value};
}
constexpr EscapeEntry skip(std::string_view s) {
  return {s, nullptr, Variable::None, 0};
}

// ESC as a string piece; written apart so that "\x1b" never swallows a
// following hex digit.
#define E "\x1b"

constexpr EscapeEntry kEntries[] = {
    // GUI commands: ESC m, two letters, parameters, a string, ^M.
    run(E "mpi", gui_command<G::SelectProgram>),
    run(E "mpd", gui_command<G::DeleteProgram>),
    run(E "mcw", gui_command<G::CreateWindow>),
    run(E "maw", gui_command<G::ShowWindow>),
    run(E "mdw", gui_command<G::DeleteWindow>),
    run(E "muw", gui_command<G::ChangeWindowFlags>),
    run(E "mtw", gui_command<G::SetWindowTag>),
    run(E "mxw", gui_command<G::BlankWindowArea>),
    run(E "mcf", gui_command<G::CreateField>),
    run(E "maf", gui_command<G::SetFieldContents>),
    run(E "mdf", gui_command<G::DeleteField>),
    run(E "muf", gui_command<G::ChangeField>),
    run(E "mhf", gui_command<G::SetFieldHelp>),
    run(E "mif", gui_command<G::FieldInput>),
    run(E "mid", gui_command<G::GridCellInput>),
    run(E "mib", gui_command<G::WindowActionWait>),
    run(E "mir", gui_command<G::ButtonChoice>),
    run(E "mic", gui_command<G::CharacterInput>),
    run(E "mvf", gui_command<G::FieldValue>),
    run(E "mrc", gui_command<G::SetCurrentRow>),
    run(E "mrh", gui_command<G::MarkGridRow>),
    run(E "mrm", gui_command<G::AddColumnSeparator>),
    run(E "mrt", gui_command<G::SetPositionIndicator>),
    run(E "mrs", gui_command<G::ScrollRows>),
    run(E "mrx", gui_command<G::ClearRows>),
    run(E "mcc", gui_command<G::ShowCaret>),
    run(E "mdc", gui_command<G::HideCaret>),
    run(E "mmc", gui_command<G::MoveCaret>),
    run(E "mnm", gui_command<G::MailMark>),
    run(E "mns", gui_command<G::FrameServices>),
    run(E "mnh", gui_command<G::OpenHelp>),
    run(E "mgv", gui_command<G::QueryValue>),
    run(E "mrv", gui_command<G::ReadRegistryValue>),
    run(E "msv", gui_command<G::WriteRegistryValue>),
    run(E "mdv", gui_command<G::DeleteRegistryValue>),
    run(E "mre", gui_command<G::FileExists>),
    run(E "mft", gui_command<G::FileTransfer>),
    run(E "msi", gui_command<G::StorePicture>),
    run(E "mei", gui_command<G::DdeOpen>),
    run(E "mex", gui_command<G::DdeExecute>),
    run(E "mep", gui_command<G::DdePoke>),
    run(E "mer", gui_command<G::DdeRequest>),
    run(E "met", gui_command<G::DdeClose>),
    run(E "mes", gui_command<G::DdeLastError>),
    run(E "mxv", gui_command<G::ReportViewer>),

    // The rest of the GUI family: boxes, local programs, files, printing,
    // identification.
    run(E "vA", message_box),
    run(E "vC", confirmation_box),
    run(E "vx", launch_program),
    run(E "vf", answer_zero),
    run(E "dG", send_local_file),
    run(E "dP", print_to_file),
    set(E "d#", Variable::PrintMode, 2),
    set(E "d~[(ON])", Variable::PrintMode, 3),
    set(E "d~[(OFF])", Variable::PrintMode, 0),
    set("\x14", Variable::PrintMode, 0),
    run(E " ", identify),
    run(E "~P", enhanced_on),
    run(E "~4", enhanced_off),

    // Character-terminal commands.
    run("\x07", bell),
    run("\x08", cursor_left),
    run("\x09", tab),
    run(E "i", tab),
    run(E "I", back_tab),
    run("\x0a", line_feed),
    run("\x0b", cursor_up),
    run(E "j", cursor_up),
    run("\x0c", cursor_right),
    run("\x0d", carriage_return),
    run("\x16", cursor_down_wrapping),
    run("\x1e", cursor_home),
    run(E "{", cursor_home),
    run(E "=", cursor_address),
    run(E "a", cursor_decimal),
    run(E "*", clear_page),
    run(E "+", clear_page),
    run(E ",", clear_page),
    run(E ";", clear_page),
    run(E ":", clear_page),
    run("\x1a", clear_page),
    run(E "Y", clear_to_end_of_page),
    run(E "y", clear_to_end_of_page),
    run(E "T", clear_to_end_of_line),
    run(E "t", clear_to_end_of_line),
    run(E "cO", clear_to_end_of_line),
    run(E "cL", clear_to_end_of_line),
    run(E "cR", clear_line),
    run(E "cS", clear_line),
    run(E "E", insert_line),
    run(E "R", delete_line),
    run(E "Q", insert_char),
    run(E "W", delete_char),
    run(E "(", attribute_bit_off),
    run(E ")", attribute_bit_on),
    run(E "G", set_attribute),
    run(E "g", extended_attribute),
    run(E "H", graphics),
    run(E "f", repeat_blank),
    run(E "o", repeat_char),
    run(E "cB", remember_alternate_set),
    run(E "cC", remember_alternate_set),
    run(E "cD", select_alternate_set),
    run(E "cE", select_alternate_set),
    set(E "`0", Variable::CursorVisible, 0),
    set(E "`1", Variable::CursorVisible, 1),
    run(E "`:", columns),
    run(E "`;", columns),
    run(E "w0", show_page),
    run(E "w1", show_page),
    run(E "w2", show_page),
    run(E "w3", show_page),
    run(E "J", toggle_page),
    run(E "K", toggle_page),
    run(E "wB", toggle_page),
    run(E "wC", toggle_page),
    run(E "/", answer_page),
    run(E "w`", answer_page),
    run(E "z", program_key),
    run(E "Z", program_key_set),
    run(E "cU", restore_keys),
    run(E "F", discard_to_return),
    run(E "A", discard_two),
    run(E "c8", discard_four),
    set(E "U", Variable::MonitorMode, 1),
    set(E "u", Variable::MonitorMode, 0),
    set(E "X", Variable::MonitorMode, 0),
    set(E "q", Variable::InsertMode, 1),
    set(E "r", Variable::InsertMode, 0),
    set(E "e.", Variable::PageClearsOnWidth, 0),
    set(E "e/", Variable::PageClearsOnWidth, 1),

    // Sequences of the dialect this client has no use for: swallowed.
    skip("\x05"),
    skip("\x0e"),
    skip("\x0f"),
    skip("\x12"),
    skip(E "\""),
    skip(E "#"),
    skip(E "&"),
    skip(E "'"),
    skip(E "-"),
    skip(E "."),
    skip(E "0"),
    skip(E "1"),
    skip(E "2"),
    skip(E "4"),
    skip(E "5"),
    skip(E "6"),
    skip(E "7"),
    skip(E "8"),
    skip(E "9"),
    skip(E "?"),
    skip(E "@"),
    skip(E "B"),
    skip(E "C" E "DF"),
    skip(E "C" E "DH"),
    skip(E "DH" E "B"),
    skip(E "L"),
    skip(E "M"),
    skip(E "N"),
    skip(E "O"),
    skip(E "P"),
    skip(E "S"),
    skip(E "V"),
    skip(E "]"),
    skip(E "^0"),
    skip(E "^1"),
    skip(E "`2"),
    skip(E "`3"),
    skip(E "`4"),
    skip(E "`5"),
    skip(E "`6"),
    skip(E "`7"),
    skip(E "`8"),
    skip(E "`9"),
    skip(E "`A"),
    skip(E "`B"),
    skip(E "`C"),
    skip(E "`E"),
    skip(E "`F"),
    skip(E "`G"),
    skip(E "`H"),
    skip(E "`I"),
    skip(E "`J"),
    skip(E "`a"),
    skip(E "`b"),
    skip(E "`c"),
    skip(E "b"),
    skip(E "c0"),
    skip(E "c1"),
    skip(E "c2"),
    skip(E "c3"),
    skip(E "c4"),
    skip(E "c5"),
    skip(E "c6"),
    skip(E "c7"),
    skip(E "c;"),
    skip(E "c<"),
    skip(E "c="),
    skip(E "c?"),
    skip(E "c@"),
    skip(E "cA"),
    skip(E "cF"),
    skip(E "cG"),
    skip(E "cH"),
    skip(E "cI"),
    skip(E "cJ"),
    skip(E "cK"),
    skip(E "cM"),
    skip(E "cN"),
    skip(E "cP"),
    skip(E "cQ"),
    skip(E "d "),
    skip(E "d!"),
    skip(E "d$"),
    skip(E "d%"),
    skip(E "d&"),
    skip(E "d'"),
    skip(E "d."),
    skip(E "d/"),
    skip(E "e "),
    skip(E "e!"),
    skip(E "e\""),
    skip(E "e#"),
    skip(E "e$"),
    skip(E "e%"),
    skip(E "e&"),
    skip(E "e'"),
    skip(E "e("),
    skip(E "e)"),
    skip(E "e*"),
    skip(E "e+"),
    skip(E "e,"),
    skip(E "e-"),
    skip(E "e0"),
    skip(E "e1"),
    skip(E "e2"),
    skip(E "e3"),
    skip(E "e4"),
    skip(E "e5"),
    skip(E "e6"),
    skip(E "e7"),
    skip(E "e8"),
    skip(E "e9"),
    skip(E "e:"),
    skip(E "e;"),
    skip(E "eF"),
    skip(E "eG"),
    skip(E "eJ"),
    skip(E "eK"),
    skip(E "eL"),
    skip(E "eM"),
    skip(E "eN"),
    skip(E "eO"),
    skip(E "eP"),
    skip(E "eQ"),
    skip(E "eT"),
    skip(E "eU"),
    skip(E "k"),
    skip(E "p"),
    skip(E "s"),
    skip(E "wE"),
    skip(E "wF"),
    skip(E "w@"),
    skip(E "x0"),
    skip(E "x1"),
    skip(E "x3"),
    skip(E "x@"),
    skip(E "xA"),
    skip(E "xC"),
    skip(E "xP"),
    skip(E "xR"),
    skip(E "|"),
    skip(E "}"),
    skip(E "~ "),
    skip(E "~!"),
    skip(E "~."),
    skip(E "~/"),
    skip(E "~2"),
    skip(E "~3"),
};

#undef E

bool less_unsigned(const EscapeEntry& a, const EscapeEntry& b) {
  return std::lexicographical_compare(
      a.sequence.begin(), a.sequence.end(), b.sequence.begin(), b.sequence.end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

struct BuiltTable {
  EscapeTable table;
  std::string error;
  BuiltTable() { table.build(escape_entries(), error); }
};

BuiltTable& built() {
  static BuiltTable instance;
  return instance;
}

}  // namespace

std::span<const EscapeEntry> escape_entries() {
  return kEntries;
}

bool EscapeTable::build(std::span<const EscapeEntry> entries, std::string& error) {
  entries_.assign(entries.begin(), entries.end());
  std::sort(entries_.begin(), entries_.end(), less_unsigned);
  lead_count_ = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::uint8_t lead = static_cast<std::uint8_t>(entries_[i].sequence[0]);
    if (lead_count_ > 0 && leads_[lead_count_ - 1].byte == lead) continue;
    if (lead_count_ == kMaxLeads) {
      error = "Too many escape sequences";
      return false;
    }
    leads_[lead_count_++] = Lead{lead, static_cast<std::uint16_t>(i)};
  }
  error.clear();
  return true;
}

const EscapeTable& escape_table() {
  return built().table;
}

const std::string& escape_table_error() {
  return built().error;
}

}  // namespace veslink
