// Windows fit their screens: a panel is shown scaled as a whole to the room its window has, grows
// with a larger window, scrolls in one too small to read, and the program's clicks still carry
// layout spots. The scope's windows open whole on the screen the test runs on (CMake runs these
// tests again on screens of 1024 x 768, 1366 x 768 and 1920 x 1080), the main window with every
// control in sight and clear of the others, and a screenshot of it is written.

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QAbstractButton>
#include <QDir>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <iostream>

#include "runtime/qt/panel_window.h"
#include "scope_window_fixture.h"
#include "synthetic_panels.h"

namespace qrix::test {
namespace {

// A widget's rectangle in its window's coordinates.
QRect inWindow(const QWidget* w) {
  return QRect(w->mapTo(w->window(), QPoint()), w->size());
}

QScrollArea* scrollOf(QWidget* window) {
  return window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
}

class PanelScale : public ViewTest {
 protected:
  QWidget* window() { return runtime.view().panelWidget(main); }
  void resizeTo(QSize size) {
    window()->resize(size);
    pumpFor(20);
  }
  QRect layoutOf(const std::string& name) {
    const ui::Rect& b = ui().panel(main)->controls.at(id(name)).bounds;
    return QRect(b.left, b.top, b.width, b.height);
  }
};

TEST_F(PanelScale, ALargerWindowGrowsThePanelAtItsAspectAndClicksCarryLayoutSpots) {
  // Twice the layout's width, more than twice its height: the width sets the scale.
  resizeTo(QSize(2 * 760, 2 * 560 + 200));
  QWidget* content = scrollOf(window())->widget();
  EXPECT_EQ(content->width(), scrollOf(window())->viewport()->width());
  EXPECT_EQ(content->height(), 2 * 560);
  for (const char* name : {"BTNrun", "GRAPHprofile", "TBXlog"}) {
    EXPECT_EQ(widget(name)->geometry(),
              QRect(layoutOf(name).topLeft() * 2, layoutOf(name).size() * 2))
        << name;
  }
  const QFont base = QApplication::font();
  EXPECT_DOUBLE_EQ(widget("BTNrun")->font().pointSizeF(), 2 * base.pointSizeF());
  // A label of its own size in a larger window, and one added while it is larger.
  const int label = ui().NewTextLabel(main, 540, 400, "added", "", ui::kRed, ui::kWhite, 12);
  QWidget* added = runtime.view().controlWidget(main, label);
  EXPECT_EQ(added->pos(), QPoint(800, 1080));
  EXPECT_DOUBLE_EQ(added->font().pointSizeF(), 24);
  EXPECT_GT(
      runtime.view().plotWidget(main, id("GRAPHprofile"))->xAxis->tickLabelFont().pointSizeF(),
      base.pointSizeF());

  // The program hears of a click at the spot of the layout.
  int top = -1, left = -1;
  runtime.callbacks().bind(ui().panel(main)->controls.at(id("BTNrun")).callback,
                           [&](int, int, int event, int data1, int data2) {
                             if (event == ui::EVENT_RIGHT_CLICK) {
                               top = data1, left = data2;
                             }
                             return 0;
                           });
  QTest::mouseClick(widget("BTNrun"), Qt::RightButton, {}, QPoint(10, 6));
  EXPECT_EQ(top, layoutOf("BTNrun").top() + 3);
  EXPECT_EQ(left, layoutOf("BTNrun").left() + 5);

  // Back at the layout's size, everything is where the layout puts it.
  resizeTo(QSize(760, 560));
  EXPECT_EQ(widget("BTNrun")->geometry(), layoutOf("BTNrun"));
  EXPECT_EQ(added->font().pointSizeF(), 12);
}

TEST_F(PanelScale, AWindowTooSmallToReadScrollsToEveryControl) {
  resizeTo(QSize(380, 280));
  QScrollArea* scroll = scrollOf(window());
  EXPECT_EQ(widget("GRAPHprofile")->width(),
            std::lround(layoutOf("GRAPHprofile").width() * qt::PanelWindow::kMinScale));
  EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
  for (const auto& [cid, c] : ui().panel(main)->controls) {
    QWidget* w = runtime.view().controlWidget(main, cid);
    if (!w || !w->isVisibleTo(window())) {
      continue;
    }
    scroll->ensureWidgetVisible(w, 0, 0);
    const QRect seen(w->mapTo(scroll->viewport(), QPoint()), w->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(seen)) << c.name;
  }
}

class ScreenFit : public ScopeWindowTest {
 protected:
  // Whether the window lies on its screen whole, and each control of `panel` in sight in it.
  void expectWholeOnScreen(int panel) {
    QWidget* window = runtime.view().panelWidget(panel);
    const std::string name = runtime.ui().panel(panel)->name;
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry())) << name;
    const QRect seen = inWindow(scrollOf(window)->viewport());
    for (const auto& [cid, c] : runtime.ui().panel(panel)->controls) {
      QWidget* w = runtime.view().controlWidget(panel, cid);
      if (!w || !w->isVisibleTo(window)) {
        continue;
      }
      EXPECT_TRUE(seen.contains(inWindow(w))) << name << " " << c.name;
    }
  }
};

TEST_F(ScreenFit, TheMainWindowOpensWholeOnItsScreenWithEveryControlInSightAndClear) {
  QWidget* window = runtime.view().panelWidget(st.pHandle);
  const QScreen* screen = window->screen();
  QWidget* viewport = scrollOf(window)->viewport();
  const QRect seen = inWindow(viewport);
  EXPECT_EQ(scrollOf(window)->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(scrollOf(window)->verticalScrollBar()->maximum(), 0);

  // Every control shown on the main panel and its child panels. Decorations and pictures lie
  // under others by design.
  struct Shown {
    std::string name;
    QRect at;
  };
  std::vector<Shown> controls;
  for (int handle : {st.pHandle, st.pPara0, st.pPara1, st.pPara2, st.pCalib}) {
    if (!runtime.view().panelWidget(handle)->isVisibleTo(window)) {
      continue;
    }
    for (const auto& [cid, c] : runtime.ui().panel(handle)->controls) {
      QWidget* w = runtime.view().controlWidget(handle, cid);
      if (!w || !w->isVisibleTo(window)) {
        continue;
      }
      EXPECT_TRUE(seen.contains(inWindow(w))) << c.name;
      if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width()) << c.name;
      }
      if (c.kind != ui::ControlKind::Decoration && c.kind != ui::ControlKind::Picture) {
        controls.push_back({c.name, inWindow(w)});
      }
    }
  }
  EXPECT_GT(controls.size(), 40u);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(controls[i].at.intersects(controls[j].at))
          << controls[i].name << " and " << controls[j].name;
    }
  }

  expectWholeOnScreen(st.pHandle);
  QDir().mkpath(QRIX_SCREENSHOT_DIR);
  const QString path = QStringLiteral(QRIX_SCREENSHOT_DIR "/screen_%1x%2_ratio%3.png")
                           .arg(screen->geometry().width())
                           .arg(screen->geometry().height())
                           .arg(window->devicePixelRatioF());
  EXPECT_TRUE(runtime.view().grab(st.pHandle).save(path));
  std::cout << "screenshot: " << path.toStdString() << "\n";
}

TEST_F(ScreenFit, EveryOtherWindowOpensWholeOnItsScreen) {
  for (int panel : {st.pPopUp, st.pLinkLog, st.pCompare, st.pExport, st.pStatistics}) {
    runtime.ui().DisplayPanel(panel);
    runtime.ProcessSystemEvents();
    expectWholeOnScreen(panel);
  }
}

}  // namespace
}  // namespace qrix::test
