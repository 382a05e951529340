// SQLite implementation of the registry stand-in. Every change runs in its own
// IMMEDIATE transaction and the database is in WAL mode with a busy time-out, so
// readers in other processes never see half a change and writers queue up
// instead of failing.
#include "platform/registry/registry.h"

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace vestra::registry {

namespace {

constexpr int kBusyTimeoutMs = 15000;

std::int64_t now_micros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

std::string_view hive_file_name(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER.db";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE.db";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT.db";
  }
  return "";
}

int hive_index(Hive hive) {
  return static_cast<int>(hive);
}

// A key path in its stored forms: the folded full path (the lookup key), the
// folded parent path and the last name as the caller spelled it.
struct KeyPath {
  std::vector<std::string> names;
  std::string folded;
  std::string folded_parent;
  std::string last_name;
  bool is_root() const { return names.empty(); }
};

KeyPath make_key_path(std::string_view key) {
  KeyPath kp;
  kp.names = split_key_path(key);
  for (size_t i = 0; i < kp.names.size(); ++i) {
    if (i + 1 == kp.names.size()) kp.folded_parent = kp.folded;
    if (i > 0) kp.folded += '\\';
    kp.folded += fold_name(kp.names[i]);
  }
  if (!kp.names.empty()) kp.last_name = kp.names.back();
  return kp;
}

// One prepared statement, finalised on scope exit. Text goes in as BLOBs so
// that every byte is kept and comparisons are plain byte comparisons.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool prepared() const { return rc_ == SQLITE_OK; }
  int prepare_code() const { return rc_; }

  void bind(int index, std::string_view bytes) {
    // A null pointer would bind NULL; an empty blob must stay an empty blob.
    static const char kEmpty = 0;
    sqlite3_bind_blob(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(),
                      static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  void bind(int index, std::int64_t number) { sqlite3_bind_int64(stmt_, index, number); }

  int step() { return sqlite3_step(stmt_); }

  std::string column_bytes(int index) {
    const void* p = sqlite3_column_blob(stmt_, index);
    int n = sqlite3_column_bytes(stmt_, index);
    return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
  }
  std::int64_t column_int(int index) { return sqlite3_column_int64(stmt_, index); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

}  // namespace

struct Registry::HiveDb {
  Hive hive;
  std::string path;
  sqlite3* db = nullptr;
  bool writable = false;

  ~HiveDb() { sqlite3_close_v2(db); }

  Result fail(std::string_view what) const {
    std::string text = "Registry hive ";
    text += hive_name(hive);
    text += " (" + path + "): ";
    text += what;
    return Result::failure(std::move(text));
  }
  Result fail_sqlite(std::string_view doing) const {
    std::string text(doing);
    text += ": ";
    text += db ? sqlite3_errmsg(db) : "cannot open database";
    return fail(text);
  }

  // Runs SQL that returns no rows we need.
  int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
};

namespace {

// Rolls back on scope exit unless committed, so an early return never leaves a
// transaction (and its lock) open.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) {}
  ~Transaction() {
    if (active_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  int begin(bool write) {
    int rc = sqlite3_exec(db_, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr);
    active_ = rc == SQLITE_OK;
    return rc;
  }
  int commit() {
    int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) active_ = false;
    return rc;
  }

 private:
  sqlite3* db_;
  bool active_ = false;
};

bool key_row_exists(sqlite3* db, const std::string& folded, int& rc) {
  Statement st(db, "SELECT 1 FROM reg_keys WHERE path = ?1");
  if (!st.prepared()) {
    rc = st.prepare_code();
    return false;
  }
  st.bind(1, folded);
  rc = st.step();
  if (rc == SQLITE_ROW) {
    rc = SQLITE_OK;
    return true;
  }
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  return false;
}

int touch_key(sqlite3* db, const std::string& folded, std::int64_t when) {
  Statement st(db, "UPDATE reg_keys SET written = ?2 WHERE path = ?1");
  if (!st.prepared()) return st.prepare_code();
  st.bind(1, folded);
  st.bind(2, when);
  int rc = st.step();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Creates every missing key along the path; a new key also changes its
// parent's last-write time.
int ensure_key(sqlite3* db, const KeyPath& kp, std::int64_t when) {
  std::string folded, parent;
  for (size_t i = 0; i < kp.names.size(); ++i) {
    parent = folded;
    if (i > 0) folded += '\\';
    folded += fold_name(kp.names[i]);
    Statement st(db,
                 "INSERT INTO reg_keys(path, parent, name, written) VALUES(?1, ?2, ?3, ?4) "
                 "ON CONFLICT(path) DO NOTHING");
    if (!st.prepared()) return st.prepare_code();
    st.bind(1, folded);
    st.bind(2, parent);
    st.bind(3, kp.names[i]);
    st.bind(4, when);
    int rc = st.step();
    if (rc != SQLITE_DONE) return rc;
    if (sqlite3_changes(db) > 0) {
      rc = touch_key(db, parent, when);
      if (rc != SQLITE_OK) return rc;
    }
  }
  return SQLITE_OK;
}

std::string subtree_low(const std::string& folded) {
  return folded + '\\';
}
std::string subtree_high(const std::string& folded) {
  return folded + char('\\' + 1);
}

}  // namespace

std::uint32_t Value::dword() const {
  std::uint32_t v = 0;
  for (size_t i = 0; i < 4 && i < data.size(); ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  return v;
}

std::string_view hive_name(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "";
}

std::string_view value_type_name(ValueType type) {
  switch (type) {
    case ValueType::Sz:
      return "REG_SZ";
    case ValueType::ExpandSz:
      return "REG_EXPAND_SZ";
    case ValueType::Dword:
      return "REG_DWORD";
  }
  return "REG_NONE";
}

std::optional<ValueType> parse_value_type(std::string_view text) {
  std::string t = fold_name(text);
  if (t == "reg_sz") return ValueType::Sz;
  if (t == "reg_expand_sz") return ValueType::ExpandSz;
  if (t == "reg_dword") return ValueType::Dword;
  return std::nullopt;
}

std::string dword_bytes(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string fold_name(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::vector<std::string> split_key_path(std::string_view key) {
  std::vector<std::string> names;
  std::string current;
  for (char c : key) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) names.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) names.push_back(std::move(current));
  return names;
}

Locations Locations::single(const std::string& dir) {
  return {dir, dir, dir};
}

Locations Locations::from_environment() {
  if (const char* dir = std::getenv("VESTRA_REGISTRY_DIR"); dir && *dir) return single(dir);
  std::string user_dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    user_dir = std::string(xdg) + "/vestra";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    user_dir = std::string(home) + "/.config/vestra";
  } else {
    user_dir = "/tmp/vestra-" + std::to_string(getuid());
  }
  return {user_dir, "/etc/vestra", user_dir};
}

const std::string& Locations::dir_of(Hive hive) const {
  switch (hive) {
    case Hive::LocalMachine:
      return local_machine_dir;
    case Hive::ClassesRoot:
      return classes_root_dir;
    case Hive::CurrentUser:
      break;
  }
  return current_user_dir;
}

Registry::Registry(Locations locations) : locations_(std::move(locations)) {}
Registry::~Registry() = default;

Registry& Registry::process() {
  static Registry instance(Locations::from_environment());
  return instance;
}

void Registry::set_read_only(Hive hive, bool read_only) {
  std::lock_guard lock(mutex_);
  read_only_[hive_index(hive)] = read_only;
  hives_[hive_index(hive)].reset();
}

std::string Registry::database_path(Hive hive) const {
  return locations_.dir_of(hive) + "/" + std::string(hive_file_name(hive));
}

Result Registry::prepare_schema(HiveDb& h) {
  // Switching to WAL takes a lock the busy handler does not always wait for,
  // so a process starting next to a busy writer retries for a while.
  int rc = SQLITE_BUSY;
  for (int attempt = 0; attempt < 300; ++attempt) {
    rc = h.exec("PRAGMA journal_mode=WAL");
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (rc != SQLITE_OK) return h.fail_sqlite("cannot switch to WAL mode");
  h.exec("PRAGMA synchronous=NORMAL");

  Transaction tx(h.db);
  if (tx.begin(true) != SQLITE_OK) return h.fail_sqlite("cannot prepare the database");
  const char* schema =
      "CREATE TABLE IF NOT EXISTS reg_keys("
      "  path BLOB PRIMARY KEY,"    // folded full path, names joined by '\'
      "  parent BLOB NOT NULL,"     // folded path of the parent key
      "  name BLOB NOT NULL,"       // last name, as first written
      "  written INTEGER NOT NULL"  // last-write time, microseconds since the epoch
      ") WITHOUT ROWID;"
      "CREATE INDEX IF NOT EXISTS reg_keys_by_parent ON reg_keys(parent);"
      "CREATE TABLE IF NOT EXISTS reg_values("
      "  id INTEGER PRIMARY KEY,"  // creation order, the order of enumeration
      "  key BLOB NOT NULL,"
      "  fold BLOB NOT NULL,"
      "  name BLOB NOT NULL,"
      "  type INTEGER NOT NULL,"
      "  data BLOB NOT NULL,"
      "  UNIQUE(key, fold));";
  if (h.exec(schema) != SQLITE_OK) return h.fail_sqlite("cannot prepare the database");
  Statement root(h.db,
                 "INSERT INTO reg_keys(path, parent, name, written) VALUES(?1, ?1, ?1, ?2) "
                 "ON CONFLICT(path) DO NOTHING");
  root.bind(1, std::string_view());
  root.bind(2, now_micros());
  if (!root.prepared() || root.step() != SQLITE_DONE)
    return h.fail_sqlite("cannot prepare the database");
  if (tx.commit() != SQLITE_OK) return h.fail_sqlite("cannot prepare the database");
  return Result::success();
}

Result Registry::open(Hive hive, Access access, HiveDb*& out) {
  const int index = hive_index(hive);
  auto& slot = hives_[index];
  if (slot && (access == Access::Read || slot->writable)) {
    out = slot.get();
    return Result::success();
  }

  auto h = std::make_unique<HiveDb>();
  h->hive = hive;
  h->path = database_path(hive);
  const std::string& dir = locations_.dir_of(hive);
  std::error_code ec;
  const bool exists = std::filesystem::exists(h->path, ec);

  if (!exists && access == Access::Read) {
    // A hive nobody has written yet is an empty hive, not an error.
    return Result::missing("the key does not exist");
  }
  if (access == Access::Write && read_only_[index]) return h->fail("the hive is read-only");

  bool writable = !read_only_[index];
  if (exists) {
    writable = writable && ::access(h->path.c_str(), W_OK) == 0 && ::access(dir.c_str(), W_OK) == 0;
  } else {
    std::filesystem::create_directories(dir, ec);
    if (ec) return h->fail("cannot create the directory " + dir + ": " + ec.message());
    if (::access(dir.c_str(), W_OK) != 0)
      return h->fail("the directory " + dir + " is not writable");
  }
  if (access == Access::Write && !writable) return h->fail("the hive is read-only");

  int flags = writable ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
  flags |= SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI;
  int rc = sqlite3_open_v2(h->path.c_str(), &h->db, flags, nullptr);
  if (rc != SQLITE_OK) return h->fail_sqlite("cannot open");
  sqlite3_busy_timeout(h->db, kBusyTimeoutMs);
  h->writable = writable;

  if (writable) {
    Result r = prepare_schema(*h);
    if (!r.ok()) return r;
  } else {
    // Proves the file is a registry database; a WAL database in a directory we
    // cannot write may need to be read as an unchanging file.
    if (h->exec("SELECT count(*) FROM reg_keys") != SQLITE_OK) {
      sqlite3_close_v2(h->db);
      h->db = nullptr;
      std::string uri = "file:" + h->path + "?immutable=1";
      rc = sqlite3_open_v2(uri.c_str(), &h->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
      if (rc != SQLITE_OK || h->exec("SELECT count(*) FROM reg_keys") != SQLITE_OK)
        return h->fail_sqlite("cannot read");
    }
  }
  slot = std::move(h);
  out = slot.get();
  return Result::success();
}

Result Registry::key_exists(Hive hive, std::string_view key) {
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  int rc = SQLITE_OK;
  bool found = key_row_exists(h->db, kp.folded, rc);
  if (rc != SQLITE_OK) return h->fail_sqlite("cannot read");
  return found ? Result::success() : Result::missing("the key does not exist");
}

Result Registry::create_key(Hive hive, std::string_view key) {
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Write, h); !r.ok()) return r;
  Transaction tx(h->db);
  if (tx.begin(true) != SQLITE_OK) return h->fail_sqlite("cannot write");
  if (ensure_key(h->db, make_key_path(key), now_micros()) != SQLITE_OK)
    return h->fail_sqlite("cannot create the key");
  if (tx.commit() != SQLITE_OK) return h->fail_sqlite("cannot write");
  return Result::success();
}

Result Registry::delete_key(Hive hive, std::string_view key) {
  std::lock_guard lock(mutex_);
  KeyPath kp = make_key_path(key);
  if (kp.is_root()) return Result::failure("The root of a hive cannot be deleted");
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Write, h); !r.ok()) return r;
  Transaction tx(h->db);
  if (tx.begin(true) != SQLITE_OK) return h->fail_sqlite("cannot write");
  int rc = SQLITE_OK;
  if (!key_row_exists(h->db, kp.folded, rc)) {
    if (rc != SQLITE_OK) return h->fail_sqlite("cannot read");
    return Result::missing("the key does not exist");
  }
  const std::string low = subtree_low(kp.folded), high = subtree_high(kp.folded);
  for (const char* sql : {"DELETE FROM reg_values WHERE key = ?1 OR (key >= ?2 AND key < ?3)",
                          "DELETE FROM reg_keys WHERE path = ?1 OR (path >= ?2 AND path < ?3)"}) {
    Statement st(h->db, sql);
    if (!st.prepared()) return h->fail_sqlite("cannot delete the key");
    st.bind(1, kp.folded);
    st.bind(2, low);
    st.bind(3, high);
    if (st.step() != SQLITE_DONE) return h->fail_sqlite("cannot delete the key");
  }
  if (touch_key(h->db, kp.folded_parent, now_micros()) != SQLITE_OK || tx.commit() != SQLITE_OK)
    return h->fail_sqlite("cannot write");
  return Result::success();
}

Result Registry::get_value(Hive hive, std::string_view key, std::string_view name, Value& out) {
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Statement st(h->db, "SELECT name, type, data FROM reg_values WHERE key = ?1 AND fold = ?2");
  if (!st.prepared()) return h->fail_sqlite("cannot read");
  st.bind(1, kp.folded);
  st.bind(2, fold_name(name));
  int rc = st.step();
  if (rc == SQLITE_ROW) {
    out.name = st.column_bytes(0);
    out.type = static_cast<ValueType>(st.column_int(1));
    out.data = st.column_bytes(2);
    return Result::success();
  }
  if (rc != SQLITE_DONE) return h->fail_sqlite("cannot read");
  return Result::missing("the value does not exist");
}

Result Registry::get_string(Hive hive, std::string_view key, std::string_view name,
                            std::string& out) {
  Value v;
  Result r = get_value(hive, key, name, v);
  if (!r.ok()) return r;
  if (v.type != ValueType::Sz && v.type != ValueType::ExpandSz)
    return Result::missing("the value is not a string");
  out = std::move(v.data);
  return r;
}

Result Registry::set_value(Hive hive, std::string_view key, std::string_view name, ValueType type,
                           std::string_view data) {
  if (type == ValueType::Dword && data.size() != 4)
    return Result::failure("A REG_DWORD value must be 4 bytes long");
  if (type != ValueType::Dword && data.find('\0') != std::string_view::npos)
    return Result::failure("A string value cannot hold a NUL byte");
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Write, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  const std::int64_t when = now_micros();
  Transaction tx(h->db);
  if (tx.begin(true) != SQLITE_OK) return h->fail_sqlite("cannot write");
  if (ensure_key(h->db, kp, when) != SQLITE_OK) return h->fail_sqlite("cannot create the key");
  Statement st(h->db,
               "INSERT INTO reg_values(key, fold, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
               "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data");
  if (!st.prepared()) return h->fail_sqlite("cannot write the value");
  st.bind(1, kp.folded);
  st.bind(2, fold_name(name));
  st.bind(3, name);
  st.bind(4, static_cast<std::int64_t>(type));
  st.bind(5, data);
  if (st.step() != SQLITE_DONE) return h->fail_sqlite("cannot write the value");
  if (touch_key(h->db, kp.folded, when) != SQLITE_OK || tx.commit() != SQLITE_OK)
    return h->fail_sqlite("cannot write");
  return Result::success();
}

Result Registry::delete_value(Hive hive, std::string_view key, std::string_view name) {
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Write, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Transaction tx(h->db);
  if (tx.begin(true) != SQLITE_OK) return h->fail_sqlite("cannot write");
  Statement st(h->db, "DELETE FROM reg_values WHERE key = ?1 AND fold = ?2");
  if (!st.prepared()) return h->fail_sqlite("cannot delete the value");
  st.bind(1, kp.folded);
  st.bind(2, fold_name(name));
  if (st.step() != SQLITE_DONE) return h->fail_sqlite("cannot delete the value");
  if (sqlite3_changes(h->db) == 0) return Result::missing("the value does not exist");
  if (touch_key(h->db, kp.folded, now_micros()) != SQLITE_OK || tx.commit() != SQLITE_OK)
    return h->fail_sqlite("cannot write");
  return Result::success();
}

Result Registry::list_values(Hive hive, std::string_view key, std::vector<Value>& out) {
  out.clear();
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Transaction tx(h->db);  // one snapshot for the existence check and the rows
  if (tx.begin(false) != SQLITE_OK) return h->fail_sqlite("cannot read");
  int rc = SQLITE_OK;
  if (!key_row_exists(h->db, kp.folded, rc)) {
    if (rc != SQLITE_OK) return h->fail_sqlite("cannot read");
    return Result::missing("the key does not exist");
  }
  Statement st(h->db, "SELECT name, type, data FROM reg_values WHERE key = ?1 ORDER BY id");
  if (!st.prepared()) return h->fail_sqlite("cannot read");
  st.bind(1, kp.folded);
  while ((rc = st.step()) == SQLITE_ROW) {
    out.push_back(
        {st.column_bytes(0), static_cast<ValueType>(st.column_int(1)), st.column_bytes(2)});
  }
  if (rc != SQLITE_DONE) {
    out.clear();
    return h->fail_sqlite("cannot read");
  }
  tx.commit();
  return Result::success();
}

Result Registry::list_subkeys(Hive hive, std::string_view key, std::vector<std::string>& out) {
  out.clear();
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Transaction tx(h->db);
  if (tx.begin(false) != SQLITE_OK) return h->fail_sqlite("cannot read");
  int rc = SQLITE_OK;
  if (!key_row_exists(h->db, kp.folded, rc)) {
    if (rc != SQLITE_OK) return h->fail_sqlite("cannot read");
    return Result::missing("the key does not exist");
  }
  Statement st(h->db, "SELECT name FROM reg_keys WHERE parent = ?1 AND path <> ?1 ORDER BY path");
  if (!st.prepared()) return h->fail_sqlite("cannot read");
  st.bind(1, kp.folded);
  while ((rc = st.step()) == SQLITE_ROW)
    out.push_back(st.column_bytes(0));
  if (rc != SQLITE_DONE) {
    out.clear();
    return h->fail_sqlite("cannot read");
  }
  tx.commit();
  return Result::success();
}

Result Registry::stored_spelling(Hive hive, std::string_view key, std::string& out) {
  out.clear();
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Transaction tx(h->db);
  if (tx.begin(false) != SQLITE_OK) return h->fail_sqlite("cannot read");
  std::string folded;
  for (std::size_t i = 0; i < kp.names.size(); ++i) {
    if (i > 0) folded += '\\';
    folded += fold_name(kp.names[i]);
    Statement st(h->db, "SELECT name FROM reg_keys WHERE path = ?1");
    if (!st.prepared()) return h->fail_sqlite("cannot read");
    st.bind(1, folded);
    const int rc = st.step();
    if (rc == SQLITE_DONE) return Result::missing("the key does not exist");
    if (rc != SQLITE_ROW) return h->fail_sqlite("cannot read");
    if (i > 0) out += '\\';
    out += st.column_bytes(0);
  }
  tx.commit();
  return Result::success();
}

Result Registry::last_write_time(Hive hive, std::string_view key, std::int64_t& out) {
  std::lock_guard lock(mutex_);
  HiveDb* h = nullptr;
  if (Result r = open(hive, Access::Read, h); !r.ok()) return r;
  KeyPath kp = make_key_path(key);
  Statement st(h->db, "SELECT written FROM reg_keys WHERE path = ?1");
  if (!st.prepared()) return h->fail_sqlite("cannot read");
  st.bind(1, kp.folded);
  int rc = st.step();
  if (rc == SQLITE_ROW) {
    out = st.column_int(0);
    return Result::success();
  }
  if (rc != SQLITE_DONE) return h->fail_sqlite("cannot read");
  return Result::missing("the key does not exist");
}

}  // namespace vestra::registry
