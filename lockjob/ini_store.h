#pragma once
// The in-memory INI store behind a job file.
//  - Sections keep the order in which they were first written, keys within a section too.
//  - Writing a key the section holds replaces its value where the line stands.
//  - Section and key names match without regard to the case of ASCII letters; a name
//    keeps the spelling of its first write.
//  - Values are stored as given: no quotes, no escapes, nothing around the "=".
// Sections and keys are found through hashed indexes, never by scanning.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/hash_index.h"

namespace pinvale {

class IniStore {
 public:
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);

  // The same writes through a section found (or added) once, for several keys in a row.
  using SectionId = std::uint32_t;
  SectionId FindOrAddSection(std::u16string_view section);
  void WriteString(SectionId section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(SectionId section, std::u16string_view key, std::int32_t value);

  std::optional<std::u16string_view> ReadString(std::u16string_view section, std::u16string_view key) const;

  // The whole file as UTF-16 code units, without the byte-order mark: per section its
  // header line, its key lines and an empty line, every line ended by CR LF.
  std::u16string Text() const;
  void AppendText(std::u16string& out) const;

  // Heap memory the store holds.
  std::size_t MemoryBytes() const;

 private:
  struct Span {
    std::uint32_t offset;
    std::uint32_t length;
  };
  struct Section {
    Span name;
    std::uint32_t first_line;
    std::uint32_t last_line;
  };
  struct Key {
    Span name;
    std::uint32_t folded;  // id of the first key with the same name up to letter case
  };
  struct Line {
    std::uint32_t section;
    std::uint32_t key;
    std::uint32_t next;  // next line of the same section
    Span value;
    std::uint32_t capacity;  // room at value.offset, so that a shorter or equal value is rewritten in place
  };

  std::u16string_view View(Span s) const { return std::u16string_view(strings_).substr(s.offset, s.length); }
  Span Store(std::u16string_view text);
  std::uint32_t FindSection(std::u16string_view name, std::uint64_t hash) const;
  std::uint32_t FindKey(std::u16string_view name, std::uint64_t hash) const;
  std::uint32_t InternKey(std::u16string_view name);
  std::uint64_t LineHash(std::uint32_t section, std::uint32_t folded_key) const;

  std::u16string strings_;  // names and values, back to back
  std::vector<Section> sections_;
  std::vector<Key> keys_;
  std::vector<Line> lines_;
  HashIndex section_index_;
  HashIndex key_index_;   // exact spellings
  HashIndex fold_index_;  // one key id per name up to letter case
  HashIndex line_index_;  // (section, folded key) to line
};

}  // namespace pinvale
