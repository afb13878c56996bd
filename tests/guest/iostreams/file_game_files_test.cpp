// File streams the way a game's compiled code uses them: it reads its
// settings with getline and >>, writes a session log, appends to the log in
// a later session, updates one record of its lap-time file in place, and
// leaves streams with output still pending to their destructors.
#include "c_functions.h"
#include "file_fixture.h"
#include "string_io.h"

namespace {

using fixture::ios;

struct settings {
  std::string player;
  std::string track;
  int width = 0;
  int height = 0;
  double volume = 0;
  bool fullscreen = false;
  int laps = 0;
  int unknown_keys = 0;
};

// A header line, then "key value" lines; names run to the end of the line.
bool load_settings(const char* path, settings& out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string header;
  std::getline(in, header);
  if (header.compare("# Vornik settings v3") != 0) return false;
  std::string key;
  while (in >> key) {
    if (key.compare("player") == 0) {
      in >> std::ws;
      std::getline(in, out.player);
    } else if (key.compare("track") == 0) {
      in >> std::ws;
      std::getline(in, out.track);
    } else if (key.compare("resolution") == 0) {
      in >> out.width >> out.height;
    } else if (key.compare("volume") == 0) {
      in >> out.volume;
    } else if (key.compare("fullscreen") == 0) {
      in >> out.fullscreen;
    } else if (key.compare("laps") == 0) {
      in >> out.laps;
    } else {
      ++out.unknown_keys;
      std::string rest;
      std::getline(in, rest);
    }
  }
  return in.eof();
}

void write_session_log(const char* path, const settings& s) {
  std::ofstream log(path);
  log << "session start" << std::endl;
  log << "player " << s.player << '\n';
  log << "resolution " << s.width << 'x' << s.height << '\n';
  log << "volume " << s.volume << '\n';
  // No flush: the destructor writes the rest.
}

void append_lap_times(const char* path) {
  std::ofstream log(path, ios::app);
  const double times[] = {93.5, 91.25, 90.125};
  for (int lap = 0; lap < 3; ++lap) log << "lap " << lap + 1 << " time " << times[lap] << '\n';
}

// The lap-time file holds fixed-width records "track|000093.500"; the best
// time of one track is rewritten where it stands.
bool update_best_time(const char* path, const char* track, double time) {
  std::fstream save(path, fixture::mode(ios::in | ios::out));
  if (!save.is_open()) return false;
  std::string line;
  for (;;) {
    std::streampos where = save.tellg();
    if (!std::getline(save, line)) return false;
    size_t bar = line.find('|', 0);
    if (bar == static_cast<size_t>(-1) || line.compare(0, bar, track) != 0) continue;
    save.seekp(std::streampos(where.offset + bar + 1));
    save.fill('0');
    save.width(10);
    save.setf(ios::fixed, ios::floatfield);
    save.precision(3);
    save << time;
    return !save.fail();  // the destructor writes the record out
  }
}

void check_game_files(fixture::temp_folder& folder) {
  const char* settings_path = folder.path("settings.cfg");
  const char* log_path = folder.path("session.log");
  const char* times_path = folder.path("laptimes.dat");
  fixture::write_file(settings_path,
                      "# Vornik settings v3\n"
                      "player Mika H\xc3\xa4kkinen\n"
                      "resolution 1280 720\n"
                      "volume 0.75\n"
                      "fullscreen 1\n"
                      "ghost_car on\n"
                      "track Lakeside Loop\n"
                      "laps 5\n");
  fixture::write_file(times_path,
                      "Lakeside Loop|000093.500\n"
                      "Harbour Run|000101.250\n"
                      "Old Quarry|000088.000\n");
  check::heap_probe heap;

  check::set_case("settings");
  {
    settings s;
    CHECK(load_settings(settings_path, s));
    CHECK_TEXT(s.player.c_str(), "Mika H\xc3\xa4kkinen");
    CHECK_TEXT(s.track.c_str(), "Lakeside Loop");
    CHECK_EQ(s.width, 1280);
    CHECK_EQ(s.height, 720);
    CHECK(s.volume == 0.75);
    CHECK(s.fullscreen);
    CHECK_EQ(s.laps, 5);
    CHECK_EQ(s.unknown_keys, 1);

    check::set_case("session log");
    write_session_log(log_path, s);
    CHECK(fixture::file_is(log_path,
                           "session start\n"
                           "player Mika H\xc3\xa4kkinen\n"
                           "resolution 1280x720\n"
                           "volume 0.75\n"));
    check::set_case("appending to the log");
    append_lap_times(log_path);
    CHECK(fixture::file_is(log_path,
                           "session start\n"
                           "player Mika H\xc3\xa4kkinen\n"
                           "resolution 1280x720\n"
                           "volume 0.75\n"
                           "lap 1 time 93.5\n"
                           "lap 2 time 91.25\n"
                           "lap 3 time 90.125\n"));
    std::ifstream again(log_path);
    int lines = 0;
    std::string line;
    while (std::getline(again, line)) ++lines;
    CHECK_EQ(lines, 7);
    CHECK_TEXT(line.c_str(), "");  // the last getline found nothing
  }

  check::set_case("updating a record in place");
  CHECK(update_best_time(times_path, "Harbour Run", 99.875));
  CHECK(fixture::file_is(times_path,
                         "Lakeside Loop|000093.500\n"
                         "Harbour Run|000099.875\n"
                         "Old Quarry|000088.000\n"));
  CHECK(update_best_time(times_path, "Old Quarry", 87.5));
  CHECK(!update_best_time(times_path, "Desert Pass", 70));
  CHECK(fixture::file_is(times_path,
                         "Lakeside Loop|000093.500\n"
                         "Harbour Run|000099.875\n"
                         "Old Quarry|000087.500\n"));

  check::set_case("a missing settings file");
  settings none;
  CHECK(!load_settings(folder.path("nothing.cfg"), none));
  CHECK_EQ(heap.live(), 0);
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_game_files(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
