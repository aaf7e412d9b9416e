#include "export/graph_csv.h"

#include <charconv>
#include <vector>

#include "plots/raw_graph.h"
#include "program/program_state.h"

namespace qrix {

namespace {

// The shortest text that reads back as the same number, with `.` in any locale.
std::string number(double value) {
  char text[32];
  const auto result = std::to_chars(std::begin(text), std::end(text), value);
  return std::string(text, result.ptr);
}

struct Column {
  std::string name;  // with its unit
  const Line128* values;
};

std::string curveCsv(const std::string& position, const X128& x,
                     const std::vector<Column>& columns) {
  std::string text = position;
  for (const Column& c : columns) {
    text.append(",").append(c.name);
  }
  text += "\r\n";
  for (std::size_t i = 0; i < x.size(); ++i) {
    text += number(x[i]);
    for (const Column& c : columns) {
      text.append(",").append(std::to_string((*c.values)[i]));
    }
    text += "\r\n";
  }
  return text;
}

// The chosen sensors' curves side by side, then their lines, the master's before the slave's.
struct SensorColumns {
  Column curve;
  std::vector<Column> lines;
};

std::vector<Column> columnsOf(Sensors sensors, const SensorColumns& master,
                              const SensorColumns& slave) {
  std::vector<const SensorColumns*> chosen;
  if (sensors != Sensors::Slave) {
    chosen.push_back(&master);
  }
  if (sensors != Sensors::Master) {
    chosen.push_back(&slave);
  }
  std::vector<Column> columns;
  for (const SensorColumns* s : chosen) {
    columns.push_back(s->curve);
  }
  for (const SensorColumns* s : chosen) {
    columns.insert(columns.end(), s->lines.begin(), s->lines.end());
  }
  return columns;
}

}  // namespace

std::string videoCsv(const ProgramState& st, Sensors sensors) {
  return curveCsv("position [virtual px]", st.xArray8,
                  columnsOf(sensors,
                            {{"master [ADC counts]", &st.adcbufA},
                             {{"master threshold [ADC counts]", &st.thdArrayA}}},
                            {{"slave [ADC counts]", &st.adcbufB},
                             {{"slave threshold [ADC counts]", &st.thdArrayB}}}));
}

std::string dataCsv(const ProgramState& st, Sensors sensors) {
  return curveCsv("scan", st.xArrayMVAL,
                  columnsOf(sensors,
                            {{"master [virtual px]", &st.mvalBUFA},
                             {{"master trigger [virtual px]", &st.trgBUFA},
                              {"master upper [virtual px]", &st.upTHDA},
                              {"master reference [virtual px]", &st.refTHDA},
                              {"master lower [virtual px]", &st.loTHDA}}},
                            {{"slave [virtual px]", &st.mvalBUFB},
                             {{"slave trigger [virtual px]", &st.trgBUFB},
                              {"slave upper [virtual px]", &st.upTHDB},
                              {"slave reference [virtual px]", &st.refTHDB},
                              {"slave lower [virtual px]", &st.loTHDB}}}));
}

std::string stripChartCsv(const ProgramState& st) {
  constexpr int kTraces = 7;
  constexpr int kSamples = static_cast<int>(std::tuple_size_v<decltype(st.arrayNORM)>) / kTraces;
  std::string text = "sample";
  for (const char* name : kRawTraceNames) {
    text.append(",").append(name).append(" [virtual px]");
  }
  text += "\r\n";
  for (int s = 0; s < kSamples; ++s) {
    text += std::to_string(s - (kSamples - 1));
    for (int t = 0; t < kTraces; ++t) {
      text.append(",").append(number(st.arrayNORM[static_cast<std::size_t>(s * kTraces + t)]));
    }
    text += "\r\n";
  }
  return text;
}

std::string barValuesCsv(const ProgramState& st) {
  std::string text =
      "master edge [virtual px],slave edge [virtual px],value [virtual px],value [mm],"
      "target [virtual px],tolerance up [virtual px],tolerance low [virtual px],"
      "master edges,slave edges,analog max [virtual px],analog min [virtual px]\r\n";
  const std::string values[] = {
      std::to_string(st.Aval),     std::to_string(st.Bval),   std::to_string(st.Mvalue),
      number(st.umValue / 1000.0), std::to_string(st.tVal),   std::to_string(st.tolup),
      std::to_string(st.tollo),    std::to_string(st.edcntA), std::to_string(st.edcntB),
      std::to_string(st.anaMax),   std::to_string(st.anaMin)};
  for (const std::string& value : values) {
    text.append(value).append(",");
  }
  text.back() = '\r';
  return text + '\n';
}

}  // namespace qrix
