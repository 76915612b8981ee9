// What the measuring tool adds up over the poems of one mode (form, place,
// rhyme scheme), and the shares it prints, in both readings: of the poems
// asked for (rhyme, whole template, every rule, repeats), of their lines
// (二四六, 孤平, 三平尾, made, drama) and of their lines that do not rhyme
// (those ending 仄).
#pragma once

#include "poemd/measure/poem_measures.h"

namespace miravel::poemd {

class ModeTally {
 public:
  struct Reading {
    int rhymes = 0, templates = 0, every_rule = 0, links = 0;
    int in_line = 0, lonely = 0, three_level = 0;
    int unrhymed = 0, unrhymed_oblique = 0;
  };

  // One poem asked for; then its facts when it came.
  void Ask() { ++asked_; }
  void Add(const PoemFacts& facts);
  void AddSeconds(double seconds) { seconds_ += seconds; }

  int asked() const { return asked_; }
  const Reading& Classical() const { return classical_; }
  const Reading& Modern() const { return modern_; }

  // Shares in percent: `part` of the poems asked for, or of the lines.
  double OfPoems(int part) const { return Percent(part, asked_); }
  double OfLines(int part) const { return Percent(part, lines_); }
  static double Percent(int part, int whole) { return whole == 0 ? 0 : 100.0 * part / whole; }
  double GroupPercent() const { return OfPoems(group_); }
  double RepeatsPercent() const { return OfPoems(repeats_); }
  double RepeatedRhymePercent() const { return OfPoems(repeated_rhyme_); }
  double MadePercent() const { return OfLines(made_); }
  double DramaPercent() const { return OfLines(drama_); }
  double MillisecondsPerPoem() const { return asked_ == 0 ? 0 : 1000.0 * seconds_ / asked_; }

 private:
  static void AddReading(const ReadingFacts& facts, Reading& into);

  int asked_ = 0;
  Reading classical_, modern_;
  int lines_ = 0, group_ = 0, repeats_ = 0, repeated_rhyme_ = 0, made_ = 0, drama_ = 0;
  double seconds_ = 0;
};

}  // namespace miravel::poemd
