#pragma once
// Golden outputs of a library: a 64-bit hash of every output byte of each
// parameter set, kept in a small text file, one set per line:
//   <key><TAB><output>=<16 hex digits> <output>=<16 hex digits> ...
// The key names the set and its parameters. With KELVARA_GOLDEN_RECORD=1 in
// the environment, compare() writes the file instead of reading it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kelvara::golden {

// FNV-1a over the bytes.
inline std::uint64_t hashBytes(const void* data, std::size_t size) {
  std::uint64_t h = 1469598103934665603ull;
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// The outputs of one parameter set.
struct Entry {
  std::string key;
  std::vector<std::pair<std::string, std::uint64_t>> outputs;

  template <class T>
  Entry& add(const std::string& name, const T* values, std::size_t count) {
    outputs.emplace_back(name, hashBytes(values, count * sizeof(T)));
    return *this;
  }
  template <class T>
  Entry& add(const std::string& name, const T& value) {
    return add(name, &value, 1);
  }
};

// Key text of parameters: each value in the shortest form that reads back.
inline std::string keyOf(const std::string& label, std::initializer_list<std::pair<const char*, double>> params) {
  std::ostringstream s;
  s << label;
  for (const auto& [name, value] : params) {
    char buf[40];
    std::snprintf(buf, sizeof buf, " %s=%.9g", name, value);
    s << buf;
  }
  return s.str();
}

inline bool recording() {
  const char* v = std::getenv("KELVARA_GOLDEN_RECORD");
  return v != nullptr && std::strcmp(v, "1") == 0;
}

inline std::string hex(std::uint64_t h) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf;
}

// Compares the computed entries with the file (or records them). Returns one
// message per difference: a missing file, a set missing or changed, or the
// name of each output that differs.
inline std::vector<std::string> compare(const std::string& path, const std::vector<Entry>& computed) {
  std::vector<std::string> problems;
  if (recording()) {
    std::ofstream out(path);
    for (const Entry& e : computed) {
      out << e.key << '\t';
      for (std::size_t i = 0; i < e.outputs.size(); ++i)
        out << (i ? " " : "") << e.outputs[i].first << '=' << hex(e.outputs[i].second);
      out << '\n';
    }
    if (!out) problems.push_back("cannot write " + path);
    return problems;
  }
  std::ifstream in(path);
  if (!in) return {"cannot read " + path};
  std::vector<std::pair<std::string, std::string>> lines;
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    lines.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  if (lines.size() != computed.size())
    problems.push_back("file has " + std::to_string(lines.size()) + " sets, computed " +
                       std::to_string(computed.size()));
  for (std::size_t i = 0; i < computed.size() && i < lines.size(); ++i) {
    const Entry& e = computed[i];
    const std::string where = "set " + std::to_string(i + 1) + " (" + e.key + ")";
    if (lines[i].first != e.key) {
      problems.push_back(where + ": file has parameters " + lines[i].first);
      continue;
    }
    std::map<std::string, std::string> expected;
    std::istringstream fields(lines[i].second);
    for (std::string f; fields >> f;) {
      const auto eq = f.find('=');
      if (eq != std::string::npos) expected[f.substr(0, eq)] = f.substr(eq + 1);
    }
    for (const auto& [name, h] : e.outputs) {
      const auto it = expected.find(name);
      if (it == expected.end())
        problems.push_back(where + ": output " + name + " not in the file");
      else if (it->second != hex(h))
        problems.push_back(where + ": output " + name + " differs");
    }
  }
  return problems;
}

// Compares (or records) the entries compute() returns with the worker count
// KELVARA_THREADS set to each of `threads` in turn (recording uses the first
// only); returns the differences, each line prefixed with the thread count.
template <class Compute>
std::vector<std::string> compareOnThreads(const std::string& path, std::initializer_list<const char*> threads,
                                          Compute&& compute) {
  std::vector<std::string> problems;
  for (const char* t : threads) {
    setenv("KELVARA_THREADS", t, 1);
    for (const std::string& p : compare(path, compute()))
      problems.push_back(std::string("KELVARA_THREADS=") + t + ": " + p);
    if (recording()) break;
  }
  unsetenv("KELVARA_THREADS");
  return problems;
}

inline std::string joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

}  // namespace kelvara::golden
