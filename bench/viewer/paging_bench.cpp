// Paging benchmark: generates a report of the asked size and page count,
// opens it in the viewer window (offscreen, real web view), and reports the
// time to page 1, to the last page the first time (the index is built over
// the whole report) and the second time, the peak memory of this process,
// and, in the same run, `cat report > /dev/null` and xsltproc on one page.
//   viewer_paging_bench [megabytes] [pages] [work directory]
#include <stdlib.h>
#include <sys/wait.h>

#include <unistd.h>
#include <QApplication>
#include <QDateTime>
#include <QSignalSpy>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/messages/message_box.h"
#include "platform/urlcache/url_cache_scheme.h"
#include "viewer/app/main_frame.h"
#include "viewer/app/report_view.h"
#include "viewer/app/viewer_app.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/feed/exchange_key.h"
#include "viewer/report/page_cutter.h"
#include "viewer/report/xml_libraries.h"

namespace {

using Clock = std::chrono::steady_clock;
double seconds_since(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

long status_value(const std::string& file, const char* name) {
  std::ifstream status(file);
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name, 0) == 0) return std::atol(line.c_str() + std::strlen(name));
  }
  return -1;
}

long peak_kib() {
  return status_value("/proc/self/status", "VmHWM:");
}

// The web engine renders in helper processes started by this one; their
// peaks, summed.
long children_peak_kib() {
  long sum = 0;
  const long self = ::getpid();
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string status = entry.path().string() + "/status";
    if (status_value(status, "PPid:") == self) sum += std::max(0L, status_value(status, "VmHWM:"));
  }
  return sum;
}

// A report of the basic kind: a heading and fixed-width lines on each page.
void generate(const std::string& path, long long bytes, int pages) {
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report>\n<report_info>"
         "<title>Benchmark &amp; Co</title><width>80</width><real_width>80</real_width>"
         "<style_sheet_type>basic</style_sheet_type></report_info>\n";
  const long long per_page = bytes / pages;
  char line[96];
  for (int p = 1; p <= pages; ++p) {
    out << "<page_header>BENCHMARK LEDGER                                   PAGE " << p
        << "\nACCOUNT  DESCRIPTION                          AMOUNT</page_header>\n<detail>\n";
    long long written = 150;
    for (int i = 0; written < per_page - 30; ++i) {
      const int n = std::snprintf(line, sizeof line, "%08d Line %-5d of page %-6d %26.2f\n",
                                  p * 1000 + i, i, p, (p * 37 + i * 11) % 100000 / 100.0);
      out << line;
      written += n;
    }
    out << "</detail><page/>\n";
  }
  out << "</report>\n";
}

const char kStylesheet[] =
    "<?xml version=\"1.0\"?>\n"
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
    "<xsl:output method=\"html\" indent=\"no\"/>\n"
    "<xsl:template match=\"/\">\n<html><head><title><xsl:value-of "
    "select=\"report/report_info/title\"/></title><style>\n"
    "@media screen { body { font-family: monospace; } H1 PRE { margin-bottom: -1.2em; } }\n"
    "@media print { body { font-size: 8pt; } }\n</style></head>\n<body>\n"
    "<xsl:apply-templates select=\"report/page_header|report/detail\"/>\n</body></html>\n"
    "</xsl:template>\n"
    "<xsl:template match=\"/report/page_header\">\n"
    "<h1><pre><xsl:value-of select=\".\"/></pre></h1>\n</xsl:template>\n"
    "<xsl:template match=\"/report/detail\">\n<pre><xsl:value-of select=\".\"/></pre>\n"
    "</xsl:template>\n</xsl:stylesheet>\n";

double run_timed(const std::string& command) {
  const auto t = Clock::now();
  const int rc = std::system(command.c_str());
  if (rc != 0) std::fprintf(stderr, "failed (%d): %s\n", rc, command.c_str());
  return seconds_since(t);
}

}  // namespace

