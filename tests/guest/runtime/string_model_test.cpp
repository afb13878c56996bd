// A long random run of string operations against a plain model: eight
// string slots are constructed, copied, assigned, appended to, inserted
// into, erased, replaced, reserved, swapped, resized, cleared and indexed
// in ways that unshare them. After every step each slot's characters,
// length, capacity and sharing count, which slots share a representation,
// the empty representation and the number of live heap blocks must be what
// the model says. The seed is fixed, so a failure names a reproducible step.
#include <stdio.h>

#include "check.h"
#include "string_view_helpers.h"

inline void* operator new(size_t, void* where) throw() { return where; }

namespace {

const std::allocator<char> alloc;
const std::string::size_type npos = std::string::npos;

const int slot_count = 8;
const size_t clear_above = 4600;  // a longer text is cleared before it grows
const size_t max_text = 16384;    // room for one step beyond that
const long steps = 120000;

// ----- the model -----

// One representation as the model sees it. Index 0 is the shared empty one.
struct model_rep {
  bool in_use;
  size_t capacity;
  int owners;
  bool leaked;
};

const int rep_pool = 4 * slot_count;
model_rep reps[rep_pool];

struct model_slot {
  char text[max_text + 1];
  size_t length;
  int rep;
};

model_slot model[slot_count];

// The real strings, built and destroyed in place.
alignas(std::string) unsigned char storage[slot_count][sizeof(std::string)];

std::string& real(int i) { return *reinterpret_cast<std::string*>(storage[i]); }

// Capacities by the rules a representation is allocated with: a request
// above the old capacity grows to at least twice it, and an allocation
// that reaches past one page is rounded up so that it plus 16 bytes of
// allocator overhead fills whole pages.
size_t page_rounded(size_t c) {
  size_t bytes = c + 1 + 12 + 16;
  if (bytes > page) c += page - bytes % page;
  return c;
}

size_t grown(size_t request, size_t old_capacity) {
  if (request <= old_capacity) return request;
  if (request < 2 * old_capacity) request = 2 * old_capacity;
  return page_rounded(request);
}

int new_rep(size_t capacity) {
  for (int r = 1; r < rep_pool; ++r) {
    if (!reps[r].in_use) {
      reps[r].in_use = true;
      reps[r].capacity = capacity;
      reps[r].owners = 1;
      reps[r].leaked = false;
      return r;
    }
  }
  check::fail(__FILE__, __LINE__, "model out of representations");
  return 0;
}

void release(int r) {
  if (r != 0 && --reps[r].owners == 0) reps[r].in_use = false;
}

size_t capacity_of(int r) { return r == 0 ? 0 : reps[r].capacity; }
bool shared(int r) { return r != 0 && reps[r].owners > 1; }

int expected_ref_count(int r) {
  if (r == 0) return 0;
  return reps[r].leaked ? -1 : reps[r].owners - 1;
}

long leaked_copies;

// A copy shares the representation, unless it was leaked: then it gets a
// clone whose capacity is the length.
int copied_rep(const model_slot& from) {
  int r = from.rep;
  if (r != 0 && reps[r].leaked) {
    ++leaked_copies;
    return new_rep(from.length == 0 ? 0 : page_rounded(from.length));
  }
  if (r != 0) ++reps[r].owners;
  return r;
}

void set_text(model_slot& s, const char* chars, size_t n) {
  memmove(s.text, chars, n);
  s.length = n;
}

// Makes room for the result of replacing len1 characters at pos with len2
// new ones: a shared or too small representation is left for a new one,
// an unshared one is changed in place and is sharable again. The empty
// representation stays when the result is empty too.
void model_mutate(model_slot& s, size_t new_length) {
  if (new_length > capacity_of(s.rep) || shared(s.rep)) {
    int fresh = new_rep(grown(new_length, capacity_of(s.rep)));
    release(s.rep);
    s.rep = fresh;
  } else if (s.rep != 0) {
    reps[s.rep].leaked = false;
  }
}

void model_replace(model_slot& s, size_t pos, size_t len1, const char* src, size_t len2) {
  char saved[max_text];
  memcpy(saved, src, len2);
  size_t new_length = s.length - len1 + len2;
  model_mutate(s, new_length);
  memmove(s.text + pos + len2, s.text + pos + len1, s.length - pos - len1);
  memcpy(s.text + pos, saved, len2);
  s.length = new_length;
}

void model_fill(model_slot& s, size_t pos, size_t len1, size_t len2, char c) {
  char copies[max_text];
  memset(copies, c, len2);
  model_replace(s, pos, len1, copies, len2);
}

void model_leak(model_slot& s) {
  if (s.rep == 0) return;
  if (shared(s.rep)) {
    int fresh = new_rep(s.length);
    release(s.rep);
    s.rep = fresh;
  }
  reps[s.rep].leaked = true;
}

void model_reserve(model_slot& s, size_t n) {
  int r = s.rep;
  if (n == capacity_of(r) && !shared(r)) return;
  size_t request = n < s.length ? s.length : n;
  int fresh = new_rep(grown(request, capacity_of(r)));
  release(r);
  s.rep = fresh;
}

// ----- random choices -----

unsigned long long random_state = 0x9e3779b97f4a7c15ull;

unsigned next_random() {
  random_state ^= random_state << 13;
  random_state ^= random_state >> 7;
  random_state ^= random_state << 17;
  return static_cast<unsigned>(random_state >> 16);
}

unsigned below(unsigned n) { return n == 0 ? 0 : next_random() % n; }

// Mostly short, sometimes past the 512 bytes a source is kept on the stack
// for, now and then past a page.
size_t random_length() {
  unsigned kind = below(100);
  if (kind < 70) return below(17);
  if (kind < 90) return below(201);
  if (kind < 98) return 200 + below(1001);
  return 1200 + below(3801);
}

size_t random_position(size_t length) {
  unsigned kind = below(10);
  if (kind == 0) return 0;
  if (kind == 1) return length;
  return below(static_cast<unsigned>(length) + 1);
}

// A count that may run past the end, up to npos.
size_t random_count(size_t available) {
  unsigned kind = below(10);
  if (kind == 0) return npos;
  if (kind == 1) return available + below(5);
  return below(static_cast<unsigned>(available) + 1);
}

// Source characters; every byte value but 0 appears.
char pool[max_text + 1];

const char* random_source(size_t n) {
  return pool + below(static_cast<unsigned>(max_text - n) + 1);
}

// A terminated copy of n pool characters, for the members taking C strings.
struct c_text {
  char chars[max_text + 1];
  explicit c_text(size_t n) {
    memcpy(chars, random_source(n), n);
    chars[n] = '\0';
  }
};

char random_char() { return static_cast<char>(1 + below(255)); }

// ----- the operations -----

struct step_state {
  int i, j;  // target and source slot (may be the same)
};

void construct(step_state& st) {
  model_slot& s = model[st.i];
  int old_rep = s.rep;
  real(st.i).~basic_string();
  switch (below(6)) {
    case 0:
      new (storage[st.i]) std::string();
      s.rep = 0;
      s.length = 0;
      break;
    case 1: {
      c_text text(random_length());
      size_t n = strlen(text.chars);
      new (storage[st.i]) std::string(text.chars, alloc);
      set_text(s, text.chars, n);
      s.rep = n == 0 ? 0 : new_rep(page_rounded(n));
      break;
    }
    case 2: {
      size_t n = random_length();
      const char* src = random_source(n);
      new (storage[st.i]) std::string(src, n, alloc);
      set_text(s, src, n);
      s.rep = n == 0 ? 0 : new_rep(page_rounded(n));
      break;
    }
    case 3: {
      if (st.i == st.j) st.j = (st.i + 1) % slot_count;
      new (storage[st.i]) std::string(real(st.j));
      set_text(s, model[st.j].text, model[st.j].length);
      s.rep = copied_rep(model[st.j]);
      break;
    }
    case 4: {
      if (st.i == st.j) st.j = (st.i + 1) % slot_count;
      const model_slot& from = model[st.j];
      size_t pos = random_position(from.length);
      size_t n = random_count(from.length - pos);
      new (storage[st.i]) std::string(real(st.j), pos, n);
      size_t count = n < from.length - pos ? n : from.length - pos;
      set_text(s, from.text + pos, count);
      s.rep = count == 0 ? 0 : new_rep(page_rounded(count));
      break;
    }
    default: {
      size_t n = random_length();
      char c = random_char();
      new (storage[st.i]) std::string(n, c, alloc);
      memset(s.text, c, n);
      s.length = n;
      s.rep = n == 0 ? 0 : new_rep(page_rounded(n));
      break;
    }
  }
  release(old_rep);
}

void assign_string(step_state& st) {
  model_slot& s = model[st.i];
  model_slot& from = model[st.j];
  bool same_chars = chars_pointer(real(st.i)) == chars_pointer(real(st.j));
  if (below(2)) real(st.i) = real(st.j);
  else real(st.i).assign(real(st.j));
  if (same_chars) return;
  int grabbed = copied_rep(from);
  release(s.rep);
  s.rep = grabbed;
  set_text(s, from.text, from.length);
}

void assign_text(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  switch (below(4)) {
    case 0: {
      size_t n = random_length();
      // Sometimes the string's own characters, which must be read first.
      const char* src = random_source(n);
      const char* model_src = src;
      if (below(4) == 0) {
        size_t pos = random_position(s.length);
        n = below(static_cast<unsigned>(s.length - pos) + 1);
        src = chars_pointer(r) + pos;
        model_src = s.text + pos;
      }
      r.assign(src, n);
      model_replace(s, 0, s.length, model_src, n);
      break;
    }
    case 1: {
      c_text text(random_length());
      r.assign(text.chars);
      model_replace(s, 0, s.length, text.chars, strlen(text.chars));
      break;
    }
    case 2: {
      c_text text(random_length());
      r = text.chars;
      model_replace(s, 0, s.length, text.chars, strlen(text.chars));
      break;
    }
    default: {
      char c = random_char();
      r = c;
      model_replace(s, 0, s.length, &c, 1);
      break;
    }
  }
}

void append_text(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  c_text text(random_length());
  size_t n = strlen(text.chars);
  switch (below(3)) {
    case 0: {
      size_t count = n == 0 ? 0 : below(static_cast<unsigned>(n) + 1);
      r.append(text.chars, count);
      n = count;
      break;
    }
    case 1:
      r.append(text.chars);
      break;
    default:
      r += text.chars;
      break;
  }
  if (n != 0) model_replace(s, s.length, 0, text.chars, n);
}

void append_string(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  const model_slot& from = model[st.j];
  char source[max_text];
  size_t from_length = from.length;
  memcpy(source, from.text, from_length);
  size_t pos = 0, count = from_length;
  switch (below(3)) {
    case 0:
      r.append(real(st.j));
      break;
    case 1:
      r += real(st.j);
      break;
    default: {
      pos = random_position(from_length);
      size_t n = random_count(from_length - pos);
      r.append(real(st.j), pos, n);
      count = n < from_length - pos ? n : from_length - pos;
      break;
    }
  }
  if (count != 0) model_replace(s, s.length, 0, source + pos, count);
}

void append_chars(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  char c = random_char();
  switch (below(3)) {
    case 0: {
      size_t n = random_length();
      r.append(n, c);
      if (n != 0) model_fill(s, s.length, 0, n, c);
      break;
    }
    case 1:
      r.push_back(c);
      model_fill(s, s.length, 0, 1, c);
      break;
    default:
      r += c;
      model_fill(s, s.length, 0, 1, c);
      break;
  }
}

// A source for insert and replace: pool characters or characters of some
// slot, possibly the target itself.
struct source_choice {
  const char* real_chars;
  const char* model_chars;
  size_t n;
};

source_choice random_string_source(int j) {
  source_choice c;
  if (below(3) == 0) {
    size_t pos = random_position(model[j].length);
    c.n = below(static_cast<unsigned>(model[j].length - pos) + 1);
    c.real_chars = chars_pointer(real(j)) + pos;
    c.model_chars = model[j].text + pos;
  } else {
    c.n = random_length();
    c.real_chars = c.model_chars = random_source(c.n);
  }
  return c;
}

void insert_text(step_state& st) {
  model_slot& s = model[st.i];
  source_choice src = random_string_source(below(2) ? st.i : st.j);
  size_t pos = random_position(s.length);
  real(st.i).insert(pos, src.real_chars, src.n);
  model_replace(s, pos, 0, src.model_chars, src.n);
}

void erase_chars(step_state& st) {
  model_slot& s = model[st.i];
  size_t pos = random_position(s.length);
  size_t n = random_count(s.length - pos);
  real(st.i).erase(pos, n);
  size_t count = n < s.length - pos ? n : s.length - pos;
  model_replace(s, pos, count, "", 0);
}

void replace_text(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  size_t pos = random_position(s.length);
  size_t len1 = random_count(s.length - pos);
  size_t clamped = len1 < s.length - pos ? len1 : s.length - pos;
  switch (below(3)) {
    case 0: {
      source_choice src = random_string_source(below(2) ? st.i : st.j);
      r.replace(pos, len1, src.real_chars, src.n);
      model_replace(s, pos, clamped, src.model_chars, src.n);
      break;
    }
    case 1: {
      c_text text(random_length());
      r.replace(pos, len1, text.chars);
      model_replace(s, pos, clamped, text.chars, strlen(text.chars));
      break;
    }
    default: {
      char source[max_text];
      size_t n = model[st.j].length;
      memcpy(source, model[st.j].text, n);
      r.replace(pos, len1, real(st.j));
      model_replace(s, pos, clamped, source, n);
      break;
    }
  }
}

void replace_copies(step_state& st) {
  model_slot& s = model[st.i];
  size_t pos = random_position(s.length);
  size_t len1 = random_count(s.length - pos);
  size_t len2 = random_length();
  char c = random_char();
  if (below(2)) real(st.i).replace(pos, len1, len2, c);
  else real(st.i)._M_replace_aux(pos, len1, len2, c);
  model_fill(s, pos, len1 < s.length - pos ? len1 : s.length - pos, len2, c);
}

void reserve_room(step_state& st) {
  model_slot& s = model[st.i];
  size_t n;
  switch (below(5)) {
    case 0: n = 0; break;
    case 1: n = capacity_of(s.rep); break;
    case 2: n = s.length; break;
    case 3: n = capacity_of(s.rep) + 1 + below(64); break;
    default: n = random_length(); break;
  }
  real(st.i).reserve(n);
  model_reserve(s, n);
}

void swap_slots(step_state& st) {
  real(st.i).swap(real(st.j));
  if (st.i == st.j) return;
  model_slot& a = model[st.i];
  model_slot& b = model[st.j];
  char held[max_text];
  size_t held_length = a.length;
  int held_rep = a.rep;
  memcpy(held, a.text, held_length);
  set_text(a, b.text, b.length);
  a.rep = b.rep;
  set_text(b, held, held_length);
  b.rep = held_rep;
}

// The members that hand out a modifiable reference: the string stops
// sharing, and a write through the reference stays in this string.
void leak_by_access(step_state& st) {
  model_slot& s = model[st.i];
  std::string& r = real(st.i);
  if (s.length == 0) {
    if (below(2)) r.begin();
    else r.end();
    model_leak(s);
    return;
  }
  size_t pos = below(static_cast<unsigned>(s.length));
  char c = random_char();
  switch (below(5)) {
    case 0: r[pos] = c; break;
    case 1: r.at(pos) = c; break;
    case 2: *(r.begin().base() + pos) = c; break;
    case 3: *(r.end().base() - s.length + pos) = c; break;
    default:
      r._M_leak_hard();
      const_cast<char*>(chars_pointer(r))[pos] = c;
      break;
  }
  model_leak(s);
  s.text[pos] = c;
}

void resize_to(step_state& st) {
  model_slot& s = model[st.i];
  size_t n = below(3) == 0 ? s.length : random_length();
  char c = below(2) ? random_char() : '\0';
  if (c != '\0' || below(2)) real(st.i).resize(n, c);
  else real(st.i).resize(n);
  if (n > s.length) model_fill(s, s.length, 0, n - s.length, c);
  else if (n < s.length) model_replace(s, n, s.length - n, "", 0);
}

void clear_text(step_state& st) {
  real(st.i).clear();
  model_replace(model[st.i], 0, model[st.i].length, "", 0);
}

struct operation {
  const char* name;
  void (*run)(step_state&);
  unsigned weight;
};

const operation operations[] = {
  {"construct", construct, 10},
  {"assign string", assign_string, 10},
  {"assign text", assign_text, 8},
  {"append text", append_text, 8},
  {"append string", append_string, 8},
  {"append characters", append_chars, 10},
  {"insert", insert_text, 6},
  {"erase", erase_chars, 8},
  {"replace", replace_text, 6},
  {"replace with copies", replace_copies, 4},
  {"reserve", reserve_room, 5},
  {"swap", swap_slots, 5},
  {"access that leaks", leak_by_access, 8},
  {"resize", resize_to, 4},
  {"clear", clear_text, 2},
};

const operation& random_operation() {
  unsigned total = 0;
  for (const operation& op : operations) total += op.weight;
  unsigned pick = below(total);
  for (const operation& op : operations) {
    if (pick < op.weight) return op;
    pick -= op.weight;
  }
  return operations[0];
}

// ----- the comparison -----

long step_number;
const char* step_name;

void report(int slot, const char* what, unsigned long long got, unsigned long long want) {
  char line[160];
  snprintf(line, sizeof line, "step %ld (%s), slot %d: %s", step_number, step_name, slot, what);
  check::fail_values(__FILE__, __LINE__, line, got, want);
}

// Returns false after the first difference, so that one fault is reported
// once rather than at every later step.
bool matches_model(const check::heap_probe& heap) {
  bool good = true;
  int live_reps = 0;
  for (int r = 1; r < rep_pool; ++r) live_reps += reps[r].in_use;
  if (heap.live() != live_reps) {
    report(-1, "live heap blocks", heap.live(), live_reps);
    good = false;
  }
  if (!empty_rep_untouched<std::string>()) {
    report(-1, "empty representation changed", 1, 0);
    good = false;
  }
  for (int i = 0; i < slot_count; ++i) {
    const std::string& r = real(i);
    const model_slot& s = model[i];
    if (is_empty_rep(r) != (s.rep == 0)) {
      report(i, "points at the empty representation", is_empty_rep(r), s.rep == 0);
      good = false;
      continue;
    }
    if (rep_of(r)->length != s.length) {
      report(i, "length", rep_of(r)->length, s.length);
      good = false;
      continue;
    }
    if (rep_of(r)->capacity != capacity_of(s.rep)) {
      report(i, "capacity", rep_of(r)->capacity, capacity_of(s.rep));
      good = false;
    }
    if (rep_of(r)->ref_count != expected_ref_count(s.rep)) {
      report(i, "ref_count", static_cast<unsigned long long>(rep_of(r)->ref_count), expected_ref_count(s.rep));
      good = false;
    }
    if (memcmp(chars_pointer(r), s.text, s.length) != 0) {
      report(i, "characters differ", 1, 0);
      good = false;
    }
    if (chars_pointer(r)[s.length] != '\0') {
      report(i, "terminator", static_cast<unsigned char>(chars_pointer(r)[s.length]), 0);
      good = false;
    }
    for (int k = i + 1; k < slot_count; ++k) {
      bool same_pointer = chars_pointer(r) == chars_pointer(real(k));
      if (same_pointer != (s.rep == model[k].rep)) {
        report(i, "shares with the slot counted here", k, same_pointer ? 1 : 0);
        good = false;
      }
    }
  }
  return good;
}

// Counts which operations ran, and the situations worth reaching, so that
// a change of the random mix that stops exercising them is noticed.
struct coverage {
  long shared_changes, page_sized, long_sources;
};

void note_coverage(coverage& seen, const step_state& st, int rep_before, bool shared_before) {
  if (shared_before && model[st.i].rep != rep_before) ++seen.shared_changes;
  if (capacity_of(model[st.i].rep) + 29 > page) ++seen.page_sized;
  if (model[st.i].length > 512) ++seen.long_sources;
}

}

