// The order a list of entries plays in: in turn, or shuffled a round at a time, with repeat
// starting another round; entries that would not open are skipped from then on. It knows
// nothing of opening: a host walks the positions it offers, opening each until one plays
// (synchronously in the player, one decode at a time in the browser).
#pragma once

#include <random>
#include <vector>

namespace hostkit {

class PlayOrder {
  public:
    // How a walk goes on past an entry that would not open.
    enum class Walk {
        Forward,   // on to the end of the round
        Backward,  // back to the start of the round
        Onward,    // as Forward, then into another round when repeating
    };

    explicit PlayOrder(int entries = 0);

    // Shuffle plays every entry once a round in an order of its own, the playing one first;
    // repeat starts another round after the last entry instead of stopping.
    void SetShuffle(bool shuffle);
    void SetRepeat(bool repeat) { repeat_ = repeat; }
    bool shuffle() const { return shuffle_; }
    bool repeat() const { return repeat_; }
    // Seeds the shuffle order, for tests; otherwise it differs every run.
    void Seed(unsigned seed) { random_.seed(seed); }

    // Starting positions of a walk, -1 when there is nothing to open: the first playable entry
    // from `position` on; the one after the playing one (another round when repeating); the
    // one before it.
    int First(int position = 0) const;
    int Next();
    int Previous() const;
    // The entry at `position` would not open: it is skipped from now on. Where the walk goes on.
    int Failed(int position, Walk walk);
    // The entry at `position` opened: it is the playing one.
    void Opened(int position);

    // A new order for a new round (only when shuffling); nothing plays until a walk opens one.
    void Reshuffle();
    // `count` entries join the list: after the others, or spread among the rest of the round
    // when shuffling. With `start`, the position where a walk for them starts (the first of
    // them, or the next of the round when shuffling); -1 otherwise.
    int Append(int count, bool start);
    // Empties the list.
    void Clear();
    // A new list of `entries` in which `playing` has opened and plays: in turn, or shuffled
    // with it first of the round; entries marked in `unplayable` are skipped.
    void Renew(int entries, int playing, const std::vector<bool>& unplayable);

    int entries() const { return static_cast<int>(order_.size()); }
    // Entry numbers in playing order for this round, and where the playing one stands.
    const std::vector<int>& order() const { return order_; }
    int EntryAt(int position) const { return order_[static_cast<std::size_t>(position)]; }
    int position() const { return position_; }
    int playing() const { return playing_; }

  private:
    int Find(int position, int step) const;
    void Reorder();

    std::vector<int> order_;
    std::vector<bool> unplayable_;  // entries that would not open: skipped without a word later
    int playing_ = -1;              // the playing entry
    int position_ = -1;             // where it stands in order_
    bool shuffle_ = false;
    bool repeat_ = false;
    std::mt19937 random_{std::random_device{}()};
};

}  // namespace hostkit
