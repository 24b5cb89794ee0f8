// The expression control's editor and its settings window: the expression, the format mask, the
// size and the layout flags, with a button that opens the expression builder on the expression.
#pragma once

#include <string>

#include "reports/RBLablEd.h"

class TRBExprEditor : public TRBLabelEditor {
 public:
  using TRBLabelEditor::TRBLabelEditor;
  static const TRBPrintableEditorClass* StaticClass();

  const TRBComponentClass* ControlClass() const override { return TRBExpr::StaticClass(); }
  std::string ValueText() const override;
  std::string TypeName() const override { return "RBEXPR"; }
  std::string Description() const override { return "Expression Control"; }
  void SetValueText(const std::string& Value) override;
  // The expression settings window; the mask is stored back on OK as well.
  bool Edit() override;

 private:
  TRBExpr* Expression() const { return static_cast<TRBExpr*>(Control); }
};

class TRBExprEditorForm : public TForm {
 public:
  explicit TRBExprEditorForm(TComponent* Owner);

  TGroupBox* GroupBox1;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TLabel* Label4;
  TEdit* Value;
  TComboBox* Mask;
  TMaskEdit* Width;
  TMaskEdit* Height;
  TCheckBox* AutoSize;
  TCheckBox* Stretch;
  TCheckBox* Transparent;
  TSpeedButton* ShowExprBuilder;
  TBitBtn* OKBtn;
  TBitBtn* Button4;
  TFontDialog* FontDialog1;

  // The form that holds the edited control: its datasets are offered by the builder.
  TComponent* DataSetForm = nullptr;
  // The variables of the control's report, offered beside the shared ones.
  TRBEvEnvironment* LocalEnvironment = nullptr;

  // Opens the expression builder on the text of Value; an accepted expression replaces it.
  void ShowExprBuilderClick(TComponent* Sender);
};
