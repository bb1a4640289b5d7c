// SPDX-License-Identifier: GPL-3.0-or-later
// morvik-composer: synthesises the game's three music tracks and writes them as MP3 files.
//
//   morvik-composer <output folder> [--wav] [--report]
//
// Each piece is rendered into a circular buffer whose length is a whole number of bars, so notes
// and reverb tails that run past the end wrap round to the beginning: the buffer loops without
// a seam. LAME's encoder delay and padding are recorded in the Info tag of the first frame, which
// lets the decoder (mpg123, under SDL2_mixer) return exactly the samples that were encoded.
#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// sin(2 pi x) from a table: the renderer calls it hundreds of millions of times.
class TSine {
 public:
  TSine() {
    for (int i = 0; i <= kSize; ++i) table_[i] = static_cast<float>(std::sin(2 * kPi * i / kSize));
  }
  float operator()(double cycles) const {
    double whole = static_cast<double>(static_cast<int64_t>(cycles));
    if (whole > cycles) whole -= 1;
    double x = (cycles - whole) * kSize;
    int i = static_cast<int>(x);
    float f = static_cast<float>(x - i);
    return table_[i] + (table_[i + 1] - table_[i]) * f;
  }

 private:
  static constexpr int kSize = 8192;
  std::array<float, kSize + 1> table_{};
};
const TSine Sine;

