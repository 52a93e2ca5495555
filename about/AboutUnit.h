#pragma once
// The About box: the form TAboutForm, built from its stored design (about_design.h) on
// plain Win32 windows, and the export ShowAboutForm that shows a new one modally.
#include <exception>
#include <optional>

#include "about/about_design.h"
#include "about/font.h"
#include "about/win32_objects.h"

namespace pinvale {

// One component of the form: its design, its bounds on this screen and, once the form
// has made it, its child window (destroyed with the form's window).
struct TControl {
  const TComponentDesign* Design = nullptr;
  TBounds Bounds{};
  TFont OwnFont;  // used when the design gives the component a font of its own
  HWND Handle = nullptr;
};

class TAboutForm {
 public:
  // Reads the stored design, scales it to the screen, runs FormCreate, and makes the
  // windows, hidden and centred on the screen.
  TAboutForm();
  TAboutForm(const TAboutForm&) = delete;
  TAboutForm& operator=(const TAboutForm&) = delete;

  // Shows the form until it is closed, with the thread's other top-level windows
  // disabled meanwhile. Gives the modal result.
  int ShowModal();
  HWND Handle() const { return window_.get(); }

  TControl Bevel1;
  TControl ProductImage;
  TControl ProductLabel;
  TControl CopyrightLabel;
  TControl OKButton;

  void ProductLabelClick(HWND sender);
  void CopyrightLabelClick(HWND sender);
  void FormCreate(HWND sender);

  TFont Font;  // the form's, also used by the components without a font of their own
  int ClientWidth = 0;
  int ClientHeight = 0;
  int ModalResult = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void ReadDesign();
  void ScaleToScreen();
  void AutoSizeLabels();
  void CreateWindows();
  void CallHandler(const wchar_t* name, HWND sender);
  void Click(TControl& control);
  void DrawPicture(const DRAWITEMSTRUCT& item);

  TControl* ComponentByName(const wchar_t* name);
  TControl* ComponentById(int id);
  TControl* ComponentByWindow(HWND window);
  TControl* ButtonWhere(bool TComponentDesign::*property);
  TFont& FontOf(TControl& control) { return control.Design->ParentFont ? Font : control.OwnFont; }

  const TFormDesign& design_;
  // Destroyed in the reverse order: the window first, then what it drew with, and the
  // window class last; the fonts, declared further up, outlive them all.
  std::optional<WindowClassRegistration> window_class_;
  UniqueBrush brush_;
  UniqueIcon picture_;
  std::exception_ptr failure_;  // raised in a message handler; rethrown when the show ends
  UniqueWindow window_;
};

// Give a font the system's icon-title font, or the default GUI font when the system
// cannot tell.
void SetIconTitleFont(TFont& font);
void SetDefaultGuiFont(TFont& font);

}  // namespace pinvale

extern "C" void __stdcall ShowAboutForm();
