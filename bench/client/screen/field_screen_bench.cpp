// How long a host screen of 200 fields takes from the arrival of its bytes
// (one ESC mcw, then ESC mcf and ESC maf for each field) to the end of the
// repaint it causes, with the real field controls under Qt; then the same
// screen deleted and built again many times, with the resident memory
// after each stage, which must stay flat. Run by hand:
//   QT_QPA_PLATFORM=offscreen field_screen_bench [rebuilds] [no-pixmap-cache]
// The style keeps pixmaps of every shown frame in Qt's pixmap cache, which
// grows up to its limit (10 MiB by default) and then evicts; the second
// argument turns that cache off so the live heap shows the client's own
// memory alone.
#include <malloc.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMdiArea>
#include <QPaintEvent>
#include <QPixmapCache>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "client/protocol/interpreter.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_layer.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/registry/registry.h"

namespace {

using namespace veslink;

// Counts paint events anywhere in the application, so a measurement can
// tell that the repaint really happened inside it.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(o, e);
  }
};

long resident_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// A data-entry screen as a host application sends it: 10 columns of 20
// rows, each a prompt and an edit with its value, so 100 prompts and 100
// edits in one window.
std::string screen_bytes() {
  std::string s = "\x1bmcw10I100W24H;Two hundred fields\r";
  int number = 1;
  for (int column = 0; column < 5; ++column) {
    for (int row = 0; row < 20; ++row) {
      const int x = column * 20;
      const std::string prompt = std::to_string(number++);
      const std::string edit = std::to_string(number++);
      s += "\x1bmcf10P" + prompt + "I2T8W" + std::to_string(x) + "X" + std::to_string(row) +
           "Y;Item " + std::to_string(row) + ":\r";
      s += "\x1bmcf10P" + edit + "I1T10W" + std::to_string(x + 8) + "X" + std::to_string(row) +
           "Y20M\r";
      s += "\x1bmaf10P" + edit + "I;value " + edit + "\r";
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int rebuilds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const bool no_pixmap_cache = argc > 2 && std::string(argv[2]) == "no-pixmap-cache";
  if (no_pixmap_cache) QPixmapCache::setCacheLimit(0);

  char dir_template[] = "/tmp/field-bench-XXXXXX";
  const std::string dir = mkdtemp(dir_template);
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir)};
  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  ScreenModel model{in};
  QMainWindow main;
  auto* area = new QMdiArea;
  main.setCentralWidget(area);
  main.resize(1280, 1000);
  QtScreenHooks hooks;
  hooks.first_show = [&main] { main.show(); };
  QtScreenUi ui(model, main, *area, reg, std::move(hooks));
  model.set_ui(&ui);
  model.set_registry(&reg);
  QtFieldUi field_ui(model.fields());
  model.fields().set_ui(&field_ui);
  in.message_buffer.allocate();
  in.ui.send_byte = [](std::uint8_t) { return true; };
  screen_commands::install(in.routes, model);
  main.show();
  PaintCounter counter;
  app.installEventFilter(&counter);

  auto feed = [&in](const std::string& bytes) {
    in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  // Until the event queue is empty: layout, update requests, paints.
  auto settle = [&app] {
    for (int i = 0; i < 5; ++i) {
      QCoreApplication::sendPostedEvents();
      app.processEvents(QEventLoop::AllEvents);
      // Outside exec() nothing runs the deferred deletes the running
      // client's event loop would: controls dropped with deleteLater().
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  };
  feed("\x1bmpi1P2F\r");
  settle();
  const std::string bytes = screen_bytes();

  std::vector<double> first_ms;
  std::vector<double> rebuild_ms;
  std::vector<long> rss;
  std::vector<long> heap;  // bytes the allocator holds for live blocks
  const long rss_before = resident_kib();
  for (int i = 0; i < rebuilds; ++i) {
    counter.paints = 0;
    QElapsedTimer t;
    t.start();
    feed(bytes);
    settle();
    const double ms = t.nsecsElapsed() / 1e6;
    if (counter.paints == 0) {
      std::fprintf(stderr, "no repaint happened: the measurement is void\n");
      return 1;
    }
    (i == 0 ? first_ms : rebuild_ms).push_back(ms);
    // The window and its 200 fields go, as when the host leaves the screen.
    feed("\x1bmdw10I\r");
    settle();
    if (i == 0 || i == 9 || i == rebuilds / 2 - 1 || i == rebuilds - 1) {
      rss.push_back(resident_kib());
      heap.push_back(static_cast<long>(mallinfo2().uordblks / 1024));
    }
  }

  std::sort(rebuild_ms.begin(), rebuild_ms.end());
  std::printf("screen of 200 fields (%zu bytes): first arrival to end of repaint %.1f ms\n",
              bytes.size(), first_ms.front());
  if (!rebuild_ms.empty())
    std::printf("rebuilt %zu times: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n",
                rebuild_ms.size(), rebuild_ms[rebuild_ms.size() / 2], rebuild_ms.front(),
                rebuild_ms.back());
  std::printf("resident memory: before %ld KiB; after rebuilds 1/10/%d/%d:", rss_before,
              rebuilds / 2, rebuilds);
  for (long r : rss)
    std::printf(" %ld", r);
  std::printf(" KiB\nlive heap after the same rebuilds%s:",
              no_pixmap_cache ? " (no pixmap cache)" : "");
  for (long h : heap)
    std::printf(" %ld", h);
  std::printf(" KiB\n");
  in.programs.clear();
  model.fields().set_ui(nullptr);
  model.set_ui(nullptr);
  return 0;
}