double Freq(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Raised-cosine attack and release: no corners, no clicks.
double Attack(double t, double len) {
  return t >= len ? 1.0 : 0.5 - 0.5 * Sine(0.25 + 0.5 * t / len);
}
double Release(double t, double dur, double len) {
  if (t <= dur) return 1.0;
  if (t >= dur + len) return 0.0;
  return 0.5 + 0.5 * Sine(0.25 + 0.5 * (t - dur) / len);
}

enum class TInstrument { Pad, EPiano, Bell, Marimba, Bass, Kick, Shaker };

// Time a voice sounds after its note ends.
double Tail(TInstrument inst) {
  switch (inst) {
    case TInstrument::Pad:
      return 1.4;
    case TInstrument::EPiano:
      return 0.35;
    case TInstrument::Bell:
      return 0.5;
    case TInstrument::Marimba:
      return 0.25;
    case TInstrument::Bass:
      return 0.15;
    case TInstrument::Kick:
      return 0.0;
    case TInstrument::Shaker:
      return 0.0;
  }
  return 0.0;
}

struct TLoop {
  explicit TLoop(size_t frames) : n(frames), l(frames), r(frames) {}
  size_t n;
  std::vector<float> l, r;
};

thread_local uint32_t NoiseState = 0x12345678u;  // one per piece: same tracks every run
float Noise() {
  NoiseState = NoiseState * 1664525u + 1013904223u;
  return static_cast<float>(static_cast<int32_t>(NoiseState)) / 2147483648.0f;
}

// Renders one note into the loop at `start` seconds, wrapping round the end.
void Note(TLoop& loop, double start, double dur, int midi, double vel, double pan,
          TInstrument inst) {
  const double f = Freq(midi);
  const double tail = Tail(inst);
  double len = dur + tail;
  if (inst == TInstrument::Kick) len = 0.45;
  if (inst == TInstrument::Shaker) len = 0.12;
  const double gl = std::cos((pan + 1) * kPi / 4), gr = std::sin((pan + 1) * kPi / 4);
  const int64_t first = std::llround(start * kRate);
  const int64_t count = std::llround(len * kRate);
  // Exponential decays advance by one multiplication a sample; std::exp per sample is too slow.
  double tau[3] = {1, 1, 1};
  switch (inst) {
    case TInstrument::EPiano:
      tau[0] = 0.45, tau[1] = 1.6, tau[2] = 0.12;
      break;
    case TInstrument::Bell:
      tau[0] = 0.25, tau[1] = 0.9;
      break;
    case TInstrument::Marimba:
      tau[0] = 0.32, tau[1] = 0.04, tau[2] = 0.015;
      break;
    case TInstrument::Bass:
      tau[0] = 0.5;
      break;
    case TInstrument::Kick:
      tau[0] = 0.03, tau[1] = 0.16;
      break;
    case TInstrument::Shaker:
      tau[0] = 0.025;
      break;
    case TInstrument::Pad:
      break;
  }
  double e[3] = {1, 1, 1}, step[3];
  for (int k = 0; k < 3; ++k) step[k] = std::exp(-1.0 / (tau[k] * kRate));
  float hp = 0, prevNoise = 0;
  const auto n = static_cast<int64_t>(loop.n);
  size_t at = static_cast<size_t>((first % n + n) % n);
  for (int64_t i = 0; i < count; ++i, at = at + 1 == loop.n ? 0 : at + 1) {
    const double t = static_cast<double>(i) / kRate;
    double left = 0, right = 0, mono = 0;
    bool stereo = false;
    switch (inst) {
      case TInstrument::Pad: {
        // Two slightly detuned voices per side and a soft octave: a slow, wide chorus.
        double env = Attack(t, 0.7) * Release(t, dur, tail);
        double wob = 1.0 + 0.08 * Sine(0.23 * t + midi * 0.11);
        left = (Sine(f * 1.0035 * t) + 0.6 * Sine(f * 0.9982 * t + 0.3) + 0.18 * Sine(2 * f * t)) *
               env * wob;
        right = (Sine(f * 0.9965 * t + 0.5) + 0.6 * Sine(f * 1.0018 * t + 0.1) +
                 0.18 * Sine(2 * f * t + 0.25)) *
                env * (2.0 - wob);
        stereo = true;
        break;
      }
      case TInstrument::EPiano: {
        // Two-operator FM with a fading index: a soft electric piano.
        double index = 0.9 * e[0] + 0.12;
        double env = Attack(t, 0.004) * e[1] * Release(t, dur, tail);
        mono =
            (Sine(f * t + index / (2 * kPi) * Sine(f * t)) + 0.12 * e[2] * Sine(4.0 * f * t)) * env;
        break;
      }
      case TInstrument::Bell: {
        double index = 1.3 * e[0];
        double env = Attack(t, 0.003) * e[1] * Release(t, dur, tail);
        mono =
            (0.7 * Sine(f * t) + 0.3 * Sine(f * t + index / (2 * kPi) * Sine(3.5 * f * t))) * env;
        break;
      }
      case TInstrument::Marimba: {
        double env = Attack(t, 0.002) * e[0] * Release(t, dur, tail);
        mono =
            (Sine(f * t) + 0.22 * e[1] * Sine(4.0 * f * t) + 0.05 * e[2] * Sine(9.8 * f * t)) * env;
        break;
      }
      case TInstrument::Bass: {
        double env = Attack(t, 0.008) * (0.55 + 0.45 * e[0]) * Release(t, dur, tail);
        mono = (Sine(f * t) + 0.28 * Sine(2 * f * t) + 0.07 * Sine(3 * f * t)) * env;
        break;
      }
      case TInstrument::Kick: {
        double phase = 46 * t + 75 * 0.03 * (1 - e[0]);
        double env = Attack(t, 0.002) * e[1] * Release(t, 0.3, 0.15);
        mono = Sine(phase) * env;
        break;
      }
      case TInstrument::Shaker: {
        float n = Noise();
        hp = 0.6f * (hp + n - prevNoise);  // high-pass: keeps the hiss, drops the thump
        prevNoise = n;
        double env = Attack(t, 0.004) * e[0] * Release(t, 0.08, 0.04);
        mono = hp * env;
        break;
      }
    }
    for (int k = 0; k < 3; ++k) e[k] *= step[k];
    if (!stereo) left = right = mono;
    loop.l[at] += static_cast<float>(left * vel * gl);
    loop.r[at] += static_cast<float>(right * vel * gr);
  }
}

// A small Schroeder/Freeverb-style room, run round the loop twice so that the state at the
// start of the kept pass is the one the end of the loop leaves behind.
class TReverb {
 public:
  explicit TReverb(int spread) {
    for (int len : {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617})
      combs_.emplace_back(len + spread);
    for (int len : {556, 441, 341, 225}) allpasses_.emplace_back(len + spread);
  }
  float Process(float in) {
    float out = 0;
    for (auto& c : combs_) {
      float y = c.buf[c.pos];
      c.store = y * (1 - kDamp) + c.store * kDamp;
      c.buf[c.pos] = in + c.store * kFeedback;
      if (++c.pos == c.buf.size()) c.pos = 0;
      out += y;
    }
    for (auto& a : allpasses_) {
      float b = a.buf[a.pos];
      a.buf[a.pos] = out + b * 0.5f;
      out = b - out;
      if (++a.pos == a.buf.size()) a.pos = 0;
    }
    return out;
  }

 private:
  static constexpr float kFeedback = 0.82f, kDamp = 0.35f;
  struct TLine {
    explicit TLine(int len) : buf(static_cast<size_t>(len)) {}
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
  };
  std::vector<TLine> combs_, allpasses_;
};

void AddReverb(TLoop& loop, float wet) {
  TReverb left(0), right(23);
  std::vector<float> wl(loop.n), wr(loop.n);
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < loop.n; ++i) {
      float in = (loop.l[i] + loop.r[i]) * 0.015f;
      float a = left.Process(in), b = right.Process(in);
      if (pass == 1) wl[i] = a, wr[i] = b;
    }
  for (size_t i = 0; i < loop.n; ++i) {
    loop.l[i] += wet * wl[i];
    loop.r[i] += wet * wr[i];
  }
}

