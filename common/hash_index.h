#pragma once
// An open-addressing index of 32-bit ids. It stores only the ids: the caller says how
// to hash and compare the entries they stand for, so the index adds a few bytes per
// entry and every lookup costs the same however many entries there are.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pinvale {

class HashIndex {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  // The id for which is_match(id) holds, among those inserted with this hash; kNone if none.
  template <class IsMatch>
  std::uint32_t Find(std::uint64_t hash, IsMatch is_match) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      std::uint32_t slot = slots_[i];
      if (slot == 0) return kNone;
      if (is_match(slot - 1)) return slot - 1;
    }
  }

  // Adds an id that is not in the index yet; hash_of(id) rehashes the ids already held when the table grows.
  template <class HashOf>
  void Insert(std::uint64_t hash, std::uint32_t id, HashOf hash_of) {
    if ((count_ + 1) * 2 > slots_.size()) Grow(hash_of);
    Place(hash, id);
    ++count_;
  }

  std::size_t MemoryBytes() const { return slots_.capacity() * sizeof(std::uint32_t); }

 private:
  void Place(std::uint64_t hash, std::uint32_t id) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = id + 1;
  }

  template <class HashOf>
  void Grow(HashOf hash_of) {
    std::vector<std::uint32_t> old(slots_.empty() ? 8 : slots_.size() * 2, 0);
    old.swap(slots_);
    for (std::uint32_t slot : old)
      if (slot != 0) Place(hash_of(slot - 1), slot - 1);
  }

  std::vector<std::uint32_t> slots_;  // id + 1; 0 marks a free slot
  std::size_t count_ = 0;
};

// Mixes an integer key into a well-spread hash (splitmix64's finaliser).
inline std::uint64_t MixHash(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ULL;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

}  // namespace pinvale
