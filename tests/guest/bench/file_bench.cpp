// Copies a 64 MB text file through the file streams and through the host's
// C standard I/O in the same program, and prints each copy's time and
// throughput next to the plain fread/fwrite block copy, the limit the
// streams run against. Written against the library's own declarations: the
// toolchain's headers lay the file streams out differently.
//   file_bench [folder] [megabytes] [runs]
// Every copy is compared with the source; the best of the runs counts.
#include "string_io.h"
#include "fstream.h"

extern "C" {
void* fopen(const char* path, const char* mode);
int fclose(void* file);
__SIZE_TYPE__ fread(void* dst, __SIZE_TYPE__ size, __SIZE_TYPE__ count, void* file);
__SIZE_TYPE__ fwrite(const void* src, __SIZE_TYPE__ size, __SIZE_TYPE__ count, void* file);
char* fgets(char* s, int n, void* file);
int fputs(const char* s, void* file);
int getc(void* file);
int putc(int c, void* file);
int printf(const char* format, ...);
int snprintf(char* dst, __SIZE_TYPE__ size, const char* format, ...);
int atoi(const char* s);
int memcmp(const void* a, const void* b, __SIZE_TYPE__ n);
int unlink(const char* path);
struct timespec_ {
  long tv_sec;
  long tv_nsec;
};
int clock_gettime(int clock, timespec_* t);
}

namespace {

typedef std::ios_base ios;

double now() {
  timespec_ t;
  clock_gettime(1 /* CLOCK_MONOTONIC */, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

const int block = 4096;
char source[256], target[256];
long long source_bytes;

// Text lines of 1 to 119 characters, like a log or a level script.
void make_source(int megabytes) {
  void* f = fopen(source, "wb");
  char line[128];
  unsigned seed = 12345;
  source_bytes = 0;
  while (source_bytes < megabytes * 1048576LL) {
    seed = seed * 1103515245u + 12345u;
    int n = 1 + (seed >> 16) % 119;
    for (int i = 0; i < n; ++i) line[i] = static_cast<char>('a' + (seed >> (i % 13)) % 26);
    line[n] = '\n';
    fwrite(line, 1, n + 1, f);
    source_bytes += n + 1;
  }
  fclose(f);
}

bool same_files() {
  void* a = fopen(source, "rb");
  void* b = fopen(target, "rb");
  static char x[65536], y[65536];
  bool same = a != 0 && b != 0;
  while (same) {
    __SIZE_TYPE__ n = fread(x, 1, sizeof x, a), m = fread(y, 1, sizeof y, b);
    if (n != m || memcmp(x, y, n) != 0) same = false;
    if (n == 0) break;
  }
  if (a) fclose(a);
  if (b) fclose(b);
  return same;
}

void stdio_blocks() {
  void* in = fopen(source, "rb");
  void* out = fopen(target, "wb");
  static char buffer[block];
  for (__SIZE_TYPE__ n; (n = fread(buffer, 1, block, in)) > 0;) fwrite(buffer, 1, n, out);
  fclose(in);
  fclose(out);
}

void stdio_lines() {
  void* in = fopen(source, "rb");
  void* out = fopen(target, "wb");
  static char line[256];
  while (fgets(line, sizeof line, in)) fputs(line, out);
  fclose(in);
  fclose(out);
}

void stdio_chars() {
  void* in = fopen(source, "rb");
  void* out = fopen(target, "wb");
  for (int c; (c = getc(in)) != -1;) putc(c, out);
  fclose(in);
  fclose(out);
}

void stream_blocks() {
  std::ifstream in(source, ios::binary);
  std::ofstream out(target, ios::binary);
  static char buffer[block];
  while (in.read(buffer, block), in.gcount() > 0) out.write(buffer, in.gcount());
}

// Blocks of a whole buffer's length go straight between the caller's
// memory and the host.
void stream_buffer_blocks() {
  std::ifstream in(source, ios::binary);
  std::ofstream out(target, ios::binary);
  static char buffer[8192];
  while (in.read(buffer, sizeof buffer), in.gcount() > 0) out.write(buffer, in.gcount());
}

void stream_getline_string() {
  std::ifstream in(source);
  std::ofstream out(target);
  std::string line;
  while (std::getline(in, line)) out << line << '\n';
}

void stream_getline_array() {
  std::ifstream in(source);
  std::ofstream out(target);
  static char line[256];
  while (in.getline(line, sizeof line)) {
    out.write(line, in.gcount() - 1);
    out.put('\n');
  }
}

void stream_chars() {
  std::ifstream in(source, ios::binary);
  std::ofstream out(target, ios::binary);
  for (int c; (c = in.get()) != -1;) out.put(static_cast<char>(c));
}

struct copy {
  const char* name;
  void (*run)();
  bool limit;  // the plain block copy every other copy is measured against
};

}

int main(int argc, char** argv) {
  const char* folder = argc > 1 ? argv[1] : "/tmp";
  int megabytes = argc > 2 ? atoi(argv[2]) : 64;
  int runs = argc > 3 ? atoi(argv[3]) : 3;
  snprintf(source, sizeof source, "%s/torvel-file-bench-source", folder);
  snprintf(target, sizeof target, "%s/torvel-file-bench-target", folder);
  make_source(megabytes);

  const copy copies[] = {
      {"fread/fwrite, 4 KB blocks", stdio_blocks, true},
      {"ifstream/ofstream, 4 KB blocks", stream_blocks, false},
      {"ifstream/ofstream, 8 KB blocks", stream_buffer_blocks, false},
      {"fgets/fputs, lines", stdio_lines, false},
      {"getline(string) and <<, lines", stream_getline_string, false},
      {"istream::getline(char*, n), lines", stream_getline_array, false},
      {"getc/putc, characters", stdio_chars, false},
      {"get/put, characters", stream_chars, false},
  };
  printf("copying %lld bytes, best of %d\n", source_bytes, runs);
  printf("%-36s %9s %10s %8s\n", "copy", "seconds", "MB/s", "x limit");
  double limit = 0;
  int failures = 0;
  for (const copy& c : copies) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
      double start = now();
      c.run();
      double t = now() - start;
      if (t < best) best = t;
      if (!same_files()) {
        printf("%s: the copy differs from the source\n", c.name);
        ++failures;
      }
    }
    if (c.limit) limit = best;
    printf("%-36s %9.3f %10.1f %8.2f\n", c.name, best, source_bytes / 1048576.0 / best, best / limit);
  }
  unlink(source);
  unlink(target);
  return failures == 0 ? 0 : 1;
}
