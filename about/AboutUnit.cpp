#include "about/AboutUnit.h"

#include <shellapi.h>

#include <cwchar>
#include <stdexcept>

#include "about/modal_loop.h"
#include "about/scaling.h"
#include "about/thread_windows.h"
#include "common/win32_error.h"
#include "library/export_boundary.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace pinvale {
namespace {

constexpr wchar_t HomePageAddress[] = L"https://www.velmora.example/keelmark";
constexpr wchar_t SupportMailAddress[] = L"mailto:support@velmora.example";

// A dialog frame: title bar and close box, no sizing border, no minimise or maximise box.
constexpr DWORD FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD FormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

bool SameName(const wchar_t* a, const wchar_t* b) { return a && b && std::wcscmp(a, b) == 0; }

using Handler = void (TAboutForm::*)(HWND);
struct NamedHandler {
  const wchar_t* Name;
  Handler Method;
};
// The handlers that the design may name for its events.
constexpr NamedHandler Handlers[] = {
    {L"ProductLabelClick", &TAboutForm::ProductLabelClick},
    {L"CopyrightLabelClick", &TAboutForm::CopyrightLabelClick},
    {L"FormCreate", &TAboutForm::FormCreate},
};

struct WindowKind {
  const wchar_t* ClassName;
  DWORD Style;
};

WindowKind KindOf(const TComponentDesign& design) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (design.Class) {
    case TComponentClass::Bevel:
      return {L"Static", style | SS_ETCHEDFRAME};
    case TComponentClass::Image:
      return {L"Static", style | SS_OWNERDRAW};
    case TComponentClass::Label:
      // Clicks and the cursor need the label to take the mouse.
      if (design.OnClick || design.HandCursor) style |= SS_NOTIFY;
      return {L"Static", style | SS_LEFTNOWORDWRAP | (design.ShowAccelChar ? 0 : SS_NOPREFIX)};
    case TComponentClass::Button:
      return {L"Button", style | WS_TABSTOP | (design.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
  }
  throw std::logic_error("unknown component class");
}

// Gives the window the client size and centres it on the screen; measured on the window
// itself, since the frame's size is the window manager's.
void SetClientSizeCentred(HWND window, int width, int height) {
  RECT outer, inner;
  GetWindowRect(window, &outer);
  GetClientRect(window, &inner);
  int outer_width = width + (outer.right - outer.left) - inner.right;
  int outer_height = height + (outer.bottom - outer.top) - inner.bottom;
  int left = (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
  SetWindowPos(window, nullptr, left, top, outer_width, outer_height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where an icon goes in an image's box, as the design's Center, Proportional and Stretch
// say. Icons are square.
RECT PictureRect(const TControl& image, int natural_size) {
  const TComponentDesign& d = *image.Design;
  int width = natural_size, height = natural_size;
  if (d.Stretch) {
    width = image.Bounds.Width;
    height = image.Bounds.Height;
    if (d.Proportional) width = height = width < height ? width : height;
  }
  int left = d.Center ? (image.Bounds.Width - width) / 2 : 0;
  int top = d.Center ? (image.Bounds.Height - height) / 2 : 0;
  return {left, top, left + width, top + height};
}

}  // namespace

void SetDefaultGuiFont(TFont& font) {
  AssignFontHandle(font, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
}

void SetIconTitleFont(TFont& font) {
  LOGFONTW description{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof description, &description, 0))
    AssignFontHandle(font, CreateFontIndirectW(&description), true);
  else
    SetDefaultGuiFont(font);
}

TAboutForm::TAboutForm() : design_(AboutFormDesign) {
  ReadDesign();
  ScaleToScreen();
  CallHandler(design_.OnCreate, nullptr);
  AutoSizeLabels();
  CreateWindows();
}

void TAboutForm::ReadDesign() {
  Font = FontFromDesign(design_.Font);
  ClientWidth = design_.ClientWidth;
  ClientHeight = design_.ClientHeight;
  for (const TComponentDesign& component : design_.Components) {
    TControl* control = ComponentByName(component.Name);
    if (!control) throw std::logic_error("the design names a component the form lacks");
    control->Design = &component;
    control->Bounds = component.Bounds;
    if (!component.ParentFont) control->OwnFont = FontFromDesign(component.Font);
  }
}

// Fonts follow the resolution; positions and sizes follow the text height that the
// scaled font gives, so that the text still fits where the design put it.
void TAboutForm::ScaleToScreen() {
  int screen = ScreenPixelsPerInch();
  if (screen == design_.PixelsPerInch) return;
  Font.Description.lfHeight = MulDiv(Font.Description.lfHeight, screen, design_.PixelsPerInch);
  for (const TComponentDesign& component : design_.Components) {
    TFont& own = ComponentByName(component.Name)->OwnFont;
    if (!component.ParentFont) own.Description.lfHeight = MulDiv(own.Description.lfHeight, screen, design_.PixelsPerInch);
  }
  int text_height = TextHeight(FontHandle(Font));
  if (text_height == design_.TextHeight || text_height <= 0) return;
  ClientWidth = MulDiv(ClientWidth, text_height, design_.TextHeight);
  ClientHeight = MulDiv(ClientHeight, text_height, design_.TextHeight);
  for (const TComponentDesign& component : design_.Components) {
    TControl& control = *ComponentByName(component.Name);
    control.Bounds = ScaleBounds(control.Bounds, text_height, design_.TextHeight);
  }
}

void TAboutForm::FormCreate(HWND) {
  SetIconTitleFont(Font);
  SetIconTitleFont(ProductLabel.OwnFont);
  SetBoldStyle(ProductLabel.OwnFont);
}

void TAboutForm::ProductLabelClick(HWND) {
  ShellExecuteW(nullptr, L"open", HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TAboutForm::CopyrightLabelClick(HWND) {
  ShellExecuteW(nullptr, L"open", SupportMailAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TAboutForm::AutoSizeLabels() {
  for (const TComponentDesign& component : design_.Components) {
    if (component.Class != TComponentClass::Label || !component.AutoSize) continue;
    TControl& label = *ComponentByName(component.Name);
    ScreenDC dc;
    SelectedObject font(dc.get(), FontHandle(FontOf(label)));
    RECT extent{};
    UINT format = DT_CALCRECT | DT_EXPANDTABS | (component.ShowAccelChar ? 0 : DT_NOPREFIX);
    DrawTextW(dc.get(), component.Caption, -1, &extent, format);
    label.Bounds.Width = extent.right - extent.left;
    label.Bounds.Height = extent.bottom - extent.top;
  }
}

void TAboutForm::CreateWindows() {
  brush_.reset(CreateSolidBrush(GetSysColor(design_.Color)));

  // The class paints no background of its own: each form paints with its own brush, so
  // that boxes on two threads can share the class.
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = ThisModule();
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = design_.ClassName;
  window_class_.emplace(window_class);

  HWND owner = GetActiveWindow();
  for (int attempt = 0; attempt < 2 && !window_; ++attempt) {
    window_.reset(CreateWindowExW(FormExStyle, design_.ClassName, design_.Caption, FormStyle, 0, 0, ClientWidth,
                                  ClientHeight, owner, nullptr, ThisModule(), this));
    if (!window_ && GetLastError() == ERROR_CANNOT_FIND_WND_CLASS) window_class_->Renew();
  }
  if (!window_) ThrowLastError(ErrorClass::Other);
  SetClientSizeCentred(window_.get(), ClientWidth, ClientHeight);

  for (const TComponentDesign& component : design_.Components) {
    TControl& control = *ComponentByName(component.Name);
    WindowKind kind = KindOf(component);
    control.Handle = CreateWindowExW(0, kind.ClassName, component.Caption, kind.Style, control.Bounds.Left,
                                     control.Bounds.Top, control.Bounds.Width, control.Bounds.Height, window_.get(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(component.Id)), ThisModule(), nullptr);
    if (!control.Handle) ThrowLastError(ErrorClass::Other);
    if (component.Class == TComponentClass::Label || component.Class == TComponentClass::Button)
      SendMessageW(control.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(FontOf(control))), FALSE);
    if (component.Class == TComponentClass::Bevel)
      SetWindowPos(control.Handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (component.Picture) {
      RECT place = PictureRect(control, GetSystemMetrics(SM_CXICON));
      // The best-fitting image of the icon, scaled to the place it is drawn in.
      picture_.reset(static_cast<HICON>(LoadImageW(ThisModule(), component.Picture, IMAGE_ICON,
                                                   place.right - place.left, place.bottom - place.top,
                                                   LR_DEFAULTCOLOR)));
    }
  }
}

int TAboutForm::ShowModal() {
  ModalResult = 0;
  DisabledThreadWindows disabled(window_.get());
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  RunModalLoop(window_.get(), ModalResult);
  // The host's windows come back before the box goes, so that activation returns to them.
  disabled.Restore();
  if (IsWindow(window_.get())) ShowWindow(window_.get(), SW_HIDE);
  if (failure_) std::rethrow_exception(failure_);
  return ModalResult;
}

void TAboutForm::CallHandler(const wchar_t* name, HWND sender) {
  if (!name) return;
  for (const NamedHandler& handler : Handlers) {
    if (SameName(handler.Name, name)) {
      (this->*handler.Method)(sender);
      return;
    }
  }
  throw std::logic_error("the design names a handler the form lacks");
}

void TAboutForm::Click(TControl& control) {
  CallHandler(control.Design->OnClick, control.Handle);
  if (control.Design->ModalResult != 0) ModalResult = control.Design->ModalResult;
}

void TAboutForm::DrawPicture(const DRAWITEMSTRUCT& item) {
  // The form shows through wherever the icon is transparent.
  FillRect(item.hDC, &item.rcItem, brush_.get());
  if (!picture_) return;
  RECT place = PictureRect(ProductImage, GetSystemMetrics(SM_CXICON));
  DrawIconEx(item.hDC, place.left, place.top, picture_.get(), place.right - place.left, place.bottom - place.top, 0,
             nullptr, DI_NORMAL);
}

LRESULT CALLBACK TAboutForm::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TAboutForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  // No exception may cross the system's frames: keep it, end the show, raise it after.
  try {
    return form->HandleMessage(window, message, wparam, lparam);
  } catch (...) {
    if (!form->failure_) form->failure_ = std::current_exception();
    form->ModalResult = IDCANCEL;
    return 0;
  }
}

LRESULT TAboutForm::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, brush_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wparam);
      TControl* control = ComponentByWindow(reinterpret_cast<HWND>(lparam));
      SetTextColor(dc, GetSysColor(control ? FontOf(*control).Color : COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(design_.Color));
      return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      TControl* control = ComponentById(static_cast<int>(item.CtlID));
      if (!control || control->Design->Class != TComponentClass::Image) break;
      DrawPicture(item);
      return TRUE;
    }
    case WM_SETCURSOR: {
      TControl* control = ComponentByWindow(reinterpret_cast<HWND>(wparam));
      if (!control || !control->Design->HandCursor || LOWORD(lparam) != HTCLIENT) break;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    }
    case WM_COMMAND: {
      // Buttons report their clicks; the dialog keys come as IDOK (Enter) and IDCANCEL
      // (Escape), which press the default and the cancel button.
      int id = LOWORD(wparam);
      TControl* control = ComponentById(id);
      if (!control || control->Design->Class != TComponentClass::Button) {
        if (id == IDOK) control = ButtonWhere(&TComponentDesign::Default);
        if (id == IDCANCEL) control = ButtonWhere(&TComponentDesign::Cancel);
      }
      if (control && HIWORD(wparam) == BN_CLICKED) Click(*control);  // STN_CLICKED too
      return 0;
    }
    case WM_ACTIVATE:
      // Focus goes back to the one control that takes it, as when the form first shows.
      if (LOWORD(wparam) != WA_INACTIVE) {
        if (TControl* button = ButtonWhere(&TComponentDesign::Default)) SetFocus(button->Handle);
        return 0;
      }
      break;
    case WM_CLOSE:
      ModalResult = IDCANCEL;
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TControl* TAboutForm::ComponentByName(const wchar_t* name) {
  TControl* const controls[] = {&Bevel1, &ProductImage, &ProductLabel, &CopyrightLabel, &OKButton};
  constexpr const wchar_t* names[] = {L"Bevel1", L"ProductImage", L"ProductLabel", L"CopyrightLabel", L"OKButton"};
  for (int i = 0; i < 5; ++i)
    if (SameName(names[i], name)) return controls[i];
  return nullptr;
}

TControl* TAboutForm::ComponentById(int id) {
  for (const TComponentDesign& component : design_.Components)
    if (component.Id == id) return ComponentByName(component.Name);
  return nullptr;
}

TControl* TAboutForm::ComponentByWindow(HWND window) {
  if (!window) return nullptr;
  for (const TComponentDesign& component : design_.Components) {
    TControl* control = ComponentByName(component.Name);
    if (control->Handle == window) return control;
  }
  return nullptr;
}

TControl* TAboutForm::ButtonWhere(bool TComponentDesign::*property) {
  for (const TComponentDesign& component : design_.Components)
    if (component.Class == TComponentClass::Button && component.*property) return ComponentByName(component.Name);
  return nullptr;
}

}  // namespace pinvale

extern "C" void __stdcall ShowAboutForm() {
  pinvale::ExportBoundary([] {
    pinvale::TAboutForm form;
    form.ShowModal();
  });
}
