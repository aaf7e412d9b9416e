#pragma once
// The stream of RUN values: each RUN answer, decoded once and derived once, is handed to every
// consumer in the order they were added. The consumers (bar graphs, raw chart, recorder, ...) do
// not know each other, and the RUN exchange does not know them.

#include <cstdint>
#include <memory>
#include <vector>

#include "program/run_answer.h"

namespace qrix {

struct ProgramState;

// One RUN answer and what the program derived from it and the record.
struct RunValues {
  RunAnswer answer;
  std::uint16_t tVal = 0, tolup = 0, tollo = 0;  // target and tolerance band
  std::uint16_t curposA = 0, curposB = 0;        // edge positions kept on their lines
  std::uint16_t MvalueHeld = 0;                  // the measured value as drawn and recorded
};
// The values of the last RUN answer as the program state holds them.
RunValues runValuesOf(const ProgramState& st);

class RunConsumer {
 public:
  virtual ~RunConsumer() = default;
  // Takes one answer's values; false when the consumer has what it wanted and the exchange
  // should end (a recorder whose file failed).
  virtual bool take(const RunValues& values) = 0;
  // The exchange has ended; the next answer may be long in coming (a display that shows at a
  // limited rate shows what it holds now).
  virtual void paused() {}
};

class RunStream {
 public:
  // A consumer for the program's whole run.
  void add(std::unique_ptr<RunConsumer> consumer);

  // A consumer for as long as the returned token lives (a recording).
  class Listening {
   public:
    Listening(RunStream& stream, RunConsumer& consumer);
    ~Listening();
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;

   private:
    RunStream& stream_;
    RunConsumer& consumer_;
  };
  [[nodiscard]] Listening listen(RunConsumer& consumer) { return {*this, consumer}; }

  // Hands the values to every consumer; false when one of them asked to end the exchange (the
  // ones after it still take this answer, so that no display falls behind the file).
  bool publish(const RunValues& values);
  // Tells every consumer that the exchange ended.
  void pause();
  std::size_t size() const { return consumers_.size(); }

 private:
  std::vector<std::unique_ptr<RunConsumer>> owned_;
  std::vector<RunConsumer*> consumers_;
};

}  // namespace qrix
