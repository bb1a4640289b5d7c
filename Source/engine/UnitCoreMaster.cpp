// SPDX-License-Identifier: GPL-3.0-or-later
// The master computer player ("Мастер"): a look-ahead over the seats' real replies.
//
// Method. The live board is reduced once per move to its island graph: every island that is
// not merged becomes a node with its colour, its tile count and its live neighbours, and each
// seat's territory is a node owned by that seat. A move of a seat with colour c is then played
// exactly as Capture plays it: every free node of colour c on the seat's frontier (the free
// nodes touching its territory when the move begins) joins the territory, and the free nodes
// touching those join the frontier for later moves. Colours held by any territory cannot be
// chosen, so blocking a colour a rival needs is part of what the search sees.
//
// Rivals. A computer of the three classic levels chooses by fixed rules (the greedy take, the
// five rings, the race for the middle island), and the master knows them, as the manual gives
// them: such a rival's answer is predicted exactly on the island graph (TClassicForesight in
// UnitCoreForesight.cpp). Only the master's own moves then branch, and the search goes by whole
// rounds: the master tries each of its moves, every rival answers as its level will, and the
// master's best line after that many rounds decides. A seat without fixed rules (a person,
// another master) is guessed:
//  - With two seats, by alpha-beta over the seats in turn order, paranoid: the master maximises
//    and the rival is assumed to minimise the master's margin. A seat with no capturing colour
//    only changes colour (one move, the lowest free colour). Moves are ordered by what they
//    take at once, the previous iteration's best move first at the root.
//  - With three or four seats, assuming that every rival plays against the master makes it too
//    timid, and a search that stops in the middle of a round judges positions where some seats
//    have moved once more than others. Such a rival takes its place in the rounds and answers
//    with the move that is best for itself by the master's evaluation from its own seat, one
//    move ahead.
// In the rounds the master changes colour without taking anything only when nothing can be
// taken: rivals foreseen to take nothing either (a "Умеренный" cut off from the middle) would
// otherwise let the game go round for ever.
//
// Evaluation. The rest of the board is shared out as the final distribution would share it: a
// breadth-first search from all frontiers at once over free nodes (territories are walls)
// gives each free node to the seat that reaches it in the fewest rings; nodes reached first by
// several seats at once, and everything only they reach behind them, count for nobody with two
// seats and are split evenly among those seats with more. A seat's value is its territory plus
// its region, in tiles (victory by area) or in points (squares of the islands' tile counts, by
// points); a position is worth the master's value minus the best rival's.
//
// Bounds. The search deepens one ply at a time (up to MasterMaxDepth plies; in rounds one
// round at a time, up to MasterMaxRounds) and stops when its position budget is spent (a
// rival weighing its answers counts one position per answer): the budget is MasterWorkBudget
// island visits divided by the number of live islands, so a position costs about the same work
// on any board, clamped to [MasterMinPositions, MasterMaxPositions]. An iteration that runs out of
// budget is thrown away and the deepest complete one answers. Nothing depends on the clock, on
// threads or on addresses: the same position always gives the same colour.
//
// Threads. PrepareMaster copies what the search needs out of the machine, so the search (a
// TMasterThought) can run on another thread while the window keeps handling its events; the
// thought only publishes how far it has got and reads whether it was cancelled, and neither
// changes its answer.
#include <algorithm>
#include <bit>
#include <limits>

#include "engine/UnitCore.h"
#include "engine/UnitCoreIslandGraph.h"
#include "engine/UnitCoreLists.h"

using namespace unitcore;

namespace {

constexpr int MasterMaxDepth = 12;
constexpr int MasterMaxRounds = 8;  // in rounds: the master's moves looked at

class TMasterSearch {
 public:
  TMasterSearch(const TGraph& g, bool byArea, std::vector<int> order, uint32_t budget,
                TRivals rivals = {}, std::atomic<uint32_t>* progress = nullptr,
                const std::atomic<bool>* cancelled = nullptr)
      : g_(g),
        byArea_(byArea),
        order_(std::move(order)),
        budget_(budget),
        rivals_(rivals),
        foresight_(g, byArea, rivals.Centre),
        progress_(progress),
        cancelled_(cancelled) {
    dist_.assign(g.Count(), 0);
    label_.assign(g.Count(), 0);
    stamp_.assign(g.Count(), 0);
  }

