#include "poemd/compose/candidate_maker.h"

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {

CandidateMaker::CandidateMaker(const HiddenLines& hidden, const ScoringTerms& terms)
    : hidden_(hidden), terms_(terms), association_(hidden.Index().Associations()) {}

LineView CandidateMaker::ViewOf(size_t i, uint32_t line, const LineTraits& traits,
                                const LineReading& reading) const {
  LineView view;
  view.i = i;
  view.at = hidden_.AtLine(i);
  view.line = line;
  view.text = hidden_.Index().Text(hidden_.Length(), line);
  view.traits = &traits;
  view.reading = &reading;
  return view;
}

LineView ViewOfCandidate(size_t i, const Candidate& c) {
  LineView view;
  view.i = i;
  view.at = c.at;
  view.line = c.line;
  view.made = c.made;
  view.text = c.text;
  if (c.vectors != nullptr) view.vector = &c.vector();
  return view;
}

LineReading CandidateMaker::MadeReading(size_t i, uint32_t donor) const {
  return WithCharacter(ReadingOfLine(hidden_.Index(), hidden_.Length(), donor), hidden_.Index(),
                       hidden_.HiddenAt(i), hidden_.AtLine(i), hidden_.Length());
}

Candidate CandidateMaker::FromFound(size_t i, const FoundLine& found, const FormRules& form) const {
  Candidate c;
  c.line = found.line;
  c.poem = found.traits.source;
  c.at = hidden_.AtLine(i);
  c.text = std::u16string(hidden_.Index().Text(hidden_.Length(), found.line));
  c.penalty = found.penalty;
  c.prior = found.prior;
  c.costs = found.costs;
  LineView view = ViewOf(i, found.line, found.traits, found.reading);
  view.rules = &form.rules;
  view.opening = form.opening;
  view.template_penalties = found.template_penalties;
  terms_.WeighLine(LineStage::kForm, view, c.costs, c.penalty, c.prior);
  if (found.prepared == nullptr) {
    PreparedLine& prepared = prepared_.Make();
    FillVectors(prepared.vectors, c.text, c.poem);
    LineView vectors_view = ViewOfCandidate(i, c);
    vectors_view.vector = &prepared.vectors.cohesion;
    int penalty = 0;
    float prior = 0;
    terms_.WeighLine(LineStage::kVectors, vectors_view, prepared.costs, penalty, prior);
    prepared.signature = SignatureOf(c);
    found.prepared = &prepared;
  }
  c.vectors = &found.prepared->vectors;
  terms_.Replay(LineStage::kVectors, found.prepared->costs, c.costs, c.penalty, c.prior);
  c.last = c.text.back();
  c.signature = found.prepared->signature;
  return c;
}

Candidate CandidateMaker::FromCorpus(size_t i, uint32_t line, const FormRules& form) const {
  const LineTraits& traits = hidden_.Index().Traits(hidden_.Length(), line);
  Candidate c;
  c.line = line;
  c.poem = traits.source;
  c.at = hidden_.AtLine(i);
  c.text = std::u16string(hidden_.Index().Text(hidden_.Length(), line));
  WeighFromStart(i, c, traits, ReadingOfLine(hidden_.Index(), hidden_.Length(), line), form);
  return c;
}

Candidate CandidateMaker::Made(size_t i, uint32_t donor, const FormRules& form) const {
  const LineTraits& traits = hidden_.Index().Traits(hidden_.Length(), donor);
  Candidate c = MadeText(i, donor);
  WeighFromStart(i, c, traits, MadeReading(i, donor), form);
  return c;
}

Candidate CandidateMaker::MadeText(size_t i, uint32_t donor) const {
  Candidate c;
  c.line = donor;
  c.poem = hidden_.Index().Traits(hidden_.Length(), donor).source;
  c.made = true;
  c.at = hidden_.AtLine(i);
  c.text = std::u16string(hidden_.Index().Text(hidden_.Length(), donor));
  c.text[c.at] = hidden_.HiddenAt(i);
  return c;
}

void CandidateMaker::WeighFromStart(size_t i, Candidate& c, const LineTraits& traits,
                                    const LineReading& reading, const FormRules& form) const {
  LineView view = ViewOf(i, c.line, traits, reading);
  view.made = c.made;
  view.text = c.text;
  terms_.WeighLine(LineStage::kFound, view, c.costs, c.penalty, c.prior);
  view.rules = &form.rules;
  view.opening = form.opening;
  terms_.WeighLine(LineStage::kForm, view, c.costs, c.penalty, c.prior);
  Finish(i, c);
}

Candidate CandidateMaker::MadeAsIs(size_t i, uint32_t donor, int rules) const {
  Candidate c = MadeText(i, donor);
  terms_.Charge("made", kMadePenalty, c.costs, c.penalty);
  if (rules != 0) terms_.Charge("rules", rules, c.costs, c.penalty);
  Finish(i, c);
  return c;
}

Candidate CandidateMaker::Blank(size_t i) const {
  Candidate c;
  c.text.assign(static_cast<size_t>(hidden_.Length()), u'\u3000');
  c.at = hidden_.AtLine(i);
  c.text[c.at] = hidden_.HiddenAt(i);
  c.made = true;
  terms_.Charge("made", kMadePenalty, c.costs, c.penalty);
  // Vectors of nothing: every cohesion with it is 0.
  static const LineVectors kNoVectors{};
  c.vectors = &kNoVectors;
  return c;
}

const LineVectors* CandidateMaker::VectorsOf(std::u16string_view text, uint32_t poem) const {
  LineVectors& vectors = vectors_.Make();
  FillVectors(vectors, text, poem);
  return &vectors;
}

void CandidateMaker::FillVectors(LineVectors& vectors, std::u16string_view text,
                                 uint32_t poem) const {
  vectors.cohesion = association_.Vector(text);
  vectors.following = association_.Following(vectors.cohesion);
  const SubjectModel& subjects = hidden_.Index().Subjects();
  if (subjects.Count() > 0) {
    vectors.subject = subjects.PoemVector(poem);
    vectors.words = subjects.TextVector(text);
  }
}

uint64_t CandidateMaker::SignatureOf(const Candidate& c) const {
  uint64_t signature = 0;
  for (int k = 0; k < static_cast<int>(c.text.size()); ++k) {
    if (k != c.at && !hidden_.IsHidden(c.text[k])) signature |= SignatureBit(c.text[k]);
  }
  return signature;
}

void CandidateMaker::Finish(size_t i, Candidate& c) const {
  c.vectors = VectorsOf(c.text, c.poem);
  const LineView view = ViewOfCandidate(i, c);
  terms_.WeighLine(LineStage::kVectors, view, c.costs, c.penalty, c.prior);
  c.last = c.text.back();
  c.signature = SignatureOf(c);
}

}  // namespace miravel::poemd
