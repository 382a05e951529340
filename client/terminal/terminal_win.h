// TerminalWin: the terminal-mode window. It is created hidden at start-up and
// is the target of every transport notification and of the Connect command;
// commands posted to it run the handlers registered for their ids. Shown, it
// paints the current page of the character screen and sends typed characters
// to the host.
#pragma once

#include <QFont>
#include <QWidget>
#include <functional>
#include <map>

namespace veslink {

class CharScreen;

class TerminalWin : public QWidget {
  Q_OBJECT
 public:
  TerminalWin(const QString& title, CharScreen& screen, QWidget* parent = nullptr);

  using CommandHandler = std::function<void()>;
  void set_command_handler(int command_id, CommandHandler handler);

  // Where typed bytes go (the connection's host_send_byte); nothing is sent
  // while it is unset or reports that it is not connected.
  void set_byte_sender(std::function<bool(unsigned char)> sender) {
    send_byte_ = std::move(sender);
  }

  // What the close box does (the terminal window itself is never destroyed).
  void set_close_handler(std::function<void()> handler) { close_handler_ = std::move(handler); }

  // Enhanced mode: the host program understands the client's terminal
  // extensions (mouse reports, the close key).
  bool enhanced_mode() const { return enhanced_mode_; }
  void set_enhanced_mode(bool on) { enhanced_mode_ = on; }

  void set_terminal_font(const QFont& font, int char_width, int line_height);

  // Invalidates what changed on the current page since the last refresh.
  void refresh();

  QSize sizeHint() const override;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  CharScreen& screen_;
  std::map<int, CommandHandler> handlers_;
  std::function<bool(unsigned char)> send_byte_;
  std::function<void()> close_handler_;
  bool enhanced_mode_ = false;
  QFont font_;
  int char_width_ = 8;
  int line_height_ = 16;
};

}  // namespace veslink
