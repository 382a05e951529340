// veslink: the thin client program.
#include <QApplication>

#include "client/app/client_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt has taken its own options out of argv; the first word is the program
  // path, as the start-up rules expect it (the directory matters).
  std::vector<std::string> words(argv, argv + argc);
  words[0] = QCoreApplication::applicationFilePath().toStdString();
  veslink::ClientApp client(vestra::registry::Registry::process(), words);
  if (!client.init_instance()) return 1;
  return app.exec();
}
