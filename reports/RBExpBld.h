// The expression builder: a dialog that edits one report expression. It inserts dataset fields,
// functions of the function library (with a page that asks for each argument), variables and
// operators at the cursor, and validates the expression by evaluating it. Its pages are panels of
// one form brought to the front in turn; each page waits for its own OK or Cancel in a nested wait
// that the modal driver drives (nobody in front of the screen, or a stop of the loop, cancels it).
// The builder is shown modally, or embedded at the top-left of a host form (the environment editor,
// and the builder itself for a function's argument).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/values/ChaineRessource.h"
#include "platform/gui/ControlesChoix.h"
#include "platform/gui/Fiches.h"
#include "reports/RBExpr.h"
#include "reports/RBSearch.h"

// The expression editor: a multi-line edit whose lines wrap; Enter starts a new line (CR LF).
class TWordWrapEdit : public TEdit {
 public:
  explicit TWordWrapEdit(TComponent* Owner) : TEdit(Owner) {}
  bool WordWrap = true;
  bool AutoHScroll = false;
  void KeyPress(char& Caractere) override;
  uint32_t CodesDialogue() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; }
  void Paint(TCanvas& C) override;
};

class TRBExpressionBuilder;

// A page of the builder: Escape or Space pressed while no control of the builder has the focus
// sets the builder's escape flag.
class TRBBuilderPage : public TPanel {
 public:
  TRBBuilderPage(TComponent* Owner, TRBExpressionBuilder* Builder) : TPanel(Owner), builder_(Builder) {}
  bool DialogKey(int Touche, uint8_t Shift) override;

 private:
  TRBExpressionBuilder* builder_;
};

class TRBExpressionBuilder : public TForm {
 public:
  explicit TRBExpressionBuilder(TComponent* Owner);

  // Main page.
  TRBBuilderPage* MainPage;
  TLabel* Heading;
  TWordWrapEdit* Expr;
  TBitBtn *InsertDataFieldBtn, *InsertFunctionBtn, *InsertVariableBtn;
  TBitBtn *AddPlus, *AddMinus, *AddMul, *AddDiv, *AddEqual, *AddSmaller, *AddLarger, *AddNotEqual, *AddLessEqual,
      *AddGreaterEqual, *AddNot, *AddAnd, *AddOr;
  TBitBtn *ValidateBtn, *Clear, *OK, *Cancel;
  // Data field page.
  TRBBuilderPage* DataFieldPage;
  TListBox *AvailableDatasets, *AvailableFields;
  TBitBtn *DataFieldOKBtn, *DataFieldCancelBtn;
  // Function page.
  TRBBuilderPage* FunctionPage;
  TListBox *Categories, *AvailableFunc;
  TLabel *FuncName, *FuncDescription;
  TBitBtn *FunctionOKBtn, *FunctionCancelBtn;
  // Argument page.
  TRBBuilderPage* FuncParamsPage;
  TLabel *CopyFuncName, *CopyFuncDescription;
  TScrollBox* FuncParamSB;
  TBitBtn *FuncParamOkBtn, *FuncArgCancelBtn;
  // Variable page.
  TRBBuilderPage* VariablePage;
  TListBox* AvailableVariables;
  TLabel* VariableValue;
  TBitBtn *VariableOKBtn, *VariableCancelBtn, *ModifyVariables;

  // The form whose datasets are offered, the data modules searched too, and the local environment.
  TComponent* DataSetForm = nullptr;
  std::vector<TComponent*> DataModules;
  TRBEvEnvironment* LocalEnvironment = nullptr;
  // One result per page: 0 waiting, 1 OK, 2 cancel.
  int ExpressionResult = 0, DataFieldResult = 0, FunctionResult = 0, ArgumentsResult = 0, VariableResult = 0;
  bool EscapePressed = false;
  bool Embedded = false;

  // Fills the dataset and variable lists (done when the window is shown).
  void FillLists();
  // Replaces the editor's selection with Text, the cursor after it, and focuses the editor.
  void Insert(const std::string& Text);
  // The argument edits of the argument page while it is open.
  const std::vector<TEdit*>& ArgumentEdits() const { return argumentEdits_; }

  void InsertDataFieldBtnClick(TComponent* Sender);
  void InsertFunctionBtnClick(TComponent* Sender);
  void InsertVariableBtnClick(TComponent* Sender);
  void ValidateBtnClick(TComponent* Sender);
  void ModifyVariablesClick(TComponent* Sender);
  void CategoriesClick(TComponent* Sender);
  void AvailableFuncClick(TComponent* Sender);
  void AvailableDatasetsClick(TComponent* Sender);
  void AvailableVariablesClick(TComponent* Sender);

 private:
  // Brings a page to the front over the main page and waits for Result (or the escape flag).
  void RunPage(TRBBuilderPage* Page, int& Result, bool EndsOnEscape);
  void ListFunctions();
  std::vector<RBSearch::TDataSetEntry> dataSets_;
  std::vector<TRBLibraryEntry*> functions_;
  std::vector<TEdit*> argumentEdits_;
};

namespace RBExpBld {

// Edits an expression: true when the user confirmed, the expression then holding the new text on
// one line (CR LF pairs and lone CR or LF removed); otherwise the expression becomes empty. With a
// host the builder is embedded in it, else shown modally. A non-empty heading replaces Heading.
bool EditExpression(const std::string& Heading, std::string& Expression, TComponent* DataSetForm,
                    TRBEvEnvironment* LocalEnvironment, TWinControl* Host);

// The text without its line breaks: CR LF pairs, lone CRs and lone LFs.
std::string RemoveLineBreaks(const std::string& Text);

// The message validation shows for a result: "ERROR: " and the message for an error, else "There
// are no errors. The result is : " and the value's text.
std::string ValidationText(const TRBEvResultRecord& Result);

// Waits until Done holds while the modal driver drives Page: false when nobody answers or the loop
// is stopped first (the page then counts as cancelled).
bool WaitForPage(TWinControl& Page, const std::function<bool()>& Done);

void Initialiser();
void Finaliser();

extern const TChaineRessource RS_NoErrors;
extern const TChaineRessource RS_Error;
extern const TChaineRessource RS_ArgumentLogical_D;
extern const TChaineRessource RS_ArgumentNumeric_D;
extern const TChaineRessource RS_ArgumentText_D;
extern const TChaineRessource RS_ArgumentValue_D;
extern const TChaineRessource RS_EnterParameter_DS;

}  // namespace RBExpBld
