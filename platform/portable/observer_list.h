// The observers of one kind of event: several at once, each removed by its own handle, and safe
// against an observer that registers or removes observers while it is being told.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace platform::detail {

template <typename Function>
class ObserverList {
  public:
    int Add(Function observer) {
        const int id = ++lastId_;
        entries_.push_back({id, std::move(observer)});
        return id;
    }

    void Remove(int id) {
        for (Entry& entry : entries_) {
            if (entry.id == id) entry.function = nullptr;
        }
        if (depth_ == 0) Compact();
    }

    bool empty() const { return entries_.empty(); }

    // Calls every observer registered before the call began (those added by an observer wait
    // for the next event; those removed by one are not called any more).
    template <typename... Args>
    void Notify(Args&&... args) {
        ++depth_;
        const std::size_t count = entries_.size();
        for (std::size_t i = 0; i < count && i < entries_.size(); ++i) {
            if (entries_[i].function) {
                // A copy: the observer may add entries, which can move the vector.
                Function function = entries_[i].function;
                function(args...);
            }
        }
        if (--depth_ == 0) Compact();
    }

  private:
    struct Entry {
        int id;
        Function function;
    };

    void Compact() {
        std::erase_if(entries_, [](const Entry& entry) { return !entry.function; });
    }

    std::vector<Entry> entries_;
    int lastId_ = 0;
    int depth_ = 0;
};

}  // namespace platform::detail
