#include "about/about_design.h"

namespace pinvale {
namespace {

constexpr TFontDesign DesignFont{L"Segoe UI", -12, ANSI_CHARSET, COLOR_WINDOWTEXT, false};
constexpr TFontDesign DesignBoldFont{L"Segoe UI", -12, ANSI_CHARSET, COLOR_WINDOWTEXT, true};

constexpr TComponentDesign Bevel1{
    .Name = L"Bevel1", .Class = TComponentClass::Bevel, .Id = 100, .Bounds = {8, 8, 337, 193},
    .ParentFont = true, .Font = DesignFont};

constexpr TComponentDesign ProductImage{
    .Name = L"ProductImage", .Class = TComponentClass::Image, .Id = 101, .Bounds = {24, 24, 32, 32},
    .ParentFont = true, .Font = DesignFont, .Picture = L"PRODUCT_ICON",
    .Center = true, .Proportional = true, .Stretch = true};

constexpr TComponentDesign ProductLabel{
    .Name = L"ProductLabel", .Class = TComponentClass::Label, .Id = 102, .Bounds = {72, 24, 156, 15},
    .Caption = L"Velmora Keelmark 3.3", .ParentFont = false, .Font = DesignBoldFont,
    .AutoSize = true, .ShowAccelChar = false, .HandCursor = true, .OnClick = L"ProductLabelClick"};

constexpr TComponentDesign CopyrightLabel{
    .Name = L"CopyrightLabel", .Class = TComponentClass::Label, .Id = 103, .Bounds = {72, 56, 180, 15},
    .Caption = L"Copyright \u00A9 2008-2026 Velmora", .ParentFont = true, .Font = DesignFont,
    .AutoSize = true, .ShowAccelChar = false, .HandCursor = true, .OnClick = L"CopyrightLabelClick"};

constexpr TComponentDesign OKButton{
    .Name = L"OKButton", .Class = TComponentClass::Button, .Id = IDOK, .Bounds = {272, 208, 73, 25},
    .Caption = L"OK", .ParentFont = true, .Font = DesignFont, .Default = true, .Cancel = true,
    .ModalResult = IDOK};

constexpr TComponentDesign Components[] = {Bevel1, ProductImage, ProductLabel, CopyrightLabel, OKButton};

}  // namespace

const TFormDesign AboutFormDesign{
    .ClassName = L"TAboutForm",
    .Caption = L"About",
    .Left = 212,
    .Top = 191,
    .ClientWidth = 353,
    .ClientHeight = 242,
    .Color = COLOR_BTNFACE,
    .Font = DesignFont,
    .PixelsPerInch = 96,
    .TextHeight = 15,
    .OnCreate = L"FormCreate",
    .Components = Components,
};

}  // namespace pinvale
