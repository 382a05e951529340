// Client start-up in its two phases, in the order the rest of the client
// relies on (settings before any window, the terminal window before Connect),
// and the application's connection commands.
#include "client/app/client_app.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <cstdlib>

#include "client/app/ini_lookup.h"
#include "client/app/main_frame.h"
#include "client/app/startup_rules.h"
#include "client/connection/comm_dialog.h"
#include "client/connection/connection_dialogs.h"
#include "client/connection/connection_manager.h"
#include "client/connection/login_dialog.h"
#include "client/navigation/navigation_commands.h"
#include "client/prefs/fonts.h"
#include "client/protocol/host_commands.h"
#include "client/protocol/host_data_in.h"
#include "client/protocol/interpreter.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_layer.h"
#include "client/screen/key_wait.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/root_window.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"
#include "client/services/dde_service.h"
#include "client/services/service_commands.h"
#include "client/services/slave_print_job.h"
#include "client/settings/client_texts.h"
#include "client/settings/settings_registry.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/terminal_win.h"
#include "platform/events/posted_events.h"
#include "platform/messages/message_box.h"
#include "resources/command_ids.h"

namespace veslink {

namespace ids = vestra::ids;

namespace {
std::int64_t now_ms() {
  return QDateTime::currentMSecsSinceEpoch();
}

// The Edit menu's commands (the framework's standard ids).
// The event a close request becomes for the host application (as F8).
constexpr std::int16_t kCloseRequestCode = -27;
constexpr int kEditUndo = 57643;
constexpr int kEditCut = 57635;
constexpr int kEditCopy = 57634;
constexpr int kCopyField = 32853;
constexpr int kEditPaste = 57637;
}  // namespace

ClientApp::ClientApp(vestra::registry::Registry& reg, std::vector<std::string> words)
    : reg_(reg), words_(std::move(words)), update_hooks_(default_update_hooks()) {
  if (words_.empty()) words_.push_back(std::string());
}

ClientApp::~ClientApp() {
  release_screen_ui();
  unwire_interpreter();
  connection_.reset();
  delete root_window_.data();
  main_frame_.reset();  // owns the terminal window through the work area
}

TerminalWin* ClientApp::terminal_window() const {
  return terminal_.data();
}

void ClientApp::set_new_session_launcher(NewSessionCommand::Launcher launcher) {
  new_session_ = NewSessionCommand(std::move(launcher));
}

bool ClientApp::init_instance() {
  // The framework's profile data (the toolbar state) is kept by the main frame
  // under HKEY_CURRENT_USER\Software\VESTRA in our own registry.
  QCoreApplication::setApplicationName("veslink");

  const QScreen* screen = QGuiApplication::primaryScreen();
  set_default_fonts(settings_, screen ? screen->geometry().width() : 1024);
  read_settings(settings_, reg_);
  cell_metrics() = compute_cell_metrics(settings_.normal_font, settings_.fixed_font);

  main_frame_ = std::make_unique<CMainFrame>();
  main_frame_->set_user_message_handler(ids::WM_USER_CLIENT_INIT,
                                        [this] { on_client_init_message(); });
  main_frame_->set_close_handler([this] { return main_close_requested(); });
  build_menus();
  // The main window stays hidden until the first login dialog ends.
  vestra::events::post_user_message(main_frame_.get(), ids::WM_USER_CLIENT_INIT);
  return true;
}

void ClientApp::on_client_init_message() {
  client_init();
}

void ClientApp::exit_process(int code) {
  state_.exiting = true;
  emit exitRequested(code);
  if (exit_handler_) {
    exit_handler_(code);
  } else {
    QCoreApplication::exit(code);
  }
}

void ClientApp::fail_start(const char* text) {
  vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning);
  exit_process(1);
}

