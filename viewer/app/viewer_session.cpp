// Page commands, zoom, polls and close of the viewer.
#include "viewer/app/viewer_session.h"

#include <cstdio>
#include <cstdlib>

#include "viewer/app/viewer_ids.h"

namespace repscope::app {

ViewerSession::ViewerSession(const ReportAttributes& attributes, report::OpenReport& report,
                             report::DerivedStylesheet& stylesheet, report::PageMaker& pages,
                             feed::ExchangeKey& key)
    : attributes_(attributes), report_(report), stylesheet_(stylesheet), pages_(pages), key_(key) {}

std::optional<int> ViewerSession::page_for(int command, int current, int upper) {
  int target = 0;
  switch (command) {
    case ids::ID_PREVIOUS:
      if (current == 0) return std::nullopt;
      target = current - 1;
      break;
    case ids::ID_NEXT:
      if (current == 0) return std::nullopt;
      target = current + 1;
      break;
    case ids::ID_START_PAGE:
      target = 1;
      break;
    case ids::ID_LAST_PAGE:
      target = upper;
      break;
    case ids::ID_REFRESH:
      if (current <= 0) return std::nullopt;
      target = current;
      break;
    default:
      return std::nullopt;
  }
  if (target < 1 || target > upper) return std::nullopt;
  return target;
}

std::string ViewerSession::show_page(int page) {
  return pages_.createOnePageForWindow(page);
}

std::vector<std::string> ViewerSession::zoom(int percent) {
  std::vector<std::string> messages;
  std::string message = stylesheet_.apply_zoom(percent);
  if (!message.empty()) {
    messages.push_back(message);
    if (percent == 200) {
      message = stylesheet_.apply_zoom(100);
      if (!message.empty()) messages.push_back(message);
    }
  }
  return messages;
}

std::vector<std::string> ViewerSession::toggle_hold_heading() {
  std::vector<std::string> messages;
  if (!stylesheet_.hold_heading()) {
    std::string message = stylesheet_.apply_hold_heading();
    if (!message.empty()) {
      messages.push_back(message);
      message = stylesheet_.apply_zoom(100);
      if (!message.empty()) messages.push_back(message);
    }
  } else {
    const std::string message = stylesheet_.apply_zoom(stylesheet_.current_zoom());
    if (!message.empty()) messages.push_back(message);
  }
  return messages;
}

RefreshOutcome ViewerSession::refresh() {
  RefreshOutcome out;
  int pages = 0;
  bool finished = false;
  bool exists = true;
  out.message = key_.read_page_count(pages, finished, &exists);
  if (!out.message.empty()) {
    out.stop = true;
    return out;
  }
  // A key that is gone has nothing more to say: the report is as complete as
  // it will get.
  if (!exists) finished = true;
  report_.raise_known(pages);
  if (finished && !report_.finished) {
    report_.finished = true;
    out.became_finished = true;
    out.stop = true;
    if (!report_.live && exists) {
      const std::string message = key_.remove();
      if (!message.empty()) out.zoom_messages.push_back(message);
    }
    if (!stylesheet_.hold_heading()) {
      const bool was_page_width = stylesheet_.current_zoom() == 200;
      std::string message = stylesheet_.make_current();
      if (!message.empty() && was_page_width) {
        out.zoom_messages.push_back(message);
        message = stylesheet_.apply_zoom(100);
      }
      if (!message.empty()) out.zoom_messages.push_back(message);
    }
  }
  return out;
}

ServerOutcome ViewerSession::server() {
  ServerOutcome out;
  bool exists = true;
  out.message = key_.read_server_request(out.show_window, &exists);
  out.stop = !exists;
  return out;
}

void ViewerSession::close(bool deleted) {
  stylesheet_.save_zoom();
  stylesheet_.remove();
  const report::PageFileNames& n = report_.names;
  for (const std::string* file : {&n.page_html, &n.page_xml, &n.ruler_temp, &n.print_html}) {
    std::remove(file->c_str());
  }
  if (report_.live) {
    std::remove(n.live_page_html.c_str());
    std::remove(n.live_print_html.c_str());
    std::remove(n.wait_page.c_str());
    std::remove(n.received_xml.c_str());
    std::remove(n.source_xml.c_str());
    key_.set_end_flag(deleted);
  }
}

void ViewerSession::delete_report_files() {
  for (const char* extension : {".xml", ".xsl", ".acl"}) {
    std::remove((attributes_.xml_stem + extension).c_str());
  }
}

std::string with_thousands(int number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(at, ",");
  return number < 0 ? "-" + digits : digits;
}

int page_number(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != ',') digits += c;
  }
  return std::atoi(digits.c_str());
}

}  // namespace repscope::app
