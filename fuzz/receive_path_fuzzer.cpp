// The receive path: bytes from the sensor's side, in any pieces and after any pauses, through
// the serial library's receive notification and the frame unpacking, against the exchanges that
// take frames (line check, hardware information, GET, a series of GETs, RUN, the whole
// identification) and a block read. Everything goes through the program's public exchange
// functions, so that a new frame reader behind them is fuzzed by this same harness.
//
// The first input byte picks the exchange (and, for a GET, the frame); the rest is the line's
// replies as support/fed_line.h describes them.
//
// Promises checked:
// - a frame is never taken with a wrong echo or without the sync word: what GET stores is the
//   payload of an answer with the sync word and its own echo, the hardware information comes
//   only from an answer with echo 10, and RUN draws only RUN answers;
// - a GET that got no such answer leaves the record as it was;
// - a frame read never asks for more than 36 bytes, and the values taken come from that frame's
//   own bytes; a block is taken only from exactly 128 bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "display/run_cycle.h"
#include "params/get_send.h"
#include "params/panel_binding.h"
#include "params/param_file.h"
#include "program/frame_codec.h"
#include "program/parameter.h"
#include "program/transport.h"
#include "qrix/link/commands.h"
#include "sensor_link/identification.h"
#include "sensor_link/port_setup.h"
#include "services/block_reads.h"
#include "services/identify.h"
#include "services/run_exchange.h"
#include "support/fed_line.h"
#include "support/fuzz_check.h"
#include "support/offline_program.h"

namespace qrix::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

enum Exchange : std::uint8_t {
  kLineCheck,
  kHardware,
  kGetRam,
  kGetEeprom,
  kGetSeries,
  kRun,
  kBlock,
  kIdentification,
  kExchangeCount
};

std::uint16_t word(const Bytes& b, std::size_t i) {
  return static_cast<std::uint16_t>(b[i] << 8 | b[i + 1]);
}
// A whole frame with the answer sync word and the given echo.
bool answerFrame(const Bytes& b, std::uint16_t echo) {
  return b.size() == static_cast<std::size_t>(kFrameBytes) && word(b, 0) == cmd::kRxSync &&
         word(b, 2) == echo;
}

// The hardware information words the program keeps, in frame order from byte 4.
std::array<std::uint16_t, 11> hardwareWords(const ProgramState& st) {
  return {st.ccdtype, st.ccdmaxpixel, st.ccdresolution, st.pcbtype, st.ccdvirtpixel, st.ccdsubpixel,
          st.ccdpixB, st.ccdpixE,     st.softversion,   st.hwtype,  st.adcmax};
}

class ReceivePath {
 public:
  ReceivePath(const std::uint8_t* data, std::size_t size) {
    Program& p = program_.p;
    serial::SerialLibrary& com = p.serial();
    com.setPorts({{1, "fed", "fed"}});
    com.setOpener([this, replies = parseReplies(data, size)](
                      const serial::PortEntry&, const serial::OpenSettings&,
                      serial::OpenError&) -> std::unique_ptr<serial::SerialDevice> {
      return std::make_unique<FedLine>(replies, log_, [this] { return program_.rt.Timer(); });
    });
    p.st.com = 1;
  }

  void run(Exchange exchange, std::uint16_t frame) {
    Program& p = program_.p;
    if (exchange == kIdentification) {
      identification();
      return;
    }
    FUZZ_CHECK(p.serial().OpenComConfig(1, "", 19200, serial::kNoParity, 8, 1, 4096, 4096) == 0,
               "the fed line opens");
    installReceiveNotification(p, 1);
    switch (exchange) {
      case kLineCheck: lineCheck(); break;
      case kHardware: hardware(); break;
      case kGetRam: get(kTargetRam, cmd::kReadRam, frame); break;
      case kGetEeprom: get(kTargetEeprom, cmd::kReadEeprom, frame); break;
      case kGetSeries: getSeries(); break;
      case kRun: runLoop(); break;
      case kBlock: block(); break;
      default: break;
    }
    for (const LineLog::Read& r : log_->reads) {
      FUZZ_CHECK(r.asked <= static_cast<std::size_t>(kReadBufSize),
                 "a read never asks for more than the read buffer holds");
    }
  }

