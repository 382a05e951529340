// The viewer window in-process (offscreen, with the real web view): a fixture
// report opens at page 1, the page-count poll finishes it, the last page,
// zoom and hold heading show in the page, the page box and Go To refuse bad
// numbers, a growing report widens the range, Delete removes the report, and
// closing leaves the placement and zoom in the registry and no page files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>
#include <filesystem>
#include <optional>

#include "platform/urlcache/url_cache_scheme.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"
#include "viewer/app/goto_dialog.h"
#include "viewer/app/main_frame.h"
#include "viewer/app/page_box.h"
#include "viewer/app/report_view.h"
#include "viewer/app/viewer_app.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"
#include "viewer/feed/exchange_key.h"

namespace {
// Before the QApplication of the test main: the web view's needs.
struct BeforeTheApplication {
  BeforeTheApplication() {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    vestra::urlcache::register_cache_scheme();
  }
} before_the_application;
}  // namespace

namespace repscope::app {
namespace {

namespace fs = std::filesystem;
using vestra::registry::Hive;
using vestra::test::TempDir;

const std::string kFixtures = VESTRA_VIEWER_FIXTURES;

class ViewerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.file("r"));
    fs::create_directories(dir_.file("tmp"));
    const char* old = std::getenv("TMPDIR");
    old_tmpdir_ = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("TMPDIR", dir_.file("tmp").c_str(), 1);
    dir_.write("bin/open.gif", "GIF89a-open");
    dir_.write("bin/close.gif", "GIF89a-close");
    options_.program_path = dir_.file("bin/repscope");
    options_.process_tag = "T3STtg";
    options_.desktop = {QString::fromStdString(dir_.file("share")),
                        QString::fromStdString(dir_.file("config"))};
    options_.url_cache_dir = dir_.file("cache");
    options_.retry_pauses = false;
  }

  void TearDown() override {
    app_.reset();
    if (old_tmpdir_) {
      setenv("TMPDIR", old_tmpdir_->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    EXPECT_TRUE(messages_.texts().empty()) << messages_.texts().front();
  }

  std::string copy_fixture(const char* folder, const char* name) {
    for (const char* ext : {".xml", ".xsl"}) {
      fs::copy_file(fs::path(kFixtures) / folder / (std::string(name) + ext),
                    dir_.file(std::string("r/") + name + ext));
    }
    return dir_.file(std::string("r/") + name);
  }

  bool open(const std::string& stem, int num, const std::string& total) {
    feed::ExchangeKey key(registry_, feed::ExchangeKey::path_for(fs::path(stem).filename()));
    EXPECT_EQ(key.create(0, QDateTime::currentSecsSinceEpoch()), "");
    registry_.set_string(Hive::CurrentUser, key.path(), "TOTALPAGE", total);
    const std::string line = "\"" + options_.program_path + "\" xml=" + stem + ".xml;xsl=" + stem +
                             ".xsl;num=" + std::to_string(num) + ";";
    app_ = std::make_unique<ViewerApp>(registry_, line, options_);
    if (!app_->init_instance()) return false;
    return wait_loaded();
  }

  CMainFrame* frame() { return app_->frame(); }
  CMfcieView* view() { return frame()->view(); }

  bool wait_loaded() {
    QSignalSpy spy(view(), &QWebEngineView::loadFinished);
    return spy.wait(20000) && spy.front().front().toBool();
  }

  // Runs a command that reloads the page and waits for the page.
  bool command(int id) {
    QSignalSpy spy(view(), &QWebEngineView::loadFinished);
    frame()->run_command(id);
    return spy.wait(20000);
  }

  QVariant js(const QString& code) {
    QVariant result;
    QEventLoop loop;
    view()->page()->runJavaScript(code, [&](const QVariant& v) {
      result = v;
      loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
  }

  std::string value(const std::string& key, const char* name) {
    std::string v;
    registry_.get_string(Hive::CurrentUser, key, name, v);
    return v;
  }

  std::vector<std::string> files_with_tag() {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(dir_.file("tmp/tmpxml"))) {
      if (e.path().filename().string().find("T3STtg") != std::string::npos) {
        found.push_back(e.path().filename());
      }
    }
    return found;
  }

  TempDir dir_;
  vestra::registry::Registry registry_{vestra::registry::Locations::single(dir_.file("reg"))};
  vestra::test::ScriptedMessages messages_;
  ViewerOptions options_;
  std::unique_ptr<ViewerApp> app_;
  std::optional<std::string> old_tmpdir_;
};

TEST_F(ViewerWindow, ReadsAReportPageByPageZoomsHoldsTheHeadingAndCloses) {
  const std::string stem = copy_fixture("basic", "stock");
  ASSERT_TRUE(open(stem, 4, "4END"));
  EXPECT_EQ(frame()->page_box()->text(), "1");
  EXPECT_TRUE(js("document.body.innerText").toString().contains("PAGE 1"));
  EXPECT_EQ(frame()->pane(1)->text(), "Basic");
  EXPECT_EQ(frame()->pane(2)->text(), "Stock & Sales \u00e9t\u00e9 <draft>");

  // The first poll reads "4END": the report is finished and the key is gone.
  EXPECT_FALSE(frame()->action(ids::zoom_command(125))->isEnabled());
  view()->refresh_tick();
  EXPECT_FALSE(view()->refresh_timer().isActive());
  EXPECT_FALSE(registry_.key_exists(Hive::CurrentUser, "Software\\REPSCOPE\\stock").ok());
  EXPECT_EQ(frame()->pane(3)->text(), "Page: 1 of 4");
  EXPECT_EQ(frame()->pane(0)->text(), "Done");
  EXPECT_TRUE(frame()->action(ids::zoom_command(125))->isEnabled());
  EXPECT_TRUE(frame()->action(ids::zoom_command(100))->isChecked());

  ASSERT_TRUE(command(ids::ID_LAST_PAGE));
  EXPECT_EQ(frame()->page_box()->text(), "4");
  EXPECT_EQ(frame()->pane(3)->text(), "Page: 4 of 4");
  EXPECT_TRUE(js("document.body.innerText").toString().contains("PAGE 4"));
  EXPECT_FALSE(js("document.body.innerText").toString().contains("=========="))
      << "the heading ruler is gone";
  frame()->run_command(ids::ID_NEXT);  // beyond the last page: nothing happens
  EXPECT_EQ(frame()->page_box()->text(), "4");

  ASSERT_TRUE(command(ids::zoom_command(125)));
  EXPECT_EQ(js("getComputedStyle(document.body).zoom").toString(), "1.25");
  EXPECT_TRUE(frame()->action(ids::zoom_command(125))->isChecked());
  EXPECT_TRUE(js("document.body.innerText").toString().contains("PAGE 4"));

  ASSERT_TRUE(command(ids::ID_HOLD_HEADING));
  EXPECT_TRUE(frame()->action(ids::ID_HOLD_HEADING)->isChecked());
  EXPECT_FALSE(frame()->action(ids::zoom_command(125))->isChecked());
  // The script fitted the body to the window and sized the scrolling box.
  EXPECT_NE(js("document.body.style.zoom").toString(), "");
  EXPECT_GT(js("document.getElementById('KeepBottom').clientHeight").toInt(), 10);
  EXPECT_TRUE(js("document.getElementById('KeepTop').innerText").toString().contains("PAGE 4"));

  ASSERT_TRUE(command(ids::ID_START_PAGE));
  EXPECT_TRUE(js("document.body.innerText").toString().contains("PAGE 1"));
  EXPECT_EQ(files_with_tag().size(), 3u);  // page XML, page HTML, derived stylesheet

  frame()->run_command(ids::ID_CLOSE);
  EXPECT_TRUE(files_with_tag().empty());
  const std::string setting = "Software\\VESTRA\\REPSCOPEINIT\\WINDOWSETTING";
  EXPECT_FALSE(value(setting, "width").empty());
  EXPECT_FALSE(value(setting, "height").empty());
  EXPECT_EQ(value(setting, "status"), "1");
  EXPECT_EQ(value("Software\\VESTRA\\REPSCOPEINIT\\ZOOM", "80"), "125");
  EXPECT_TRUE(fs::exists(stem + ".xml")) << "closing keeps the report";
  // The bundle association of this start.
  EXPECT_EQ(value(".kvr", ""), "");
  std::string progid;
  registry_.get_string(Hive::ClassesRoot, ".kvr", "", progid);
  EXPECT_EQ(progid, "VESTRA-Nu.Report.Viewer");
}

TEST_F(ViewerWindow, RememberedZoomAndPageBoxAndGoTo) {
  registry_.set_string(Hive::CurrentUser, "Software\\VESTRA\\REPSCOPEINIT\\ZOOM", "132", "75");
  const std::string stem = copy_fixture("full", "invoices");
  ASSERT_TRUE(open(stem, 4, "4END"));
  EXPECT_EQ(js("getComputedStyle(document.body).zoom").toString(), "0.75");
  view()->refresh_tick();
  EXPECT_TRUE(frame()->action(ids::zoom_command(75))->isChecked());

  // Enter with nothing, and beyond the last page: warnings, the page stays.
  frame()->page_box()->set_text("");
  emit frame()->page_box()->enterPressed();
  frame()->page_box()->set_text("9");
  emit frame()->page_box()->enterPressed();
  EXPECT_EQ(messages_.texts(),
            (std::vector<std::string>{"Please enter page number.", "Wrong page number."}));
  EXPECT_EQ(messages_.shown()[0].caption, ids::kCaption);
  messages_.clear();

  // The arrows move the number within the range; the page loads on release.
  frame()->page_box()->set_page(3);
  frame()->page_box()->step(+1);
  frame()->page_box()->step(+1);
  EXPECT_EQ(frame()->page_box()->text(), "4");
  QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
  emit frame()->page_box()->upDownReleased();
  ASSERT_TRUE(loaded.wait(20000));
  EXPECT_TRUE(js("document.body.innerText").toString().contains("Page 4"));

  GoToDialog go(4, 4, frame());
  go.box()->set_text("5");
  go.accept();
  EXPECT_NE(go.result(), QDialog::Accepted);
  EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Please enter number (1 to 4)."});
  messages_.clear();
  go.box()->set_text("2");
  go.accept();
  EXPECT_EQ(go.result(), QDialog::Accepted);
  EXPECT_EQ(go.page(), 2);
}

TEST_F(ViewerWindow, GrowingReportWidensTheRange) {
  const std::string stem = copy_fixture("full", "invoices");
  ASSERT_TRUE(open(stem, 2, "2"));
  view()->refresh_tick();
  EXPECT_EQ(frame()->pane(3)->text(), "Page: 1 of 2+");
  EXPECT_EQ(frame()->pane(0)->text(), "Spooling report");
  EXPECT_FALSE(frame()->action(ids::ID_HOLD_HEADING)->isEnabled());
  ASSERT_TRUE(command(ids::ID_NEXT));
  frame()->run_command(ids::ID_NEXT);  // page 2 is the last known page
  EXPECT_EQ(frame()->page_box()->text(), "2");

  registry_.set_string(Hive::CurrentUser, "Software\\REPSCOPE\\invoices", "TOTALPAGE", "3");
  view()->refresh_tick();
  ASSERT_TRUE(command(ids::ID_NEXT));
  EXPECT_EQ(frame()->page_box()->text(), "3");
  EXPECT_TRUE(js("document.body.innerText").toString().contains("Page 3"));

  // A show-window request is acted on once and emptied; the poll goes on.
  registry_.set_string(Hive::CurrentUser, "Software\\REPSCOPE\\invoices", "ServerRequest",
                       "server=SHOWWINDOW;");
  view()->server_tick();
  EXPECT_EQ(value("Software\\REPSCOPE\\invoices", "ServerRequest"), "");
  EXPECT_TRUE(view()->server_timer().isActive());

  registry_.set_string(Hive::CurrentUser, "Software\\REPSCOPE\\invoices", "TOTALPAGE", "4END");
  view()->refresh_tick();
  EXPECT_EQ(frame()->pane(3)->text(), "Page: 3 of 4");
  EXPECT_TRUE(frame()->action(ids::ID_HOLD_HEADING)->isEnabled());
  EXPECT_FALSE(registry_.key_exists(Hive::CurrentUser, "Software\\REPSCOPE\\invoices").ok());
  // With the key gone the show-window poll ends quietly.
  view()->server_tick();
  EXPECT_FALSE(view()->server_timer().isActive());
}

TEST_F(ViewerWindow, ThousandsInThePageBox) {
  std::string xml = "<report><report_info><title>Many</title></report_info>\n";
  for (int p = 1; p <= 1100; ++p)
    xml += "<detail>Page " + std::to_string(p) + "</detail><page/>\n";
  xml += "</report>\n";
  dir_.write("r/many.xml", xml);
  fs::copy_file(fs::path(kFixtures) / "full" / "invoices.xsl", dir_.file("r/many.xsl"));
  dir_.write("r/many.xsl",
             "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
             "<xsl:output method=\"html\"/><xsl:template match=\"/\"><html><head><style>\n"
             "@media screen { body { color: black; } }\n</style></head><body>"
             "<xsl:value-of select=\"report/detail\"/></body></html></xsl:template>"
             "</xsl:stylesheet>");
  ASSERT_TRUE(open(dir_.file("r/many"), 1100, "1100END"));
  view()->refresh_tick();
  frame()->page_box()->set_text("1,024");
  QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
  emit frame()->page_box()->enterPressed();
  ASSERT_TRUE(loaded.wait(20000));
  EXPECT_EQ(js("document.body.innerText").toString(), "Page 1024");
  EXPECT_EQ(frame()->page_box()->text(), "1,024");
  EXPECT_EQ(frame()->pane(3)->text(), "Page: 1,024 of 1100");
}

TEST_F(ViewerWindow, DeleteAsksThenRemovesTheReport) {
  const std::string stem = copy_fixture("basic", "stock");
  dir_.write("r/stock.acl", "acl");
  ASSERT_TRUE(open(stem, 4, "4END"));
  messages_.answer(vestra::messages::Answer::No);
  frame()->run_command(ids::ID_DELETE);
  ASSERT_EQ(messages_.shown().size(), 1u);
  EXPECT_EQ(messages_.shown()[0].caption, "Confirm Report Delete");
  EXPECT_EQ(messages_.shown()[0].text, "Remove the report ?");
  EXPECT_TRUE(frame()->isVisible());
  EXPECT_TRUE(fs::exists(stem + ".xml"));
  messages_.answer(vestra::messages::Answer::Yes);
  frame()->run_command(ids::ID_DELETE);
  EXPECT_FALSE(frame()->isVisible());
  for (const char* ext : {".xml", ".xsl", ".acl"})
    EXPECT_FALSE(fs::exists(stem + ext)) << ext;
  EXPECT_TRUE(files_with_tag().empty());
  messages_.clear();
}

TEST_F(ViewerWindow, StartFailuresEndTheViewerWithTheirMessage) {
  const std::string stem = copy_fixture("basic", "stock");
  // No exchange key: the viewer does not start.
  app_ = std::make_unique<ViewerApp>(
      registry_,
      "\"" + options_.program_path + "\" xml=" + stem + ".xml;xsl=" + stem + ".xsl;num=4;",
      options_);
  EXPECT_FALSE(app_->init_instance());
  EXPECT_EQ(app_->frame(), nullptr);
  app_ = std::make_unique<ViewerApp>(registry_, "\"" + options_.program_path + "\" xsl=a;num=1;",
                                     options_);
  EXPECT_FALSE(app_->init_instance());
  ASSERT_EQ(messages_.shown().size(), 2u);
  EXPECT_EQ(messages_.shown()[0].text, "Can't registry server path.");
  EXPECT_EQ(messages_.shown()[0].caption, "VESTRA Report Viewer Message");
  EXPECT_EQ(messages_.shown()[0].icon, vestra::messages::Icon::Error);
  EXPECT_EQ(messages_.shown()[1].text.rfind("Can't get xml file. comline(", 0), 0u);
  messages_.clear();
}

}  // namespace
}  // namespace repscope::app
