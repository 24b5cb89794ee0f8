#include "reports/RBExprEd.h"

#include "reports/RBExpBld.h"

const TRBPrintableEditorClass* TRBExprEditor::StaticClass() {
  static const TRBPrintableEditorClass descriptor(
      "TRBExprEditor", [](TRBPrintable* Control) -> std::unique_ptr<TRBPrintableEditor> {
        return std::make_unique<TRBExprEditor>(Control);
      });
  return &descriptor;
}

const TRBPrintableEditorClass* TRBExpr::EditorClass() const { return TRBExprEditor::StaticClass(); }

std::string TRBExprEditor::ValueText() const { return Expression()->Expression(); }
void TRBExprEditor::SetValueText(const std::string& Value) { Expression()->SetExpression(Value); }

bool TRBExprEditor::Edit() {
  std::unique_ptr<TRBExprEditorForm> f(new TRBExprEditorForm(&Application()));
  f->Value->SetText(ValueText());
  f->Mask->SetText(Expression()->Mask());
  f->Width->SetText(RBLablEd::LengthText(Control->Size.Width()));
  f->Height->SetText(RBLablEd::LengthText(Control->Size.Height()));
  f->AutoSize->SetChecked(Label()->AutoSize);
  f->Stretch->SetChecked(Label()->AutoStretch);
  f->Transparent->SetChecked(Control->Transparent());
  // The form that contains the control, up its parents.
  TControl* c = Control;
  while (c->Parent() && !dynamic_cast<TForm*>(c)) c = c->Parent();
  f->DataSetForm = dynamic_cast<TForm*>(c);
  if (Control->ParentReport) f->LocalEnvironment = &Control->ParentReport->Functions;
  if (f->ShowModal() != mrOk) return false;
  if (!Apply(f->Value->Text(), f->Width->Text(), f->Height->Text(), f->AutoSize->Checked(), f->Stretch->Checked(),
             f->Transparent->Checked()))
    return false;
  Expression()->SetMask(f->Mask->Text());
  return true;
}

namespace {

template <class T>
T* Place(TWinControl* Parent, TComponent* Owner, const char* Name, int Left, int Top, int W, int H,
         const std::string& Caption = {}) {
  auto* c = new T(Owner);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, W, H);
  if (Name) c->SetName(Name);
  if (!Caption.empty()) c->SetCaption(Caption);
  return c;
}

}  // namespace

TRBExprEditorForm::TRBExprEditorForm(TComponent* Owner) : TForm(Owner) {
  SetName("RBExprEditorForm");
  SetCaption("Expression settings");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(367);
  SetClientHeight(210);
  Position = TPosition::poScreenCenter;
  GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 8, 8, 351, 157, "Properties");
  Label1 = Place<TLabel>(GroupBox1, this, "Label1", 12, 8, 51, 13, "Expression");
  Label4 = Place<TLabel>(GroupBox1, this, "Label4", 12, 36, 60, 13, "Format mask");
  Label2 = Place<TLabel>(GroupBox1, this, "Label2", 12, 68, 28, 13, "Width");
  Label3 = Place<TLabel>(GroupBox1, this, "Label3", 12, 96, 31, 13, "Height");
  Value = Place<TEdit>(GroupBox1, this, "Value", 84, 4, 229, 21);
  ShowExprBuilder = Place<TSpeedButton>(GroupBox1, this, "ShowExprBuilder", 316, 4, 23, 21, "...");
  ShowExprBuilder->OnClick = [this](TComponent* Sender) { ShowExprBuilderClick(Sender); };
  Mask = Place<TComboBox>(GroupBox1, this, "Mask", 84, 32, 255, 21);
  Width = Place<TMaskEdit>(GroupBox1, this, "Width", 84, 64, 49, 21);
  Height = Place<TMaskEdit>(GroupBox1, this, "Height", 84, 92, 49, 21);
  for (TMaskEdit* e : {Width, Height}) e->EditMask = "9999";
  AutoSize = Place<TCheckBox>(GroupBox1, this, "AutoSize", 180, 64, 97, 17, "Autosize");
  Stretch = Place<TCheckBox>(GroupBox1, this, "Stretch", 180, 84, 97, 17, "Stretch");
  Transparent = Place<TCheckBox>(GroupBox1, this, "Transparent", 180, 104, 97, 17, "Transparent");
  OKBtn = Place<TBitBtn>(this, this, "OKBtn", 198, 177, 75, 25, "OK");
  OKBtn->Default = true;
  OKBtn->ModalResult = mrOk;
  Button4 = Place<TBitBtn>(this, this, "Button4", 284, 177, 75, 25, "Cancel");
  Button4->Cancel = true;
  Button4->ModalResult = mrCancel;
  FontDialog1 = new TFontDialog(this);
}

void TRBExprEditorForm::ShowExprBuilderClick(TComponent*) {
  std::string expression = Value->Text();
  if (RBExpBld::EditExpression({}, expression, DataSetForm, LocalEnvironment, nullptr)) Value->SetText(expression);
}