void ClientApp::client_init() {
  state_.program_path = words_[0];
  state_.program_directory = program_directory(state_.program_path);

  state_.update_outcome = check_for_update(state_.program_path, reg_, update_hooks_);

  if (!state_.program_directory.empty()) {
    const char* path = std::getenv("PATH");
    const std::string extended = extended_path(path ? path : "", state_.program_directory);
    ::setenv("PATH", extended.c_str(), 1);
  }
  state_.utility_base_directory = "../";

  if (!init_interpreter()) return exit_process(1);

  const StartChoice choice = classify_command_line(words_);
  if (choice.mode == StartMode::AutoLogin) {
    state_.autologin = load_stored_login(settings_, reg_);
    state_.close_when_disconnected = state_.autologin;
  } else {
    const IniLookup ini =
        read_ini_file(settings_, choice.ini_name, choice.mode == StartMode::ExplicitIni);
    state_.ini_path = ini.ini_path;
    state_.ini_read = ini.ini_read;
  }

  state_.connection_title = connection_title(settings_);
  if (is_tcp_interface(settings_.interface_code) && !settings_.current_host.empty())
    add_to_host_list(settings_, settings_.current_host, reg_);

  state_.serial_events = std::make_unique<SerialEvents>();

  root_window_ = new RootDisplayWindow();
  if (!root_window_) return fail_start("ERROR: Could not initialise display interface!");
  root_window_->hide();

  terminal_ = new TerminalWin(QString::fromLatin1(ids::IDS_TERMINAL_MODE), char_screen());
  if (!terminal_) return fail_start("ERROR: Could not create terminal window!");
  terminal_frame_ = main_frame_->add_work_window(terminal_);
  terminal_->set_terminal_font(make_font(settings_.fixed_font), cell_metrics().terminal_char_width,
                               cell_metrics().terminal_line_height);
  terminal_->set_command_handler(ids::ID_CONNECT, [this] { connect_command(); });
  TerminalWin::Hooks hooks;
  hooks.send_byte = [](unsigned char b) { return interpreter().send_to_host(b); };
  hooks.connected = [this] { return connection_ && connection_->connected(); };
  hooks.gui_mode = [this] { return host_screen_active(); };
  hooks.close_main = [this] {
    QMetaObject::invokeMethod(main_frame_.get(), &QWidget::close, Qt::QueuedConnection);
  };
  hooks.selection_mode = [this](bool on) {
    if (!on) main_frame_->setWindowTitle(QString::fromLocal8Bit(state_.connection_title.c_str()));
  };
  terminal_->set_hooks(std::move(hooks));
  create_screen_ui();

  if (!create_connection()) return;
  wire_interpreter();

  if (!register_dde_service("veslink_dde", state_.dde_error))
    std::fprintf(stderr, "veslink: DDE service not available: %s\n", state_.dde_error.c_str());

  vestra::events::post_command(terminal_, ids::ID_CONNECT);
  emit startupFinished();
}

bool ClientApp::create_connection() {
  ConnectionUi ui;
  ui.host_data_in = [](const std::uint8_t* data, std::size_t n) { host_data_in(data, n); };
  ui.refresh_terminal = [this] {
    if (terminal_ && !host_screen_active()) terminal_->refresh();
  };
  ui.post_connect = [this] {
    if (terminal_) vestra::events::post_command(terminal_, ids::ID_CONNECT);
  };
  ui.post_main_close = [this] {
    QMetaObject::invokeMethod(main_frame_.get(), &QWidget::close, Qt::QueuedConnection);
  };
  ui.session_closed = [this] {
    interpreter().session_closed();
    if (terminal_) terminal_->set_enhanced_mode(false);
  };
  ui.show_caret = [this](bool on) {
    if (terminal_) terminal_->set_caret_enabled(on);
  };
  ui.exit_process = [this](int code) { exit_process(code); };
  ui.ask_passphrase = [this] { return ask_certificate_passphrase(main_frame_.get()); };
  ui.run_modem_dialer = [this] {
    ModemDialer dialer(
        main_frame_.get(), settings_.phone_number, settings_.modem_init,
        [this](std::string_view text) { return connection_->host_send_text(text); },
        [this] { return connection_->serial().carrier(); });
    QObject::connect(&connection_->serial(), &SerialTransport::dataArrived, &dialer,
                     [&dialer] { dialer.line_event(false); });
    connection_->state().dialling = true;
    dialer.exec();
    connection_->state().dialling = false;
    return dialer.answered();
  };
  ui.owner = main_frame_.get();
  try {
    connection_ =
        std::make_unique<ConnectionManager>(settings_, reg_, char_screen(), std::move(ui));
  } catch (const std::bad_alloc&) {
    // Without its buffers the client cannot talk to any host.
    vestra::messages::show_notice(kClientCaption, "Out of memory!",
                                  vestra::messages::Icon::Warning);
    exit_process(1);
    return false;
  }
  connection_->state().close_when_disconnected = state_.close_when_disconnected;
  connection_->state().connection_title = state_.connection_title;
  // Typed bytes go the interpreter's way to the host, so the session trace
  // sees them.
  terminal_->set_byte_sender([](unsigned char b) { return interpreter().send_to_host(b); });
  return true;
}

