#include "lockjob/ini_store.h"

#include "common/decimal.h"

namespace pinvale {
namespace {

constexpr std::uint32_t kNoLine = 0xFFFFFFFF;

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

// FNV-1a over the code units, folded or exact.
template <bool kFold>
std::uint64_t NameHash(std::u16string_view name) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (char16_t c : name) {
    h ^= kFold ? Fold(c) : c;
    h *= 0x100000001b3ULL;
  }
  return MixHash(h);
}

}  // namespace

IniStore::Span IniStore::Store(std::u16string_view text) {
  Span span{static_cast<std::uint32_t>(strings_.size()), static_cast<std::uint32_t>(text.size())};
  strings_.append(text);
  return span;
}

std::uint32_t IniStore::FindSection(std::u16string_view name, std::uint64_t hash) const {
  return section_index_.Find(hash, [&](std::uint32_t id) { return SameName(View(sections_[id].name), name); });
}

std::uint32_t IniStore::FindKey(std::u16string_view name, std::uint64_t hash) const {
  return key_index_.Find(hash, [&](std::uint32_t id) { return View(keys_[id].name) == name; });
}

std::uint32_t IniStore::InternKey(std::u16string_view name) {
  const std::uint64_t hash = NameHash<false>(name);
  std::uint32_t id = FindKey(name, hash);
  if (id != HashIndex::kNone) return id;

  id = static_cast<std::uint32_t>(keys_.size());
  const std::uint64_t folded_hash = NameHash<true>(name);
  std::uint32_t folded =
      fold_index_.Find(folded_hash, [&](std::uint32_t k) { return SameName(View(keys_[k].name), name); });
  if (folded == HashIndex::kNone) {
    folded = id;
    fold_index_.Insert(folded_hash, id, [&](std::uint32_t k) { return NameHash<true>(View(keys_[k].name)); });
  }
  keys_.push_back({Store(name), folded});
  key_index_.Insert(hash, id, [&](std::uint32_t k) { return NameHash<false>(View(keys_[k].name)); });
  return id;
}

// The lines of one section hash next to each other, so that writing several keys of a
// section touches one stretch of the index.
std::uint64_t IniStore::LineHash(std::uint32_t section, std::uint32_t folded_key) const {
  return MixHash(section) + folded_key;
}

IniStore::SectionId IniStore::FindOrAddSection(std::u16string_view section) {
  const std::uint64_t section_hash = NameHash<true>(section);
  std::uint32_t s = FindSection(section, section_hash);
  if (s == HashIndex::kNone) {
    s = static_cast<std::uint32_t>(sections_.size());
    sections_.push_back({Store(section), kNoLine, kNoLine});
    section_index_.Insert(section_hash, s,
                          [&](std::uint32_t id) { return NameHash<true>(View(sections_[id].name)); });
  }
  return s;
}

void IniStore::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  WriteString(FindOrAddSection(section), key, value);
}

void IniStore::WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value) {
  WriteString(FindOrAddSection(section), key, DecimalText(value).view());
}

void IniStore::WriteInteger(SectionId section, std::u16string_view key, std::int32_t value) {
  WriteString(section, key, DecimalText(value).view());
}

void IniStore::WriteString(SectionId s, std::u16string_view key, std::u16string_view value) {
  const std::uint32_t k = InternKey(key);
  const std::uint32_t folded = keys_[k].folded;
  const std::uint64_t line_hash = LineHash(s, folded);
  std::uint32_t l = line_index_.Find(
      line_hash, [&](std::uint32_t id) { return lines_[id].section == s && keys_[lines_[id].key].folded == folded; });

  if (l != HashIndex::kNone) {
    Line& line = lines_[l];
    if (value.size() <= line.capacity) {
      strings_.replace(line.value.offset, value.size(), value);
      line.value.length = static_cast<std::uint32_t>(value.size());
    } else {
      line.value = Store(value);
      line.capacity = line.value.length;
    }
    return;
  }

  l = static_cast<std::uint32_t>(lines_.size());
  Span stored = Store(value);
  lines_.push_back({s, k, kNoLine, stored, stored.length});
  Section& owner = sections_[s];
  if (owner.last_line == kNoLine)
    owner.first_line = l;
  else
    lines_[owner.last_line].next = l;
  owner.last_line = l;
  line_index_.Insert(line_hash, l, [&](std::uint32_t id) {
    return LineHash(lines_[id].section, keys_[lines_[id].key].folded);
  });
}

std::optional<std::u16string_view> IniStore::ReadString(std::u16string_view section, std::u16string_view key) const {
  const std::uint32_t s = FindSection(section, NameHash<true>(section));
  if (s == HashIndex::kNone) return std::nullopt;
  const std::uint32_t folded =
      fold_index_.Find(NameHash<true>(key), [&](std::uint32_t k) { return SameName(View(keys_[k].name), key); });
  if (folded == HashIndex::kNone) return std::nullopt;
  const std::uint32_t l = line_index_.Find(LineHash(s, folded), [&](std::uint32_t id) {
    return lines_[id].section == s && keys_[lines_[id].key].folded == folded;
  });
  if (l == HashIndex::kNone) return std::nullopt;
  return View(lines_[l].value);
}

std::u16string IniStore::Text() const {
  std::u16string text;
  AppendText(text);
  return text;
}

void IniStore::AppendText(std::u16string& text) const {
  std::size_t size = 0;
  for (const Section& section : sections_) size += section.name.length + 6;
  for (const Line& line : lines_) size += keys_[line.key].name.length + line.value.length + 3;

  // Sized once, then filled in place: no growth and no per-append checks.
  const std::size_t start = text.size();
  text.resize(start + size);
  char16_t* out = text.data() + start;
  auto put = [&out](std::u16string_view part) {
    for (char16_t c : part) *out++ = c;
  };
  for (const Section& section : sections_) {
    put(u"[");
    put(View(section.name));
    put(u"]\r\n");
    for (std::uint32_t l = section.first_line; l != kNoLine; l = lines_[l].next) {
      put(View(keys_[lines_[l].key].name));
      put(u"=");
      put(View(lines_[l].value));
      put(u"\r\n");
    }
    put(u"\r\n");
  }
}

std::size_t IniStore::MemoryBytes() const {
  return strings_.capacity() * sizeof(char16_t) + sections_.capacity() * sizeof(Section) +
         keys_.capacity() * sizeof(Key) + lines_.capacity() * sizeof(Line) + section_index_.MemoryBytes() +
         key_index_.MemoryBytes() + fold_index_.MemoryBytes() + line_index_.MemoryBytes();
}

}  // namespace pinvale
