// Pictures for export from real widgets, drawn off screen: each graph saves as a PNG or an SVG
// of the size it has in the window (a hidden one too), the main window as a PNG of its size, and
// a window asked for as SVG is refused without a file. The Compare and Export buttons open their
// windows from the keyboard, and the lines the compare marks are highlighted in its box.

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QImage>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTest>
#include <filesystem>

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
  // The bar graph is shown; the video graph lies hidden behind the raw chart.
  for (int graph : {m::GRAPHBarMaster, m::GRAPHRaw, m::GRAPHVideoMaster}) {
    ASSERT_EQ(runtime.SaveImage(st.pHandle, graph, ImageFormat::Png, file), "");
    const QImage png(QString::fromStdString(file), "PNG");
    EXPECT_FALSE(png.isNull()) << graph;
    EXPECT_EQ(png.size(), plotSize(graph)) << graph;

    ASSERT_EQ(runtime.SaveImage(st.pHandle, graph, ImageFormat::Svg, file), "");
    QSvgRenderer svg(QString::fromStdString(file));
    EXPECT_TRUE(svg.isValid()) << graph;
    EXPECT_EQ(svg.viewBox().size(), plotSize(graph)) << graph;
  }
  ASSERT_EQ(runtime.SaveImage(st.pHandle, 0, ImageFormat::Png, file), "");
  EXPECT_EQ(QImage(QString::fromStdString(file)).size(),
            runtime.view().panelWidget(st.pHandle)->size());

  fs::remove(file);
  EXPECT_EQ(runtime.SaveImage(st.pHandle, 0, ImageFormat::Svg, file),
            "a window is saved as PNG only");
  EXPECT_EQ(runtime.SaveImage(st.pHandle, m::BTNRun, ImageFormat::Png, file), "not a graph");
  EXPECT_FALSE(fs::exists(file));
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
