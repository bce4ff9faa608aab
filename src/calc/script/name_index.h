// A fixed table of names, each with a value, built at compile time.
//
// The lexer asks it whether a name is a reserved word and the interpreter
// which member of Math a name is, once for every name of every line. The
// entries are grouped by their first byte, so a lookup looks only at the few
// entries that begin as the name does and reads the bytes only of those just
// as long.
#ifndef SUMORA_CALC_SCRIPT_NAME_INDEX_H_
#define SUMORA_CALC_SCRIPT_NAME_INDEX_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sumora::script {

template <typename T, std::size_t N>
class NameIndex {
  static_assert(N < 256, "the group offsets are bytes");

 public:
  struct Entry {
    std::string_view name;  // not empty; no two entries share one
    T value;
  };

  constexpr explicit NameIndex(const std::array<Entry, N>& entries) {
    std::size_t n = 0;
    for (std::size_t byte = 0; byte < 256; ++byte) {
      group_start_[byte] = static_cast<std::uint8_t>(n);
      for (const Entry& e : entries) {
        if (static_cast<unsigned char>(e.name[0]) == byte) entries_[n++] = e;
      }
    }
    group_start_[256] = static_cast<std::uint8_t>(n);
  }

  // The value of `name`, or nullptr when no entry has that name.
  // {{"pow", 1}, {"pi", 2}}: "pi" -> 2, "p" -> nullptr, "" -> nullptr.
  constexpr const T* Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    const auto byte = static_cast<unsigned char>(name[0]);
    for (std::size_t i = group_start_[byte]; i < group_start_[byte + 1]; ++i) {
      const std::string_view candidate = entries_[i].name;
      if (candidate.size() != name.size()) continue;
      // The first bytes are equal. The names are short, which a loop
      // compares faster than a call would.
      std::size_t k = 1;
      while (k < name.size() && candidate[k] == name[k]) ++k;
      if (k == name.size()) return &entries_[i].value;
    }
    return nullptr;
  }

 private:
  std::array<Entry, N> entries_{};  // ordered by first byte
  // Entries of first byte b: [group_start_[b], group_start_[b + 1]).
  std::array<std::uint8_t, 257> group_start_{};
};

}  // namespace sumora::script

#endif  // SUMORA_CALC_SCRIPT_NAME_INDEX_H_
