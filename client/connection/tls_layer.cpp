// OpenSSL behind the secure transport.
#include "client/connection/tls_layer.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstring>

namespace veslink {

namespace {

// The SSL log is a BIO of our own that looks like the library's file BIO
// ("FILE pointer", type 0x402) but writes onto the terminal screen.
int log_write(BIO* bio, const char* data, int size) {
  auto* sink = static_cast<TlsLayer::TextSink*>(BIO_get_data(bio));
  if (sink && size > 0) (*sink)(std::string_view(data, static_cast<std::size_t>(size)));
  return size;
}
int log_puts(BIO* bio, const char* text) {
  return log_write(bio, text, static_cast<int>(std::strlen(text)));
}
long log_ctrl(BIO*, int cmd, long, void*) {
  return cmd == BIO_CTRL_FLUSH ? 1 : 0;
}
int log_create(BIO* bio) {
  BIO_set_init(bio, 1);
  return 1;
}

BIO_METHOD* log_method() {
  static BIO_METHOD* method = [] {
    BIO_METHOD* m = BIO_meth_new(BIO_TYPE_FILE, "FILE pointer");
    BIO_meth_set_write(m, log_write);
    BIO_meth_set_puts(m, log_puts);
    BIO_meth_set_ctrl(m, log_ctrl);
    BIO_meth_set_create(m, log_create);
    return m;
  }();
  return method;
}

std::string one_line(X509_NAME* name) {
  char* text = X509_NAME_oneline(name, nullptr, 0);
  if (!text) return std::string();
  std::string out(text);
  OPENSSL_free(text);
  return out;
}

constexpr int kAlertUnknownCa = 48;

}  // namespace

TlsLayer::TlsLayer(TextSink screen, PassphrasePrompt prompt)
    : screen_(std::move(screen)), prompt_(std::move(prompt)) {}

TlsLayer::~TlsLayer() {
  free_connection();
  if (ctx_) SSL_CTX_free(ctx_);
  if (log_) BIO_free(log_);
}

void TlsLayer::set_files(const std::string& cert_file, const std::string& key_file) {
  cert_file_ = cert_file;
  if (!key_file.empty()) key_file_ = key_file;
}

void TlsLayer::free_connection() {
  if (ssl_) SSL_free(ssl_);
  ssl_ = nullptr;
  active_ = false;
}

void TlsLayer::print_errors() {
  if (log_) ERR_print_errors(log_);
}

bool TlsLayer::init() {
  if (!log_) {
    log_ = BIO_new(log_method());
    BIO_set_data(log_, &screen_);
  }
  OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);

  free_connection();
  handshake_error_ = 0;
  last_fatal_alert_ = 0;
  if (ctx_) SSL_CTX_free(ctx_);
  ctx_ = SSL_CTX_new(TLS_client_method());
  if (!ctx_) {
    print_errors();
    return false;
  }
  SSL_CTX_set_options(ctx_, SSL_OP_ALL);
  ssl_ = SSL_new(ctx_);
  if (!ssl_) {
    print_errors();
    return false;
  }
  SSL_set_app_data(ssl_, this);
  SSL_set_verify(ssl_, SSL_VERIFY_NONE, nullptr);
  // Reads and writes go through the output ring, whose free space moves.
  SSL_set_mode(ssl_, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER | SSL_MODE_ENABLE_PARTIAL_WRITE);

  if (!cert_file_.empty()) {
    // The connection object took its copy of the context's callback when it
    // was made, so the pass-phrase callback is given to it directly.
    SSL_set_default_passwd_cb(ssl_, passphrase_callback);
    SSL_set_default_passwd_cb_userdata(ssl_, this);
    if (SSL_use_certificate_file(ssl_, cert_file_.c_str(), SSL_FILETYPE_PEM) <= 0) {
      BIO_printf(log_, "Error loading %s: ", cert_file_.c_str());
      print_errors();
      BIO_puts(log_, "\r\n");
      return false;
    }
    if (key_file_.empty()) key_file_ = cert_file_;
    phrase_answer_.reset();
    const int key_loaded = SSL_use_PrivateKey_file(ssl_, key_file_.c_str(), SSL_FILETYPE_PEM);
    phrase_answer_.reset();
    if (key_loaded <= 0) {
      BIO_printf(log_, "Error loading %s: ", key_file_.c_str());
      print_errors();
      BIO_puts(log_, "\r\n");
      return false;
    }
  }
  SSL_CTX_set_default_verify_paths(ctx_);
  SSL_set_verify(ssl_, SSL_VERIFY_NONE, verify_callback);
  SSL_set_info_callback(ssl_, info_callback);
  return true;
}

void TlsLayer::attach(int fd) {
  if (ssl_) SSL_set_fd(ssl_, fd);
}