// ---- Harmony and melody ------------------------------------------------------------------

struct TChord {
  int root;  // pitch class, 0 = C
  bool minor;
  std::vector<int> PitchClasses() const {
    return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12};
  }
};
TChord Maj(int pc) {
  return {pc, false};
}
TChord Min(int pc) {
  return {pc, true};
}
enum { C = 0, D = 2, E = 4, F = 5, G = 7, A = 9, Bb = 10, B = 11 };

bool InSet(int midi, const std::vector<int>& pcs) {
  return std::find(pcs.begin(), pcs.end(), ((midi % 12) + 12) % 12) != pcs.end();
}

// The chord's notes in [lo, hi], lowest first.
std::vector<int> Voicing(const TChord& c, int lo, int hi) {
  std::vector<int> out;
  for (int m = lo; m <= hi; ++m)
    if (InSet(m, c.PitchClasses())) out.push_back(m);
  return out;
}

// Lowest note of pitch class pc at or above lo.
int Above(int pc, int lo) {
  int m = lo;
  while (((m % 12) + 12) % 12 != pc) ++m;
  return m;
}

struct TBeat {
  double at, len;  // in beats
};
using TRhythm = std::vector<TBeat>;

struct TMelodyNote {
  double at, len;  // in beats from the loop's start
  int midi;
};

class TRandom {
 public:
  explicit TRandom(uint32_t seed) : gen_(seed) {}
  double Uniform() { return static_cast<double>(gen_()) / 4294967296.0; }

 private:
  std::mt19937 gen_;
};

// One phrase of melody: chord tones on strong beats, scale steps between, mostly small moves.
// The same seed over other chords gives a related phrase (same contour choices).
std::vector<TMelodyNote> Phrase(const std::vector<TChord>& chords, int firstBar,
                                const std::vector<TRhythm>& rhythms, const std::vector<int>& scale,
                                int lo, int hi, uint32_t seed, int& prev) {
  TRandom rnd(seed);
  std::vector<TMelodyNote> out;
  for (size_t b = 0; b < rhythms.size(); ++b) {
    const TChord& chord = chords[static_cast<size_t>(firstBar) + b];
    const bool lastBar = b + 1 == rhythms.size();
    for (size_t k = 0; k < rhythms[b].size(); ++k) {
      const TBeat& beat = rhythms[b][k];
      const bool strong = std::fmod(beat.at, 2.0) == 0.0 || beat.len >= 2.0 || lastBar;
      std::vector<int> candidates;
      for (int m = lo; m <= hi; ++m)
        if (strong ? InSet(m, chord.PitchClasses()) : InSet(m, scale)) candidates.push_back(m);
      // Weighted choice favouring steps; a leap now and then keeps it alive.
      std::vector<double> weight;
      double total = 0;
      for (int m : candidates) {
        int d = std::abs(m - prev);
        double w = d == 0 ? 0.35 : std::exp(-d / 2.2);
        if (lastBar && m % 12 == chord.root) w *= 3;  // phrase ends settle on the root
        weight.push_back(w);
        total += w;
      }
      double pick = rnd.Uniform() * total;
      size_t chosen = 0;
      for (; chosen + 1 < candidates.size(); ++chosen) {
        pick -= weight[chosen];
        if (pick <= 0) break;
      }
      prev = candidates[chosen];
      out.push_back({(firstBar + static_cast<double>(b)) * 4 + beat.at, beat.len, prev});
    }
  }
  return out;
}

