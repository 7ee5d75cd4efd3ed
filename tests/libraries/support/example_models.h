#pragma once
// Reads the example oscillator models (examples/*.elf): comment lines, a
// line "@", then "ac,bc", the gap, the refractive index and one row per
// oscillator "w0 A0 gamma alpha"; loads a library's entry by full path from
// the program's folder, as the program does.
#include <dlfcn.h>

#include <cstdint>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kelvara::examples {

struct Model {
  std::vector<float> w0, gamma, a0, alfa;
  int16_t num = 0;
  float egap = 0, ac = 1, bc = 0;
  // Arrays of at least one element, so that element 1 has an address.
  void pad() {
    for (auto* v : {&w0, &gamma, &a0, &alfa}) v->resize(std::max<std::size_t>(v->size(), 1));
  }
};

inline Model readModel(const std::string& path) {
  Model m;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line) && line.rfind('@', 0) != 0) {
  }
  if (std::getline(in, line)) {
    for (char& c : line)
      if (c == ',') c = ' ';
    std::istringstream(line) >> m.ac >> m.bc;
  }
  float refIndex = 0;
  in >> m.egap >> refIndex;
  float w0, a0, g, a;
  while (in >> w0 >> a0 >> g >> a) {
    m.w0.push_back(w0);
    m.a0.push_back(a0);
    m.gamma.push_back(g);
    m.alfa.push_back(a);
  }
  m.num = int16_t(m.w0.size());
  m.pad();
  return m;
}

// A model named by its label.
struct Labeled {
  std::string label;
  Model model;
};

// The three example files under their labels: "metal" (no gap),
// "semiconductor" (1.1 eV gap) and "oxide" (9 eV gap).
inline const std::vector<Labeled>& exampleModels() {
  static const std::vector<Labeled> models = {
      {"metal", readModel(KELVARA_SOURCE_DIR "/examples/free_electron_metal.elf")},
      {"semiconductor", readModel(KELVARA_SOURCE_DIR "/examples/semiconductor_si_like.elf")},
      {"oxide", readModel(KELVARA_SOURCE_DIR "/examples/oxide_sio2_like.elf")}};
  return models;
}

// The entry `name` of the library `file` (e.g. "castrel.so") in the
// program's folder, or null (dlerror() tells why).
template <class F>
F loadEntry(const char* file, const char* name) {
  void* handle = dlopen((std::string(KELVARA_BIN_DIR) + "/" + file).c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle == nullptr ? nullptr : reinterpret_cast<F>(dlsym(handle, name));
}

// Two dispersing oscillators at 15 and 25 eV above the gap egap.
inline Model twoOscillators(float egap) {
  return {{15.0f, 25.0f}, {3.0f, 8.0f}, {100.0f, 300.0f}, {1.0f, 0.5f}, 2, egap, 1.0f, 0.0f};
}

// No oscillator (one padded element each).
inline Model noOscillator() { return {{0.0f}, {0.0f}, {0.0f}, {0.0f}, 0, 0.0f, 1.0f, 0.0f}; }

}  // namespace kelvara::examples
