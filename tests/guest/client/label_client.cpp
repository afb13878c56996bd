// The labels a race display shows, each built in a fresh std::ostringstream
// the way game code of the time did: numbers, widths, fills, adjustment and
// the number formats, plus the string streams' own modes. Built against the
// toolchain's headers in the old string ABI, so the inlined stream code
// works on libtorvelios's objects directly.
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

void show(const char* what, const std::string& label) {
  std::printf("%s: [%s] %u\n", what, label.c_str(), static_cast<unsigned>(label.size()));
}

std::string lap_label(int lap, int laps) {
  std::ostringstream out;
  out << "Lap " << lap << '/' << laps;
  return out.str();
}

std::string time_label(int milliseconds) {
  std::ostringstream out;
  out << milliseconds / 60000 << ':' << std::setw(2) << std::setfill('0') << milliseconds / 1000 % 60 << '.'
      << std::setw(3) << milliseconds % 1000;
  return out.str();
}

std::string speed_label(double kmh) {
  std::ostringstream out;
  out << std::fixed << std::setprecision(1) << kmh << " km/h";
  return out.str();
}

std::string position_label(int position) {
  std::ostringstream out;
  out << std::setw(4) << position << '|' << std::left << std::setw(6) << std::setfill('.') << position << '|';
  return out.str();
}

std::string id_label(unsigned id) {
  std::ostringstream out;
  out << "id 0x" << std::hex << std::uppercase << std::setw(8) << std::setfill('0') << id;
  return out.str();
}

std::string delta_label(int delta) {
  std::ostringstream out;
  out << std::showpos << delta;
  return out.str();
}

std::string name_column(const std::string& name) {
  std::ostringstream out;
  out << std::left << std::setw(8) << name << '|' << std::right << std::setw(8) << name << '|';
  return out.str();
}

void labels() {
  show("lap", lap_label(3, 12));
  show("time", time_label(83456));
  show("time", time_label(5007));
  show("speed", speed_label(187.26));
  show("speed", speed_label(99.94));
  show("position", position_label(7));
  show("position", position_label(12));
  show("id", id_label(0xbeef));
  show("delta", delta_label(3));
  show("delta", delta_label(-12));
  show("delta", delta_label(0));
  show("name", name_column("Kira"));

  std::ostringstream out;
  out << std::internal << std::setw(6) << std::setfill('0') << -42;
  show("internal", out.str());
  out.str("");
  out << std::boolalpha << true << ' ' << false;
  show("reused", out.str());
  out.str("");
  out << std::scientific << std::setprecision(2) << 12345.678;
  show("scientific", out.str());
}

void modes() {
  std::ostringstream overwrite(std::string("XXXXXX"));
  overwrite << "ab";
  show("out over a string", overwrite.str());

  std::ostringstream at_end(std::string("Driver: "), std::ios_base::ate);
  at_end << "Kira";
  show("ate", at_end.str());

  std::ostringstream appended(std::string("Laps:"), std::ios_base::app);
  appended << ' ' << 12;
  show("app", appended.str());

  std::ostringstream grown;
  for (int i = 0; i < 200; ++i) grown << i % 10 << ',';
  std::string text = grown.str();
  std::printf("grown: %u characters, starts [%.12s], ends [%s]\n", static_cast<unsigned>(text.size()),
              text.c_str(), text.c_str() + text.size() - 6);
}

}

int main() {
  labels();
  modes();
  return 0;
}
