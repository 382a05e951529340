// repscope: the report viewer program.
#include <unistd.h>

#include <QApplication>
#include <cstdlib>

#include "platform/registry/registry.h"
#include "platform/urlcache/url_cache_scheme.h"
#include "viewer/app/report_attributes.h"
#include "viewer/app/viewer_app.h"
#include "viewer/report/xml_libraries.h"

int main(int argc, char** argv) {
  // The web view's sandbox refuses to run as root; the viewer runs as the
  // user who reads the report, so only a root session needs this.
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  vestra::urlcache::register_cache_scheme();
  QApplication app(argc, argv);
  QApplication::setApplicationName("repscope");
  QApplication::setApplicationVersion(VESTRA_VERSION);
  repscope::report::XmlLibrariesScope xml_libraries;
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  repscope::app::ViewerOptions options;
  options.program_path = program;
  options.desktop = repscope::app::DesktopDirs::from_environment();
  int result = 1;
  {
    repscope::app::ViewerApp viewer(vestra::registry::Registry::process(),
                                    repscope::app::compose_command_line(program, argc, argv),
                                    options);
    if (viewer.init_instance()) result = app.exec();
  }
  return result;
}
