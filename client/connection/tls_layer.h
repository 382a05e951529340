// The secure transport: telnet inside TLS with OpenSSL. A client context per
// connection attempt (the version-flexible method with the bug workarounds),
// an optional client certificate and private key in PEM with a pass-phrase
// prompt, a handshake that can be driven on a non-blocking socket, the
// session lines, encrypted reads and writes, and the shutdown. Library
// errors go to the "SSL log", which writes onto the terminal screen.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;
typedef struct bio_st BIO;
typedef struct x509_store_ctx_st X509_STORE_CTX;

namespace veslink {

class TlsLayer {
 public:
  // Where the SSL log and the session lines are written (the current page of
  // the terminal screen, repainted after each write).
  using TextSink = std::function<void(std::string_view)>;
  // Asks the user for the pass phrase of an encrypted key; nothing on Cancel.
  using PassphrasePrompt = std::function<std::optional<std::string>()>;

  TlsLayer(TextSink screen, PassphrasePrompt prompt);
  ~TlsLayer();
  TlsLayer(const TlsLayer&) = delete;
  TlsLayer& operator=(const TlsLayer&) = delete;

  void set_prompt(PassphrasePrompt prompt) { prompt_ = std::move(prompt); }

  // The certificate and key files in use (empty: none). Without a key file
  // the key is read from the certificate file, and from then on that path is
  // the key path for the rest of the run.
  void set_files(const std::string& cert_file, const std::string& key_file);
  const std::string& key_file() const { return key_file_; }

  // Sets up a new context and connection object; false (after writing the
  // reasons to the SSL log) when the certificate or key cannot be loaded.
  bool init();
  void attach(int fd);

  enum class Step { Done, WantRead, WantWrite, Failed };
  // One non-blocking step of the client handshake. On Failed,
  // handshake_error() is 4, or 5 when the server refused the certificate
  // authority; the connection object is gone.
  Step handshake_step();
  int handshake_error() const { return handshake_error_; }
  // Frees the connection object of an abandoned handshake.
  void abandon();

  bool active() const { return active_; }
  // Decrypted bytes: > 0 read, 0 nothing yet (would block), -1 connection lost.
  long read(void* buffer, std::size_t size);
  // > 0 written, 0 not now (would block), -1 connection lost.
  long write(const void* data, std::size_t size);
  // Decrypted bytes the library still holds.
  bool pending() const;
  // SSL shutdown, free the connection object, clear the active flag.
  void shutdown();

  // Prints the library's error queue into the SSL log.
  void print_errors();
  void log(std::string_view text) { screen_(text); }

  // The session lines after a handshake: "[SSL cipher=...]", subject, issuer.
  void write_session_lines();

  // The cipher line, cut to fit a 1024-byte line at a whole name.
  static std::string cipher_line(const std::string& joined_names);

 private:
  static int passphrase_callback(char* buffer, int size, int rwflag, void* user);
  static int verify_callback(int ok, X509_STORE_CTX* ctx);
  static void info_callback(const SSL* ssl, int where, int ret);
  void free_connection();

  TextSink screen_;
  PassphrasePrompt prompt_;
  // The answer of the pass-phrase dialog while one key is being loaded: the
  // library may call back once per key format it tries, and the user is
  // asked only once. Forgotten when the load ends.
  std::optional<std::optional<std::string>> phrase_answer_;
  std::string cert_file_;
  std::string key_file_;
  BIO* log_ = nullptr;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  bool active_ = false;
  int handshake_error_ = 0;
  int last_fatal_alert_ = 0;
};

}  // namespace veslink
