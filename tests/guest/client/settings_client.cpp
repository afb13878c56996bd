// A settings file parsed the way game code of the time did it: std::getline
// over the whole text, one std::istringstream per line, and >> into every
// arithmetic type, with values that are malformed or out of range for their
// type. Each setting is shown with the value read (or the untouched initial
// value 7 when extraction failed), the state bits and the rest of the line.
// Built against the toolchain's headers in the old string ABI.
#include <cstdio>
#include <sstream>
#include <string>

namespace {

const char settings_text[] =
    "# car setup: name, type, value\n"
    "driver string Kira\n"
    "title text   Grand Prix of Vornik\n"
    "laps int 12\n"
    "\n"
    "min_temp short -32768\n"
    "max_temp short 32768\n"
    "gear_ratio ushort 65535\n"
    "max_rpm ushort 65536\n"
    "reverse ushort -1\n"
    "score int 2147483647\n"
    "overflow int 2147483648\n"
    "floor int -2147483648\n"
    "mixed int 12abc\n"
    "word int abc\n"
    "lone_sign int -\n"
    "spaces int    42   \n"
    "distance uint 4294967295\n"
    "too_far uint 4294967296\n"
    "wrap uint -1\n"
    "delta long -7\n"
    "odometer ulong 3000000000\n"
    "big llong 9223372036854775807\n"
    "bigger llong 9223372036854775808\n"
    "long_digits llong 1234567890123456789012345\n"
    "huge ullong 18446744073709551615\n"
    "minus ullong -1\n"
    "boost float 1.5e3\n"
    "far float 3.4e39\n"
    "half double .5\n"
    "drag double -2.25e-2\n"
    "exponent_only double e5\n"
    "tenth ldouble 0.1\n"
    "abs bool 1\n"
    "traction bool 2\n"
    "hud boolalpha true\n"
    "hud_caps boolalpha True\n"
    "color hex ff\n"
    "mask hex 0x1F\n"
    "perms base0 010\n"
    "code base0 0x1f\n"
    "decimal dec 0x1f\n"
    "pointer ptr 0x1000\n";

std::string state_of(const std::ios& s) {
  if (s.good()) return "good";
  std::string bits;
  if (s.eof()) bits += "eof";
  if (s.fail()) bits += bits.empty() ? "fail" : " fail";
  if (s.bad()) bits += " bad";
  return bits;
}

// One value through sprintf with the format given.
template <typename T> std::string formatted(const char* format, T v) {
  char t[64];
  std::sprintf(t, format, v);
  return t;
}

std::string text_of(long v) { return formatted("%ld", v); }
std::string text_of(unsigned long v) { return formatted("%lu", v); }
std::string text_of(long long v) { return formatted("%lld", v); }
std::string text_of(unsigned long long v) { return formatted("%llu", v); }
std::string text_of(double v) { return formatted("%g", v); }
std::string text_of(long double v) { return formatted("%Lg", v); }
std::string text_of(bool v) { return v ? "true" : "false"; }
std::string text_of(void* v) { return formatted("%p", v); }
std::string text_of(const std::string& v) { return v; }

// The rest of the line after the value, as it stands in the stream.
std::string rest_of(std::istringstream& fields) {
  fields.clear();
  std::string rest;
  std::getline(fields, rest);
  return rest;
}

void show(const std::string& key, const std::string& type, const std::string& value, std::istringstream& fields) {
  std::string state = state_of(fields);
  std::string rest = rest_of(fields);
  std::printf("%s (%s): %s [%s] rest=[%s]\n", key.c_str(), type.c_str(), value.c_str(), state.c_str(), rest.c_str());
}

template <typename T, typename Shown>
void read_as(const std::string& key, const std::string& type, std::istringstream& fields) {
  T v = T(7);
  fields >> v;
  show(key, type, text_of(static_cast<Shown>(v)), fields);
}

void read_setting(const std::string& key, const std::string& type, std::istringstream& fields) {
  if (type == "string") {
    std::string v("?");
    fields >> v;
    show(key, type, v, fields);
  } else if (type == "text") {
    std::string v("?");
    std::getline(fields >> std::ws, v);
    show(key, type, v, fields);
  } else if (type == "short") {
    read_as<short, long>(key, type, fields);
  } else if (type == "ushort") {
    read_as<unsigned short, unsigned long>(key, type, fields);
  } else if (type == "int") {
    read_as<int, long>(key, type, fields);
  } else if (type == "uint") {
    read_as<unsigned int, unsigned long>(key, type, fields);
  } else if (type == "long") {
    read_as<long, long>(key, type, fields);
  } else if (type == "ulong") {
    read_as<unsigned long, unsigned long>(key, type, fields);
  } else if (type == "llong") {
    read_as<long long, long long>(key, type, fields);
  } else if (type == "ullong") {
    read_as<unsigned long long, unsigned long long>(key, type, fields);
  } else if (type == "float") {
    read_as<float, double>(key, type, fields);
  } else if (type == "double") {
    read_as<double, double>(key, type, fields);
  } else if (type == "ldouble") {
    read_as<long double, long double>(key, type, fields);
  } else if (type == "bool") {
    read_as<bool, bool>(key, type, fields);
  } else if (type == "boolalpha") {
    fields >> std::boolalpha;
    read_as<bool, bool>(key, type, fields);
  } else if (type == "hex") {
    fields >> std::hex;
    read_as<int, long>(key, type, fields);
  } else if (type == "base0") {
    fields.unsetf(std::ios_base::basefield);
    read_as<int, long>(key, type, fields);
  } else if (type == "dec") {
    read_as<int, long>(key, type, fields);
  } else if (type == "ptr") {
    void* v = reinterpret_cast<void*>(7);
    fields >> v;
    show(key, type, text_of(v), fields);
  } else {
    std::printf("%s: unknown type %s\n", key.c_str(), type.c_str());
  }
}

}

int main() {
  std::istringstream file(settings_text);
  std::string line;
  int lines = 0;
  int settings = 0;
  while (std::getline(file, line)) {
    ++lines;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string key;
    std::string type;
    fields >> key >> type;
    read_setting(key, type, fields);
    ++settings;
  }
  std::printf("%d lines, %d settings, file state [%s]\n", lines, settings, state_of(file).c_str());
  return 0;
}
