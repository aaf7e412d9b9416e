#include "recorder/recording.h"

#include <functional>

#include "program/program.h"
#include "program/transport.h"
#include "recorder/recorder_file.h"
#include "runtime/files.h"
#include "services/run_exchange.h"

namespace qrix {

namespace {

constexpr const char* kWriteError = "Error writing recorder file!";

// Whole seconds of a timer reading, modulo 65536: the recorder's interval mark.
std::uint16_t wholeSeconds(double time) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(time));
}

void showWriteError(Program& p) {
  p.storeStatusText(kWriteError);
  p.showStoredStatus();
}

RecorderSample sampleOf(const RunValues& v) {
  return {v.answer.Aval,    v.answer.Bval,   v.MvalueHeld,
          v.answer.umValue, v.answer.edcntA, v.answer.edcntB};
}

// Takes a line into the file from each RUN answer once the interval has passed since the last
// one: the interval is counted from the whole second in which the last line was taken.
class RecorderConsumer : public RunConsumer {
 public:
  RecorderConsumer(Program& p, RecorderFile& file, std::uint16_t interval,
                   const std::function<void(std::uint16_t)>& written)
      : p_(p),
        file_(file),
        interval_(interval),
        written_(written),
        mark_(wholeSeconds(p.rt.Timer())) {}
  std::uint16_t count() const { return count_; }

  bool take(const RunValues& values) override {
    const auto elapsed = static_cast<std::uint16_t>(wholeSeconds(p_.rt.Timer()) - mark_);
    if (elapsed < interval_) {
      return true;
    }
    // The counter shows only what the file already holds.
    if (!file_.append(recorderSampleLine(sampleOf(values)))) {
      showWriteError(p_);
      return false;
    }
    ++count_;
    if (written_) {
      written_(count_);
    }
    mark_ = wholeSeconds(p_.rt.Timer());
    return true;
  }

 private:
  Program& p_;
  RecorderFile& file_;
  std::uint16_t interval_;
  const std::function<void(std::uint16_t)>& written_;
  std::uint16_t mark_;
  std::uint16_t count_ = 0;
};

// The recording once the line is held and the file is open with its header.
std::uint16_t recordSamples(Program& p, RecorderFile& file, const RecordingJob& job,
                            const RecordingEvents& events) {
  ProgramState& st = p.st;
  if (sendRunRequest(p) == kFrameBytes) {
    p.showStatusText("Line Ok!");
  }
  const double firstRequest = p.rt.Timer();
  RecorderConsumer recorder(p, file, job.interval, events.sampleWritten);
  st.stop_flag = 0;
  st.graph_flag = 0;
  const RunStream::Listening listening = p.run.listen(recorder);
  runExchange(p, {TIMEOUT, firstRequest, [&] { return recorder.count() >= job.samples; }});
  return recorder.count();
}

}  // namespace

std::uint16_t recordRun(Program& p, const RecordingJob& job, const RecordingEvents& events) {
  ProgramState& st = p.st;
  // The file is made before the recording shows itself: a file that cannot be created starts
  // nothing. Only a file is removed, never a folder.
  if (files::FileExists(job.path)) {
    files::DeleteFile(job.path);
  }
  const std::time_t now = p.rt.CalendarTime();
  const std::string szTime = files::TimeStr(now);
  const std::string szDate = files::DateStr(now);
  RecorderFile file;
  if (!file.create(job.path) ||
      !file.append(recorderHeader(szDate, szTime, job.interval, st.parameter.sys.setpoint))) {
    showWriteError(p);
    return 0;
  }
  if (events.started) {
    events.started();
  }
  const std::uint16_t count = recordSamples(p, file, job, events);
  st.rx_flag = 0;
  st.graph_flag = 0;
  discardQueues(p, Discard::InputFirst);
  // A write the system deferred can still fail at the close.
  if (!file.close()) {
    showWriteError(p);
  }
  return count;
}

}  // namespace qrix
