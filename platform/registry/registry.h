// The registry stand-in: keys and typed values in one SQLite database per hive,
// shared safely by every process of the suite (client, bridge, viewer, print
// processes). Plain C++: no Qt, so core code and command-line tools can use it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace vestra::registry {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// The value types the suite uses, numbered as the platform numbers them.
enum class ValueType : std::uint32_t { Sz = 1, ExpandSz = 2, Dword = 4 };

enum class Status {
  Ok,
  NotFound,  // the key or the value does not exist: an everyday answer
  Failed,    // the hive cannot be read or written; the result's text says why
};

// What every operation answers. `error` is a full sentence for a message box.
struct Result {
  Status status = Status::Ok;
  std::string error;

  bool ok() const { return status == Status::Ok; }
  bool not_found() const { return status == Status::NotFound; }
  bool failed() const { return status == Status::Failed; }
  static Result success() { return {}; }
  static Result missing(std::string why) { return {Status::NotFound, std::move(why)}; }
  static Result failure(std::string why) { return {Status::Failed, std::move(why)}; }
};

// A value as stored. REG_SZ and REG_EXPAND_SZ data are byte strings (any byte
// but NUL, no terminator); REG_DWORD data are 4 bytes, least significant first.
struct Value {
  std::string name;
  ValueType type = ValueType::Sz;
  std::string data;

  std::uint32_t dword() const;
};

std::string_view hive_name(Hive hive);        // "HKEY_CURRENT_USER"
std::string_view value_type_name(ValueType);  // "REG_SZ"
std::optional<ValueType> parse_value_type(std::string_view text);
std::string dword_bytes(std::uint32_t value);

// Where the hive files live: the directory of each hive's database.
struct Locations {
  std::string current_user_dir;
  std::string local_machine_dir;
  std::string classes_root_dir;

  // $VESTRA_REGISTRY_DIR for all three when set; otherwise
  // $XDG_CONFIG_HOME/vestra (or ~/.config/vestra) for HKCU and HKCR and
  // /etc/vestra for HKLM.
  static Locations from_environment();
  static Locations single(const std::string& dir);
  const std::string& dir_of(Hive hive) const;
};

class Registry {
 public:
  explicit Registry(Locations locations);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // The process-wide registry, located from the environment on first use.
  static Registry& process();

  // Opens a hive for reading only, whatever the file's permissions say (the
  // machine hive of an ordinary user is such a hive; tests use it too).
  void set_read_only(Hive hive, bool read_only);

  std::string database_path(Hive hive) const;

  // Key paths are written with '\' or '/' between names; empty names are
  // skipped; names compare without regard to ASCII case and keep the case
  // they were created with.
  Result key_exists(Hive hive, std::string_view key);
  Result create_key(Hive hive, std::string_view key);
  Result delete_key(Hive hive, std::string_view key);  // with its whole subtree

  Result get_value(Hive hive, std::string_view key, std::string_view name, Value& out);
  Result set_value(Hive hive, std::string_view key, std::string_view name, ValueType type,
                   std::string_view data);  // creates the key and its parents
  Result delete_value(Hive hive, std::string_view key, std::string_view name);

  Result list_values(Hive hive, std::string_view key, std::vector<Value>& out);
  Result list_subkeys(Hive hive, std::string_view key, std::vector<std::string>& out);

  // The key's path with every name spelled as it was created.
  Result stored_spelling(Hive hive, std::string_view key, std::string& out);

  // Microseconds since the Unix epoch of the last change to the key itself,
  // its values or its direct subkeys.
  Result last_write_time(Hive hive, std::string_view key, std::int64_t& out);

  // Shorthands for the common REG_SZ case.
  Result set_string(Hive hive, std::string_view key, std::string_view name, std::string_view text) {
    return set_value(hive, key, name, ValueType::Sz, text);
  }
  // Reads a REG_SZ or REG_EXPAND_SZ value; NotFound also for other types.
  Result get_string(Hive hive, std::string_view key, std::string_view name, std::string& out);

 private:
  struct HiveDb;
  enum class Access { Read, Write };

  Result open(Hive hive, Access access, HiveDb*& out);
  Result prepare_schema(HiveDb& db);

  Locations locations_;
  std::mutex mutex_;
  std::unique_ptr<HiveDb> hives_[3];
  bool read_only_[3] = {false, false, false};
};

// Folds a name for comparison: ASCII letters to lower case, other bytes as they are.
std::string fold_name(std::string_view name);

// Splits a key path at '\' and '/' and drops empty names.
std::vector<std::string> split_key_path(std::string_view key);

}  // namespace vestra::registry