int main(int argc, char** argv) {
  const long long megabytes = argc > 1 ? std::atoll(argv[1]) : 200;
  const int pages = argc > 2 ? std::atoi(argv[2]) : 20000;
  const std::string dir = argc > 3 ? argv[3] : "/tmp/repscope-bench";
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  std::filesystem::create_directories(dir + "/tmp");
  setenv("TMPDIR", (dir + "/tmp").c_str(), 1);

  const std::string stem = dir + "/bench";
  const auto gen = Clock::now();
  generate(stem + ".xml", megabytes * 1000 * 1000, pages);
  std::ofstream(stem + ".xsl") << kStylesheet;
  const auto size = std::filesystem::file_size(stem + ".xml");
  std::printf("report: %.1f MB, %d pages (generated in %.2f s)\n", size / 1e6, pages,
              seconds_since(gen));

  // The viewer's own start: the application, the web engine, the window.
  const auto start = Clock::now();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  vestra::urlcache::register_cache_scheme();
  QApplication app(argc, argv);
  repscope::report::XmlLibrariesScope xml;
  vestra::messages::set_responder([](const vestra::messages::Request& r) {
    std::fprintf(stderr, "message: %s\n", r.text.c_str());
    return vestra::messages::dismiss_answer(r.buttons);
  });

  vestra::registry::Registry registry(vestra::registry::Locations::single(dir + "/reg"));
  repscope::feed::ExchangeKey key(registry, repscope::feed::ExchangeKey::path_for("bench"));
  key.create(pages, QDateTime::currentSecsSinceEpoch());

  repscope::app::ViewerOptions options;
  options.program_path = dir + "/repscope";
  options.desktop = {QString::fromStdString(dir + "/share"),
                     QString::fromStdString(dir + "/config")};
  options.url_cache_dir = dir + "/cache";
  options.process_tag = "BENCH1";
  const std::string line = "\"" + options.program_path + "\" xml=" + stem + ".xml;xsl=" + stem +
                           ".xsl;num=" + std::to_string(pages) + ";";
  long peak_first = 0;
  long helpers = 0;
  double first = 0, last_first = 0, last_second = 0;
  {
    repscope::app::ViewerApp viewer(registry, line, options);
    if (!viewer.init_instance()) return 1;
    auto* frame = viewer.frame();
    auto* view = frame->view();
    {
      QSignalSpy loaded(view, &QWebEngineView::loadFinished);
      loaded.wait(60000);
    }
    first = seconds_since(start);
    peak_first = peak_kib();
    view->refresh_tick();  // the report is complete: the index is used from now on
    auto show = [&](int command) {
      const auto s = Clock::now();
      QSignalSpy loaded(view, &QWebEngineView::loadFinished);
      frame->run_command(command);
      loaded.wait(60000);
      return seconds_since(s);
    };
    last_first = show(repscope::ids::ID_LAST_PAGE);
    show(repscope::ids::ID_START_PAGE);
    last_second = show(repscope::ids::ID_LAST_PAGE);
    helpers = children_peak_kib();
    frame->close();
  }
  // The same page through xsltproc, with the stylesheet the viewer used.
  const std::string page = dir + "/bench-last.xml";
  std::ofstream(page) << "";
  {
    // Cut once more with the index the viewer would use, for xsltproc.
    repscope::report::ReportHeading heading;
    repscope::report::PageIndex index;
    repscope::report::buildXmlPages(true, heading, index, stem + ".xml", page, pages, pages, pages);
  }
  const double cat = run_timed("cat '" + stem + ".xml' > /dev/null");
  const double xslt =
      run_timed("xsltproc -o '" + dir + "/bench-last.html' '" + stem + ".xsl' '" + page + "'");
  std::printf("start to page 1 shown:          %.3f s\n", first);
  std::printf("page %d the first time:      %.3f s (index built over the report)\n", pages,
              last_first);
  std::printf("page %d the second time:     %.3f s\n", pages, last_second);
  std::printf("cat report > /dev/null:         %.3f s\n", cat);
  std::printf("xsltproc on one page:           %.3f s\n", xslt);
  std::printf("peak memory (VmHWM) at page 1:  %ld KiB\n", peak_first);
  std::printf("peak memory (VmHWM) at the end: %ld KiB\n", peak_kib());
  std::printf("web engine helper processes:    %ld KiB (sum of their peaks)\n", helpers);
  return 0;
}
