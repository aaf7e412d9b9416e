#include "runtime/ui_model.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace qrix::ui {

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::CommandButton: return "command button";
    case ControlKind::ToggleButton: return "toggle button";
    case ControlKind::RadioButton: return "radio button";
    case ControlKind::Numeric: return "numeric";
    case ControlKind::Slider: return "slider";
    case ControlKind::Ring: return "ring";
    case ControlKind::TextMessage: return "text message";
    case ControlKind::TextBox: return "text box";
    case ControlKind::Graph: return "graph";
    case ControlKind::StripChart: return "strip chart";
    case ControlKind::Decoration: return "decoration";
    case ControlKind::Picture: return "picture";
    case ControlKind::Led: return "LED";
  }
  return "?";
}

namespace {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) {
      text += '\n';
    }
    text += lines[i];
  }
  return text;
}

}  // namespace

UiModel::UiModel(PanelSource source) : source_(std::move(source)) {}

void UiModel::notify(int panel, int control, Aspect aspect) {
  if (observer_) {
    observer_->changed(panel, control, aspect);
  }
}

int UiModel::LoadPanel(int parent, int resourceId) {
  if (parent != 0 && !panels_.count(parent)) {
    return kErrNoPanel;
  }
  std::optional<PanelTemplate> tmpl = source_ ? source_(resourceId) : std::nullopt;
  if (!tmpl) {
    return kErrPanelLoad;
  }
  Panel p = std::move(*tmpl);
  p.handle = nextHandle_++;
  p.parent = parent;
  p.visible = false;
  int handle = p.handle;
  panels_[handle] = std::move(p);
  if (observer_) {
    observer_->panelLoaded(handle);
  }
  return handle;
}

const Panel* UiModel::panel(int handle) const {
  auto it = panels_.find(handle);
  return it == panels_.end() ? nullptr : &it->second;
}

Panel* UiModel::panel(int handle) {
  auto it = panels_.find(handle);
  return it == panels_.end() ? nullptr : &it->second;
}

std::vector<int> UiModel::panelHandles() const {
  std::vector<int> handles;
  for (const auto& [h, p] : panels_) {
    handles.push_back(h);
  }
  return handles;
}

std::optional<int> UiModel::findPanel(std::string_view name) const {
  for (const auto& [h, p] : panels_) {
    if (p.name == name) {
      return h;
    }
  }
  return std::nullopt;
}

std::optional<int> UiModel::findControl(int panelHandle, std::string_view name) const {
  const Panel* p = panel(panelHandle);
  if (!p) {
    return std::nullopt;
  }
  for (const auto& [id, c] : p->controls) {
    if (c.name == name) {
      return id;
    }
  }
  return std::nullopt;
}

int UiModel::DisplayPanel(int handle) {
  Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  p->visible = true;
  notify(handle, 0, Aspect::Panel);
  return kOk;
}

int UiModel::HidePanel(int handle) {
  Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  p->visible = false;
  notify(handle, 0, Aspect::Panel);
  return kOk;
}

int UiModel::DiscardPanel(int handle) {
  if (!panels_.count(handle)) {
    return kErrNoPanel;
  }
  // Children go with their parent.
  std::vector<int> children;
  for (const auto& [h, p] : panels_) {
    if (p.parent == handle) {
      children.push_back(h);
    }
  }
  for (int child : children) {
    DiscardPanel(child);
  }
  panels_.erase(handle);
  if (activePanel_ == handle) {
    activePanel_ = 0;
  }
  if (observer_) {
    observer_->panelDiscarded(handle);
  }
  return kOk;
}

int UiModel::SetActivePanel(int handle) {
  if (!panel(handle)) {
    return kErrNoPanel;
  }
  activePanel_ = handle;
  notify(handle, 0, Aspect::Panel);
  return kOk;
}

int UiModel::SetActiveCtrl(int handle, int id) {
  Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  if (!p->controls.count(id)) {
    return kErrNoControl;
  }
  p->activeControl = id;
  notify(handle, 0, Aspect::Panel);
  return kOk;
}

int UiModel::SetPanelPos(int handle, int top, int left) {
  Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  p->bounds.top = top;
  p->bounds.left = left;
  notify(handle, 0, Aspect::Panel);
  return kOk;
}

