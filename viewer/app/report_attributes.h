// The viewer's job description: the attributes parsed from its command line
// ("xml=...;xsl=...;num=...;"), the paths derived from them, and the rules
// that check them (`getAttrs`).
#pragma once

#include <functional>
#include <string>

#include "viewer/report/report_header.h"

namespace repscope::app {

struct ReportAttributes {
  std::string program_path;
  std::string program_dir;
  std::string xml_path;        // xml= as written
  std::string xml_stem;        // xml path without a final ".xml" (any case)
  std::string base_name;       // file name part of the stem
  std::string report_dir;      // directory part of the stem
  std::string xsl_path;        // xsl=
  std::string work_dir;        // where this process writes its files
  std::string title;           // from the report XML, decoded
  int page_count = 0;          // num=
  bool live = false;           // mode=TRUE
  bool delete_source = true;   // pMode= other than FALSE
  bool print_process = false;  // printerName present
  std::string printer_name;
  int from_page = 0;
  int to_page = 0;
  int total_pages = 0;  // counted in the XML (print process)
  int copies = 1;
  bool unattended = false;  // flag= present
  int orientation = 0;      // orien=; above 0: an explicit layout follows
  std::string font_name, font_size, line_height;
  int unit = 0;
  std::string left, right, top, bottom;
  int colour_print = 0;
  std::string info_file;
  std::string exchange_key;     // "Software\REPSCOPE\" + base name
  report::ReportHeader header;  // live mode: read at start
};

// What getAttrs needs from the process around it.
struct AttrEnvironment {
  std::function<const char*(const char*)> getenv;  // the temporary directory variables
  // Puts open.gif and close.gif from the program directory in the URL cache.
  std::function<void(const std::string& program_dir)> seed_images;
  // A print process sends the web view's spool files to this directory.
  std::function<void(const std::string& dir)> set_temp_dir;
};

// Fills `attrs` from the command line (the quoted program path, then the
// attributes, as one text); "" or the message that stops the start.
std::string getAttrs(const std::string& command_line, ReportAttributes& attrs,
                     const AttrEnvironment& env);

// The value of `key` (found as its first occurrence anywhere in the line) up
// to the next ";" or the end of the line; false when the key is absent.
bool attribute(const std::string& line, const std::string& key, std::string& value);

// The command line a started program gets: the quoted program path, then its
// arguments joined by blanks; a single argument naming a bundle (".kvr") is
// quoted as well.
std::string compose_command_line(const std::string& program_path, int argc, char** argv);

// TMPDIR, TMP, TEMP, then /tmp, with "tmpxml" below it: created when
// missing, used when it is a directory of ours that we can read and write;
// else the report directory.
std::string choose_work_directory(const std::function<const char*(const char*)>& getenv,
                                  const std::string& report_dir);

// Six characters that make this process's file names unique in the shared
// work directory; the process id if no random source is there.
std::string make_process_tag();

}  // namespace repscope::app