// ---- The three pieces ----------------------------------------------------------------------

struct TPiece {
  std::string file;
  std::vector<float> l, r;
};

struct TSong {
  TSong(double bpm, int bars)
      : beat(60.0 / bpm), loop(static_cast<size_t>(std::llround(bars * 4 * 60.0 / bpm * kRate))) {}
  double beat;  // seconds
  TLoop loop;
  void Play(double atBeat, double lenBeats, int midi, double vel, double pan, TInstrument inst) {
    Note(loop, atBeat * beat, lenBeats * beat, midi, vel, pan, inst);
  }
};

// Calm title theme: A minor, 70 beats a minute, 16 bars (about 55 s).
TLoop Title() {
  TSong s(70, 16);
  std::vector<TChord> ch = {Min(A), Maj(F), Maj(C), Maj(G), Min(A), Maj(F), Min(D), Maj(E),
                            Maj(F), Maj(G), Min(E), Min(A), Min(D), Maj(G), Maj(C), Maj(E)};
  TRandom vel(7);
  for (int bar = 0; bar < 16; ++bar) {
    const TChord& c = ch[bar];
    double b0 = bar * 4.0;
    for (int m : Voicing(c, 55, 67)) s.Play(b0, 4.0, m, 0.055, (m % 3 - 1) * 0.3, TInstrument::Pad);
    int root = Above(c.root, 33);
    s.Play(b0, bar < 8 ? 3.7 : 2.0, root, 0.30, 0, TInstrument::Bass);
    if (bar >= 8) s.Play(b0 + 2, 1.8, Above((c.root + 7) % 12, 33), 0.24, 0, TInstrument::Bass);
    // Broken chord in quarters; the second half climbs one note further.
    std::vector<int> v = Voicing(c, 60, 79);
    std::vector<int> order = bar < 8 ? std::vector<int>{0, 2, 1, 2} : std::vector<int>{0, 1, 2, 3};
    for (int k = 0; k < 4; ++k) {
      int m = v[static_cast<size_t>(order[k]) % v.size()];
      s.Play(b0 + k, 1.6, m, 0.075 + 0.02 * vel.Uniform(), k % 2 ? 0.35 : -0.35,
             TInstrument::EPiano);
    }
  }
  std::vector<int> scale = {A, B, C, D, E, F, G};
  TRhythm p0 = {{0, 2}, {2, 1}, {3, 1}}, p1 = {{0, 1.5}, {1.5, 0.5}, {2, 2}}, p2 = {{0, 3}, {3, 1}},
          end = {{0, 3.5}};
  int prev = 72;
  std::vector<TMelodyNote> mel;
  for (auto [bar, seed] :
       std::initializer_list<std::pair<int, uint32_t>>{{4, 11u}, {8, 12u}, {12, 11u}}) {
    auto part = Phrase(ch, bar, {p0, p1, bar == 8 ? p2 : p0, end}, scale, 67, 81, seed, prev);
    mel.insert(mel.end(), part.begin(), part.end());
  }
  for (auto& n : mel) s.Play(n.at, n.len * 0.95, n.midi, 0.16, 0.1, TInstrument::EPiano);
  AddReverb(s.loop, 0.9f);
  return std::move(s.loop);
}