  uint32_t Positions() const { return positions_; }

  // Best colour among `roots` (free colours) for the first seat of the order.
  uint8_t Choose(const TState& root, std::vector<uint8_t> roots) {
    if (order_.size() > 2 || rivals_.Level[size_t(order_[1])] != 0)
      return ChooseInRounds(root, std::move(roots));
    return Deepen(root, std::move(roots), MasterMaxDepth, MasterMaxDepth + 2,
                  [this](int depth, int64_t alpha) {
                    return Search(depth - 1, 1, alpha, std::numeric_limits<int64_t>::max());
                  });
  }

  // Iterative deepening over the root colours: `value(i, alpha)` scores the position after the
  // first seat's colour (in stack_[1]) at iteration i. An iteration the budget cuts short is
  // thrown away; the best colour of the last whole one answers, and goes first in the next.
  template <class Value>
  uint8_t Deepen(const TState& root, std::vector<uint8_t> roots, int iterations, size_t stack,
                 const Value& value) {
    uint8_t best = roots.front();
    stack_.assign(stack, root);
    for (int i = 1; i <= iterations; ++i) {
      int64_t alpha = std::numeric_limits<int64_t>::min();
      uint8_t iterationBest = 0;
      aborted_ = false;
      for (const uint8_t c : roots) {
        stack_[1] = root;
        Play(stack_[1], order_[0], c);
        const int64_t v = value(i, alpha);
        if (aborted_) break;
        if (iterationBest == 0 || v > alpha) alpha = v, iterationBest = c;
      }
      if (aborted_) break;
      best = iterationBest;
      if (completeGame_) break;  // nothing left to look at deeper
      // The best move first next time; the rest keep their order.
      std::stable_partition(roots.begin(), roots.end(), [&](uint8_t c) { return c == best; });
    }
    return best;
  }

  // Free colours that capture something for `seat`, best immediate take first.
  void Moves(const TState& s, int seat, std::vector<uint8_t>& out) const {
    std::array<int64_t, 8> gain{};
    unsigned held = 0;
    for (int o = 1; o <= 4; ++o) held |= 1u << s.Colour[o];
    for (const uint32_t x : s.Front[seat])
      if (s.Owner[x] == 0 && !(held & (1u << g_.Colour[x])))
        gain[g_.Colour[x]] += byArea_ ? g_.Size[x] : int64_t(g_.Size[x]) * g_.Size[x];
    out.clear();
    for (int c = 1; c <= 7; ++c)
      if (gain[c] > 0) out.push_back(uint8_t(c));
    std::stable_sort(out.begin(), out.end(),
                     [&](uint8_t a, uint8_t b) { return gain[a] > gain[b]; });
    if (out.empty())
      for (int c = 1; c <= 7; ++c)
        if (!(held & (1u << c))) {
          out.push_back(uint8_t(c));
          break;
        }
  }

  // The seat's move with colour c, as Capture makes it.
  void Play(TState& s, int seat, uint8_t c) const {
    auto& front = s.Front[seat];
    const uint8_t bit = uint8_t(1u << seat);
    const size_t n = front.size();
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
      const uint32_t x = front[i];
      if (s.Owner[x] != 0) {
        s.InFront[x] &= uint8_t(~bit);
        continue;
      }
      if (g_.Colour[x] != c) {
        front[kept++] = x;
        continue;
      }
      s.Owner[x] = uint8_t(seat);
      s.InFront[x] &= uint8_t(~bit);
      s.Area[seat] += g_.Size[x];
      s.Points[seat] += int64_t(g_.Size[x]) * g_.Size[x];
      for (uint32_t e = g_.Start[x]; e < g_.Start[x + 1]; ++e) {
        const uint32_t y = g_.Adj[e];
        if (s.Owner[y] == 0 && !(s.InFront[y] & bit)) {
          s.InFront[y] |= bit;
          front.push_back(y);  // beyond n: not visited by this move
        }
      }
    }
    // Move the appended entries down over the dropped ones.
    std::move(front.begin() + long(n), front.end(), front.begin() + long(kept));
    front.resize(kept + (front.size() - n));
    s.Colour[seat] = c;
  }

