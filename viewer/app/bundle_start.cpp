// The bundle step of start-up.
#include "viewer/app/bundle_start.h"

#include "viewer/feed/exchange_key.h"
#include "viewer/report/bundle_file.h"
#include "viewer/report/page_counter.h"
#include "viewer/report/text_lines.h"

namespace repscope::app {

bool names_bundle(const std::string& line) {
  return line.size() > 5 && report::to_lower(line.substr(line.size() - 5)) == ".kvr\"";
}

std::string ProcessKvr(const std::string& command_line, const std::string& program_path,
                       vestra::registry::Registry& registry, std::int64_t now,
                       std::string& new_line) {
  std::string line = command_line;
  if (!line.empty() && line.back() == '"') line.pop_back();
  const std::size_t quote = line.rfind('"');
  const std::string bundle = quote == std::string::npos ? line : line.substr(quote + 1);
  const std::size_t slash = bundle.find_last_of("/\\");
  const std::string file_name = slash == std::string::npos ? bundle : bundle.substr(slash + 1);
  if (bundle.empty() || file_name.empty()) return "Can't find kvr file " + bundle;
  std::string base = file_name;
  if (base.size() > 4 && base[base.size() - 4] == '.') base.resize(base.size() - 4);
  if (bundle.size() <= 4) return "Error in kvr file " + bundle;
  const std::string stem = bundle.substr(0, bundle.size() - 3);
  const std::string xml = stem + "xml";
  const std::string xsl = stem + "xsl";
  std::string message = report::unpack_bundle(bundle, xml, xsl);
  if (!message.empty()) return message;
  int pages = 0;
  report::ReportHeader header;
  message = report::count_pages(xml, pages, header);
  if (!message.empty()) return message;
  feed::ExchangeKey key(registry, feed::ExchangeKey::path_for(base));
  message = key.create(pages, now);
  if (!message.empty()) return message;
  if (program_path.empty()) return "Error:GetModuleFileName, errid:0, Method(ProcessKvr)";
  new_line = "\"" + program_path + "\" \"" + program_path + "\" xml=" + xml + ";xsl=" + xsl +
             ";num=1;mode=FALSE;";
  return std::string();
}

}  // namespace repscope::app
