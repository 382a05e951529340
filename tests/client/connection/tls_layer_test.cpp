// What the TLS layer can be asked without a server: the cipher line's limit
// and the certificate loading failures.
#include "client/connection/tls_layer.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

TEST(TlsLayer, CipherLineIsCutAtAWholeNameToFitItsBuffer) {
  EXPECT_EQ(TlsLayer::cipher_line("A:B"), "[SSL cipher=A:B]\r\n");
  std::string names;
  for (int i = 0; i < 200; ++i)
    names += (i ? ":" : "") + std::string("CIPHER-") + std::to_string(i);
  const std::string line = TlsLayer::cipher_line(names);
  EXPECT_LE(line.size(), 1023u);
  EXPECT_EQ(line.substr(line.size() - 3), "]\r\n");
  const std::string kept = line.substr(12, line.size() - 15);
  EXPECT_EQ(names.substr(0, kept.size()), kept);
  EXPECT_EQ(names[kept.size()], ':');  // cut before a separator, never inside a name
}

TEST(TlsLayer, CertificateThatIsNotPemFailsTheSetUpWithTheLibraryReason) {
  vestra::test::TempDir dir;
  const std::string bad = dir.write("client.pem", "this is not a certificate\n");
  std::string screen;
  TlsLayer tls([&](std::string_view text) { screen += text; }, [] { return std::nullopt; });
  tls.set_files(bad, "");
  EXPECT_FALSE(tls.init());
  EXPECT_NE(screen.find("Error loading " + bad + ": "), std::string::npos) << screen;
  EXPECT_NE(screen.find("\r\n"), std::string::npos);

  // Without files the set-up succeeds (plain telnet runs through it too).
  TlsLayer plain([](std::string_view) {}, [] { return std::nullopt; });
  EXPECT_TRUE(plain.init());
}

}  // namespace
}  // namespace veslink