 private:
  // One more position looked at; false (and the search aborted) once the budget is spent or
  // nobody wants the answer any more.
  bool Spend() {
    if (++positions_ > budget_) {
      aborted_ = true;
      return false;
    }
    if (progress_ && positions_ % 32 == 0) {
      progress_->store(positions_, std::memory_order_relaxed);
      if (cancelled_ && cancelled_->load(std::memory_order_relaxed)) {
        aborted_ = true;
        return false;
      }
    }
    return true;
  }

  // Whole rounds, the master's move and every rival's answer, deepened one round at a time.
  uint8_t ChooseInRounds(const TState& root, std::vector<uint8_t> roots) {
    // Changing colour without taking anything only when nothing can be taken.
    std::vector<uint8_t> takes;
    Moves(root, order_[0], takes);
    if (Takes(root, order_[0], takes.front()))
      std::erase_if(roots, [&](uint8_t c) { return !std::ranges::count(takes, c); });
    return Deepen(root, std::move(roots), MasterMaxRounds,
                  size_t(MasterMaxRounds) * order_.size() + 2,
                  [this](int rounds, int64_t) { return Answers(rounds, 1, 1); });
  }

  // The master to move at `ply` with `rounds` rounds still to look at.
  int64_t MasterTurn(int rounds, int ply) {
    if (!Spend()) return 0;
    std::vector<uint8_t> moves;
    Moves(stack_[ply], order_[0], moves);
    int64_t best = std::numeric_limits<int64_t>::min();
    for (const uint8_t c : moves) {
      stack_[ply + 1] = stack_[ply];
      Play(stack_[ply + 1], order_[0], c);
      const int64_t v = Answers(rounds, ply + 1, 1);
      if (aborted_) return 0;
      best = std::max(best, v);
    }
    return best;
  }

  // The rivals from the k-th seat of the order on answer the master's move at `ply`: a classic
  // level as it will, anybody else with the move that is best for itself by the same
  // evaluation; then the round is over.
  int64_t Answers(int rounds, int ply, size_t k) {
    if (!Spend()) return 0;
    if (k == order_.size())
      return rounds > 1 ? MasterTurn(rounds - 1, ply) : EvaluateShared(stack_[ply], order_[0]);
    const int seat = order_[k];
    uint8_t answer = 0;
    std::vector<uint8_t> moves;
    if (rivals_.Level[size_t(seat)] != 0) {
      if (!Spend()) return 0;
      answer = foresight_.Answer(stack_[ply], seat, rivals_.Level[size_t(seat)]);
    } else {
      Moves(stack_[ply], seat, moves);
      answer = moves.front();
    }
    if (moves.size() > 1) {
      int64_t top = std::numeric_limits<int64_t>::min();
      for (const uint8_t c : moves) {
        if (!Spend()) return 0;
        stack_[ply + 1] = stack_[ply];
        Play(stack_[ply + 1], seat, c);
        const int64_t v = EvaluateShared(stack_[ply + 1], seat);
        if (v > top) top = v, answer = c;
      }
    }
    stack_[ply + 1] = stack_[ply];
    Play(stack_[ply + 1], seat, answer);
    return Answers(rounds, ply + 1, k + 1);
  }