bool ClientApp::host_screen_active() const {
  return interpreter().gui_mode;
}

void ClientApp::show_terminal_mode() {
  if (terminal_) terminal_->show_terminal();
}

void ClientApp::connect_command() {
  ConnectionState& cs = connection_->state();
  if (cs.connect_pending) return;
  cs.connect_pending = true;
  ++state_.connect_commands;

  if (is_tcp_interface(settings_.interface_code) && settings_.current_host.empty() &&
      settings_.default_host.empty() && settings_.host_list.empty()) {
    CommDialog comm({settings_, *connection_, state_.ini_path, state_.ini_read,
                     [this] { return write_comm_settings(settings_, reg_); }, nullptr},
                    main_frame_.get());
    if (comm.exec() != QDialog::Accepted) {
      cs.connect_pending = false;
      QMetaObject::invokeMethod(main_frame_.get(), &QWidget::close, Qt::QueuedConnection);
      return;
    }
  }

  main_frame_->hide_main_window();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int usable_width = screen ? screen->availableGeometry().width() : 1024;
  LoginDialog::Context context{settings_,
                               login_,
                               *connection_,
                               state_.program_directory,
                               [this] { main_frame_->first_show(); },
                               [this] {
                                 QMetaObject::invokeMethod(main_frame_.get(), &QWidget::close,
                                                           Qt::QueuedConnection);
                               },
                               [](const std::string&) {},
                               [this] { return write_def_username(settings_, reg_); }};
  int result;
  {
    LoginDialog dialog(std::move(context), LoginDialog::form_for(usable_width, state_.autologin),
                       main_frame_.get());
    state_.product_name = dialog.product_name();
    result = dialog.exec();
  }
  state_.autologin = false;  // the stored login serves one login only
  state_.last_login_result = result;
  cs.connect_pending = false;
  if (connection_->connected() && cs.connected == -1) cs.connected = 1;
  state_.connection_title =
      cs.connection_title.empty() ? state_.connection_title : cs.connection_title;
  main_frame_->setWindowTitle(QString::fromLocal8Bit(state_.connection_title.c_str()));
  if (result != login_ids::kExit) {
    if (!host_screen_active()) show_terminal_mode();
    main_frame_->first_show();
  } else if (!state_.exiting) {
    // Exit during a connection attempt leaves the client open, unconnected.
    main_frame_->first_show();
  }
}

