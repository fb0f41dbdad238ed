#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace saymgr::dictionary {

// The entries of one dictionary: case-folded word -> replacement, both UTF-8.
class WordTable {
  public:
    // Adds or replaces the entry of `foldedWord`.
    void insert(std::string foldedWord, std::string replacement);
    // The replacement of `foldedWord`, or nullptr.
    const std::string* find(const std::string& foldedWord) const;
    bool contains(const std::string& foldedWord) const { return find(foldedWord) != nullptr; }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

    // Visits the entries in ascending order of their words, so output built from them does
    // not depend on hashing.
    template <typename Visitor>
    void forEachSorted(Visitor&& visit) const;

  private:
    std::unordered_map<std::string, std::string> m_entries;
};

template <typename Visitor>
void WordTable::forEachSorted(Visitor&& visit) const {
    std::vector<const std::pair<const std::string, std::string>*> sorted;
    sorted.reserve(m_entries.size());
    for (const auto& entry : m_entries) {
        sorted.push_back(&entry);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    for (const auto* entry : sorted) {
        visit(entry->first, entry->second);
    }
}

}  // namespace saymgr::dictionary
