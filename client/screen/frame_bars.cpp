// Toolbar, status bar panes and the menu-bar switch of the main window.
#include "client/screen/frame_bars.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace veslink {

namespace {
struct Button {
  int id;  // 0: a separator
  const char* tip;
  QStyle::StandardPixmap icon;  // QStyle::SP_CustomBase: text only
};

// The toolbar's buttons in order, with their tool tips.
constexpr Button kButtons[] = {
    {57635, "Cut", QStyle::SP_CustomBase},
    {57634, "Copy", QStyle::SP_CustomBase},
    {57637, "Paste", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32782, "Help", QStyle::SP_DialogHelpButton},
    {0, nullptr, QStyle::SP_CustomBase},
    {32842, "Calculator", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32808, "Export Columns", QStyle::SP_CustomBase},
    {32870, "Data Grid Report", QStyle::SP_FileDialogDetailedView},
    {102, "Print Reports", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32772, "Hot Key Menu", QStyle::SP_CustomBase},
    {32789, "Shortcut Menu", QStyle::SP_CustomBase},
    {32849, "Favourites", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32825, "Go To Start", QStyle::SP_MediaSkipBackward},
    {32777, "Previous Item", QStyle::SP_ArrowUp},
    {32776, "Next Item", QStyle::SP_ArrowDown},
    {32826, "Go To End", QStyle::SP_MediaSkipForward},
    {0, nullptr, QStyle::SP_CustomBase},
    {32778, "Enter", QStyle::SP_DialogApplyButton},
    {0, nullptr, QStyle::SP_CustomBase},
    {32774, "OK/Finish", QStyle::SP_DialogOkButton},
    {32773, "Cancel", QStyle::SP_DialogCancelButton},
    {0, nullptr, QStyle::SP_CustomBase},
    {32862, "Quick Links Administration", QStyle::SP_CustomBase},
    {32864, "Quick Links", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32855, "Back", QStyle::SP_ArrowBack},
    {32858, "Forward", QStyle::SP_ArrowForward},
    {32857, "Stop", QStyle::SP_BrowserStop},
    {32856, "Refresh", QStyle::SP_BrowserReload},
    {32854, "Home", QStyle::SP_DirHomeIcon},
    {32859, "Show Browser Window", QStyle::SP_CustomBase},
    {32860, "Show (Restore) Application Windows", QStyle::SP_CustomBase},
    {0, nullptr, QStyle::SP_CustomBase},
    {32866, "New Session", QStyle::SP_FileDialogNewFolder},
};

// The themes' names for the edit buttons, which the style has no pixmap for.
const char* theme_icon(int id) {
  switch (id) {
    case 57635:
      return "edit-cut";
    case 57634:
      return "edit-copy";
    case 57637:
      return "edit-paste";
    case 102:
      return "document-print";
    case 32842:
      return "accessories-calculator";
    default:
      return nullptr;
  }
}

// The bars are shown only on screens tall enough to spare them.
bool tall_screen() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return !s || s->geometry().height() >= 480;
}
}  // namespace

FrameBars::FrameBars(QMainWindow& main, bool mail_pane, Commands commands)
    : main_(main), commands_(std::move(commands)) {
  build_toolbar();
  build_status_bar(mail_pane);
  idle_.setInterval(500);
  connect(&idle_, &QTimer::timeout, this, [this] {
    if (main_.isVisible()) refresh_enabled();
  });
  idle_.start();
}