 private:
  ProgramState& st() { return program_.p.st; }

  // Every 36 bytes in a row that the line delivered: a frame the program took is one of them.
  std::vector<Bytes> deliveredFrames() const {
    Bytes all;
    for (const LineLog::Read& r : log_->reads) {
      all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    }
    std::vector<Bytes> frames;
    for (std::size_t i = 0; i + kFrameBytes <= all.size(); ++i) {
      frames.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(i),
                          all.begin() + static_cast<std::ptrdiff_t>(i + kFrameBytes));
    }
    return frames;
  }

  bool anyRead(const std::function<bool(const Bytes&)>& accepted) const {
    const std::vector<Bytes> frames = deliveredFrames();
    return std::any_of(frames.begin(), frames.end(), accepted);
  }

  void lineCheck() {
    if (CheckComLine(program_.p) == 1) {
      FUZZ_CHECK(anyRead([](const Bytes& b) { return b.size() == 36u && word(b, 0) == 0x00AA; }),
                 "the line is reported in order only after a frame with the sync word");
    }
  }

  // The hardware information is taken whole from one answer with echo 10, or not at all.
  void checkHardware(const std::array<std::uint16_t, 11>& before, bool taken) {
    const std::array<std::uint16_t, 11> after = hardwareWords(st());
    if (!taken) {
      FUZZ_CHECK(after == before, "hardware information without its answer changes nothing");
      return;
    }
    FUZZ_CHECK(anyRead([&](const Bytes& b) {
                 if (!answerFrame(b, cmd::kHardwareInfo)) {
                   return false;
                 }
                 for (std::size_t k = 0; k < after.size(); ++k) {
                   const std::uint16_t sent = word(b, 4 + 2 * k);
                   // An unlisted virtual pixel count is replaced by 2048.
                   const bool replaced = k == 4 && after[k] == 2048 && xArray8Factor(sent) == 0;
                   if (after[k] != sent && !replaced) {
                     return false;
                   }
                 }
                 return true;
               }),
               "the hardware information comes from an answer with the sync word and echo 10");
  }

  void hardware() {
    const auto before = hardwareWords(st());
    checkHardware(before, GetHARDWAREInfo(program_.p) == 1);
  }

  // Whether the record after the exchange is the record before it with each frame either kept
  // or replaced by the payload of one answer with the sync word and the GET's echo, then, when
  // the exchange wrote the record back to the panels, held within their limits as the program
  // holds it.
  bool explained(const ParaFileWords& before, std::uint16_t echo, bool limited) {
    const ParaFileWords after = recordToWords(st().parameter);
    std::vector<Bytes> payloads;
    for (const Bytes& f : deliveredFrames()) {
      if (!answerFrame(f, echo)) {
        continue;
      }
      Bytes payload(f.begin() + 6, f.end());
      if (std::find(payloads.begin(), payloads.end(), payload) == payloads.end()) {
        payloads.push_back(std::move(payload));
      }
    }
    const int choices = static_cast<int>(payloads.size()) + 1;  // kept, or one of the payloads
    for (int pick = 0; pick < choices * choices * choices; ++pick) {
      ParaFileWords candidate = before;
      for (int frame = 0, rest = pick; frame < 3; ++frame, rest /= choices) {
        const int choice = rest % choices;
        if (choice == 0) {
          continue;
        }
        const Bytes& payload = payloads[static_cast<std::size_t>(choice - 1)];
        for (int k = 0; k < kFrameWords; ++k) {
          candidate[static_cast<std::size_t>(frame * kFrameWords + k)] =
              word(payload, static_cast<std::size_t>(2 * k));
        }
      }
      if ((limited ? limitedWords(candidate) : candidate) == after) {
        return true;
      }
    }
    return false;
  }

  // The words of a record holding `words`, within the panels' limits.
  ParaFileWords limitedWords(const ParaFileWords& words) {
    const ParameterRecord kept = st().parameter;
    for (std::uint16_t frame = 0; frame < 3; ++frame) {
      WordArray pp{};
      std::copy_n(words.begin() + frame * kFrameWords, kFrameWords, pp.begin());
      CopyPPtoVars(pp, frame, st().parameter);
    }
    LimitParameters(program_.p);
    const ParaFileWords limited = recordToWords(st().parameter);
    st().parameter = kept;
    return limited;
  }

  void get(std::uint16_t target, std::uint16_t echo, std::uint16_t frame) {
    const ParaFileWords before = recordToWords(st().parameter);
    const bool stored = PushGET(program_.p, target, frame);
    if (!stored) {
      FUZZ_CHECK(recordToWords(st().parameter) == before, "a GET that timed out stores nothing");
    }
    // After frame 2 the record is written back to the panels.
    FUZZ_CHECK(explained(before, echo, frame == 2),
               "GET stores only the payload of an answer with the sync word and its own echo");
  }

  void getSeries() {
    const ParaFileWords before = recordToWords(st().parameter);
    readParameterFrames(program_.p, kTargetRam);
    FUZZ_CHECK(explained(before, cmd::kReadRam, true),
               "GET stores only the payload of an answer with the sync word and its own echo");
  }

  // RUN as the RUN button runs it, with every answer it draws checked as it is drawn.
  void runLoop() {
    Program& p = program_.p;
    st().stop_flag = 0;
    const auto checkAnswer = [this] {
      const Bytes b(st().szReadBuf.begin(), st().szReadBuf.begin() + kFrameBytes);
      FUZZ_CHECK(anyRead([&b](const Bytes& f) { return f == b; }),
                 "a RUN answer drawn is 36 bytes the line delivered");
      FUZZ_CHECK(answerFrame(b, cmd::kRun), "RUN draws only RUN answers with the sync word");
      for (int k = 0; k < kPpWords; ++k) {
        FUZZ_CHECK(
            st().pp[static_cast<std::size_t>(k)] == word(b, static_cast<std::size_t>(4 + 2 * k)),
            "a RUN answer's values are its own bytes");
      }
      return true;
    };
    const double firstRequest = p.rt.Timer();
    PushGETRAW(p);
    struct CheckedAnswer : RunConsumer {
      std::function<bool()> check;
      bool take(const RunValues&) override { return check(); }
    } checked;
    checked.check = checkAnswer;
    const RunStream::Listening listening = p.run.listen(checked);
    runExchange(p, {kRunTimeout, firstRequest});
  }

  void block() {
    const Line128 before = st().adcbufA;
    const BlockRequest blocks[] = {{0, kMasterVideo}};
    if (readBlocks(program_.p, blocks) != 1) {
      FUZZ_CHECK(st().adcbufA == before, "a block that did not come changes nothing");
      return;
    }
    FUZZ_CHECK(std::any_of(log_->reads.begin(), log_->reads.end(),
                           [&](const LineLog::Read& r) {
                             if (r.asked != static_cast<std::size_t>(kBlockBytes) ||
                                 r.bytes.size() != static_cast<std::size_t>(kBlockBytes)) {
                               return false;
                             }
                             for (int k = 0; k < kBlockWords; ++k) {
                               const auto i = static_cast<std::size_t>(k);
                               if (st().adcbufA[i] != word(r.bytes, 2 * i)) {
                                 return false;
                               }
                             }
                             return true;
                           }),
               "a block is taken only from a read of exactly 128 bytes");
  }

  void identification() {
    const ParaFileWords before = recordToWords(st().parameter);
    const auto hardwareBefore = hardwareWords(st());
    InitRS232(program_.p, 1);
    FUZZ_CHECK(explained(before, cmd::kReadRam, true),
               "the start-up stores only parameter frames with the sync word and echo 2");
    const bool hardwareAnswered = hardwareWords(st()) != hardwareBefore;
    checkHardware(hardwareBefore, hardwareAnswered);
  }

  OfflineProgram program_;
  std::shared_ptr<LineLog> log_ = std::make_shared<LineLog>();
};

}  // namespace
}  // namespace qrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qrix::fuzz;
  if (size == 0) {
    return 0;
  }
  const auto exchange = static_cast<Exchange>(data[0] % kExchangeCount);
  const auto frame = static_cast<std::uint16_t>(data[0] / kExchangeCount % 3);
  ReceivePath(data + 1, size - 1).run(exchange, frame);
  return 0;
}
