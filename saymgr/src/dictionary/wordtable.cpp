#include "dictionary/wordtable.h"

namespace saymgr::dictionary {

void WordTable::insert(std::string foldedWord, std::string replacement) {
    m_entries.insert_or_assign(std::move(foldedWord), std::move(replacement));
}

const std::string* WordTable::find(const std::string& foldedWord) const {
    const auto it = m_entries.find(foldedWord);
    return it == m_entries.end() ? nullptr : &it->second;
}

}  // namespace saymgr::dictionary