const Control* UiModel::control(int handle, int id) const {
  const Panel* p = panel(handle);
  if (!p) {
    return nullptr;
  }
  auto it = p->controls.find(id);
  return it == p->controls.end() ? nullptr : &it->second;
}

void UiModel::failed(int handle, int id, int code, const std::string& what) const {
  if (failureHook_) {
    failureHook_(handle, id, code);
  } else {
    std::fprintf(stderr, "ui: %s\n", what.c_str());
  }
}

Control* UiModel::mutableControl(int handle, int id, std::optional<ControlKind> kind, int* status) {
  const auto miss = [&](int code, const std::string& what) -> Control* {
    failed(handle, id, code, what);
    if (status) {
      *status = code;
    }
    return nullptr;
  };
  Panel* p = panel(handle);
  if (!p) {
    return miss(kErrNoPanel,
                "no panel " + std::to_string(handle) + " (control " + std::to_string(id) + ")");
  }
  auto it = p->controls.find(id);
  if (it == p->controls.end()) {
    return miss(kErrNoControl, "panel " + p->name + " has no control " + std::to_string(id));
  }
  if (kind && it->second.kind != *kind) {
    return miss(kErrWrongKind, p->name + "/" + it->second.name + " is a " +
                                   kindName(it->second.kind) + ", not a " + kindName(*kind));
  }
  if (status) {
    *status = kOk;
  }
  return &it->second;
}

const Control* UiModel::readControl(int handle, int id) const {
  const Control* c = control(handle, id);
  if (!c) {
    failed(handle, id, panel(handle) ? kErrNoControl : kErrNoPanel,
           "no control " + std::to_string(id) + " on panel " + std::to_string(handle) + " to read");
  }
  return c;
}

int UiModel::SetCtrlVal(int handle, int id, double value) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->value == value) {
    return kOk;
  }
  c->value = value;
  notify(handle, id, Aspect::Value);
  return kOk;
}

int UiModel::SetCtrlText(int handle, int id, std::string_view text) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->text == text) {
    return kOk;
  }
  c->text = std::string(text);
  notify(handle, id, Aspect::Value);
  return kOk;
}

double UiModel::GetCtrlVal(int handle, int id) const {
  const Control* c = readControl(handle, id);
  return c ? c->value : 0.0;
}

std::string UiModel::GetCtrlText(int handle, int id) const {
  const Control* c = readControl(handle, id);
  return c ? c->text : std::string();
}

int UiModel::SetVisible(int handle, int id, bool visible) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->visible == visible) {
    return kOk;
  }
  c->visible = visible;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::SetDimmed(int handle, int id, bool dimmed) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->dimmed == dimmed) {
    return kOk;
  }
  c->dimmed = dimmed;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

bool UiModel::IsVisible(int handle, int id) const {
  const Control* c = readControl(handle, id);
  return c && c->visible;
}

bool UiModel::IsDimmed(int handle, int id) const {
  const Control* c = readControl(handle, id);
  return c && c->dimmed;
}

int UiModel::SetCtrlPos(int handle, int id, int top, int left) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->bounds.top == top && c->bounds.left == left) {
    return kOk;
  }
  c->bounds.top = top;
  c->bounds.left = left;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

Rect UiModel::GetCtrlBoundingRect(int handle, int id) const {
  const Control* c = readControl(handle, id);
  return c ? c->bounds : Rect{};
}

int UiModel::SetBackColour(int handle, int id, Rgb colour) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->hasBackColour && c->backColour == colour) {
    return kOk;
  }
  c->backColour = colour;
  c->hasBackColour = true;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::SetTextColour(int handle, int id, Rgb colour) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->textColour == colour) {
    return kOk;
  }
  c->textColour = colour;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::SetLabel(int handle, int id, std::string_view label) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->label == label) {
    return kOk;
  }
  c->label = std::string(label);
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::ResetTextBox(int handle, int id, std::string_view text) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->text == text) {
    return kOk;
  }
  c->text = std::string(text);
  notify(handle, id, Aspect::Value);
  return kOk;
}