// Livelier in-game loop: G major, 105 beats a minute, 24 bars (about 55 s).
TLoop InGame() {
  TSong s(105, 24);
  std::vector<TChord> ch = {Maj(G), Min(E), Maj(C), Maj(D), Maj(G), Min(E), Min(A), Maj(D),
                            Min(E), Maj(C), Maj(G), Maj(D), Min(E), Maj(C), Min(A), Maj(D),
                            Maj(C), Maj(D), Min(B), Min(E), Maj(C), Maj(D), Maj(G), Maj(D)};
  TRandom vel(5);
  for (int bar = 0; bar < 24; ++bar) {
    const TChord& c = ch[bar];
    const int section = bar / 8;
    double b0 = bar * 4.0;
    for (int m : Voicing(c, 55, 66)) s.Play(b0, 4.0, m, 0.032, (m % 3 - 1) * 0.4, TInstrument::Pad);
    // Bass: root on the beat, fifth and octave pushing in between.
    int root = Above(c.root, 31);
    s.Play(b0, 0.9, root, 0.30, 0, TInstrument::Bass);
    s.Play(b0 + 1.5, 0.45, root + 7, 0.22, 0, TInstrument::Bass);
    s.Play(b0 + 2, 0.9, root, 0.28, 0, TInstrument::Bass);
    s.Play(b0 + 3.5, 0.45, section == 2 ? root + 12 : root + 7, 0.22, 0, TInstrument::Bass);
    // Marimba in eighths, a new figure in each section.
    std::vector<int> v = Voicing(c, 62, 84);
    static const int figures[3][8] = {
        {0, 1, 2, 1, 0, 1, 2, 3}, {0, 2, 1, 3, 2, 1, 0, 2}, {3, 2, 1, 0, 1, 2, 3, 4}};
    for (int k = 0; k < 8; ++k) {
      int m = v[static_cast<size_t>(figures[section][k]) % v.size()];
      double accent = k % 2 == 0 ? 0.11 : 0.075;
      s.Play(b0 + k * 0.5, 0.45, m, accent + 0.015 * vel.Uniform(), k % 2 ? 0.4 : -0.2,
             TInstrument::Marimba);
    }
    // Soft pulse: kick on one and three, shaker on the off-beats.
    s.Play(b0, 0.3, 36, 0.30, 0, TInstrument::Kick);
    s.Play(b0 + 2, 0.3, 36, section == 0 ? 0.22 : 0.28, 0, TInstrument::Kick);
    for (int k = 0; k < 4; ++k) s.Play(b0 + k + 0.5, 0.1, 60, 0.05, 0.3, TInstrument::Shaker);
  }
  std::vector<int> scale = {G, A, B, C, D, E, 6};
  TRhythm p0 = {{0, 1}, {1, 0.5}, {1.5, 0.5}, {2, 1}, {3, 1}},
          p1 = {{0, 0.5}, {0.5, 0.5}, {1, 1}, {2, 0.5}, {2.5, 1.5}},
          p2 = {{0, 1.5}, {1.5, 1.5}, {3, 1}}, end = {{0, 3}};
  int prev = 74;
  std::vector<TMelodyNote> mel;
  for (auto [bar, seed] :
       std::initializer_list<std::pair<int, uint32_t>>{{8, 21u}, {12, 22u}, {16, 23u}, {20, 21u}}) {
    auto part = Phrase(ch, bar, {p0, p1, p2, end}, scale, 67, 83, seed, prev);
    mel.insert(mel.end(), part.begin(), part.end());
  }
  for (auto& n : mel) s.Play(n.at, n.len * 0.9, n.midi, 0.15, -0.1, TInstrument::EPiano);
  AddReverb(s.loop, 0.7f);
  return std::move(s.loop);
}