  // Whether colour c, free, takes something for `seat`.
  bool Takes(const TState& s, int seat, uint8_t c) const {
    if (HeldColours(s) & (1u << c)) return false;
    return std::ranges::any_of(s.Front[size_t(seat)],
                               [&](uint32_t x) { return s.Owner[x] == 0 && g_.Colour[x] == c; });
  }

  int64_t Search(int depth, int ply, int64_t alpha, int64_t beta) {
    if (++positions_ > budget_) {
      aborted_ = true;
      return 0;
    }
    // Now and then: how far the search has got, and whether anybody still wants the answer.
    if (progress_ && positions_ % 32 == 0) {
      progress_->store(positions_, std::memory_order_relaxed);
      if (cancelled_ && cancelled_->load(std::memory_order_relaxed)) {
        aborted_ = true;
        return 0;
      }
    }
    TState& s = stack_[ply];
    if (depth == 0) return Evaluate(s);
    const int seat = order_[size_t(ply) % order_.size()];
    const bool mine = seat == order_[0];
    std::vector<uint8_t> moves;
    Moves(s, seat, moves);
    int64_t best = mine ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    for (const uint8_t c : moves) {
      stack_[ply + 1] = s;
      Play(stack_[ply + 1], seat, c);
      const int64_t v = Search(depth - 1, ply + 1, alpha, beta);
      if (aborted_) return 0;
      if (mine) {
        best = std::max(best, v);
        alpha = std::max(alpha, v);
      } else {
        best = std::min(best, v);
        beta = std::min(beta, v);
      }
      if (alpha >= beta) break;
    }
    return best;
  }

  // The master's value minus the best rival's, with the free nodes shared out by rings.
  int64_t Evaluate(const TState& s) {
    constexpr uint8_t Contested = 5;
    if (++now_ == 0) std::fill(stamp_.begin(), stamp_.end(), 0), now_ = 1;
    queue_.clear();
    for (const int seat : order_)
      for (const uint32_t x : s.Front[seat]) {
        if (s.Owner[x] != 0) continue;
        if (stamp_[x] != now_) {
          stamp_[x] = now_, dist_[x] = 1, label_[x] = uint8_t(seat);
          queue_.push_back(x);
        } else if (label_[x] != seat) {
          label_[x] = Contested;
        }
      }
    std::array<int64_t, 6> region{};
    for (size_t head = 0; head < queue_.size(); ++head) {
      const uint32_t x = queue_[head];
      const uint8_t l = label_[x];
      region[l] += byArea_ ? g_.Size[x] : int64_t(g_.Size[x]) * g_.Size[x];
      const uint16_t next = uint16_t(dist_[x] + 1);
      for (uint32_t e = g_.Start[x]; e < g_.Start[x + 1]; ++e) {
        const uint32_t y = g_.Adj[e];
        if (s.Owner[y] != 0) continue;
        if (stamp_[y] != now_) {
          stamp_[y] = now_, dist_[y] = next, label_[y] = l;
          queue_.push_back(y);
        } else if (dist_[y] == next && label_[y] != l) {
          label_[y] = Contested;
        }
      }
    }
    if (queue_.empty()) completeGame_ = true;
    const int me = order_[0];
    int64_t rival = std::numeric_limits<int64_t>::min();
    for (const int seat : order_) {
      const int64_t value = (byArea_ ? s.Area[seat] : s.Points[seat]) + region[seat];
      if (seat != me) rival = std::max(rival, value);
    }
    return (byArea_ ? s.Area[me] : s.Points[me]) + region[me] - rival;
  }

