#include "program/run_stream.h"

#include <algorithm>

#include "program/program_state.h"

namespace qrix {

RunValues runValuesOf(const ProgramState& st) {
  RunValues v;
  RunAnswer& a = v.answer;
  a.Aval = st.Aval;
  a.Bval = st.Bval;
  a.Mvalue = st.Mvalue;
  a.umValue = st.umValue;
  a.poti = st.poti;
  a.edcntA = st.edcntA;
  a.edcntB = st.edcntB;
  a.peakwA = st.peakwA;
  a.peakwB = st.peakwB;
  a.anaMax = st.anaMax;
  a.anaMin = st.anaMin;
  a.teachA = st.parameter.master.teach;
  a.teachB = st.parameter.slave.teach;
  a.raw15 = st.raw15;
  a.instate = st.instate;
  v.tVal = st.tVal;
  v.tolup = st.tolup;
  v.tollo = st.tollo;
  v.curposA = st.curposA;
  v.curposB = st.curposB;
  v.MvalueHeld = st.MvalueHeld;
  return v;
}

void RunStream::add(std::unique_ptr<RunConsumer> consumer) {
  consumers_.push_back(consumer.get());
  owned_.push_back(std::move(consumer));
}

RunStream::Listening::Listening(RunStream& stream, RunConsumer& consumer)
    : stream_(stream), consumer_(consumer) {
  stream_.consumers_.push_back(&consumer_);
}

RunStream::Listening::~Listening() {
  auto& list = stream_.consumers_;
  list.erase(std::remove(list.begin(), list.end(), &consumer_), list.end());
}

bool RunStream::publish(const RunValues& values) {
  bool more = true;
  // A consumer may start or end a listening one while it takes the values: walk a copy.
  const std::vector<RunConsumer*> now = consumers_;
  for (RunConsumer* c : now) {
    more &= c->take(values);
  }
  return more;
}

void RunStream::pause() {
  for (RunConsumer* c : consumers_) {
    c->paused();
  }
}

}  // namespace qrix
