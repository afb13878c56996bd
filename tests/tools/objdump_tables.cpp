#include "objdump_tables.h"

#include <sstream>

namespace torvel::ld::test {

namespace {

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

bool isHex(const std::string& s) {
  return s.size() > 2 && s[0] == '0' && s[1] == 'x' && s.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos;
}

}  // namespace

std::map<std::string, std::vector<IndirectEntry>> parseIndirectSymbols(const std::string& text) {
  std::map<std::string, std::vector<IndirectEntry>> result;
  std::istringstream in(text);
  std::string current;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Indirect symbols for (", 0) == 0) {
      current = line.substr(22, line.find(')') - 22);
      result[current];
      continue;
    }
    auto w = words(line);
    if (current.empty() || w.size() < 2 || !isHex(w[0])) continue;
    uint32_t addr = uint32_t(std::stoul(w[0], nullptr, 16));
    result[current].push_back({addr, w.size() >= 3 ? w[2] : w[1]});
  }
  return result;
}

std::vector<BindEntry> parseBindTable(const std::string& text) {
  std::vector<BindEntry> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    auto w = words(line);
    if (w.size() < 4 || w[0] != "__DATA" && w[0] != "__TEXT") continue;
    BindEntry e;
    e.section = w[0] + "," + w[1];
    e.address = uint32_t(std::stoul(w[2], nullptr, 16));
    e.weakImport = line.find("(weak_import)") != std::string::npos;
    if (e.weakImport) w.pop_back();
    e.symbol = w.back();
    if (w.size() == 7) {  // bind: type addend dylib symbol
      e.addend = std::stoll(w[4]);
      e.dylib = w[5];
    } else if (w.size() == 6) {  // weak bind: type addend symbol
      e.addend = std::stoll(w[4]);
    } else if (w.size() == 5) {  // lazy bind: dylib symbol
      e.dylib = w[3];
    }
    result.push_back(e);
  }
  return result;
}

std::vector<ExportEntry> parseExports(const std::string& text) {
  std::vector<ExportEntry> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    auto w = words(line);
    if (w.size() < 2 || !isHex(w[0])) continue;
    result.push_back({uint32_t(std::stoul(w[0], nullptr, 16)), w[1], line.find("[weak_def]") != std::string::npos});
  }
  return result;
}

std::vector<Instruction> disassemblyOf(const std::string& text, const std::string& function) {
  std::vector<Instruction> result;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == ':' && line.find('\t') == std::string::npos) {
      inside = line == function + ":";
      continue;
    }
    if (!inside) continue;
    // "     563:\te8 00 00 00 00\tcalll\t0x568"
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    size_t tab1 = line.find('\t', colon);
    size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) continue;
    Instruction ins;
    ins.address = uint32_t(std::stoul(line.substr(0, colon), nullptr, 16));
    ins.text = line.substr(tab2 + 1);
    for (char& c : ins.text)
      if (c == '\t') c = ' ';
    result.push_back(ins);
  }
  return result;
}

}  // namespace torvel::ld::test