  // With more than two seats: the value of `me`'s position, its territory plus its share of the
  // rest minus the best rival's, in twelfths of a tile or point. The rings are shared out as
  // in Evaluate, but a node first reached by several seats at once is split evenly among them
  // (and so is everything only they reach behind it) instead of counting for nobody.
  int64_t EvaluateShared(const TState& s, int me) {
    static constexpr std::array<int64_t, 5> Share{0, 12, 6, 4, 3};  // twelfths for 1..4 seats
    if (++now_ == 0) std::fill(stamp_.begin(), stamp_.end(), 0), now_ = 1;
    queue_.clear();
    for (const int seat : order_)
      for (const uint32_t x : s.Front[seat]) {
        if (s.Owner[x] != 0) continue;
        if (stamp_[x] != now_) {
          stamp_[x] = now_, dist_[x] = 1, label_[x] = 0;
          queue_.push_back(x);
        }
        label_[x] |= uint8_t(1u << seat);  // label_: the seats reaching the node first
      }
    std::array<int64_t, 5> region{};
    for (size_t head = 0; head < queue_.size(); ++head) {
      const uint32_t x = queue_[head];
      const uint8_t seats = label_[x];
      const int64_t value = (byArea_ ? g_.Size[x] : int64_t(g_.Size[x]) * g_.Size[x]) *
                            Share[size_t(std::popcount(unsigned(seats)))];
      for (const int seat : order_)
        if (seats & (1u << seat)) region[size_t(seat)] += value;
      const uint16_t next = uint16_t(dist_[x] + 1);
      for (uint32_t e = g_.Start[x]; e < g_.Start[x + 1]; ++e) {
        const uint32_t y = g_.Adj[e];
        if (s.Owner[y] != 0) continue;
        if (stamp_[y] != now_) {
          stamp_[y] = now_, dist_[y] = next, label_[y] = seats;
          queue_.push_back(y);
        } else if (dist_[y] == next) {
          label_[y] |= seats;
        }
      }
    }
    if (queue_.empty()) completeGame_ = true;
    int64_t rival = std::numeric_limits<int64_t>::min();
    for (const int seat : order_) {
      const int64_t value = (byArea_ ? s.Area[seat] : s.Points[seat]) * 12 + region[size_t(seat)];
      if (seat != me) rival = std::max(rival, value);
    }
    return (byArea_ ? s.Area[me] : s.Points[me]) * 12 + region[size_t(me)] - rival;
  }

  const TGraph& g_;
  const bool byArea_;
  const std::vector<int> order_;
  const uint32_t budget_;
  const TRivals rivals_;
  TClassicForesight foresight_;
  std::atomic<uint32_t>* const progress_;
  const std::atomic<bool>* const cancelled_;
  uint32_t positions_ = 0;
  bool aborted_ = false;
  bool completeGame_ = false;
  std::vector<TState> stack_;
  std::vector<uint16_t> dist_;
  std::vector<uint8_t> label_;
  std::vector<uint32_t> stamp_, queue_;
  uint32_t now_ = 0;
};

}  // namespace

struct TMasterThought::TData {
  TGraph Graph;
  TState Root;
  std::vector<int> Order;      // the seats in turn order, the master first
  std::vector<uint8_t> Roots;  // the master's free colours, in the order they are tried
  bool ByArea = true;
  uint32_t Budget = 0;
  TRivals Rivals;
};

TMasterThought::TMasterThought(std::unique_ptr<TData> data) : data_(std::move(data)) {}
TMasterThought::~TMasterThought() = default;

uint32_t TMasterThought::Budget() const {
  return data_->Budget;
}

uint8_t TMasterThought::Think() {
  const TData& d = *data_;
  if (d.Roots.size() == 1) return d.Roots[0];
  TMasterSearch search(d.Graph, d.ByArea, d.Order, d.Budget, d.Rivals, &positions_, &cancelled_);
  const uint8_t best = search.Choose(d.Root, d.Roots);
  positions_.store(search.Positions(), std::memory_order_relaxed);
  return best;
}

uint8_t TMasterThought::Foresee(int seat, int level) const {
  const TData& d = *data_;
  return TClassicForesight(d.Graph, d.ByArea, d.Rivals.Centre).Answer(d.Root, seat, level);
}

uint32_t TMorvikMachine::MasterPositionBudget(size_t liveIslands) {
  const uint64_t budget = MasterWorkBudget / std::max<size_t>(liveIslands, 1);
  return uint32_t(std::clamp<uint64_t>(budget, MasterMinPositions, MasterMaxPositions));
}

