// The state a recursion keeps between computations, so that bars appended or changed at the end resume it
// from the bar before them rather than from bar 0.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace qc::studies {

// A recursion's state after the last bar and after the one before it, as the last computation left them:
// an append resumes from the first, an update of the last bar from the second. The state is a trivially
// copyable value (the window machinery's averages are), kept as its bytes.
class Resume {
 public:
  // Asks the next computation to start at bar `from`: true when the state after bar from − 1 is kept (or
  // from is 0); false leaves it to start at bar 0.
  bool start_at(std::size_t from) {
    start_ = from == 0                                      ? Start::first
             : from == kept_ && !last_.empty()              ? Start::last
             : from + 1 == kept_ && !before_last_.empty()   ? Start::before_last
                                                            : Start::first;
    from_ = start_ == Start::first ? 0 : from;
    return from_ == from;
  }
  // Whether a computation kept its state: a study that cannot resume keeps none.
  bool kept() const { return !last_.empty(); }
  // Forgets the states, so that the next computation starts at bar 0.
  void clear() {
    kept_ = from_ = 0;
    start_ = Start::first;
    last_.clear();
    before_last_.clear();
  }

  // Runs range(begin, end) over bars from … n − 1 (from the state asked for with start_at, else from bar 0
  // with `state` as made), in two parts, keeping the state after the last bar and after the one before it.
  template <class State, class Range>
  [[gnu::always_inline]] void run_ranges(std::size_t n, State& state, Range&& range) {
    static_assert(std::is_trivially_copyable_v<State>);
    std::size_t t = 0;
    const std::vector<unsigned char>& start = start_ == Start::last ? last_ : before_last_;
    if (start_ != Start::first && start.size() == sizeof(State)) {
      std::memcpy(static_cast<void*>(&state), start.data(), sizeof(State));
      t = from_;
    }
    if (t >= n && t > 0) {
      // Nothing to compute (the last bars were taken away): the state is the one after the last bar, and
      // the one before it is not known.
      keep(last_, state);
      before_last_.clear();
    } else if (n > 0) {
      // The state to start from may be the one about to be overwritten: taken above, before the run.
      if (t + 1 < n) range(t, n - 1);
      keep(before_last_, state);
      range(n - 1, n);
      keep(last_, state);
    }
    kept_ = n;
    from_ = 0;
    start_ = Start::first;
  }

 private:
  template <class State>
  [[gnu::always_inline]] static void keep(std::vector<unsigned char>& to, const State& state) {
    to.resize(sizeof(State));
    std::memcpy(to.data(), static_cast<const void*>(&state), sizeof(State));
  }

  enum class Start : unsigned char { first, last, before_last };
  std::size_t kept_ = 0;  // the bar count of the computation that kept the states
  std::size_t from_ = 0;
  Start start_ = Start::first;
  std::vector<unsigned char> last_, before_last_;
};

// Runs range(0, n) with `state`, or through `resume` where a computation keeps its state. Inlined, so that
// a study's loop keeps its state in registers as it did written out in the study.
template <class State, class Range>
[[gnu::always_inline]] inline void resumable_ranges(Resume* resume, std::size_t n, State& state, Range&& range) {
  if (resume != nullptr) {
    resume->run_ranges(n, state, range);
    return;
  }
  range(0, n);
}

// The same bar by bar: step(t) for each bar.
template <class State, class Step>
[[gnu::always_inline]] inline void resumable(Resume* resume, std::size_t n, State& state, Step&& step) {
  resumable_ranges(resume, n, state, [&](std::size_t begin, std::size_t end) {
    for (std::size_t t = begin; t < end; ++t) step(t);
  });
}

}  // namespace qc::studies
