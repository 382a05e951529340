// Reply formats: results, field values and inputs, identification.
#include "client/protocol/replies.h"

#include <cctype>

#include "client/protocol/base64.h"

namespace veslink {

namespace {
bool needs_base64(std::string_view text) {
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 && b != '\t' && b != '\n') return true;
  }
  return false;
}

void append_without_returns(std::string& out, std::string_view text) {
  for (char c : text)
    if (c != '\r') out += c;
}
}  // namespace

VersionDigits version_digits(std::string_view text) {
  VersionDigits v;
  std::size_t i = 0;
  while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i])))
    ++i;
  while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'))
    v.release += text[i++];
  if (i < text.size() && text[i] == 'v') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      v.build += text[i++];
  }
  return v;
}

std::string identification_reply(std::string_view version_text, const IdentificationFacts& facts) {
  const VersionDigits v = version_digits(version_text);
  std::string out = "\x1bnv";
  out += std::to_string(10 + (facts.mail_notify ? 4 : 0));
  out += 'F';
  out += v.release;
  out += 'V';
  if (!v.build.empty()) {
    out += v.build;
    out += 'S';
  }
  // The terminal-services session number of the original platform has no
  // counterpart here: it is only sent when it is not 0, so it is left out.
  if (facts.with_address) {
    out += ';';
    out += facts.local_address;
  }
  out += '\r';
  return out;
}

void HostReplies::send(std::string_view bytes) {
  for (char c : bytes)
    send_byte(static_cast<std::uint8_t>(c));
}

void HostReplies::number_result(long long value) {
  send("\x1bnr" + std::to_string(value) + "S\r");
}

void HostReplies::no_result() {
  send("\x1bnr\r");
}

void HostReplies::text_result(std::string_view text, long long number) {
  std::string out = "\x1bnr";
  if (number != 0) out += std::to_string(number) + "S";
  if (level() >= 4 && needs_base64(text)) {
    out += ':';
    out += base64_encode(text);
  } else {
    out += ';';
    append_without_returns(out, text);
  }
  out += '\r';
  send(out);
}

void HostReplies::field_value(std::uint32_t field, std::string_view value) {
  std::string out = "\x1bnd" + std::to_string(field) + "I;";
  append_without_returns(out, value);
  out += '\r';
  send(out);
}

void HostReplies::field_input(std::uint32_t field, std::uint32_t window, const ExitReason& exit,
                              std::string_view text) {
  std::string out = "\x1bnd" + std::to_string(field) + "I" + std::to_string(window) + "P";
  if (exit.reason & (exit_reason::kOtherField | exit_reason::kButton)) {
    out += std::to_string(exit.reason) + "S" + std::to_string(exit.target) + "F";
  } else if (exit.reason & exit_reason::kHotKey) {
    out += "512S" + std::to_string(exit.hot_key) + "F";
  } else if (exit.reason != 0) {
    out += std::to_string(exit.reason) + "S";
  }
  out += ';';
  append_without_returns(out, text);
  out += '\r';
  send(out);
}

void HostReplies::window_close_request(std::uint32_t window) {
  send("\x1bnk1S" + std::to_string(window) + "P\r");
}

}  // namespace veslink
