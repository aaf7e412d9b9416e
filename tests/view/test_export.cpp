// Pictures for export from real widgets, drawn off screen: each graph saves as a PNG or an SVG
// of the size it has in the window (a hidden one too), the main window as a PNG of its size, and
// a window asked for as SVG is refused without a file; the export window writes the format
// chosen in it. The Compare and Export buttons open their windows from the keyboard, and the
// lines the compare marks are highlighted in its box.

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "modal_dialogs.h"
#include "plots/raw_graph.h"
#include "program/program.h"
#include "scope_window_fixture.h"

namespace qrix::test {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;

class ExportView : public ScopeWindowTest {
 protected:
  ~ExportView() override { fs::remove(file); }

  QSize plotSize(int control) { return runtime.view().plotWidget(st.pHandle, control)->size(); }

  const std::string file = (fs::temp_directory_path() /
                            ("export-view-" + std::to_string(QCoreApplication::applicationPid())))
                               .string();
};

TEST_F(ExportView, GraphsSaveAsImagesOfTheirSizeAndTheWindowAsPng) {
  // A PNG holds the screen's pixels (at 200 % twice as many each way), an SVG the window's size.
  const qreal ratio = runtime.view().panelWidget(st.pHandle)->devicePixelRatioF();
  const auto inPixels = [ratio](QSize size) {
    return QSize(static_cast<int>(std::lround(size.width() * ratio)),
                 static_cast<int>(std::lround(size.height() * ratio)));
  };
  // The bar graph is shown; the video graph lies hidden behind the raw chart.
  for (int graph : {m::GRAPHBarMaster, m::GRAPHRaw, m::GRAPHVideoMaster}) {
    ASSERT_EQ(runtime.SaveImage(st.pHandle, graph, ImageFormat::Png, file), "");
    const QImage png(QString::fromStdString(file), "PNG");
    EXPECT_FALSE(png.isNull()) << graph;
    EXPECT_EQ(png.size(), inPixels(plotSize(graph))) << graph;

    ASSERT_EQ(runtime.SaveImage(st.pHandle, graph, ImageFormat::Svg, file), "");
    QSvgRenderer svg(QString::fromStdString(file));
    EXPECT_TRUE(svg.isValid()) << graph;
    EXPECT_EQ(svg.viewBox().size(), plotSize(graph)) << graph;
  }
  ASSERT_EQ(runtime.SaveImage(st.pHandle, 0, ImageFormat::Png, file), "");
  EXPECT_EQ(QImage(QString::fromStdString(file)).size(),
            inPixels(runtime.view().panelWidget(st.pHandle)->size()));

  fs::remove(file);
  EXPECT_EQ(runtime.SaveImage(st.pHandle, 0, ImageFormat::Svg, file),
            "a window is saved as PNG only");
  EXPECT_EQ(runtime.SaveImage(st.pHandle, m::BTNRun, ImageFormat::Png, file), "not a graph");
  EXPECT_FALSE(fs::exists(file));
}

// The user names the file in the dialog; the bytes say what was written.
TEST_F(ExportView, TheExportWindowWritesTheFormatChosen) {
  namespace e = ids::exporting;
  const struct {
    int format;
    const char* extension;
    bool png;
  } formats[] = {{0, ".png", true}, {1, ".svg", false}};
  for (const auto& f : formats) {
    const std::string path = file + f.extension;
    fs::remove(path);
    runtime.ui().SetCtrlVal(st.pExport, e::RINGExportGraph, 0);  // the master's bar graph
    runtime.ui().SetCtrlVal(st.pExport, e::RINGExportFormat, f.format);
    ModalWatcher user([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      typeFileName(dialog, QString::fromStdString(path));
      static_cast<QDialog*>(dialog)->accept();
    });
    runtime.ui().dispatch(st.pExport, e::BTNExportSave, ui::EVENT_COMMIT);
    EXPECT_EQ(runtime.ui().GetCtrlText(st.pExport, e::TEXTExportState),
              "Saved Bar graph MASTER to " + path);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.starts_with("\x89PNG\r\n\x1a\n"), f.png) << f.extension;
    EXPECT_EQ(bytes.find("<svg") != std::string::npos, !f.png) << f.extension;
    fs::remove(path);
  }
}

