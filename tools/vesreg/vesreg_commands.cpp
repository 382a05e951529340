// vesreg commands: query, set, delete, keys, export.
#include "tools/vesreg/vesreg_commands.h"

#include <charconv>
#include <cstdio>
#include <ostream>

#include "platform/registry/key_name.h"

namespace vestra::vesreg {

using registry::FullKeyName;
using registry::Registry;
using registry::Result;
using registry::Value;
using registry::ValueType;

namespace {

const char kUsageText[] =
    "usage: vesreg query KEY [NAME]\n"
    "       vesreg set KEY NAME DATA [--type REG_SZ|REG_EXPAND_SZ|REG_DWORD]\n"
    "       vesreg delete KEY [NAME]\n"
    "       vesreg keys KEY\n"
    "       vesreg export KEY\n"
    "KEY is HKEY_CURRENT_USER\\..., HKCU\\..., HKLM\\... or HKCR\\..., with \\ or /.\n";

std::string data_text(const Value& v) {
  if (v.type == ValueType::Dword) return std::to_string(v.dword());
  return v.data;
}

int report(const Result& r, const std::string& what, std::ostream& err) {
  if (r.ok()) return kOk;
  err << "vesreg: " << what << ": " << r.error << "\n";
  return r.not_found() ? kMissing : kFailed;
}

std::string full_name(const FullKeyName& key) {
  std::string text(registry::hive_name(key.hive));
  if (!key.path.empty()) text += "\\" + key.path;
  return text;
}

bool parse_dword(const std::string& text, std::uint32_t& out) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    first += 2;
    base = 16;
  }
  auto [ptr, ec] = std::from_chars(first, last, out, base);
  return ec == std::errc() && ptr == last && first != last;
}

int export_key(Registry& reg, const FullKeyName& key, std::ostream& out, std::ostream& err) {
  std::vector<Value> values;
  Result r = reg.list_values(key.hive, key.path, values);
  if (!r.ok()) return report(r, full_name(key), err);
  out << "[" << full_name(key) << "]\n";
  for (const Value& v : values) {
    out << quote_bytes(v.name) << "=";
    switch (v.type) {
      case ValueType::Sz:
        out << quote_bytes(v.data);
        break;
      case ValueType::ExpandSz:
        out << "expand:" << quote_bytes(v.data);
        break;
      case ValueType::Dword: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", v.dword());
        out << buf;
        break;
      }
    }
    out << "\n";
  }
  out << "\n";
  std::vector<std::string> subkeys;
  r = reg.list_subkeys(key.hive, key.path, subkeys);
  if (!r.ok()) return report(r, full_name(key), err);
  for (const std::string& sub : subkeys) {
    FullKeyName child{key.hive, key.path.empty() ? sub : key.path + "\\" + sub};
    if (int rc = export_key(reg, child, out, err); rc != kOk) return rc;
  }
  return kOk;
}

}  // namespace

std::string quote_bytes(const std::string& bytes) {
  std::string q = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      q += buf;
    } else {
      q += static_cast<char>(c);
    }
  }
  return q + "\"";
}

int run(Registry& reg, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    (args.empty() ? err : out) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  const std::string& command = args[0];
  if (args.size() < 2) {
    err << kUsageText;
    return kUsage;
  }
  std::optional<FullKeyName> key = registry::parse_full_key_name(args[1]);
  if (!key) {
    err << "vesreg: unknown hive in '" << args[1] << "'\n";
    return kUsage;
  }

  if (command == "query" && (args.size() == 2 || args.size() == 3)) {
    std::vector<Value> values;
    if (args.size() == 3) {
      Value v;
      Result r = reg.get_value(key->hive, key->path, args[2], v);
      if (!r.ok()) return report(r, full_name(*key) + " " + args[2], err);
      values.push_back(std::move(v));
    } else {
      Result r = reg.list_values(key->hive, key->path, values);
      if (!r.ok()) return report(r, full_name(*key), err);
    }
    for (const Value& v : values)
      out << v.name << '\t' << registry::value_type_name(v.type) << '\t' << data_text(v) << '\n';
    return kOk;
  }

  if (command == "set" && (args.size() == 4 || args.size() == 6)) {
    ValueType type = ValueType::Sz;
    if (args.size() == 6) {
      std::optional<ValueType> t =
          args[4] == "--type" ? registry::parse_value_type(args[5]) : std::nullopt;
      if (!t) {
        err << kUsageText;
        return kUsage;
      }
      type = *t;
    }
    std::string data = args[3];
    if (type == ValueType::Dword) {
      std::uint32_t number = 0;
      if (!parse_dword(data, number)) {
        err << "vesreg: '" << data << "' is not a REG_DWORD number\n";
        return kUsage;
      }
      data = registry::dword_bytes(number);
    }
    return report(reg.set_value(key->hive, key->path, args[2], type, data), full_name(*key), err);
  }

  if (command == "delete" && (args.size() == 2 || args.size() == 3)) {
    if (args.size() == 3)
      return report(reg.delete_value(key->hive, key->path, args[2]),
                    full_name(*key) + " " + args[2], err);
    return report(reg.delete_key(key->hive, key->path), full_name(*key), err);
  }

  if (command == "keys" && args.size() == 2) {
    std::vector<std::string> subkeys;
    Result r = reg.list_subkeys(key->hive, key->path, subkeys);
    if (!r.ok()) return report(r, full_name(*key), err);
    for (const std::string& s : subkeys)
      out << s << '\n';
    return kOk;
  }

  if (command == "export" && args.size() == 2) {
    FullKeyName spelled{key->hive, std::string()};
    Result r = reg.stored_spelling(key->hive, key->path, spelled.path);
    if (!r.ok()) return report(r, full_name(*key), err);
    return export_key(reg, spelled, out, err);
  }

  err << kUsageText;
  return kUsage;
}

}  // namespace vestra::vesreg
