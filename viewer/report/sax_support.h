// What every report parse shares: the parser settings (validate only when the
// document declares a grammar, no namespaces, no schema), the 1024-character
// message buffer filled by the error callbacks, and UTF-8 conversion.
#pragma once

#include <xercesc/sax/HandlerBase.hpp>

#include <string>
#include <string_view>

namespace repscope::report {

// The message buffer of a parse: pieces that would not fit into its 1023
// characters are dropped, so a flood of errors cannot grow it.
class ParseMessages {
 public:
  static constexpr std::size_t kCapacity = 1023;
  void append(std::string_view piece);
  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

// Base of the viewer's SAX handlers: errors, fatal errors and warnings are
// appended to `messages` with file, line and column. Derived handlers may ask
// the parse to end early with `stop()`.
class ReportSaxHandler : public xercesc::HandlerBase {
 public:
  void error(const xercesc::SAXParseException& e) override;
  void fatalError(const xercesc::SAXParseException& e) override;
  void warning(const xercesc::SAXParseException& e) override;

  void stop() { stop_ = true; }
  bool stopped() const { return stop_; }

  ParseMessages messages;

 private:
  void record(const char* intro, const xercesc::SAXParseException& e);
  bool stop_ = false;
};

// Parses the file at `path` with the viewer's parser settings, feeding
// `handler`. An exception that escapes the parser is caught and appended as
// `exception_intro` followed by its text. True when the parse left no message.
bool parse_report_file(const std::string& path, ReportSaxHandler& handler,
                       const char* exception_intro = "\nError during parsing: \n");

// Xerces text to UTF-8.
std::string to_utf8(const XMLCh* text);
std::string to_utf8(const XMLCh* text, XMLSize_t length);

// Escapes character data and attribute values for writing XML back out.
void append_escaped(std::string& out, std::string_view text, bool in_attribute);

}  // namespace repscope::report