// Away from the window a picture must say what it is: which sensor a bar graph is, what the
// raw chart's lines and positions are. A name that says another format gets the chosen one's
// extension, and a name of spaces only writes nothing.
TEST_F(ExportView, ExportedPicturesStandAlone) {
  namespace e = ids::exporting;
  const auto exportAs = [&](int graph, int format, const std::string& typed) {
    runtime.ui().SetCtrlVal(st.pExport, e::RINGExportGraph, graph);
    runtime.ui().SetCtrlVal(st.pExport, e::RINGExportFormat, format);
    ModalWatcher user([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      typeFileName(dialog, QString::fromStdString(typed));
      static_cast<QDialog*>(dialog)->accept();
    });
    runtime.ui().dispatch(st.pExport, e::BTNExportSave, ui::EVENT_COMMIT);
    return runtime.ui().GetCtrlText(st.pExport, e::TEXTExportState);
  };
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), {}};
  };
  // A few RUN answers in the raw chart's history.
  for (int i = 0; i < 5; ++i) {
    PlotRAWGraph(program);
  }
  runtime.ProcessSystemEvents();

  const std::string master = file + "-master.svg", slave = file + "-slave.svg";
  exportAs(0, 1, master);
  exportAs(1, 1, slave);
  EXPECT_NE(read(master).find(">MASTER<"), std::string::npos);
  EXPECT_EQ(read(master).find("SLAVE"), std::string::npos);
  EXPECT_NE(read(slave).find(">SLAVE<"), std::string::npos);

  const std::string raw = file + "-raw.svg";
  exportAs(2, 1, raw);
  const std::string rawSvg = read(raw);
  for (const char* text :
       {">RUN answer (newest 0)<", ">0<", ">-10<", ">target<", ">value<", ">upper tolerance<"}) {
    EXPECT_NE(rawSvg.find(text), std::string::npos) << text;
  }
  // The measurement view hides the edge traces: they are not in the legend.
  EXPECT_EQ(rawSvg.find(">master edge<"), std::string::npos);

  // PNG chosen, a name that says SVG: the file is a PNG and says so, one band taller.
  const std::string contradicting = file + "-picture.svg";
  EXPECT_EQ(exportAs(0, 0, contradicting), "Saved Bar graph MASTER to " + contradicting + ".png");
  EXPECT_FALSE(fs::exists(contradicting));
  const QImage png(QString::fromStdString(contradicting + ".png"), "PNG");
  // The picture holds the screen's pixels: at 200 % twice as many each way.
  const qreal ratio = runtime.view().plotWidget(st.pHandle, m::GRAPHBarMaster)->devicePixelRatioF();
  EXPECT_EQ(png.height(), std::lround((plotSize(m::GRAPHBarMaster).height() + 26) * ratio));

  fs::remove(fs::path(file).parent_path() / "   .png");
  EXPECT_EQ(exportAs(0, 0, (fs::path(file).parent_path() / "   ").string()),
            "Not saved: a file name of spaces only.");
  EXPECT_FALSE(fs::exists(fs::path(file).parent_path() / "   .png"));
  for (const std::string& path : {master, slave, raw, contradicting + ".png"}) {
    fs::remove(path);
  }
}

TEST_F(ExportView, ButtonsOpenTheirWindowsFromTheKeyboardAndCompareMarksAreHighlighted) {
  QWidget* exportButton = runtime.view().controlWidget(st.pHandle, m::BTNExport);
  exportButton->setFocus();
  QTest::keyClick(exportButton, Qt::Key_Space);
  runtime.ProcessSystemEvents();
  EXPECT_TRUE(runtime.view().panelWidget(st.pExport)->isVisible());

  namespace c = ids::compare;
  runtime.ui().ResetTextBox(st.pCompare, c::TEXTCompare, "header\n\nMASTER\n* differs\n  same\n");
  runtime.ui().SetTextBoxMarks(st.pCompare, c::TEXTCompare, {3});
  auto* box =
      qobject_cast<QPlainTextEdit*>(runtime.view().controlWidget(st.pCompare, c::TEXTCompare));
  ASSERT_NE(box, nullptr);
  const QList<QTextEdit::ExtraSelection> marks = box->extraSelections();
  ASSERT_EQ(marks.size(), 1);
  EXPECT_EQ(marks[0].cursor.block().text(), "* differs");
  runtime.ui().SetTextBoxMarks(st.pCompare, c::TEXTCompare, {});
  EXPECT_TRUE(box->extraSelections().isEmpty());
}

}  // namespace
}  // namespace qrix::test
