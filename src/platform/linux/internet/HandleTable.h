#pragma once
// The handles of the Internet functions: numbers from 1 for the open objects, each recorded under
// the handle it was opened on. A closed handle's number is not handed out again until the counter
// wraps, so a stale handle finds nothing.

#include <algorithm>
#include <vector>

#include "platform/Internet.h"

namespace updater {

template <typename Object>
class HandleTable {
 public:
  HINTERNET Add(HINTERNET parent, Object object) {
    do {
      if (++last_ == 0) last_ = 1;
    } while (Find(last_) != nullptr);
    entries_.push_back({last_, parent, std::move(object)});
    return last_;
  }

  // The object of handle, or nullptr; valid until the next Add or Remove.
  Object* Find(HINTERNET handle) {
    if (handle == 0) return nullptr;
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.handle == handle; });
    return found == entries_.end() ? nullptr : &found->object;
  }

  // The handles opened directly on parent; 0 gives the handles opened on none.
  std::vector<HINTERNET> ChildrenOf(HINTERNET parent) const {
    std::vector<HINTERNET> children;
    for (const Entry& e : entries_)
      if (e.parent == parent) children.push_back(e.handle);
    return children;
  }

  bool HasChildren(HINTERNET parent) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.parent == parent; });
  }

  void Remove(HINTERNET handle) {
    std::erase_if(entries_, [&](const Entry& e) { return e.handle == handle; });
  }

 private:
  struct Entry {
    HINTERNET handle;
    HINTERNET parent;
    Object object;
  };
  std::vector<Entry> entries_;
  HINTERNET last_ = 0;
};

}  // namespace updater
