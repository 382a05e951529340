// Peers and recording stand-ins for the connection tests.
#include "tests/integration/connection/peer_harness.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <fstream>
#include <sstream>

namespace veslink::peers {

bool pump_until(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

std::string peer_script(const std::string& name) {
  return std::string(VESTRA_PEERS_DIR) + "/" + name;
}

Record read_record(const std::string& path) {
  Record out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return out;
}

std::vector<std::string> record_values(const Record& record, const std::string& key) {
  std::vector<std::string> out;
  for (const auto& [k, v] : record)
    if (k == key) out.push_back(v);
  return out;
}

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// TelnetDaemon -------------------------------------------------------------------

int TelnetDaemon::start(const std::string& scenario) {
  record_ = dir_.file("record-" + scenario);
  // telnetd -E splits its argument at blanks, so the command goes into a
  // wrapper script rather than through socat's own quoting.
  const std::string wrapper =
      dir_.write("telnetd-" + scenario + ".sh",
                 "#!/bin/sh\nexec /usr/sbin/telnetd -h -E \"/usr/bin/python3 " +
                     peer_script("scripted_host.py") + " " + scenario + " " + record_ + "\"\n");
  ::chmod(wrapper.c_str(), 0755);
  const std::string log = dir_.file("telnetd-" + scenario + ".log");
  return vestra::test::start_listening_peer(
      process_,
      [&](int port) {
        return std::vector<std::string>{
            "/usr/bin/socat",
            "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork",
            "EXEC:" + wrapper + ",nofork"};
      },
      log);
}

// RawPeer --------------------------------------------------------------------------

int RawPeer::start(const std::vector<std::string>& script_lines) {
  const std::string name = "raw" + std::to_string(++serial_);
  std::string script;
  for (const std::string& line : script_lines)
    script += line + "\n";
  const std::string script_path = dir_.write(name + ".script", script);
  const std::string port_path = dir_.file(name + ".port");
  record_ = dir_.file(name + ".received");
  dir_.write(name + ".received", "");
  if (!process_.start(
          {"/usr/bin/python3", peer_script("raw_peer.py"), script_path, port_path, record_},
          dir_.file(name + ".log")))
    return 0;
  // The peer picks its own free port and names it once it listens.
  std::string port_text;
  vestra::test::wait_for([&] {
    port_text = vestra::test::TempDir::read(port_path);
    return !port_text.empty() || !process_.running();
  });
  return port_text.empty() ? 0 : std::stoi(port_text);
}

std::string RawPeer::received() const {
  return vestra::test::TempDir::read(record_);
}

std::string RawPeer::status() const {
  struct stat st {};
  if (::stat((record_ + ".status").c_str(), &st) != 0) return std::string();
  return vestra::test::TempDir::read(record_ + ".status");
}

// DirectClient ----------------------------------------------------------------------

DirectClient::DirectClient(const vestra::test::TempDir& dir, int interface_code,
                           const std::string& host)
    : reg(vestra::registry::Locations::single(dir.path() + "/direct-reg")) {
  settings.interface_code = interface_code;
  settings.current_host = host;
  settings.default_host = host;
  ConnectionUi ui;
  ui.host_data_in = [this](const std::uint8_t* data, std::size_t n) {
    host_data.append(reinterpret_cast<const char*>(data), n);
  };
  ui.refresh_terminal = [this] {
    std::string text = page_text();
    if (screens.empty() || screens.back() != text) screens.push_back(std::move(text));
  };
  ui.post_connect = [this] { ++connects_posted; };
  ui.post_main_close = [this] { ++closes_posted; };
  ui.exit_process = [this](int code) { exits.push_back(code); };
  ui.ask_passphrase = [this]() -> std::optional<std::string> {
    return passphrase ? passphrase() : std::nullopt;
  };
  screen.current().set_columns(132);
  connection = std::make_unique<ConnectionManager>(settings, reg, screen, std::move(ui));
}

DirectClient::~DirectClient() {
  connection.reset();
}

std::string DirectClient::page_text() {
  std::string text;
  CharPage& page = screen.current();
  for (int r = 0; r < page.rows(); ++r)
    text += page.row_text(r);
  return text;
}

bool DirectClient::seen(const std::string& text) const {
  for (const std::string& s : screens)
    if (s.find(text) != std::string::npos) return true;
  return false;
}

std::vector<std::string> DirectClient::rows() {
  std::vector<std::string> out;
  CharPage& page = screen.current();
  for (int r = 0; r < page.rows(); ++r) {
    std::string row = page.row_text(r);
    row.erase(row.find_last_not_of(' ') + 1);
    out.push_back(row);
  }
  return out;
}

}  // namespace veslink::peers
