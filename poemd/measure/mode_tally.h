// What the measuring tool adds up over the poems of one mode (form, place,
// rhyme scheme), and the figures it prints for them: shares of the poems
// asked for (rhyme, 粘对, repeats) and of their lines (二四, made, drama).
#pragma once

#include <string>
#include <vector>

#include "poemd/measure/poem_measures.h"

namespace miravel::poemd {

class ModeTally {
 public:
  // One poem asked for; `facts` when it came.
  void Ask() { ++asked_; }
  void Add(const PoemFacts& facts);
  void AddSeconds(double seconds) { seconds_ += seconds; }

  int asked() const { return asked_; }
  // In percent of the poems asked for.
  double RhymePercent() const { return Percent(rhymes_, asked_); }
  double GroupPercent() const { return Percent(group_, asked_); }
  double LinksPercent() const { return Percent(links_, asked_); }
  double RepeatsPercent() const { return Percent(repeats_, asked_); }
  // In percent of the lines of the poems that came.
  double InLinePercent() const { return Percent(in_line_, lines_); }
  double MadePercent() const { return Percent(made_, lines_); }
  double DramaPercent() const { return Percent(drama_, lines_); }
  double MillisecondsPerPoem() const { return asked_ == 0 ? 0 : 1000.0 * seconds_ / asked_; }

 private:
  static double Percent(int part, int whole) { return whole == 0 ? 0 : 100.0 * part / whole; }

  int asked_ = 0;
  int rhymes_ = 0, group_ = 0, links_ = 0, repeats_ = 0;
  int lines_ = 0, in_line_ = 0, made_ = 0, drama_ = 0;
  double seconds_ = 0;
};

}  // namespace miravel::poemd
