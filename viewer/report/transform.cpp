// The Xalan-C transform written through the output callback, and the ruler
// removal of the basic kind.
#include "viewer/report/transform.h"

#include <xalanc/XSLT/XSLTInputSource.hpp>
#include <xalanc/XalanTransformer/XalanTransformer.hpp>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "viewer/report/report_file.h"
#include "viewer/report/text_lines.h"
#include "viewer/report/xml_libraries.h"

namespace repscope::report {

namespace {

struct Output {
  std::FILE* file = nullptr;
  bool failed = false;
};

CallbackSizeType write_output(const char* data, CallbackSizeType length, void* handle) {
  auto* out = static_cast<Output*>(handle);
  const std::size_t written = std::fwrite(data, 1, length, out->file);
  if (written != length) out->failed = true;
  return written;
}

void flush_output(void* handle) {
  auto* out = static_cast<Output*>(handle);
  if (std::fflush(out->file) != 0) out->failed = true;
}

bool is_ruler(const std::string& line) {
  if (line.size() < 71) return false;
  for (std::size_t i = 0; i < 71; ++i) {
    if (line[i] != '=') return false;
  }
  return true;
}

}  // namespace

std::string transformPage(const std::string& xml, const std::string& xsl, const std::string& html,
                          StylesheetKind kind, const std::string& ruler_temp) {
  ensure_xml_libraries();
  std::remove(html.c_str());
  Output out;
  out.file = std::fopen(html.c_str(), "wb");
  if (!out.file) return "Can't create file " + html + ". (transform)";
  std::string message;
  try {
    auto transformer = std::make_unique<xalanc::XalanTransformer>();
    const int rc = transformer->transform(xalanc::XSLTInputSource(xml.c_str()),
                                          xalanc::XSLTInputSource(xsl.c_str()), &out, write_output,
                                          flush_output);
    if (rc != 0) {
      message = transformer->getLastError();
      if (message.size() > 1023) message.resize(1023);
      if (message.empty()) message = "Find error in creating html pages.";
    }
  } catch (const std::exception& e) {
    message = std::string("Find error in creating html pages.\n") + e.what();
  } catch (...) {
    message = "Find error in creating html pages.";
  }
  if (std::fclose(out.file) != 0) out.failed = true;
  if (message.empty() && out.failed) message = "Can't create file " + html + ". (transform)";
  if (message.empty() && kind == StylesheetKind::Basic) message = removeEquals(html, ruler_temp);
  return message;
}

std::string removeEquals(const std::string& html, const std::string& temp) {
  std::vector<std::string> lines;
  if (!read_lines(html, lines)) return "Can't open file " + html + ". (removeEquals)";
  TargetFile out;
  if (!out.create(temp)) return "Can't create file " + temp + ". (removeEquals)";
  bool in_heading = false;
  std::optional<std::string> held;
  for (std::string& line : lines) {
    if (!in_heading) {
      out.write(line);
      in_heading = starts_with_ci(line, "<h1>") || starts_with_ci(line, "<h1 ");
      continue;
    }
    if (starts_with_ci(line, "</h1>")) {
      if (held) out.write(*held);
      held.reset();
      out.write(line);
      in_heading = false;
      continue;
    }
    // Every heading line is written one step late, so that the ruler right
    // before "</pre>" can still be left out.
    if (held && !(starts_with_ci(line, "</pre>") && is_ruler(*held))) out.write(*held);
    held = std::move(line);
  }
  if (held) out.write(*held);
  if (!out.close()) return "Can't create file " + temp + ". (removeEquals)";
  if (std::rename(temp.c_str(), html.c_str()) != 0) {
    return "Can't rename " + temp + " to " + html + ". (removeEquals)";
  }
  return std::string();
}

}  // namespace repscope::report