TlsLayer::Step TlsLayer::handshake_step() {
  if (!ssl_) {
    handshake_error_ = 4;
    return Step::Failed;
  }
  ERR_clear_error();
  const int r = SSL_connect(ssl_);
  if (r == 1) {
    write_session_lines();
    active_ = true;
    return Step::Done;
  }
  const int error = SSL_get_error(ssl_, r);
  if (error == SSL_ERROR_WANT_READ) return Step::WantRead;
  if (error == SSL_ERROR_WANT_WRITE) return Step::WantWrite;
  handshake_error_ = last_fatal_alert_ == kAlertUnknownCa ? 5 : 4;
  print_errors();
  screen_("\n\nSSL connection error!\n");
  if (handshake_error_ == 5) screen_("Certificate is not valid.\n");
  abandon();
  return Step::Failed;
}

void TlsLayer::abandon() {
  if (ssl_) SSL_shutdown(ssl_);
  free_connection();
}

long TlsLayer::read(void* buffer, std::size_t size) {
  if (!ssl_ || size == 0) return ssl_ ? 0 : -1;
  const int r = SSL_read(ssl_, buffer, static_cast<int>(size));
  if (r > 0) return r;
  const int error = SSL_get_error(ssl_, r);
  if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) return 0;
  if (error == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  return -1;
}

long TlsLayer::write(const void* data, std::size_t size) {
  if (!ssl_) return -1;
  const int r = SSL_write(ssl_, data, static_cast<int>(size));
  if (r > 0) return r;
  const int error = SSL_get_error(ssl_, r);
  if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) return 0;
  if (error == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS))
    return 0;
  return -1;
}

bool TlsLayer::pending() const {
  return active_ && ssl_ && SSL_pending(ssl_) > 0;
}

void TlsLayer::shutdown() {
  if (active_ && ssl_) SSL_shutdown(ssl_);
  free_connection();
}

std::string TlsLayer::cipher_line(const std::string& joined_names) {
  const std::string head = "[SSL cipher=";
  const std::string tail = "]\r\n";
  const std::size_t room = 1023 - head.size() - tail.size();
  std::string names = joined_names;
  if (names.size() > room) {
    names.resize(room);
    const std::size_t last = names.rfind(':');
    names.resize(last == std::string::npos ? 0 : last);
  }
  return head + names + tail;
}

void TlsLayer::write_session_lines() {
  std::string names;
  for (int i = 0;; ++i) {
    const char* name = SSL_get_cipher_list(ssl_, i);
    if (!name) break;
    if (i > 0) names += ':';
    names += name;
  }
  screen_(cipher_line(names));
  if (X509* peer = SSL_get1_peer_certificate(ssl_)) {
    screen_("[SSL subject=" + one_line(X509_get_subject_name(peer)) + "]\r\n");
    screen_("[SSL issuer=" + one_line(X509_get_issuer_name(peer)) + "]\r\n");
    X509_free(peer);
  }
}

int TlsLayer::passphrase_callback(char* buffer, int size, int, void* user) {
  auto* self = static_cast<TlsLayer*>(user);
  if (!self->phrase_answer_) self->phrase_answer_ = self->prompt_ ? self->prompt_() : std::nullopt;
  const std::optional<std::string>& phrase = *self->phrase_answer_;
  if (!phrase) {
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    return -1;
  }
  const int n =
      static_cast<int>(std::min<std::size_t>(phrase->size(), static_cast<std::size_t>(size)));
  std::memcpy(buffer, phrase->data(), static_cast<std::size_t>(n));
  return n;
}

int TlsLayer::verify_callback(int ok, X509_STORE_CTX* store) {
  SSL* ssl =
      static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  auto* self = ssl ? static_cast<TlsLayer*>(SSL_get_app_data(ssl)) : nullptr;
  X509* cert = X509_STORE_CTX_get_current_cert(store);
  if (!cert || !self) return 0;
  X509_NAME* subject = X509_get_subject_name(cert);
  X509_NAME* issuer = X509_get_issuer_name(cert);
  if (!subject || !issuer) {
    self->print_errors();
    return 0;
  }
  const int error = X509_STORE_CTX_get_error(store);
  if (error == X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT) return 1;
  // "Issuer certificate not found" comes as either code, depending on whether
  // the chain's issuer was looked for among the trusted certificates.
  if (error == X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT ||
      error == X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY) {
    self->screen_("SSL: unknown issuer: " + one_line(issuer) + "\n");
  }
  return ok;
}

void TlsLayer::info_callback(const SSL* ssl, int where, int ret) {
  if (!(where & SSL_CB_READ_ALERT)) return;
  auto* self = static_cast<TlsLayer*>(SSL_get_app_data(ssl));
  // A fatal alert from the server (level 2) tells why the handshake failed.
  if (self && (ret >> 8) == 2) self->last_fatal_alert_ = ret & 0xFF;
}

}  // namespace veslink
