// Registry and freedesktop entries of the bundle association.
#include "viewer/app/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// The resource file lives in a static library, so it must be pulled in by name.
static void load_viewer_resources() {
  Q_INIT_RESOURCE(viewer_resources);
}

namespace repscope::app {

using vestra::registry::Hive;

namespace {

QByteArray resource(const char* name) {
  load_viewer_resources();
  QFile file(QString(":/repscope/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_if_different(const QString& path, const QByteArray& bytes) {
  QFile current(path);
  if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return false;
  current.close();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return out.write(bytes) == bytes.size();
}

// Adds "type=entry" under [Default Applications] unless the type has a default.
bool set_default_application(const QString& list_path) {
  QFile file(list_path);
  QStringList lines;
  if (file.open(QIODevice::ReadOnly)) {
    lines = QString::fromUtf8(file.readAll()).split('\n');
    file.close();
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  }
  const QString key = QString(kBundleMimeType) + "=";
  int section = -1;
  bool in_defaults = false;
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.startsWith('[')) {
      in_defaults = line == "[Default Applications]";
      if (in_defaults) section = i;
      continue;
    }
    if (in_defaults && line.startsWith(key)) return false;  // somebody else's choice stays
  }
  const QString entry = key + kDesktopFileName + ";";
  if (section < 0) {
    if (!lines.isEmpty()) lines << QString();
    lines << "[Default Applications]" << entry;
  } else {
    lines.insert(section + 1, entry);
  }
  QDir().mkpath(QFileInfo(list_path).absolutePath());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.write((lines.join('\n') + "\n").toUtf8());
  return true;
}

QString home_dir(const char* variable, const char* fallback) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty()) return value;
  return QDir::homePath() + "/" + fallback;
}

}  // namespace

DesktopDirs DesktopDirs::from_environment() {
  return {home_dir("XDG_DATA_HOME", ".local/share"), home_dir("XDG_CONFIG_HOME", ".config")};
}

AssociationResult register_bundle_association(vestra::registry::Registry& registry,
                                              const QString& program_path,
                                              const DesktopDirs& dirs) {
  AssociationResult result;
  const std::string program = program_path.toStdString();
  std::string current;
  auto r = registry.get_string(Hive::ClassesRoot, ".kvr", "", current);
  if (!r.ok() || current.empty()) registry.set_string(Hive::ClassesRoot, ".kvr", "", kBundleProgId);
  registry.set_string(Hive::ClassesRoot, std::string(kBundleProgId) + "\\DefaultIcon", "",
                      program + ",0");
  registry.set_string(Hive::ClassesRoot, std::string(kBundleProgId) + "\\shell\\open\\command", "",
                      program + " \"%1\"");

  result.mime_package_written = write_if_different(
      dirs.data_home + "/mime/packages/vestra-report.xml", resource("vestra-report.xml"));
  QByteArray desktop = resource("vestra-repscope.desktop");
  desktop.replace("@PROGRAM@", program_path.toUtf8());
  write_if_different(dirs.data_home + "/applications/" + kDesktopFileName, desktop);
  result.default_set = set_default_application(dirs.config_home + "/mimeapps.list");
  return result;
}

void refresh_mime_database(const DesktopDirs& dirs) {
  const QString tool = QStandardPaths::findExecutable("update-mime-database");
  if (tool.isEmpty()) return;
  QProcess update;
  update.setProgram(tool);
  update.setArguments({dirs.data_home + "/mime"});
  update.setStandardOutputFile(QProcess::nullDevice());
  update.setStandardErrorFile(QProcess::nullDevice());
  update.startDetached();
}

}  // namespace repscope::app
