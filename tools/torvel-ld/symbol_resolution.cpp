#include "symbol_resolution.h"

#include <set>

#include "diagnostics.h"
#include "macho.h"
#include "relocation_kinds.h"

namespace torvel::ld {

namespace {

int globalFor(Image& image, const std::string& name) {
  auto [it, inserted] = image.globalIndex.try_emplace(name, int(image.globals.size()));
  if (inserted) {
    GlobalSymbol g;
    g.name = name;
    image.globals.push_back(g);
  }
  return it->second;
}

void define(Image& image, GlobalSymbol& g, int object, uint32_t index) {
  const InputSymbol& sym = image.objects[object].symbols[index];
  bool weak = sym.weakDefinition();
  if (g.kind == GlobalSymbol::Kind::Defined) {
    if (!g.weak && !weak)
      fail("duplicate symbol " + g.name + ": defined in " + image.objects[g.object].path + " and in " +
           image.objects[object].path);
    if (weak || !g.weak) return;  // keep the first weak definition, or the strong one
  }
  g.kind = GlobalSymbol::Kind::Defined;
  g.object = object;
  g.symbol = index;
  g.weak = weak;
  g.hidden = sym.privateExtern();
  g.absolute = sym.absolute();
}

void addCommon(GlobalSymbol& g, const InputSymbol& sym) {
  if (g.kind == GlobalSymbol::Kind::Defined) return;
  uint32_t align = (sym.desc >> 8) & 0xF;
  if (g.kind != GlobalSymbol::Kind::Common) {
    g.kind = GlobalSymbol::Kind::Common;
    g.commonSize = 0;
    g.commonAlign = 0;
    g.hidden = sym.privateExtern();
  }
  if (sym.value > g.commonSize) g.commonSize = sym.value;
  if (align > g.commonAlign) g.commonAlign = align;
}

// Records where each object's discarded weak copies sit, so that references
// which name them by address (section differences in PIC code) can be sent to
// the copy that was kept. An address where this object also holds a kept
// definition (an alias) stays with that definition.
void recordReplacedDefinitions(Image& image) {
  image.replacedDefinitions.assign(image.objects.size(), {});
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    auto& replaced = image.replacedDefinitions[o];
    std::set<uint32_t> kept;
    for (size_t s = 0; s < obj.symbols.size(); ++s) {
      const InputSymbol& sym = obj.symbols[s];
      int gi = image.objectGlobals[o][s];
      if (gi < 0 || !sym.inSection()) continue;
      const GlobalSymbol& g = image.globals[gi];
      if (g.kind == GlobalSymbol::Kind::Defined && g.object == int(o) && g.symbol == s)
        kept.insert(sym.value);
      else if (g.kind == GlobalSymbol::Kind::Defined)
        replaced.emplace(sym.value, gi);
    }
    for (uint32_t a : kept) replaced.erase(a);
  }
}

// Adds (or finds) an import that the linker itself needs and returns its
// global index.
int addLinkerImport(Image& image, const std::string& name) {
  int index = globalFor(image, name);
  GlobalSymbol& g = image.globals[index];
  if (g.kind != GlobalSymbol::Kind::Import) fail("the library defines " + name + ", a name the linker reserves");
  g.weakImport = false;
  return index;
}

// A call (relocationKinds() says which entries are calls) to an import or to
// an exported weak definition reaches it through a stub; stubs are numbered
// in the order of the first call.
void chooseStubs(Image& image) {
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    for (size_t s = 0; s < obj.sections.size(); ++s) {
      if (image.routes[o][s].action != SectionRoute::Action::Copy) continue;
      for (const Relocation& r : obj.sections[s].relocs) {
        if (!callsThroughStub(r)) continue;
        if (r.symbolnum >= obj.symbols.size()) continue;  // reported when relocations are applied
        int g = image.objectGlobals[o][r.symbolnum];
        if (g < 0) continue;
        const GlobalSymbol& sym = image.globals[g];
        if (sym.kind != GlobalSymbol::Kind::Import && !sym.boundByName()) continue;
        if (image.stubOfGlobal.count(g)) continue;
        image.stubOfGlobal[g] = int(image.stubs.size());
        image.stubs.push_back({g});
        if (sym.kind == GlobalSymbol::Kind::Import) image.lazyBinding = true;
      }
    }
  }
}

}  // namespace

void resolveSymbols(Image& image) {
  std::map<int, std::string> firstReference;
  image.objectGlobals.assign(image.objects.size(), {});
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    auto& map = image.objectGlobals[o];
    map.assign(obj.symbols.size(), -1);
    for (size_t s = 0; s < obj.symbols.size(); ++s) {
      const InputSymbol& sym = obj.symbols[s];
      if (sym.debug() || !sym.external()) continue;
      int gi = globalFor(image, sym.name);
      map[s] = gi;
      GlobalSymbol& g = image.globals[gi];
      if (sym.undefined()) {
        if (!sym.weakReference()) g.weakImport = false;
        firstReference.try_emplace(gi, obj.path);
      } else if (sym.common()) {
        addCommon(g, sym);
      } else {
        define(image, g, int(o), uint32_t(s));
      }
    }
  }

  recordReplacedDefinitions(image);

  std::set<std::string> allowed(image.options.allowedImports.begin(), image.options.allowedImports.end());
  std::string missing;
  for (size_t gi = 0; gi < image.globals.size(); ++gi) {
    GlobalSymbol& g = image.globals[gi];
    if (g.kind != GlobalSymbol::Kind::Import) continue;
    // Both names stand for the library's own Mach-O header, which the
    // linker places at the image's start: __cxa_atexit's DSO handle, and the
    // header symbol ld64 defines for every dylib.
    if (g.name == "___dso_handle" || g.name == "__mh_dylib_header") {
      g.kind = GlobalSymbol::Kind::DsoHandle;
      g.hidden = true;
      continue;
    }
    if (image.options.allUndefinedAreImports || allowed.count(g.name)) continue;
    missing += "\n  " + g.name + " (referenced from " + firstReference[int(gi)] + ")";
  }
  if (!missing.empty())
    fail("undefined symbols that are not in the list of allowed imports:" + missing);

  image.routes = routeSections(image.objects);
  chooseStubs(image);
  // Stubs of imports are bound lazily, through dyld_stub_binder.
  if (image.lazyBinding) image.binderGlobal = addLinkerImport(image, "dyld_stub_binder");
}

}  // namespace torvel::ld