// Short bright piece for the About dialog: F major, 126 beats a minute, 16 bars (about 30 s).
TLoop About() {
  TSong s(126, 16);
  std::vector<TChord> ch = {Maj(F), Maj(C),  Min(D), Maj(Bb), Maj(F),  Maj(C), Maj(Bb), Maj(C),
                            Min(D), Maj(Bb), Maj(F), Maj(C),  Maj(Bb), Maj(C), Maj(F),  Maj(C)};
  TRandom vel(3);
  for (int bar = 0; bar < 16; ++bar) {
    const TChord& c = ch[bar];
    double b0 = bar * 4.0;
    for (int m : Voicing(c, 57, 69)) s.Play(b0, 4.0, m, 0.03, (m % 3 - 1) * 0.4, TInstrument::Pad);
    int root = Above(c.root, 34);
    s.Play(b0, 1.8, root, 0.28, 0, TInstrument::Bass);
    s.Play(b0 + 2, 1.8, bar % 2 ? root + 7 : root, 0.24, 0, TInstrument::Bass);
    std::vector<int> v = Voicing(c, 65, 86);
    for (int k = 0; k < 8; ++k) {
      int m = v[static_cast<size_t>(k < 4 ? k : 7 - k) % v.size()];
      s.Play(b0 + k * 0.5, 0.45, m, 0.07 + 0.015 * vel.Uniform(), k % 2 ? 0.45 : -0.45,
             TInstrument::Marimba);
    }
    for (int k = 0; k < 4; ++k) s.Play(b0 + k + 0.5, 0.1, 60, 0.035, -0.3, TInstrument::Shaker);
  }
  std::vector<int> scale = {F, G, A, Bb, C, D, E};
  TRhythm p0 = {{0, 0.5}, {0.5, 0.5}, {1, 0.5}, {1.5, 0.5}, {2, 1}, {3, 1}},
          p1 = {{0, 1}, {1, 0.5}, {1.5, 0.5}, {2, 2}},
          p2 = {{0, 0.5}, {0.5, 0.5}, {1, 1}, {2, 0.5}, {2.5, 0.5}, {3, 1}}, end = {{0, 2}, {2, 2}};
  int prev = 77;
  std::vector<TMelodyNote> mel;
  for (auto [bar, seed] :
       std::initializer_list<std::pair<int, uint32_t>>{{0, 31u}, {4, 32u}, {8, 31u}, {12, 33u}}) {
    auto part = Phrase(ch, bar, {p0, p1, p2, end}, scale, 72, 89, seed, prev);
    mel.insert(mel.end(), part.begin(), part.end());
  }
  for (auto& n : mel) s.Play(n.at, n.len * 0.9, n.midi, 0.17, 0.15, TInstrument::Bell);
  AddReverb(s.loop, 0.6f);
  return std::move(s.loop);
}

// ---- Level, checks and encoding ------------------------------------------------------------

struct TStats {
  double rmsDb, peak, seamJump, interiorJump;
};

// Scales to a modest loudness and keeps the peaks well below full scale (MP3 overshoots a bit).
TStats Normalise(TLoop& loop, double targetRmsDb, double peakLimit) {
  double sum = 0, peak = 0;
  for (size_t i = 0; i < loop.n; ++i) {
    sum += double(loop.l[i]) * loop.l[i] + double(loop.r[i]) * loop.r[i];
    peak = std::max({peak, std::fabs(double(loop.l[i])), std::fabs(double(loop.r[i]))});
  }
  double rms = std::sqrt(sum / (2.0 * loop.n));
  double gain = std::pow(10.0, targetRmsDb / 20) / rms;
  if (peak * gain > peakLimit) gain = peakLimit / peak;
  for (size_t i = 0; i < loop.n; ++i) loop.l[i] *= float(gain), loop.r[i] *= float(gain);
  // Sample-to-sample steps: the one across the loop point against the largest inside.
  double seam = std::max(std::fabs(loop.l[0] - loop.l[loop.n - 1]),
                         std::fabs(loop.r[0] - loop.r[loop.n - 1]));
  double inside = 0;
  for (size_t i = 1; i < loop.n; ++i)
    inside = std::max({inside, double(std::fabs(loop.l[i] - loop.l[i - 1])),
                       double(std::fabs(loop.r[i] - loop.r[i - 1]))});
  return {20 * std::log10(rms * gain), peak * gain, seam, inside};
}

