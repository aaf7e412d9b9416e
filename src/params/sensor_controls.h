#pragma once
// Controls of the master and slave panels that act at once: the video-threshold sliders redraw
// the video curve, the trigger-threshold and teach fields redraw the data curve, the power-mode
// lists dim the power slider, and the cursor buttons move the bar graph's teach cursor.

namespace qrix {

struct Program;

enum class Sensor { Master, Slave };

int videoThresholdChanged(Program& p, Sensor s, int event);
int powerModeChanged(Program& p, Sensor s, int event);
int triggerThresholdChanged(Program& p, Sensor s, int event);
int teachCommitted(Program& p, Sensor s, int event);
int teachCursor(Program& p, Sensor s, int event);

}  // namespace qrix
