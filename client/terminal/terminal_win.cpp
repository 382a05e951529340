// Command dispatch, painting and typing of the terminal window.
#include "client/terminal/terminal_win.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "client/terminal/char_screen.h"
#include "platform/events/posted_events.h"

namespace veslink {

TerminalWin::TerminalWin(const QString& title, CharScreen& screen, QWidget* parent)
    : QWidget(parent), screen_(screen) {
  setObjectName("TerminalWin");
  setWindowTitle(title);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  hide();
}

void TerminalWin::set_command_handler(int command_id, CommandHandler handler) {
  handlers_[command_id] = std::move(handler);
}

void TerminalWin::set_terminal_font(const QFont& font, int char_width, int line_height) {
  font_ = font;
  char_width_ = char_width > 0 ? char_width : 8;
  line_height_ = line_height > 0 ? line_height : 16;
  updateGeometry();
  update();
}

QSize TerminalWin::sizeHint() const {
  const CharPage& page = screen_.current();
  return {char_width_ * page.columns(), (line_height_ + 1) * page.rows()};
}

void TerminalWin::refresh() {
  CharPage& page = screen_.current();
  const CharPage::Changes changes = page.take_changes();
  if (changes.whole) {
    update();
    return;
  }
  for (int r = 0; r < page.rows(); ++r) {
    if (changes.first[r] < 0) continue;
    update(changes.first[r] * char_width_, r * (line_height_ + 1),
           (changes.last[r] - changes.first[r] + 1) * char_width_, line_height_ + 1);
  }
}

bool TerminalWin::event(QEvent* e) {
  if (e->type() == vestra::events::CommandEvent::type()) {
    auto* command = static_cast<vestra::events::CommandEvent*>(e);
    if (auto it = handlers_.find(command->command_id()); it != handlers_.end() && it->second)
      it->second();
    return true;
  }
  return QWidget::event(e);
}

void TerminalWin::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QColor background = palette().color(QPalette::Base);
  const QColor text = palette().color(QPalette::Text);
  p.fillRect(e->rect(), background);
  p.setFont(font_);
  p.setPen(text);
  const CharPage& page = screen_.current();
  const int row_height = line_height_ + 1;
  for (int r = 0; r < page.rows(); ++r) {
    const QRect row_rect(0, r * row_height, page.columns() * char_width_, row_height);
    if (!row_rect.intersects(e->rect())) continue;
    const std::string row = page.row_text(r);
    // One cell at a time keeps every character on its cell whatever the
    // font's own advance is.
    for (int c = 0; c < page.columns(); ++c) {
      const unsigned char ch = static_cast<unsigned char>(row[c]);
      if (ch == ' ') continue;
      p.drawText(QRect(c * char_width_, r * row_height, char_width_, row_height),
                 Qt::AlignLeft | Qt::AlignVCenter, QString(QChar(ch < 0x20 ? '?' : ch)));
    }
  }
  if (hasFocus()) {
    p.fillRect(page.cursor_column() * char_width_, page.cursor_row() * row_height, char_width_,
               row_height, QColor(0, 0, 0, 96));
  }
}

void TerminalWin::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (close_handler_) close_handler_();
}

void TerminalWin::keyPressEvent(QKeyEvent* e) {
  if (!send_byte_) return;
  const QString text = e->text();
  if (text.isEmpty()) {
    QWidget::keyPressEvent(e);
    return;
  }
  const QByteArray bytes = text.toLocal8Bit();
  for (char c : bytes)
    send_byte_(static_cast<unsigned char>(c));
}

}  // namespace veslink