bool WriteWav(const std::filesystem::path& path, const TLoop& loop) {
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  uint32_t bytes = static_cast<uint32_t>(loop.n * 4);
  out.write("RIFF", 4), u32(36 + bytes), out.write("WAVEfmt ", 8), u32(16), u16(1), u16(2);
  u32(kRate), u32(kRate * 4), u16(4), u16(16), out.write("data", 4), u32(bytes);
  for (size_t i = 0; i < loop.n; ++i) {
    u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(loop.l[i] * 32767))));
    u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(loop.r[i] * 32767))));
  }
  return bool(out);
}

bool WriteMp3(const std::filesystem::path& path, const TLoop& loop) {
  lame_t gf = lame_init();
  if (gf == nullptr) return false;
  lame_set_in_samplerate(gf, kRate);
  lame_set_out_samplerate(gf, kRate);
  lame_set_num_channels(gf, 2);
  lame_set_mode(gf, JOINT_STEREO);
  lame_set_brate(gf, 128);
  lame_set_quality(gf, 5);
  lame_set_bWriteVbrTag(gf, 1);  // the Info tag carries delay and padding: gapless decoding
  lame_set_write_id3tag_automatic(gf, 0);
  if (lame_init_params(gf) < 0) {
    lame_close(gf);
    return false;
  }
  std::vector<unsigned char> mp3;
  std::vector<unsigned char> block(static_cast<size_t>(1.25 * 8192 + 7200));
  for (size_t at = 0; at < loop.n; at += 8192) {
    int count = static_cast<int>(std::min<size_t>(8192, loop.n - at));
    int got = lame_encode_buffer_ieee_float(gf, &loop.l[at], &loop.r[at], count, block.data(),
                                            static_cast<int>(block.size()));
    if (got < 0) {
      lame_close(gf);
      return false;
    }
    mp3.insert(mp3.end(), block.begin(), block.begin() + got);
  }
  int got = lame_encode_flush(gf, block.data(), static_cast<int>(block.size()));
  if (got > 0) mp3.insert(mp3.end(), block.begin(), block.begin() + got);
  // The first frame was reserved for the tag; fill it in now that the totals are known.
  std::vector<unsigned char> tag(4096);
  size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
  lame_close(gf);
  if (tagSize == 0 || tagSize > mp3.size()) return false;
  std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize), mp3.begin());
  // Written beside and renamed over, so an interrupted build never leaves half a track.
  std::filesystem::path temp = path;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: morvik-composer <output folder> [--wav] [--report]\n");
    return 2;
  }
  std::filesystem::path folder = argv[1];
  bool wav = false, report = false;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    wav |= a == "--wav";
    report |= a == "--report";
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  struct TJob {
    const char* name;
    TLoop (*compose)();
    double rmsDb;
  };
  // The pieces are independent: compose and encode them side by side.
  const TJob jobs[] = {{"Title", Title, -21.0}, {"InGame", InGame, -20.0}, {"About", About, -20.0}};
  std::vector<std::future<std::string>> results;
  for (const TJob& job : jobs)
    results.push_back(std::async(std::launch::async, [&folder, wav, report, job]() -> std::string {
      TLoop loop = job.compose();
      TStats st = Normalise(loop, job.rmsDb, 0.6);
      char line[200] = "";
      if (report)
        std::snprintf(
            line, sizeof line,
            "%-7s %6.2f s  rms %6.1f dBFS  peak %5.3f  seam step %.4f  largest step %.4f\n",
            job.name, double(loop.n) / kRate, st.rmsDb, st.peak, st.seamJump, st.interiorJump);
      if (wav && !WriteWav(folder / (std::string(job.name) + ".wav"), loop))
        return std::string("!cannot write ") + job.name + ".wav";
      if (!WriteMp3(folder / (std::string(job.name) + ".mp3"), loop))
        return std::string("!cannot write ") + job.name + ".mp3";
      return line;
    }));
  int status = 0;
  for (auto& r : results) {
    std::string line = r.get();
    if (!line.empty() && line[0] == '!') {
      std::fprintf(stderr, "morvik-composer: %s\n", line.c_str() + 1);
      status = 1;
    } else {
      std::fputs(line.c_str(), stdout);
    }
  }
  return status;
}
