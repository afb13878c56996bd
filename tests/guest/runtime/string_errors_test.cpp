// Every positional error of the narrow string, and the length errors: kind
// and message, and that the string is exactly as it was when the report is
// made. Each case runs in a child process, since the report ends the guest.
#include <stdio.h>

#include "check.h"
#include "string_view_helpers.h"
#include "test_host.h"

namespace {

const std::allocator<char> alloc;

// The string under test and its state before the failing call; the fatal
// hook compares the two at the moment of the report.
std::string* subject;
string_snapshot* before;

void report_state(void*) {
  fprintf(stderr, before->same_as(*subject) ? "unchanged\n" : "changed\n");
}

struct error_case {
  const char* name;
  void (*fail)(std::string& s);  // s holds "abc", shared with another string
  const char* detail;
};

char buffer[8];
const std::string other_abc("abc", alloc);

const error_case error_cases[] = {
  {"insert", [](std::string& s) { s.insert(4, "x", 1); }, "basic_string::replace"},
  {"replace text", [](std::string& s) { s.replace(4, 0, "x", 1); }, "basic_string::replace"},
  {"replace C string", [](std::string& s) { s.replace(4, 0, "x"); }, "basic_string::replace"},
  {"replace string", [](std::string& s) { s.replace(4, 0, other_abc); }, "basic_string::replace"},
  {"replace copies", [](std::string& s) { s.replace(4, 0, 2, 'x'); }, "basic_string::_M_replace_aux"},
  {"_M_replace_aux", [](std::string& s) { s._M_replace_aux(4, 0, 2, 'x'); }, "basic_string::_M_replace_aux"},
  {"substr", [](std::string& s) { s.substr(4, 1); }, "basic_string::basic_string"},
  {"substring constructor", [](std::string& s) { std::string t(s, 4, 1); }, "basic_string::basic_string"},
  {"copy", [](std::string& s) { s.copy(buffer, 1, 4); }, "basic_string::copy"},
  {"at", [](std::string& s) { s.at(3); }, "basic_string::at"},
  {"at const", [](std::string& s) { static_cast<const std::string&>(s).at(3); }, "basic_string::at"},
  {"erase", [](std::string& s) { s.erase(4, 1); }, "basic_string::erase"},
  {"append substring", [](std::string& s) { s.append(other_abc, 4, 1); }, "basic_string::append"},
  {"compare string", [](std::string& s) { s.compare(4, 1, other_abc); }, "basic_string::compare"},
  {"compare C string", [](std::string& s) { s.compare(4, 1, "x"); }, "basic_string::compare"},
  {"compare text", [](std::string& s) { s.compare(4, 1, "x", 1); }, "basic_string::compare"},
};

// Lengths beyond the maximum (1,073,741,820) are reported before the string
// is unshared or anything is copied; the detail is always the same.
const size_t too_long = 0x3FFFFFFD;

const error_case length_cases[] = {
  {"reserve", [](std::string& s) { s.reserve(too_long); }, "basic_string::_S_create"},
  {"resize", [](std::string& s) { s.resize(too_long, 'x'); }, "basic_string::_S_create"},
  {"append copies", [](std::string& s) { s.append(too_long - 3, 'x'); }, "basic_string::_S_create"},
  {"append text", [](std::string& s) { s.append("xyz", 0xFFFFFFFEu); }, "basic_string::_S_create"},
  {"insert", [](std::string& s) { s.insert(1, "xyz", too_long); }, "basic_string::_S_create"},
  {"assign", [](std::string& s) { s.assign("xyz", too_long); }, "basic_string::_S_create"},
  {"replace copies", [](std::string& s) { s.replace(0, 1, too_long - 1, 'x'); }, "basic_string::_S_create"},
  {"_M_mutate", [](std::string& s) { s._M_mutate(3, 0, too_long - 3); }, "basic_string::_S_create"},
};

const error_case* current;

void run_error_case(void*) {
  static std::string s("abc", alloc);
  static std::string sharer(s);
  subject = &s;
  static string_snapshot snapshot(s);
  before = &snapshot;
  torvel_test_on_fatal(report_state, nullptr);
  current->fail(s);
}

// Position 3 on a three-character string is accepted by all of them but at.
struct boundary_case {
  const char* name;
  void (*run)(std::string& s);
  const char* result;
};

const boundary_case boundary_cases[] = {
  {"insert at the end", [](std::string& s) { s.insert(3, "x", 1); }, "abcx"},
  {"replace at the end", [](std::string& s) { s.replace(3, 5, "yz", 2); }, "abcyz"},
  {"replace copies at the end", [](std::string& s) { s.replace(3, 5, 2, 'q'); }, "abcqq"},
  {"substr at the end", [](std::string& s) { s = s.substr(3, 1); }, ""},
  {"copy at the end", [](std::string& s) { CHECK_EQ(s.copy(buffer, 1, 3), 0); }, "abc"},
  {"erase at the end", [](std::string& s) { s.erase(3, 1); }, "abc"},
  {"append substring at the end", [](std::string& s) { s.append(other_abc, 3, 1); }, "abc"},
  {"compare at the end", [](std::string& s) { CHECK(s.compare(3, 1, "") == 0); }, "abc"},
};

}

int main() {
  for (const error_case& c : error_cases) {
    check::set_case(c.name);
    current = &c;
    EXPECT_FATAL(run_error_case, nullptr, "std::out_of_range", c.detail, "unchanged\n");
  }
  for (const error_case& c : length_cases) {
    check::set_case(c.name);
    current = &c;
    EXPECT_FATAL(run_error_case, nullptr, "std::length_error", c.detail, "unchanged\n");
  }
  for (const boundary_case& c : boundary_cases) {
    check::set_case(c.name);
    std::string s("abc", alloc);
    c.run(s);
    CHECK_TEXT(text_of(s), c.result);
  }
  return check::finish();
}
