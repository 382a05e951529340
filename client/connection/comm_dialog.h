// The Communications dialog (189): port or network, line settings, default
// host, certificate files and keep-alive; validates, applies to the open
// connection where it can, and writes the registry and the INI file.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace veslink {

class ConnectionManager;
struct ClientSettings;

class CommDialog : public QDialog {
  Q_OBJECT
 public:
  struct Context {
    ClientSettings& settings;
    ConnectionManager& connection;
    std::string ini_path;  // rewritten when an INI file was read at start-up
    bool ini_read = false;
    std::function<bool()> write_registry;  // the Communications writer of the settings store
    std::function<void()> post_connect;
  };
  CommDialog(Context context, QWidget* owner);

  // OK: false (dialog stays open) when a check failed and the user was told.
  bool apply();

  // The controls, for tests.
  QComboBox* interface_box() const { return interface_; }
  QComboBox* baud_box() const { return baud_; }
  QLineEdit* host_edit() const { return host_; }
  QLineEdit* cert_edit() const { return cert_; }
  QLineEdit* key_edit() const { return key_; }
  QLineEdit* keep_alive_edit() const { return keep_alive_; }
  QCheckBox* xon_box() const { return xon_; }

  void accept() override;

 private:
  void update_enabling();
  bool check_file(const std::string& typed, std::string& out, const char* missing_text);
  void warn(const std::string& text);

  Context c_;
  QComboBox* interface_;
  QComboBox* baud_;
  QComboBox* data_bits_;
  QComboBox* parity_;
  QComboBox* stop_bits_;
  QCheckBox* dtr_;
  QCheckBox* rts_;
  QCheckBox* xon_;
  QLineEdit* host_;
  QLineEdit* cert_;
  QLineEdit* key_;
  QLineEdit* keep_alive_;
};

}  // namespace veslink
