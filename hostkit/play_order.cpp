// Playing order of a list: in turn, shuffled rounds, repeat, entries skipped once unplayable.
#include "hostkit/play_order.h"

#include <algorithm>
#include <iterator>

namespace hostkit {

PlayOrder::PlayOrder(int entries) {
    Append(entries, false);
}

void PlayOrder::Reorder() {
    if (!shuffle_) {
        for (std::size_t i = 0; i < order_.size(); ++i)
            order_[i] = static_cast<int>(i);
        return;
    }
    std::shuffle(order_.begin(), order_.end(), random_);
}

int PlayOrder::Find(int position, int step) const {
    for (int p = position; p >= 0 && p < entries(); p += step) {
        if (!unplayable_[static_cast<std::size_t>(EntryAt(p))])
            return p;
    }
    return -1;
}

int PlayOrder::First(int position) const {
    return Find(position, 1);
}

int PlayOrder::Next() {
    const int next = Find(position_ + 1, 1);
    if (next >= 0 || !repeat_)
        return next;
    // A new round; with shuffle its order is new too, and does not start with the entry
    // that ended the last one when there is another to start with.
    Reorder();
    if (shuffle_) {
        auto playable = [this](int entry) { return !unplayable_[static_cast<std::size_t>(entry)]; };
        auto first = std::find_if(order_.begin(), order_.end(), playable);
        if (first != order_.end() && *first == playing_) {
            auto other = std::find_if(std::next(first), order_.end(), playable);
            if (other != order_.end())
                std::iter_swap(first, other);
        }
    }
    return Find(0, 1);
}

int PlayOrder::Previous() const {
    // At the first entry (or with none playable before it) there is no walk: the playing
    // one goes back to its start.
    return position_ > 0 ? Find(position_ - 1, -1) : -1;
}

int PlayOrder::Failed(int position, Walk walk) {
    if (position < 0 || position >= entries())
        return -1;
    unplayable_[static_cast<std::size_t>(EntryAt(position))] = true;
    if (walk == Walk::Backward)
        return Find(position - 1, -1);
    const int next = Find(position + 1, 1);
    if (next >= 0 || walk == Walk::Forward)
        return next;
    // Onward: as Next would go from here.
    const int playing = position_;
    position_ = position;
    const int round = Next();
    position_ = playing;
    return round;
}

void PlayOrder::Opened(int position) {
    position_ = position;
    playing_ = EntryAt(position);
}

void PlayOrder::SetShuffle(bool shuffle) {
    if (shuffle == shuffle_)
        return;
    shuffle_ = shuffle;
    if (order_.empty())
        return;
    Reorder();
    if (playing_ < 0)
        return;
    // The playing entry keeps playing: first of the new round, or in its place in turn.
    if (shuffle_)
        std::iter_swap(order_.begin(), std::find(order_.begin(), order_.end(), playing_));
    position_ =
        static_cast<int>(std::find(order_.begin(), order_.end(), playing_) - order_.begin());
}

void PlayOrder::Reshuffle() {
    if (shuffle_)
        Reorder();
}

int PlayOrder::Append(int count, bool start) {
    if (count <= 0)
        return -1;
    const int first = entries();
    for (int i = 0; i < count; ++i) {
        order_.push_back(first + i);
        unplayable_.push_back(false);
    }
    // Shuffling, the new entries mix with what this round has not played yet.
    if (shuffle_)
        std::shuffle(order_.begin() + (position_ + 1), order_.end(), random_);
    if (!start)
        return -1;
    const auto at = std::find(order_.begin(), order_.end(), first) - order_.begin();
    if (!shuffle_)
        return First(static_cast<int>(at));
    std::swap(order_[static_cast<std::size_t>(position_ + 1)],
              order_[static_cast<std::size_t>(at)]);
    return First(position_ + 1);
}

void PlayOrder::Clear() {
    order_.clear();
    unplayable_.clear();
    playing_ = -1;
    position_ = -1;
}

void PlayOrder::Renew(int entries, int playing, const std::vector<bool>& unplayable) {
    Clear();
    Append(entries, false);
    for (int entry = 0; entry < entries && entry < static_cast<int>(unplayable.size()); ++entry)
        unplayable_[static_cast<std::size_t>(entry)] = unplayable[static_cast<std::size_t>(entry)];
    if (shuffle_)
        std::iter_swap(order_.begin(), std::find(order_.begin(), order_.end(), playing));
    Opened(static_cast<int>(std::find(order_.begin(), order_.end(), playing) - order_.begin()));
}

}  // namespace hostkit
