// Reads, writes, seeks, syncs, putbacks and reopens in a random order (fixed
// seed) on an fstream over a real file, against a model of the file's bytes
// and the stream's position. Every read is compared with the model, and the
// whole file after every close.
#include "c_functions.h"
#include "file_fixture.h"
#include "random_bits.h"

namespace {

using fixture::ios;

const int steps = 6000;
const long capacity = 60000;

random_bits source = {0x2545f491u};

// Transfer lengths: single bytes, short runs, and runs longer than the
// buffer, which take the direct path.
int random_length() {
  switch (source.below(4)) {
    case 0: return 1 + source.below(4);
    case 1: return 1 + source.below(200);
    case 2: return 1000 + source.below(7000);
    default: return 8192 + source.below(6000);
  }
}

char model[capacity];
long model_size = 0;
long pos = 0;
static char got[capacity + 20000];
static char data[20000];

// The last operations, printed when something differs.
char history[8][64];
int history_next = 0;
void note(const char* format, long a, long b = 0) {
  snprintf(history[history_next], sizeof history[0], format, a, b);
  history_next = (history_next + 1) % 8;
}
void print_history(int step) {
  printf("at step %d, after:\n", step);
  for (int i = 0; i < 8; ++i) printf("  %s\n", history[(history_next + i) % 8]);
}

bool file_matches_model(const char* path) {
  long n = fixture::read_file(path, got, sizeof got);
  return n == model_size && memcmp(got, model, n) == 0;
}

// One step; false when the stream and the model disagree.
bool step(std::fstream& s, const char* path, bool* last_was_read) {
  bool was_read = *last_was_read;
  *last_was_read = false;
  unsigned op = source.below(100);
  if (op < 25) {
    int n = random_length();
    // Often up to just before the end of the read-ahead, so that the few
    // bytes left unread must be given back by the next switch.
    long unread = s.file_buffer.get_end - s.file_buffer.get_next;
    if (unread > 0 && source.below(2) == 0) n = static_cast<int>(unread - source.below(unread < 3 ? unread : 3));
    if (n == 0) return true;
    note("read %ld at %ld", n, pos);
    s.read(got, n);
    long want = n < model_size - pos ? n : model_size - pos;
    if (s.gcount() != want || memcmp(got, model + pos, want) != 0) return false;
    if ((want < n) != (s.rdstate() == (ios::eofbit | ios::failbit))) return false;
    pos += want;
    *last_was_read = want > 0;
    s.clear();
  } else if (op < 35) {
    note("get at %ld", pos);
    int c = s.get();
    int want = pos < model_size ? static_cast<unsigned char>(model[pos]) : -1;
    if (c != want) return false;
    if (c != -1) {
      ++pos;
      *last_was_read = true;
    }
    s.clear();
  } else if (op < 60) {
    int n = random_length();
    if (pos + n > capacity) n = static_cast<int>(capacity - pos);
    if (n == 0) return true;
    for (int i = 0; i < n; ++i) data[i] = static_cast<char>(source.next());
    note("write %ld at %ld", n, pos);
    s.write(data, n);
    if (s.rdstate() != 0) return false;
    memcpy(model + pos, data, n);
    pos += n;
    if (pos > model_size) model_size = pos;
  } else if (op < 68) {
    if (pos == capacity) return true;
    char c = static_cast<char>(source.next());
    note("put at %ld", pos);
    s.put(c);
    if (s.rdstate() != 0) return false;
    model[pos++] = c;
    if (pos > model_size) model_size = pos;
  } else if (op < 80) {
    long target = source.below(model_size + 1);
    switch (source.below(4)) {
      case 0:
        note("seekg(%ld)", target);
        s.seekg(std::streampos(target));
        break;
      case 1:
        note("seekp(%ld, cur) from %ld", target - pos, pos);
        s.seekp(target - pos, ios::cur);
        break;
      case 2:
        note("seekg(%ld, end)", target - model_size);
        s.seekg(target - model_size, ios::end);
        break;
      default:
        note("seekp(%ld)", target);
        s.seekp(std::streampos(target));
        break;
    }
    if (s.rdstate() != 0) return false;
    pos = target;
  } else if (op < 85) {
    note("tellg, model at %ld", pos);
    if (s.tellg().offset != pos) return false;
  } else if (op < 90) {
    bool flush = source.below(2) != 0;
    note(flush ? "flush at %ld" : "sync at %ld", pos);
    if (flush) s.flush();
    else s.sync();
    if (s.rdstate() != 0) return false;
  } else if (op < 96) {
    if (!was_read || pos == 0) return true;
    note("putback at %ld", pos);
    if (source.below(2)) s.putback(model[pos - 1]);
    else s.unget();
    // Only a character still in the read-ahead can go back; after a read
    // straight into the caller's memory there is none.
    if (s.rdstate() == 0) --pos;
    else if (s.rdstate() == ios::badbit) s.clear();
    else return false;
  } else {
    bool at_end = source.below(2) != 0;
    note(at_end ? "reopen at the end (%ld)" : "reopen (%ld)", model_size);
    s.close();
    if (s.rdstate() != 0 || !file_matches_model(path)) return false;
    s.open(path, fixture::mode(ios::in | ios::out | (at_end ? ios::ate : 0)));
    if (s.rdstate() != 0) return false;
    pos = at_end ? model_size : 0;
  }
  return true;
}

void check_interleaving(fixture::temp_folder& folder) {
  check::set_case("random interleaving");
  const char* path = folder.path("interleaved");
  for (long i = 0; i < 5000; ++i) model[i] = static_cast<char>(source.next());
  model_size = 5000;
  fixture::write_file(path, model, model_size);
  check::heap_probe heap;
  {
    std::fstream s(path, fixture::mode(ios::in | ios::out));
    CHECK(s.is_open());
    bool last_was_read = false;
    for (int i = 0; i < steps; ++i) {
      if (!step(s, path, &last_was_read)) {
        print_history(i);
        CHECK_EQ(i, -1);  // the step where the stream and the model parted
        break;
      }
    }
    s.close();
    CHECK_EQ(s.rdstate(), 0);
  }
  CHECK(file_matches_model(path));
  CHECK_EQ(heap.live(), 0);
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_interleaving(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
