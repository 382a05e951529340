// The SAX handler that counts page breaks and reads the header values.
#include "viewer/report/page_counter.h"

#include <cstdlib>

#include "viewer/report/sax_support.h"

namespace repscope::report {

namespace {

class CountHandler : public ReportSaxHandler {
 public:
  explicit CountHandler(bool header_only) : header_only_(header_only) {}

  void startElement(const XMLCh* const name, xercesc::AttributeList&) override {
    const std::string element = to_utf8(name);
    if (element == "report_info") {
      in_header_ = true;
      return;
    }
    if (in_header_) {
      field_ = element;
      text_.clear();
      return;
    }
    if (element == "page" || element == "soft_page") ++pages;
  }

  void endElement(const XMLCh* const name) override {
    const std::string element = to_utf8(name);
    if (element == "report_info") {
      in_header_ = false;
      field_.clear();
      if (header_only_) stop();
      return;
    }
    if (!in_header_ || element != field_) return;
    // Character data may arrive in several pieces (around references), so a
    // value is taken when its element ends, not from the last piece.
    if (field_ == "title") {
      header.title = text_;
    } else if (field_ == "width") {
      header.width = std::atol(text_.c_str());
    } else if (field_ == "real_width") {
      header.real_width = std::atol(text_.c_str());
    } else if (field_ == "real_length") {
      header.real_length = std::atol(text_.c_str());
    } else if (field_ == "style_sheet_type" && !kind_seen_) {
      header.kind = kind_from_text(text_);
      kind_seen_ = true;
    }
    field_.clear();
  }

  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    if (in_header_ && !field_.empty()) text_ += to_utf8(chars, length);
  }

  int pages = 0;
  ReportHeader header;

 private:
  bool header_only_;
  bool in_header_ = false;
  bool kind_seen_ = false;
  std::string field_;
  std::string text_;
};

}  // namespace

std::string count_pages(const std::string& xml_path, int& pages, ReportHeader& header) {
  CountHandler handler(false);
  pages = 0;
  if (!parse_report_file(xml_path, handler)) {
    return "Find error in file " + xml_path + ". Method(parservoid)" + handler.messages.text();
  }
  pages = handler.pages;
  header = handler.header;
  return std::string();
}

std::string read_header_values(const std::string& xml_path, ReportHeader& header) {
  CountHandler handler(true);
  if (!parse_report_file(xml_path, handler)) {
    return "Find error in file " + xml_path + ". Method(parservoid)" + handler.messages.text();
  }
  header = handler.header;
  return std::string();
}

}  // namespace repscope::report
