#include "reports/RBLablEd.h"

#include <charconv>
#include <cmath>

#include "core/values/Format.h"
#include "platform/ui/BoiteMessage.h"
#include "reports/RBExpr.h"

// ---------------------------------------------------------------------------------------------
// Editor classes

namespace {

template <class T>
std::unique_ptr<TRBPrintableEditor> MakeEditor(TRBPrintable* Control) {
  return std::make_unique<T>(Control);
}

}  // namespace

const TRBPrintableEditorClass* TRBPrintableEditor::StaticClass() {
  static const TRBPrintableEditorClass descriptor("TRBPrintableEditor", MakeEditor<TRBPrintableEditor>);
  return &descriptor;
}

const TRBPrintableEditorClass* TRBLabelEditor::StaticClass() {
  static const TRBPrintableEditorClass descriptor("TRBLabelEditor", MakeEditor<TRBLabelEditor>);
  return &descriptor;
}

const TRBPrintableEditorClass* TRBPrintable::EditorClass() const { return TRBPrintableEditor::StaticClass(); }
const TRBPrintableEditorClass* TRBLabel::EditorClass() const { return TRBLabelEditor::StaticClass(); }

void TRBPrintableEditor::SetColor(TColor) { throw EAbstractError(); }
void TRBPrintableEditor::SetFont(const TFont&) { throw EAbstractError(); }
void TRBPrintableEditor::SetValueText(const std::string&) { throw EAbstractError(); }
bool TRBPrintableEditor::Edit() { throw EAbstractError(); }

// ---------------------------------------------------------------------------------------------
// Label editor

std::string TRBLabelEditor::ValueText() const { return Control->Caption(); }

void TRBLabelEditor::SetValueText(const std::string& Value) {
  if (auto* l = dynamic_cast<TRBLabel*>(Control)) l->SetLabelCaption(Value);
  else Control->SetCaption(Value);
}

TAlignment TRBLabelEditor::Alignment() const { return Control->Alignment(); }
void TRBLabelEditor::SetAlignment(TAlignment Value) { Control->SetAlignment(Value); }

bool TRBLabelEditor::Edit() {
  std::unique_ptr<TRBLabelEditorForm> f(new TRBLabelEditorForm(&Application()));
  f->Value->SetText(ValueText());
  f->Width->SetText(RBLablEd::LengthText(Control->Size.Width()));
  f->Height->SetText(RBLablEd::LengthText(Control->Size.Height()));
  f->AutoSize->SetChecked(Label()->AutoSize);
  f->Stretch->SetChecked(Label()->AutoStretch);
  f->Transparent->SetChecked(Control->Transparent());
  if (f->ShowModal() != mrOk) return false;
  return Apply(f->Value->Text(), f->Width->Text(), f->Height->Text(), f->AutoSize->Checked(), f->Stretch->Checked(),
               f->Transparent->Checked());
}

bool TRBLabelEditor::Apply(const std::string& Value, const std::string& Width, const std::string& Height,
                           bool AutoSize, bool Stretch, bool Transparent) {
  // The numbers first: a wrong one leaves the control as it was.
  double w, h;
  try {
    w = RBLablEd::ParseLength(Width);
    h = RBLablEd::ParseLength(Height);
  } catch (const EConvertError& e) {
    BoiteMessage::Afficher(e.Message(), RBExpr::ApplicationTitle(), BoiteMessage::MB_OK | BoiteMessage::MB_ICONERROR);
    return false;
  }
  SetValueText(Value);
  Control->Size.SetWidth(w);
  Control->Size.SetHeight(h);
  Label()->AutoSize = AutoSize;
  Label()->SetAutoStretch(Stretch);
  Control->SetTransparent(Transparent);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Text settings window

namespace {

template <class T>
T* Place(TWinControl* Parent, TComponent* Owner, int Left, int Top, int W, int H, const std::string& Caption = {}) {
  auto* c = new T(Owner);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, W, H);
  if (!Caption.empty()) c->SetCaption(Caption);
  return c;
}

}  // namespace

TRBLabelEditorForm::TRBLabelEditorForm(TComponent* Owner) : TForm(Owner) {
  SetName("RBLabelEditorForm");
  SetCaption("Text Settings");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(329);
  SetClientHeight(181);
  Position = TPosition::poScreenCenter;
  GroupBox1 = Place<TGroupBox>(this, this, 8, 8, 313, 129, "Properties");
  Label1 = Place<TLabel>(GroupBox1, this, 12, 8, 22, 13, "Text");
  Label2 = Place<TLabel>(GroupBox1, this, 12, 40, 28, 13, "Width");
  Label3 = Place<TLabel>(GroupBox1, this, 12, 68, 31, 13, "Height");
  Value = Place<TEdit>(GroupBox1, this, 64, 4, 233, 21);
  Value->SetName("Value");
  Width = Place<TMaskEdit>(GroupBox1, this, 64, 36, 49, 21);
  Width->SetName("Width");
  Height = Place<TMaskEdit>(GroupBox1, this, 64, 64, 49, 21);
  Height->SetName("Height");
  for (TMaskEdit* e : {Width, Height}) e->EditMask = "9999";
  AutoSize = Place<TCheckBox>(GroupBox1, this, 160, 36, 97, 17, "Autosize");
  AutoSize->SetName("AutoSize");
  Stretch = Place<TCheckBox>(GroupBox1, this, 160, 56, 97, 17, "Stretch");
  Stretch->SetName("Stretch");
  Transparent = Place<TCheckBox>(GroupBox1, this, 160, 76, 97, 17, "Transparent");
  Transparent->SetName("Transparent");
  OKBtn = Place<TBitBtn>(this, this, 160, 148, 75, 25, "OK");
  OKBtn->SetName("OKBtn");
  OKBtn->Default = true;
  OKBtn->ModalResult = mrOk;
  Button4 = Place<TBitBtn>(this, this, 246, 148, 75, 25, "Cancel");
  Button4->SetName("Button4");
  Button4->Cancel = true;
  Button4->ModalResult = mrCancel;
  FontDialog1 = new TFontDialog(this);
}

// ---------------------------------------------------------------------------------------------

std::string RBLablEd::LengthText(double Value) { return FloatToStrGeneral(Value, 15); }

double RBLablEd::ParseLength(const std::string& Text) {
  size_t debut = 0, fin = Text.size();
  while (debut < fin && (Text[debut] == ' ' || Text[debut] == '\t')) ++debut;
  while (fin > debut && (Text[fin - 1] == ' ' || Text[fin - 1] == '\t')) --fin;
  double v = 0;
  const char* premier = Text.data() + debut;
  if (debut < fin && *premier == '+') ++premier;
  const auto [fini, erreur] = std::from_chars(premier, Text.data() + fin, v);
  if (debut == fin || erreur != std::errc() || fini != Text.data() + fin || !std::isfinite(v))
    throw EConvertError("'" + Text + "' is not a valid floating point value");
  return v;
}