int main() {
  for (size_t k = 0; k < max_text; ++k) pool[k] = static_cast<char>(1 + (k * 131 + k / 255) % 255);
  pool[max_text] = '\0';
  for (int i = 0; i < slot_count; ++i) {
    new (storage[i]) std::string();
    model[i].rep = 0;
    model[i].length = 0;
  }

  coverage seen = {};
  check::heap_probe heap;
  for (step_number = 0; step_number < steps; ++step_number) {
    step_state st = {static_cast<int>(below(slot_count)), static_cast<int>(below(slot_count))};
    const operation& op = random_operation();
    step_name = op.name;
    int rep_before = model[st.i].rep;
    bool shared_before = shared(rep_before);
    // Keep texts within the model's room: a long one is cleared first.
    if (model[st.i].length > clear_above) {
      clear_text(st);
    } else {
      op.run(st);
      note_coverage(seen, st, rep_before, shared_before);
    }
    if (!matches_model(heap)) break;
  }

  CHECK(leaked_copies > 100);
  CHECK(seen.shared_changes > 1000);
  CHECK(seen.page_sized > 100);
  CHECK(seen.long_sources > 1000);

  for (int i = 0; i < slot_count; ++i) real(i).~basic_string();
  CHECK_EQ(heap.live(), 0);
  return check::finish();
}