int UiModel::SetTextBoxMarks(int handle, int id, std::vector<int> lines) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::TextBox, &status);
  if (!c) {
    return status;
  }
  if (c->markedLines == lines) {
    return kOk;
  }
  c->markedLines = std::move(lines);
  notify(handle, id, Aspect::Value);
  return kOk;
}

int UiModel::ReplaceTextBoxLine(int handle, int id, int line, std::string_view text) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::TextBox, &status);
  if (!c) {
    return status;
  }
  if (line < 0) {
    return outOfRange(handle, id, "line", line);
  }
  std::vector<std::string> lines = splitLines(c->text);
  if (static_cast<size_t>(line) >= lines.size()) {
    lines.resize(static_cast<size_t>(line) + 1);
  }
  lines[static_cast<size_t>(line)] = std::string(text);
  std::string joined = joinLines(lines);
  if (joined == c->text) {
    return kOk;
  }
  c->text = std::move(joined);
  notify(handle, id, Aspect::Value);
  return kOk;
}

int UiModel::ReplaceListItem(int handle, int id, int index, std::string_view label, double value) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Ring, &status);
  if (!c) {
    return status;
  }
  if (index < 0 || static_cast<size_t>(index) >= c->items.size()) {
    return outOfRange(handle, id, "list item", index);
  }
  ListItem& item = c->items[static_cast<size_t>(index)];
  if (item.label == label && item.value == value) {
    return kOk;
  }
  item = ListItem{std::string(label), value};
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::SetListItems(int handle, int id, std::vector<ListItem> items) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Ring, &status);
  if (!c) {
    return status;
  }
  if (c->items == items) {
    return kOk;
  }
  c->items = std::move(items);
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::DisplayImageFile(int handle, int id, std::string_view path) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Picture, &status);
  if (!c) {
    return status;
  }
  if (c->imagePath == path) {
    return kOk;
  }
  c->imagePath = std::string(path);
  notify(handle, id, Aspect::Value);
  return kOk;
}

int UiModel::SetTooltip(int handle, int id, std::string_view text) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->tooltip == text) {
    return kOk;
  }
  c->tooltip = std::string(text);
  notify(handle, id, Aspect::Tooltip);
  return kOk;
}

int UiModel::SetDescription(int handle, int id, std::string_view text) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  if (c->description == text) {
    return kOk;
  }
  c->description = std::string(text);
  notify(handle, id, Aspect::Description);
  return kOk;
}

int UiModel::SetLedColour(int handle, int id, Rgb colour) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Led, &status);
  if (!c) {
    return status;
  }
  if (c->ledColour == colour) {
    return kOk;
  }
  c->ledColour = colour;
  notify(handle, id, Aspect::Attributes);
  return kOk;
}

int UiModel::NewTextLabel(int handle, int top, int left, std::string_view text,
                          std::string_view font, Rgb textColour, Rgb backColour, int pointSize) {
  Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  int id = p->controls.empty() ? 1 : p->controls.rbegin()->first + 1;
  Control c;
  c.id = id;
  c.name = "LABEL" + std::to_string(id);
  c.kind = ControlKind::TextMessage;
  c.bounds = Rect{left, top, 0, 0};
  c.text = std::string(text);
  c.font = std::string(font);
  c.textColour = textColour;
  c.backColour = backColour;
  c.hasBackColour = true;
  c.pointSize = pointSize;
  p->controls[id] = std::move(c);
  notify(handle, 0, Aspect::Panel);
  return id;
}

int UiModel::dispatch(int handle, int controlId, int event, int data1, int data2) {
  const Panel* p = panel(handle);
  if (!p) {
    return kErrNoPanel;
  }
  std::string name;
  if (controlId == 0) {
    name = p->callback;
  } else {
    const Control* c = control(handle, controlId);
    if (!c) {
      return kErrNoControl;
    }
    // A dimmed control takes no user input.
    if (c->dimmed) {
      return kOk;
    }
    name = c->callback;
  }
  if (name.empty()) {
    return kOk;
  }
  const Callback* fn = callbacks_.find(name);
  if (!fn) {
    return kOk;
  }
  // Copy: the callback may run a loop during which callbacks are rebound or panels discarded.
  Callback call = *fn;
  return call(handle, controlId, event, data1, data2);
}

}  // namespace qrix::ui
