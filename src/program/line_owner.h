#pragma once
// Which long exchange holds the serial line. The RUN, VIDEO and DATA loops, a recording and a
// flash transfer each run inside their button's callback and pump events on every pass; the
// claim keeps a second loop from starting inside a running one. Only RUN lets a one-shot
// exchange (TEACH, RESET, GET, SEND) run inside it: VIDEO and DATA read blocks with the receive
// notification off, and a recording or flash transfer holds the line alone.

#include <vector>

namespace qrix {

struct Program;

enum class LineUser { None, Run, Video, Data, Recorder, Flash, Compare };

// True while a loop holds the line: a commit on RUN, VIDEO or DATA is then ignored.
bool loopHoldsLine(const Program& p);
// True while a recording, a flash transfer or a parameter compare runs: they give the buttons back
// their own states when they end, so STOP leaves them alone.
bool loopOwnsButtons(const Program& p);
// True while a loop other than RUN holds the line: no other exchange (RUN, VIDEO, DATA, TEACH,
// RESET, GET, SEND, a port change, a flash transfer, a recording) may start. Inside VIDEO or
// DATA such an exchange could not see its answer and its flush would cut a block in flight.
bool loopShutsOutExchanges(const Program& p);

// Holds the line for one loop; empty (false) when another loop holds it already.
class LineClaim {
 public:
  LineClaim(Program& p, LineUser user);
  ~LineClaim();
  LineClaim(const LineClaim&) = delete;
  LineClaim& operator=(const LineClaim&) = delete;
  explicit operator bool() const { return held_; }

 private:
  Program& p_;
  bool held_;
};

// Holds the line alone: also dims the controls that start an exchange and, when released, gives
// each back the dimmed state it had. A recording, flash transfer or compare dims them all; VIDEO
// and DATA dim those that their own steps leave alone (GET, SEND, RESET, the port list, the flash).
class ExclusiveLineClaim {
 public:
  ExclusiveLineClaim(Program& p, LineUser user);
  ~ExclusiveLineClaim();
  ExclusiveLineClaim(const ExclusiveLineClaim&) = delete;
  ExclusiveLineClaim& operator=(const ExclusiveLineClaim&) = delete;
  explicit operator bool() const { return bool(claim_); }

 private:
  struct Saved {
    int panel, control;
    bool dimmed;
  };
  Program& p_;
  LineClaim claim_;
  std::vector<Saved> saved_;
};

}  // namespace qrix