uint8_t TMorvikMachine::BrainMaster() {
  const std::shared_ptr<TMasterThought> thought = PrepareMaster();
  for (int k = 1; k <= 7; ++k)
    if (FreeColors[k]) Services().StepProgress();
  const uint8_t best = thought->Think();
  MasterPositions = thought->Positions();
  Services().SetProgressPosition(0);
  return best;
}

std::shared_ptr<TMasterThought> TMorvikMachine::PrepareMaster() {
  if (!Map) throw EUnitCoreError("BrainMaster with no board");
  const TMap& map = *Map;
  const bool byArea = Services().VictoryByArea();
  const auto territories = Territories(map);
  auto data = std::make_unique<TMasterThought::TData>();

  // The island graph of the live board, numbered by island index order.
  const size_t total = map.Islands.size();
  std::vector<uint32_t> node(total, UINT32_MAX);
  TGraph& g = data->Graph;
  for (size_t i = 0; i < total; ++i) {
    if (map.Islands[i].Merged) continue;
    node[i] = uint32_t(g.Colour.size());
    g.Colour.push_back(map.Islands[i].Color);
    g.Size.push_back(uint32_t(map.Islands[i].Tiles.size()));
  }
  g.Start.push_back(0);
  for (size_t i = 0; i < total; ++i) {
    if (node[i] == UINT32_MAX) continue;
    ForEachLive(map.Islands[i], [&](uint16_t id) {
      if (node[id] != UINT32_MAX) g.Adj.push_back(node[id]);
    });
    g.Start.push_back(uint32_t(g.Adj.size()));
  }

  TState& root = data->Root;
  root.Owner.assign(g.Count(), 0);
  root.InFront.assign(g.Count(), 0);
  std::vector<int>& order = data->Order;
  for (int k = 0; k < 4; ++k) {
    const int seat = (CurrentGamer - 1 + k) % 4 + 1;
    if (territories[seat] == NoIsland) continue;
    order.push_back(seat);
    const uint32_t t = node[territories[seat]];
    root.Owner[t] = uint8_t(seat);
    root.Colour[seat] = g.Colour[t];
    root.Area[seat] = map.Scores[seat].Area;
    root.Points[seat] = map.Scores[seat].Points;
  }
  for (const int seat : order) {
    const uint32_t t = node[territories[seat]];
    for (uint32_t e = g.Start[t]; e < g.Start[t + 1]; ++e) {
      const uint32_t y = g.Adj[e];
      if (root.Owner[y] == 0 && !(root.InFront[y] & (1u << seat))) {
        root.InFront[y] |= uint8_t(1u << seat);
        root.Front[seat].push_back(y);
      }
    }
  }

  data->ByArea = byArea;
  data->Budget = MasterPositionBudget(g.Count());
  for (const int seat : order)
    if (seat != CurrentGamer && Gamers[seat].Kind == gkComputer && Gamers[seat].Level <= 3)
      data->Rivals.Level[size_t(seat)] = Gamers[seat].Level;
  data->Rivals.Centre = node[map.Tiles[Height / 2][Width / 2].Island];
  // Every free colour is a candidate at the root: the capturing ones first, best take first,
  // then the others (a colour that takes nothing may still block a rival).
  std::vector<uint8_t>& roots = data->Roots;
  TMasterSearch(g, byArea, order, data->Budget).Moves(root, CurrentGamer, roots);
  for (int k = 1; k <= 7; ++k)
    if (FreeColors[k] && std::find(roots.begin(), roots.end(), k) == roots.end())
      roots.push_back(uint8_t(k));
  std::erase_if(roots, [&](uint8_t k) { return !FreeColors[k]; });
  if (roots.empty()) throw EUnitCoreError("BrainMaster with no free colour");
  return std::make_shared<TMasterThought>(std::move(data));
}