void FrameBars::build_toolbar() {
  toolbar_ = new QToolBar(QStringLiteral("Toolbar"), &main_);
  toolbar_->setObjectName("toolbar 129");
  toolbar_->setMovable(false);
  toolbar_->setAllowedAreas(Qt::TopToolBarArea);
  toolbar_->setIconSize(QSize(16, 16));
  QStyle* style = main_.style();
  for (const Button& b : kButtons) {
    if (b.id == 0) {
      toolbar_->addSeparator();
      continue;
    }
    QIcon icon;
    if (const char* name = theme_icon(b.id)) icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (icon.isNull() && b.icon != QStyle::SP_CustomBase) icon = style->standardIcon(b.icon);
    QAction* a = icon.isNull() ? toolbar_->addAction(QString::fromLatin1(b.tip))
                               : toolbar_->addAction(icon, QString::fromLatin1(b.tip));
    a->setToolTip(QString::fromLatin1(b.tip));
    a->setData(b.id);
    a->setObjectName(QString::number(b.id));
    connect(a, &QAction::triggered, this, [this, id = b.id] {
      if (commands_.enabled && !commands_.enabled(id)) return;
      if (commands_.run) commands_.run(id);
    });
  }
  main_.addToolBar(Qt::TopToolBarArea, toolbar_);
  toolbar_->setVisible(tall_screen());
  refresh_enabled();
}

void FrameBars::refresh_enabled() {
  if (!toolbar_) return;
  for (QAction* a : toolbar_->actions()) {
    if (a->isSeparator()) continue;
    a->setEnabled(commands_.enabled && commands_.enabled(a->data().toInt()));
  }
}

void FrameBars::build_status_bar(bool mail_pane) {
  QStatusBar* bar = main_.statusBar();
  bar->setObjectName("status bar");
  auto add = [&](int id, const char* width_text, bool stretch) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("pane %1").arg(id));
    if (stretch) {
      label->setText(QStringLiteral(" "));  // the idle text
      bar->addWidget(label, 1);
    } else {
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(width_text) + 6);
      bar->addPermanentWidget(label);
    }
    panes_[id] = label;
  };
  add(frame_pane::kMessage, "", true);
  add(frame_pane::kUser, "WWWWWWWW", false);
  add(frame_pane::kConnection, "WWWWWWWWWWWW", false);
  add(frame_pane::k103, "WWW", false);
  add(frame_pane::k104, "WWW", false);
  if (mail_pane) add(frame_pane::kMail, "MAIL", false);
  bar->setVisible(tall_screen());
}

QStatusBar* FrameBars::status_bar() const {
  return main_.statusBar();
}

QLabel* FrameBars::pane(int id) const {
  auto it = panes_.find(id);
  return it == panes_.end() ? nullptr : it->second.data();
}

void FrameBars::set_menu_bar_shown(bool shown) {
  if (shown == menu_bar_shown_) return;
  menu_bar_shown_ = shown;
  main_.menuBar()->setVisible(shown);
  if (!main_.isVisible()) return;
  if (shown) {
    if (main_.windowFlags() & Qt::FramelessWindowHint) {
      const Qt::WindowStates state = main_.windowState();
      main_.setWindowFlag(Qt::FramelessWindowHint, false);
      main_.setWindowState(state);
      main_.show();
    }
  } else if (main_.isMaximized()) {
    // A maximised window without its menu bar loses caption and border: the
    // host's application fills the screen.
    main_.setWindowFlag(Qt::FramelessWindowHint, true);
    main_.showMaximized();
  }
}

void FrameBars::apply(const FrameTexts& t) {
  auto set = [this](int id, const std::string& text) {
    if (QLabel* l = pane(id)) l->setText(QString::fromLocal8Bit(text.c_str()));
  };
  set(frame_pane::k103, t.pane_103);
  set(frame_pane::k104, t.pane_104);
  set(frame_pane::kUser, t.pane_106);
  set(frame_pane::kMail, t.mail_mark ? "MAIL" : "");
  if (QLabel* message = pane(frame_pane::kMessage)) {
    message->setText(t.status_message.empty() ? QStringLiteral(" ")
                                              : QString::fromLocal8Bit(t.status_message.c_str()));
    if (t.status_raised != message_raised_) {
      message_raised_ = t.status_raised;
      message->setFrameStyle(t.status_raised ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
      message->repaint();
    }
  }
  if (toolbar_) toolbar_->setVisible(t.toolbar_shown);
  status_bar()->setVisible(t.status_bar_shown);
  set_menu_bar_shown(t.menu_bar_shown);
  refresh_enabled();
}

}  // namespace veslink
