#include "export/graph_csv.h"

#include <charconv>
#include <vector>

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
  for (const Column& c : columns) text.append(",").append(c.name);
  text += "\r\n";
  for (std::size_t i = 0; i < x.size(); ++i) {
    text += number(x[i]);
    for (const Column& c : columns) text.append(",").append(std::to_string((*c.values)[i]));
    text += "\r\n";
  }
  return text;
}

// The master's columns, then the slave's, each group in the order given.
std::vector<Column> pick(Sensors sensors, const std::vector<Column>& master,
                         const std::vector<Column>& slave) {
  std::vector<Column> columns;
  if (sensors != Sensors::Slave) columns.insert(columns.end(), master.begin(), master.end());
  if (sensors != Sensors::Master) columns.insert(columns.end(), slave.begin(), slave.end());
  return columns;
}

}  // namespace

std::string videoCsv(const ProgramState& st, Sensors sensors) {
  if (sensors == Sensors::Both)  // the value columns side by side, then the threshold lines
    return curveCsv("position [virtual px]", st.xArray8,
                    {{"master [ADC counts]", &st.adcbufA},
                     {"slave [ADC counts]", &st.adcbufB},
                     {"master threshold [ADC counts]", &st.thdArrayA},
                     {"slave threshold [ADC counts]", &st.thdArrayB}});
  return curveCsv(
      "position [virtual px]", st.xArray8,
      pick(sensors,
           {{"master [ADC counts]", &st.adcbufA}, {"master threshold [ADC counts]", &st.thdArrayA}},
           {{"slave [ADC counts]", &st.adcbufB}, {"slave threshold [ADC counts]", &st.thdArrayB}}));
}

std::string dataCsv(const ProgramState& st, Sensors sensors) {
  const std::vector<Column> master = {{"master trigger [virtual px]", &st.trgBUFA},
                                      {"master upper [virtual px]", &st.upTHDA},
                                      {"master reference [virtual px]", &st.refTHDA},
                                      {"master lower [virtual px]", &st.loTHDA}};
  const std::vector<Column> slave = {{"slave trigger [virtual px]", &st.trgBUFB},
                                     {"slave upper [virtual px]", &st.upTHDB},
                                     {"slave reference [virtual px]", &st.refTHDB},
                                     {"slave lower [virtual px]", &st.loTHDB}};
  std::vector<Column> columns = pick(sensors, {{"master [virtual px]", &st.mvalBUFA}},
                                     {{"slave [virtual px]", &st.mvalBUFB}});
  const std::vector<Column> lines = pick(sensors, master, slave);
  columns.insert(columns.end(), lines.begin(), lines.end());
  return curveCsv("scan", st.xArrayMVAL, columns);
}

std::string stripChartCsv(const ProgramState& st) {
  constexpr int kTraces = 7;
  constexpr int kSamples = static_cast<int>(std::tuple_size_v<decltype(st.arrayNORM)>) / kTraces;
  std::string text =
      "sample,target [virtual px],value [virtual px],analog output [virtual px],"
      "upper tolerance [virtual px],lower tolerance [virtual px],master edge [virtual px],"
      "slave edge [virtual px]\r\n";
  for (int s = 0; s < kSamples; ++s) {
    text += std::to_string(s - (kSamples - 1));
    for (int t = 0; t < kTraces; ++t)
      text.append(",").append(number(st.arrayNORM[static_cast<std::size_t>(s * kTraces + t)]));
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
  for (const std::string& value : values) text.append(value).append(",");
  text.back() = '\r';
  return text + '\n';
}

}  // namespace qrix