bool ClientApp::main_close_requested() {
  if (!state_.exiting && connection_ && connection_->connected()) {
    connection_->state().close_when_disconnected = true;
    if (state_.first_close) {
      state_.first_close = false;
      if (host_screen_active()) {
        // A running input wait takes the close as F8's code: the host
        // application ends itself and then closes the connection.
        KeyQueue& keys = screen_model().keys;
        if (keys.mode() & wait_mode::kWindowClicks) {
          keys.push(kCloseRequestCode);
          return false;
        }
      } else {
        // At a shell prompt this logs out; the host then closes the connection
        // and the client ends.
        terminal_close_requested();
        return false;
      }
    }
    const bool ask =
        settings_.confirm_close && (host_screen_active() || terminal_->enhanced_mode());
    if (ask) {
      vestra::messages::Request r;
      r.owner = main_frame_.get();
      r.caption = kClientCaption;
      r.text = "You should log out before you exit the Thin Client!\nReally Exit?";
      r.icon = vestra::messages::Icon::Question;
      r.buttons = vestra::messages::Buttons::YesNo;
      r.preselected = vestra::messages::Answer::No;
      if (vestra::messages::show_message(r) != vestra::messages::Answer::Yes) return false;
    }
  }
  main_frame_->hide_main_window();
  if (!state_.exiting && connection_ && connection_->connected()) connection_->close_connection();
  if (!state_.exiting) exit_process(0);
  return true;
}

void ClientApp::terminal_close_requested() {
  // WM_CLOSE to the terminal window: it refuses in GUI mode, logs a shell
  // out, asks an enhanced-mode program to end, or closes an idle client.
  if (terminal_) terminal_->request_close();
}

void ClientApp::build_menus() {
  auto connected = [this] { return connection_ && connection_->connected(); };
  auto gui = [this] { return host_screen_active(); };
  main_frame_->add_menu(
      "&File", {{ids::ID_CONNECT, "&Connect",
                 [this] {
                   if (terminal_) vestra::events::post_command(terminal_, ids::ID_CONNECT);
                 },
                 [connected] { return !connected(); }},
                {ids::ID_DISCONNECT, "&Disconnect", [this] { disconnect_command(); }, connected},
                {ids::ID_NEW_SESSION, "New Session", [this] { new_session(now_ms()); },
                 [this] { return new_session_enabled(now_ms()); }},
                {0, {}, {}, {}},
                {ids::ID_EXIT, "E&xit", [this] { main_frame_->close(); }, [] { return true; }}});
  // Outside GUI mode Copy and Paste are the terminal window's; in GUI mode
  // the Edit commands act on the edit being input, and Copy Field arms the
  // next click on a field, while the current host window can be seen.
  auto window_up = [this] {
    if (!host_screen_active()) return false;
    ScreenWindow* w = screen_model().current_window();
    return w && w->has_native() && !w->hidden();
  };
  auto copy_enabled = [this, window_up] { return !host_screen_active() || window_up(); };
  using Edit = QtFieldUi::EditCommand;
  // `command` on the edit being input in GUI mode, else the terminal's own.
  auto edit = [this](Edit command, void (TerminalWin::*in_terminal)()) {
    return [this, command, in_terminal] {
      if (host_screen_active()) {
        if (field_ui_) field_ui_->edit_command(command);
      } else if (terminal_ && in_terminal) {
        (terminal_->*in_terminal)();
      }
    };
  };
  main_frame_->add_menu(
      "&Edit",
      {{kEditUndo, "&Undo\tCtrl+Z", edit(Edit::Undo, nullptr),
        [this] { return host_screen_active() && field_ui_ && field_ui_->edit_input_running(); }},
       {0, {}, {}, {}},
       {kEditCut, "Cu&t\tCtrl+X", edit(Edit::Cut, nullptr), window_up},
       {kEditCopy, "&Copy\tCtrl+C", edit(Edit::Copy, &TerminalWin::start_selection), copy_enabled},
       {kCopyField, "Copy &Field",
        [this] {
          if (field_ui_ && host_screen_active()) field_ui_->arm_copy_field();
        },
        window_up},
       {kEditPaste, "&Paste\tCtrl+V", edit(Edit::Paste, &TerminalWin::paste), copy_enabled}});
  main_frame_->add_menu("&Settings", {{ids::ID_COMMUNICATIONS, "C&ommunications",
                                       [this] { communications_command(); }, [] { return true; }}});
  main_frame_->add_menu(
      "&Host",
      {{ids::ID_RESEQUENCE, "Rese&quence Server", [this] { resequence_server_command(); }, gui},
       {ids::ID_SEND_INTERRUPT, "Send &Interrupt", [this] { send_interrupt_command(); }, gui},
       {ids::ID_SEND_BREAK, "Send &Break", {}, [] { return false; }},
       {ids::ID_CLEAR_SCREEN, "C&lear Screen", {}, [] { return false; }}});
}

