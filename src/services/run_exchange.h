#pragma once
// The RUN exchange that the RUN loop and the recorder share: requests RUN frames one after the
// other and hands each answer, as values, to the program's stream of RUN values.

#include <functional>

namespace qrix {

struct Program;

// Takes the RUN answer in pp into the program's RUN values and derives, once, what the
// consumers take from them.
void CopyPPtoRAWVars(Program& p);

// Sends a RUN request whose payload is frame 0 as the record holds it now, so an edit made
// during RUN travels with the next request. Returns the count written.
int sendRunRequest(Program& p);

// After the first request went out at `lastRequest`: each RUN answer is decoded, derived and
// published to the program's RUN stream; a consumer that has enough ends the exchange. Any
// frame releases the next request (TEACH and RESET answer inside RUN). Ends when stop_flag
// rises, `finished` holds, or no frame came for `timeout` seconds ("Timeout RS232-Line!").
struct RunExchange {
  double timeout;
  double lastRequest;
  std::function<bool()> finished = [] { return false; };
};
void runExchange(Program& p, const RunExchange& exchange);

}  // namespace qrix
