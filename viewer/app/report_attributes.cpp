// getAttrs and the start-up rules around it.
#include "viewer/app/report_attributes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "viewer/feed/exchange_key.h"
#include "viewer/report/page_counter.h"
#include "viewer/report/report_file.h"
#include "viewer/report/report_head.h"
#include "viewer/report/text_lines.h"

namespace repscope::app {

namespace {

constexpr char kProgramName[] = "repscope";

bool is_separator(char c) {
  return c == '/' || c == '\\';
}

// The program path: from the line's start (after its opening quote) up to the
// end of the program's name. The name must end there (a quote, a blank or
// the end of the line follows), so a directory or a report named like the
// program is not taken for it.
bool program_path(const std::string& line, std::string& path) {
  const std::size_t begin = (!line.empty() && line[0] == '"') ? 1 : 0;
  std::size_t at = begin;
  const std::size_t n = sizeof kProgramName - 1;
  while ((at = report::find_ci(line, kProgramName, at)) != std::string::npos) {
    const std::size_t end = at + n;
    const bool name_starts = at == begin || is_separator(line[at - 1]);
    const bool name_ends = end == line.size() || line[end] == '"' || line[end] == ' ';
    if (name_starts && name_ends) {
      path = line.substr(begin, end - begin);
      return true;
    }
    at = end;
  }
  return false;
}

int to_int(const std::string& text) {
  return std::atoi(text.c_str());
}

bool usable_directory(const std::string& dir) {
  struct stat st;
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid != ::geteuid()) return false;  // somebody else's: not ours to write into
  return ::access(dir.c_str(), R_OK | W_OK | X_OK) == 0;
}

}  // namespace

bool attribute(const std::string& line, const std::string& key, std::string& value) {
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return false;
  const std::size_t start = at + key.size();
  const std::size_t end = line.find(';', start);
  value = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return true;
}

std::string compose_command_line(const std::string& program_path, int argc, char** argv) {
  std::string line = "\"" + program_path + "\"";
  if (argc == 2) {
    const std::string arg = argv[1];
    const bool bundle = arg.size() > 4 && report::to_lower(arg.substr(arg.size() - 4)) == ".kvr";
    line += bundle ? " \"" + arg + "\"" : " " + arg;
    return line;
  }
  for (int i = 1; i < argc; ++i)
    line += std::string(" ") + argv[i];
  return line;
}

std::string choose_work_directory(const std::function<const char*(const char*)>& getenv,
                                  const std::string& report_dir) {
  std::string temp;
  for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
    const char* value = getenv ? getenv(name) : nullptr;
    if (value && *value) {
      temp = value;
      break;
    }
  }
  if (temp.empty()) temp = "/tmp";
  if (temp.size() > 1 && is_separator(temp.back())) temp.pop_back();
  const std::string dir = temp + "/tmpxml";
  ::mkdir(dir.c_str(), 0700);
  if (usable_directory(dir)) return dir;
  return report_dir.empty() ? std::string(".") : report_dir;
}

std::string make_process_tag() {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  try {
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    std::string tag;
    for (int i = 0; i < 6; ++i)
      tag += kLetters[pick(random)];
    return tag;
  } catch (...) {
    return std::to_string(std::abs(static_cast<long>(::getpid())));
  }
}