void ClientApp::disconnect_command() {
  if (!connection_ || !connection_->connected()) return;
  if (settings_.confirm_close && (terminal_->enhanced_mode() || host_screen_active())) {
    vestra::messages::Request r;
    r.caption = kClientCaption;
    r.text = "You should log out before you disconnect!\nReally disconnect?";
    r.icon = vestra::messages::Icon::Question;
    r.buttons = vestra::messages::Buttons::YesNo;
    r.preselected = vestra::messages::Answer::No;
    if (vestra::messages::show_message(r) != vestra::messages::Answer::Yes) return;
  }
  connection_->close_connection();
}

void ClientApp::communications_command() {
  CommDialog comm({settings_, *connection_, state_.ini_path, state_.ini_read,
                   [this] { return write_comm_settings(settings_, reg_); },
                   [this] {
                     if (terminal_) vestra::events::post_command(terminal_, ids::ID_CONNECT);
                   }},
                  main_frame_.get());
  comm.exec();
}

void ClientApp::resequence_server_command() {
  resequence_server(interpreter());
}

void ClientApp::send_interrupt_command() {
  send_interrupt(interpreter());
}

namespace {
// The input requests are WM_USER + 0 to WM_USER + 4, one per kind.
constexpr int kLastInputRequestMessage = static_cast<int>(InputRequest::Kind::ButtonChoice);
}  // namespace

void ClientApp::create_screen_ui() {
  QtScreenHooks h;
  h.first_show = [this] { main_frame_->first_show(); };
  h.terminal_visible = [this] { return terminal_frame_ && terminal_frame_->isVisible(); };
  h.hide_terminal = [this] {
    if (terminal_) terminal_->hide_terminal();
  };
  h.focus_terminal = [this] {
    if (terminal_) terminal_->setFocus();
  };
  h.recompute_cell_metrics = [this] {
    cell_metrics() = compute_cell_metrics(settings_.normal_font, settings_.fixed_font);
  };
  h.program_directory = [this] { return state_.program_directory; };
  h.host = [this] { return settings_.current_host; };
  h.commands = {[this](int id) { return main_frame_->command_enabled(id); },
                [this](int id) { main_frame_->run_command(id); }};
  h.mail_pane = settings_.mail_notify;
  screen_ui_ = std::make_unique<QtScreenUi>(screen_model(), *main_frame_, *main_frame_->work_area(),
                                            reg_, std::move(h));
  screen_model().set_registry(&reg_);
  screen_model().set_ui(screen_ui_.get());

  // The fields' controls, and the input waits: each request is a private
  // message posted to the terminal window, and runs as a nested event loop
  // that ends when the user's key, click or choice reaches the key queue.
  QtFieldHooks fh;
  fh.screen_font = [this] { return make_font(settings_.normal_font); };
  fh.terminal_font = [this] { return make_font(settings_.fixed_font); };
  fh.main_window = [this] { return static_cast<QWidget*>(main_frame_.get()); };
  field_ui_ = std::make_unique<QtFieldUi>(screen_model().fields(), std::move(fh));
  FieldLayer& fields = screen_model().fields();
  fields.set_ui(field_ui_.get());
  fields.wait_for_events = [] { return wait_for_key_event(screen_model().keys); };
  // Without a terminal window the layer runs each request at once.
  if (terminal_) {
    fields.post_request = [this](int message) {
      if (terminal_) vestra::events::post_user_message(terminal_, message);
    };
    for (int message = 0; message <= kLastInputRequestMessage; ++message)
      terminal_->set_user_message_handler(message, [] { screen_model().fields().run_requests(); });
  }
}

