// main() of every test binary: Qt runs offscreen (no display is ever needed),
// and a message box that no test expected answers at once instead of blocking.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/messages/message_box.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Nothing a test does may reach the user's own registry.
  std::string registry_dir = "/tmp/vestra-test-registry-XXXXXX";
  if (mkdtemp(registry_dir.data())) setenv("VESTRA_REGISTRY_DIR", registry_dir.c_str(), 1);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  vestra::messages::set_responder([](const vestra::messages::Request& r) {
    std::fprintf(stderr, "unexpected message box: %s: %s\n", r.caption.c_str(), r.text.c_str());
    ADD_FAILURE() << "unexpected message box: " << r.text;
    return vestra::messages::dismiss_answer(r.buttons);
  });
  const int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(registry_dir, ec);
  return result;
}