std::string getAttrs(const std::string& line, ReportAttributes& a, const AttrEnvironment& env) {
  if (line.empty()) return "Can't get xml file, xsl file and page count.";
  if (!program_path(line, a.program_path)) {
    return "Can't get full path of repScope.exe. comline(" + line + ")";
  }
  const std::size_t slash = a.program_path.find_last_of("/\\");
  a.program_dir = slash == std::string::npos ? std::string() : a.program_path.substr(0, slash);

  if (!attribute(line, "xml=", a.xml_path) || a.xml_path.empty()) {
    return "Can't get xml file. comline(" + line + ")";
  }
  if (!attribute(line, "xsl=", a.xsl_path) || a.xsl_path.empty()) {
    return "Can't get xsl file. comline(" + line + ")";
  }
  a.xml_stem = a.xml_path;
  if (a.xml_stem.size() >= 4 &&
      report::to_lower(a.xml_stem.substr(a.xml_stem.size() - 4)) == ".xml") {
    a.xml_stem.resize(a.xml_stem.size() - 4);
  }
  const std::size_t cut = a.xml_stem.find_last_of("/\\");
  a.base_name = cut == std::string::npos ? a.xml_stem : a.xml_stem.substr(cut + 1);
  a.report_dir = cut == std::string::npos ? std::string() : a.xml_stem.substr(0, cut);
  a.work_dir = choose_work_directory(env.getenv, a.report_dir);

  std::string value;
  a.live = attribute(line, "mode=", value) && value == "TRUE";

  if (line.find("printerName") != std::string::npos) {
    a.print_process = true;
    const std::string spool = a.work_dir + "/tmpie";
    ::mkdir(spool.c_str(), 0700);
    if (usable_directory(spool) && env.set_temp_dir) env.set_temp_dir(spool);
    if (attribute(line, "pMode=", value)) a.delete_source = value != "FALSE";
    if (attribute(line, "info=", value)) a.info_file = value;
    if (!report::file_exists(a.xml_path)) {
      return "Can't find file(" + a.xml_path + ") to print report. Method(getAttrs)";
    }
    report::ReportHeader header;
    const std::string message = report::count_pages(a.xml_path, a.total_pages, header);
    if (!message.empty()) return message;
    if (a.total_pages <= 0) {
      return "Total pages is 0 in file (" + a.xml_path + "). Method(getAttrs)";
    }
    a.from_page = attribute(line, "fromPage=", value) ? to_int(value) : 0;
    a.to_page = attribute(line, "toPage=", value) ? to_int(value) : 0;
    if (a.from_page < 1) a.from_page = 1;
    if (a.to_page < 1 || a.to_page > a.total_pages) a.to_page = a.total_pages;
    if (a.from_page > a.to_page) return "invalid Page number for printing.";
    if (attribute(line, "orien=", value)) a.orientation = to_int(value);
    attribute(line, "fontname=", a.font_name);
    attribute(line, "fontsize=", a.font_size);
    attribute(line, "lineheight=", a.line_height);
    if (attribute(line, "unit=", value)) a.unit = to_int(value);
    attribute(line, "left=", a.left);
    attribute(line, "right=", a.right);
    attribute(line, "top=", a.top);
    attribute(line, "bottom=", a.bottom);
    if (attribute(line, "colprint=", value)) a.colour_print = to_int(value);
    a.unattended = line.find("flag=") != std::string::npos;
    a.copies = attribute(line, "copy=", value) ? to_int(value) : 1;
    if (a.copies < 1) a.copies = 1;
    // Printer names may hold ";": the name runs up to ";copy".
    const std::size_t key = line.find("printerName");
    const std::size_t start = key + sizeof("printerName");  // past the key and its "="
    const std::size_t end = line.find(";copy", start);
    a.printer_name =
        start > line.size()
            ? std::string()
            : line.substr(start, end == std::string::npos ? std::string::npos : end - start);
  } else {
    if (!a.program_dir.empty() && env.seed_images) env.seed_images(a.program_dir);
    a.page_count = attribute(line, "num=", value) ? to_int(value) : 0;
    if (a.live ? a.page_count < 0 : a.page_count < 1) return "Invalid page number.";
  }

  a.exchange_key = feed::ExchangeKey::path_for(a.base_name);
  if (a.page_count > 0) {
    const std::string message = report::read_report_title(a.xml_path, a.title);
    if (!message.empty()) return message;
    if (a.live) {
      const std::string header = report::read_header_values(a.xml_path, a.header);
      if (!header.empty()) return header;
    }
  }
  return std::string();
}

}  // namespace repscope::app
