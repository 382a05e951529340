// The SAX handler that writes pages back out as XML.
#include "viewer/report/parse_cutter.h"

#include <xercesc/sax/AttributeList.hpp>

#include <vector>

#include "viewer/report/report_file.h"
#include "viewer/report/sax_support.h"

namespace repscope::report {

namespace {

class CutHandler : public ReportSaxHandler {
 public:
  CutHandler(TargetFile& target, int from, int to) : target_(target), from_(from), to_(to) {}

  void processingInstruction(const XMLCh* const target, const XMLCh* const data) override {
    std::string pi = "<?" + to_utf8(target);
    const std::string d = to_utf8(data);
    if (!d.empty()) pi += " " + d;
    pi += "?>";
    if (!in_report_) {
      heading_ += pi + "\n";
    } else {
      content(pi);
    }
  }

  void startElement(const XMLCh* const name, xercesc::AttributeList& attributes) override {
    const std::string element = to_utf8(name);
    std::string tag = "<" + element;
    for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
      tag += " " + to_utf8(attributes.getName(i)) + "=\"";
      append_escaped(tag, to_utf8(attributes.getValue(i)), true);
      tag += "\"";
    }
    tag += ">";
    if (!in_report_) {
      in_report_ = true;  // the root: the report start tag opens the heading
      heading_ += tag;
      return;
    }
    if (info_depth_ > 0 || (element == "report_info" && !info_done_)) {
      ++info_depth_;
      heading_ += tag;
      return;
    }
    if (element == "page" || element == "soft_page") {
      in_break_ = true;
      end_page(element);
      return;
    }
    content(tag);
    open_.push_back({element, tag});
  }

  void endElement(const XMLCh* const name) override {
    const std::string element = to_utf8(name);
    if (info_depth_ > 0) {
      heading_ += "</" + element + ">";
      if (--info_depth_ == 0) info_done_ = true;
      return;
    }
    if (in_break_) {
      in_break_ = false;
      return;
    }
    if (open_.empty()) {
      // The end of the report: the page in hand is the last one.
      if (writing_) finish_file();
      stop();
      return;
    }
    content("</" + element + ">");
    open_.pop_back();
  }

  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    std::string text;
    append_escaped(text, to_utf8(chars, length), false);
    if (info_depth_ > 0) {
      heading_ += text;
    } else if (in_report_) {
      content(text);
    }
  }

  void ignorableWhitespace(const XMLCh* const chars, const XMLSize_t length) override {
    characters(chars, length);
  }

  bool found() const { return found_; }

 private:
  struct Open {
    std::string name;
    std::string tag;
  };

  int page() const { return breaks_ + 1; }

  void content(const std::string& text) {
    if (page() < from_ || page() > to_) return;
    if (!writing_) {
      writing_ = true;
      target_.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
      target_.write(heading_);
      reopen();
    }
    // A page exists once something other than blanks belongs to it.
    if (!found_ && text.find_first_not_of(" \t\r\n") != std::string::npos) found_ = true;
    target_.write(text);
  }

  void reopen() {
    for (const Open& o : open_)
      target_.write(o.tag);
  }

  void close_open() {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it)
      target_.write("</" + it->name + ">\n");
  }

  void finish_file() {
    close_open();
    target_.write("\n</report>");
  }

  void end_page(const std::string& kind) {
    const int ending = page();
    ++breaks_;
    if (!writing_) return;
    if (ending >= to_) {
      finish_file();
      stop();
      return;
    }
    // More pages follow in this file: close, break, and open again.
    close_open();
    target_.write("<" + kind + "/>");
    reopen();
  }

  TargetFile& target_;
  int from_;
  int to_;
  int breaks_ = 0;
  bool in_report_ = false;
  bool info_done_ = false;
  int info_depth_ = 0;
  bool in_break_ = false;
  bool writing_ = false;
  bool found_ = false;
  std::string heading_;
  std::vector<Open> open_;
};

}  // namespace

std::string cut_pages_by_parse(const std::string& source, const std::string& target_path, int from,
                               int to, bool& found) {
  found = false;
  TargetFile target;
  if (!target.create(target_path)) return "Can't create " + target_path + ".";
  CutHandler handler(target, from, to);
  const bool parsed = parse_report_file(source, handler);
  const bool written = target.close();
  found = handler.found();
  if (!parsed) return "Find error in creating xml pages." + handler.messages.text();
  if (!written) return "Can't create " + target_path + ".";
  return std::string();
}

}  // namespace repscope::report
