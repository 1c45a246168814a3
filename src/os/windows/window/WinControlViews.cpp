#include "os/windows/window/WinControlViews.h"

#include <commctrl.h>

#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/ImageControl.h"
#include "core/controls/Label.h"
#include "core/controls/PictureBox.h"
#include "core/controls/ScrollBar.h"
#include "os/windows/WinText.h"
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinImageView.h"

namespace trelvin {

namespace {

COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void SetTextIfChanged(HWND hwnd, const std::string& text) {
  const std::wstring wide = Widen(text);
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, current.data(), length + 1);
  current.resize(static_cast<std::size_t>(length));
  if (current != wide) SetWindowTextW(hwnd, wide.c_str());
}

class LabelView : public WinControlView {
 public:
  LabelView(Label& model, WinFormWindow& window) : WinControlView(model, window), label_(model) {
    // Plain text on one line, clipped: a path is shown as it is, "&" included.
    Create(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0);
    Bind();
  }

  bool Lightweight() const override { return true; }

  void Sync() override {
    WinControlView::Sync();
    if (!hwnd_) return;
    if (label_.Style().underline) {
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_.Font(true)), FALSE);
    }
    SetTextIfChanged(hwnd_, label_.Caption());
    window_.SetToolTip(hwnd_, label_.ToolTipText());
  }

  void OnCommand(UINT code) override {
    if (code == STN_CLICKED) window_.events().Control(label_.on_click);
    if (code == STN_DBLCLK) window_.events().Control(label_.on_dbl_click);
  }

  HBRUSH OnColor(HDC dc) override {
    SetTextColor(dc, ToColorRef(label_.Style().fore_color));
    SetBkMode(dc, TRANSPARENT);
    return window_.BackBrush();
  }

  HCURSOR Cursor() const override {
    return label_.Style().link_cursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
  }

 private:
  Label& label_;
};

class ScrollBarView : public WinControlView {
 public:
  ScrollBarView(ScrollBar& model, WinFormWindow& window)
      : WinControlView(model, window), bar_(model) {
    Create(L"SCROLLBAR", L"", SBS_HORZ | WS_TABSTOP, 0);
    Bind();
  }

  void Sync() override {
    WinControlView::Sync();
    if (!hwnd_) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    info.nMin = bar_.Min();
    info.nMax = bar_.Max();
    info.nPage = 0;  // a thumb of the standard size; the maximum is reachable
    info.nPos = bar_.Value();
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
  }

  void OnScroll(UINT code, WPARAM wparam) override {
    long value = bar_.Value();
    switch (code) {
      case SB_LINELEFT:
        value -= bar_.SmallChange();
        break;
      case SB_LINERIGHT:
        value += bar_.SmallChange();
        break;
      case SB_PAGELEFT:
        value -= bar_.LargeChange();
        break;
      case SB_PAGERIGHT:
        value += bar_.LargeChange();
        break;
      case SB_LEFT:
        value = bar_.Min();
        break;
      case SB_RIGHT:
        value = bar_.Max();
        break;
      case SB_THUMBPOSITION:
        // The change comes when the thumb is released, never while it is dragged. The values
        // are 16-bit, so the message's own 16-bit position holds any of them.
        value = static_cast<std::int16_t>(HIWORD(wparam));
        break;
      case SB_ENDSCROLL:
        Sync();  // the thumb shows the model's value, whatever the drag left
        return;
      default:  // SB_THUMBTRACK: the system moves the thumb; the value stays
        return;
    }
    if (value < bar_.Min()) value = bar_.Min();
    if (value > bar_.Max()) value = bar_.Max();
    // The model raises the change only when the value really changes, and then moves the thumb;
    // otherwise the thumb goes back to the unchanged value.
    const bool changes = value != bar_.Value();
    window_.events().Control([this, value] { bar_.SetValue(value); });
    if (!changes) Sync();
  }

 private:
  ScrollBar& bar_;
};

class CheckBoxView : public WinControlView {
 public:
  CheckBoxView(CheckBox& model, WinFormWindow& window)
      : WinControlView(model, window), box_(model) {
    Create(L"BUTTON", Widen(model.Caption()), BS_3STATE | WS_TABSTOP, 0);
    Bind();
  }

  void Sync() override {
    WinControlView::Sync();
    if (!hwnd_) return;
    const WPARAM state = box_.Value() == CheckBox::kChecked  ? BST_CHECKED
                         : box_.Value() == CheckBox::kGrayed ? BST_INDETERMINATE
                                                             : BST_UNCHECKED;
    SendMessageW(hwnd_, BM_SETCHECK, state, 0);
  }

  void OnCommand(UINT code) override {
    // The user only clears or checks a box; a grayed one becomes checked.
    if (code != BN_CLICKED) return;
    window_.events().Control([this] {
      box_.SetValue(box_.Value() == CheckBox::kChecked ? CheckBox::kCleared : CheckBox::kChecked);
    });
  }

 private:
  CheckBox& box_;
};

class ButtonView : public WinControlView {
 public:
  ButtonView(Button& model, WinFormWindow& window) : WinControlView(model, window), button_(model) {
    Create(L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, 0);
    Bind();
  }

  void Sync() override {
    WinControlView::Sync();
    if (hwnd_) SetTextIfChanged(hwnd_, button_.Caption());
  }

  void OnCommand(UINT code) override {
    if (code == BN_CLICKED) window_.events().Control(button_.on_click);
  }

 private:
  Button& button_;
};

class PictureBoxView : public WinCustomView {
 public:
  PictureBoxView(PictureBox& model, WinFormWindow& window)
      : WinCustomView(model, window), box_(model) {
    CreateCustom(true);
    Bind();
  }

 protected:
  void Paint(HDC dc, const RECT& dirty) override {
    HBRUSH brush = CreateSolidBrush(ToColorRef(box_.BackColor()));
    FillRect(dc, &dirty, brush);
    DeleteObject(brush);
  }

 private:
  PictureBox& box_;
};

}  // namespace

std::unique_ptr<WinControlView> CreateControlView(Control& control, WinFormWindow& window) {
  if (auto* label = dynamic_cast<Label*>(&control)) {
    return std::make_unique<LabelView>(*label, window);
  }
  if (auto* bar = dynamic_cast<ScrollBar*>(&control)) {
    return std::make_unique<ScrollBarView>(*bar, window);
  }
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    return std::make_unique<CheckBoxView>(*box, window);
  }
  if (auto* button = dynamic_cast<Button*>(&control)) {
    return std::make_unique<ButtonView>(*button, window);
  }
  if (auto* canvas = dynamic_cast<PictureBox*>(&control)) {
    return std::make_unique<PictureBoxView>(*canvas, window);
  }
  if (auto* image = dynamic_cast<ImageControl*>(&control)) return MakeImageView(*image, window);
  return nullptr;
}

}  // namespace trelvin