void ClientApp::release_screen_ui() {
  if (!screen_ui_) return;
  // The host windows go while their widgets still can.
  interpreter().programs.clear();
  screen_model().destroy_caret();
  FieldLayer& fields = screen_model().fields();
  fields.cancel_requests();
  fields.post_request = nullptr;
  fields.wait_for_events = nullptr;
  fields.set_ui(nullptr);
  field_ui_.reset();
  screen_model().set_ui(nullptr);
  screen_model().set_registry(nullptr);
  screen_ui_.reset();
}

void ClientApp::wire_interpreter() {
  Interpreter& in = interpreter();
  InterpreterUi& ui = in.ui;
  ui.send_byte = [this](std::uint8_t b) { return connection_ && connection_->host_send_byte(b); };
  ui.bell = [] { QApplication::beep(); };
  ui.refresh = [this] {
    if (terminal_ && !host_screen_active()) terminal_->refresh();
  };
  ui.columns_changed = [this](int) {
    if (terminal_) terminal_->columns_changed();
  };
  ui.cursor_visible = [this](bool on) {
    if (terminal_) terminal_->set_cursor_visible(on);
  };
  ui.enhanced_mode = [this](bool on) {
    if (terminal_) terminal_->set_enhanced_mode(on);
  };
  ui.gui_mode_entered = [this] {
    if (screen_ui_) screen_ui_->rebuild_title();
    // The terminal window gives way when host windows share the work area.
    if (terminal_ && main_frame_->work_area()->subWindowList().size() > 1)
      terminal_->hide_terminal();
  };
  ui.gui_mode_left = [this] {
    screen_model().gui_mode_left();
    show_terminal_mode();
    main_frame_->setWindowTitle(QString::fromLocal8Bit(state_.connection_title.c_str()));
  };
  ui.empty_key_queue = [] { screen_model().keys.clear(); };
  // Input requests are private messages posted to the terminal window; a
  // wait that runs ends with the abandoned code.
  ui.cancel_input_requests = [this] {
    screen_model().fields().cancel_requests();
    if (terminal_)
      QCoreApplication::removePostedEvents(terminal_, vestra::events::UserMessageEvent::type());
  };
  ui.tcp_transport = [this] { return is_tcp_interface(settings_.interface_code); };
  ui.local_address = [this] {
    const int fd = connection_ ? connection_->socket_fd() : -1;
    sockaddr_in own{};
    socklen_t length = sizeof own;
    if (fd < 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&own), &length) != 0 ||
        own.sin_family != AF_INET)
      return std::string();
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &own.sin_addr, text, sizeof text);
    return std::string(text);
  };
  ui.mail_notify = [this] { return settings_.mail_notify; };
  ui.fatal = [this] {
    if (connection_ && connection_->connected()) connection_->close_connection();
    exit_process(1);
  };
  screen_commands::install(in.routes);
  service_commands::install(in.routes);
  navigation_commands::install(in.routes);
  print_job_ = std::make_unique<SlavePrintJob>(settings_);
  in.printing.set_sink(print_job_.get());
}

void ClientApp::unwire_interpreter() {
  // The interpreter outlives this object: nothing of it may call back here.
  Interpreter& in = interpreter();
  in.ui = InterpreterUi{};
  in.printing.set_sink(nullptr);
  print_job_.reset();
}

bool ClientApp::new_session_enabled(std::int64_t now) const {
  return new_session_.enabled(connection_ && connection_->connected(), settings_.interface_code,
                              now);
}

void ClientApp::new_session(std::int64_t now) {
  if (!new_session_enabled(now)) return;
  new_session_.run(login_, settings_.current_host, settings_.interface_code, reg_, now);
}

}  // namespace veslink
