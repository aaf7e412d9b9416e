#pragma once
// RUN: the continuous exchange of RUN frames whose answers feed the bar graphs and the raw
// strip chart, and STOP, which ends RUN, VIDEO and DATA.

#include <functional>

namespace qrix {

struct Program;

// The RUN time-out: no frame for this long after a request ends RUN.
inline constexpr double kRunTimeout = 3.0;

// Copies the 16 words of a RUN answer from pp into the RUN values and derives, once, what the
// displays and the recorder take from them.
void CopyPPtoRAWVars(Program& p);

// Sends a RUN request whose payload is frame 0 as the record holds it now, so an edit made
// during RUN travels with the next request. Returns the count written.
int sendRunRequest(Program& p);

// The RUN exchange that RUN and the recorder share, after their first request went out at
// `lastRequest`. Each RUN answer is copied and drawn (bar graphs, raw strip chart), then handed
// to `onAnswer`, which ends the exchange by returning false. Any frame releases the next
// request. Ends when stop_flag rises, `finished` holds, or no frame came for `timeout` seconds
// ("Timeout RS232-Line!").
struct RunExchange {
  double timeout;
  double lastRequest;
  std::function<bool()> onAnswer = [] { return true; };
  std::function<bool()> finished = [] { return false; };
};
void runExchange(Program& p, const RunExchange& exchange);
// The RUN loop; returns when STOP, a time-out or another action raised stop_flag.
void PushRUN(Program& p);

int CC_BTNRun(Program& p, int panel, int control, int event);
int CC_BTNStop(Program& p, int panel, int control, int event);

}  // namespace qrix
