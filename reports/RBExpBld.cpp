#include "reports/RBExpBld.h"

#include <chrono>
#include <memory>

#include "core/values/Format.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/BoiteMessage.h"
#include "reports/RBEnvEd.h"

namespace RBExpBld {

const TChaineRessource RS_NoErrors{"RBExpBld_RS_NoErrors", 65460, "There are no errors. The result is : "};
const TChaineRessource RS_Error{"RBExpBld_RS_Error", 65461, "ERROR: "};
const TChaineRessource RS_ArgumentLogical_D{"RBExpBld_RS_ArgumentLogical_D", 65462, "Argument %d - logical value"};
const TChaineRessource RS_ArgumentNumeric_D{"RBExpBld_RS_ArgumentNumeric_D", 65463, "Argument %d - numeric value"};
const TChaineRessource RS_ArgumentText_D{"RBExpBld_RS_ArgumentText_D", 65464, "Argument %d - text Value"};
const TChaineRessource RS_ArgumentValue_D{"RBExpBld_RS_ArgumentValue_D", 65465, "Argument %d - value"};
const TChaineRessource RS_EnterParameter_DS{"RBExpBld_RS_EnterParameter_DS", 65466, "Enter %d. parameter for %s"};

}  // namespace RBExpBld

using namespace RBExpBld;
using namespace FormatTexte;

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

constexpr int kClientWidth = 381;
constexpr int kClientHeight = 280;

// Whether C stands on (or is) Ancestor.
bool StandsOn(const TControl* C, const TControl* Ancestor) {
  for (; C; C = C->Parent())
    if (C == Ancestor) return true;
  return false;
}

// A builder embedded in W and showing, if any.
bool HoldsEmbeddedBuilder(const TWinControl& W) {
  for (int i = 0; i < W.ControlCount(); ++i)
    if (auto* b = dynamic_cast<TRBExpressionBuilder*>(W.Controls(i)); b && b->Visible()) return true;
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

void TWordWrapEdit::KeyPress(char& Caractere) {
  if (Caractere == '\r') {
    TWinControl::KeyPress(Caractere);
    if (Caractere == 0) return;
    SetSelText("\r\n");
    Caractere = 0;
    return;
  }
  TEdit::KeyPress(Caractere);
}

void TWordWrapEdit::Paint(TCanvas& C) {
  TRect r = ClientRect();
  if (BorderStyle == TBorderStyle::bsSingle) Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 2);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  C.Brush.Style = TBrushStyle::bsClear;
  C.Font = Font();
  TRect texte{r.Left + Marge, r.Top + 1, r.Right - Marge, r.Bottom};
  C.DrawText(Text(), texte, DT_NOPREFIX | (WordWrap ? DT_WORDBREAK : 0));
}

// ---------------------------------------------------------------------------------------------

bool TRBBuilderPage::DialogKey(int Touche, uint8_t Shift) {
  if (Shift != 0 || (Touche != VK_ESCAPE && Touche != VK_SPACE) || !Saisie::Accessible(*this)) return false;
  // An embedded builder on top takes the key itself.
  if (HoldsEmbeddedBuilder(*builder_)) return false;
  const TForm* f = FormeParente();
  if (f && f->ActiveControl() && StandsOn(f->ActiveControl(), builder_)) return false;
  builder_->EscapePressed = true;
  return true;
}

TRBExpressionBuilder::TRBExpressionBuilder(TComponent* Owner) : TForm(Owner) {
  SetName("RBExpressionBuilder");
  SetCaption("Expression builder");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);
  Position = TPosition::poScreenCenter;

  auto page = [this](const char* Name) {
    auto* p = new TRBBuilderPage(this, this);
    p->SetParent(this);
    p->SetName(Name);
    p->SetBounds(0, 0, kClientWidth, kClientHeight);
    p->SetBevelOuter(TBevelCut::bvNone);
    return p;
  };

  MainPage = page("MainPage");
  Heading = Place<TLabel>(MainPage, this, "Heading", 20, 12, 341, 13, "Expression");
  Expr = Place<TWordWrapEdit>(MainPage, this, "Expr", 20, 36, 341, 91);
  InsertDataFieldBtn = Place<TBitBtn>(MainPage, this, "InsertDataFieldBtn", 20, 136, 105, 25, "&Database field");
  InsertFunctionBtn = Place<TBitBtn>(MainPage, this, "InsertFunctionBtn", 138, 136, 105, 25, "&Function");
  InsertVariableBtn = Place<TBitBtn>(MainPage, this, "InsertVariableBtn", 256, 136, 105, 25, "&Variable");
  InsertDataFieldBtn->OnClick = [this](TComponent* s) { InsertDataFieldBtnClick(s); };
  InsertFunctionBtn->OnClick = [this](TComponent* s) { InsertFunctionBtnClick(s); };
  InsertVariableBtn->OnClick = [this](TComponent* s) { InsertVariableBtnClick(s); };
  struct Operator {
    TBitBtn** Button;
    const char* Name;
    const char* Caption;
  };
  const Operator operators[] = {
      {&AddPlus, "AddPlus", "+"},        {&AddMinus, "AddMinus", "-"},          {&AddMul, "AddMul", "*"},
      {&AddDiv, "AddDiv", "/"},          {&AddEqual, "AddEqual", "="},          {&AddSmaller, "AddSmaller", "<"},
      {&AddLarger, "AddLarger", ">"},    {&AddNotEqual, "AddNotEqual", "<>"},   {&AddLessEqual, "AddLessEqual", "<="},
      {&AddGreaterEqual, "AddGreaterEqual", ">="}, {&AddNot, "AddNot", "Not"}, {&AddAnd, "AddAnd", "And"},
      {&AddOr, "AddOr", "Or"}};
  int x = 20;
  for (const Operator& o : operators) {
    TBitBtn* b = Place<TBitBtn>(MainPage, this, o.Name, x, 172, 25, 25, o.Caption);
    b->OnClick = [this, b](TComponent*) { Insert(" " + b->Caption() + " "); };
    *o.Button = b;
    x += 26;
  }
  ValidateBtn = Place<TBitBtn>(MainPage, this, "ValidateBtn", 20, 208, 75, 25, "Valida&te");
  ValidateBtn->OnClick = [this](TComponent* s) { ValidateBtnClick(s); };
  Clear = Place<TBitBtn>(MainPage, this, "Clear", 102, 208, 75, 25, "&Clear");
  Clear->OnClick = [this](TComponent*) { Expr->SetText({}); };
  OK = Place<TBitBtn>(MainPage, this, "OK", 206, 244, 75, 25, "OK");
  OK->OnClick = [this](TComponent*) {
    ExpressionResult = 1;
    if (Modal()) SetModalResult(mrOk);
  };
  Cancel = Place<TBitBtn>(MainPage, this, "Cancel", 286, 244, 75, 25, "Cancel");
  Cancel->OnClick = [this](TComponent*) {
    ExpressionResult = 2;
    if (Modal()) SetModalResult(mrCancel);
  };

  DataFieldPage = page("DataFieldPage");
  Place<TLabel>(DataFieldPage, this, nullptr, 20, 12, 100, 13, "Datasets");
  Place<TLabel>(DataFieldPage, this, nullptr, 196, 12, 100, 13, "Fields");
  AvailableDatasets = Place<TListBox>(DataFieldPage, this, "AvailableDatasets", 20, 30, 165, 200);
  AvailableFields = Place<TListBox>(DataFieldPage, this, "AvailableFields", 196, 30, 165, 200);
  AvailableDatasets->OnClick = [this](TComponent* s) { AvailableDatasetsClick(s); };
  DataFieldOKBtn = Place<TBitBtn>(DataFieldPage, this, "DataFieldOKBtn", 206, 244, 75, 25, "OK");
  DataFieldCancelBtn = Place<TBitBtn>(DataFieldPage, this, "DataFieldCancelBtn", 286, 244, 75, 25, "Cancel");
  DataFieldOKBtn->OnClick = [this](TComponent*) { DataFieldResult = 1; };
  DataFieldCancelBtn->OnClick = [this](TComponent*) { DataFieldResult = 2; };

  FunctionPage = page("FunctionPage");
  Categories = Place<TListBox>(FunctionPage, this, "Categories", 20, 12, 120, 150);
  AvailableFunc = Place<TListBox>(FunctionPage, this, "AvailableFunc", 150, 12, 211, 150);
  Categories->OnClick = [this](TComponent* s) { CategoriesClick(s); };
  AvailableFunc->OnClick = [this](TComponent* s) { AvailableFuncClick(s); };
  FuncName = Place<TLabel>(FunctionPage, this, "FuncName", 20, 172, 341, 13);
  FuncDescription = Place<TLabel>(FunctionPage, this, "FuncDescription", 20, 192, 341, 40);
  FuncDescription->SetAutoSize(false);
  FuncDescription->SetWordWrap(true);
  FunctionOKBtn = Place<TBitBtn>(FunctionPage, this, "FunctionOKBtn", 206, 244, 75, 25, "Continue");
  FunctionCancelBtn = Place<TBitBtn>(FunctionPage, this, "FunctionCancelBtn", 286, 244, 75, 25, "Cancel");
  FunctionOKBtn->OnClick = [this](TComponent*) { FunctionResult = 1; };
  FunctionCancelBtn->OnClick = [this](TComponent*) { FunctionResult = 2; };

  FuncParamsPage = page("FuncParamsPage");
  CopyFuncName = Place<TLabel>(FuncParamsPage, this, "CopyFuncName", 20, 12, 341, 13);
  CopyFuncDescription = Place<TLabel>(FuncParamsPage, this, "CopyFuncDescription", 20, 30, 341, 30);
  CopyFuncDescription->SetAutoSize(false);
  CopyFuncDescription->SetWordWrap(true);
  FuncParamSB = Place<TScrollBox>(FuncParamsPage, this, "FuncParamSB", 20, 64, 341, 170);
  FuncParamOkBtn = Place<TBitBtn>(FuncParamsPage, this, "FuncParamOkBtn", 206, 244, 75, 25, "OK");
  FuncArgCancelBtn = Place<TBitBtn>(FuncParamsPage, this, "FuncArgCancelBtn", 286, 244, 75, 25, "Cancel");
  FuncParamOkBtn->OnClick = [this](TComponent*) { ArgumentsResult = 1; };
  FuncArgCancelBtn->OnClick = [this](TComponent*) { ArgumentsResult = 2; };

  VariablePage = page("VariablePage");
  AvailableVariables = Place<TListBox>(VariablePage, this, "AvailableVariables", 20, 12, 341, 150);
  AvailableVariables->OnClick = [this](TComponent* s) { AvailableVariablesClick(s); };
  VariableValue = Place<TLabel>(VariablePage, this, "VariableValue", 20, 172, 341, 13);
  ModifyVariables = Place<TBitBtn>(VariablePage, this, "ModifyVariables", 20, 244, 120, 25, "&Modify variables");
  ModifyVariables->OnClick = [this](TComponent* s) { ModifyVariablesClick(s); };
  VariableOKBtn = Place<TBitBtn>(VariablePage, this, "VariableOKBtn", 206, 244, 75, 25, "OK");
  VariableCancelBtn = Place<TBitBtn>(VariablePage, this, "VariableCancelBtn", 286, 244, 75, 25, "Cancel");
  VariableOKBtn->OnClick = [this](TComponent*) { VariableResult = 1; };
  VariableCancelBtn->OnClick = [this](TComponent*) { VariableResult = 2; };

  for (TRBBuilderPage* p : {DataFieldPage, FunctionPage, FuncParamsPage, VariablePage}) p->Hide();
  for (int d = 0; d < 8; ++d) Categories->Add(RBExpr::CategoryName(d));

  OnShow = [this](TComponent*) {
    FillLists();
    if (Expr->CanFocus()) Expr->SetFocus();
  };
  // Closing the window cancels every page, and the expression unless it was confirmed.
  OnCloseQuery = [this](TComponent*, bool&) {
    DataFieldResult = FunctionResult = ArgumentsResult = VariableResult = 2;
    if (ExpressionResult != 1) ExpressionResult = 2;
  };
}

void TRBExpressionBuilder::FillLists() {
  dataSets_ = RBSearch::ListDataSets(DataSetForm, true, DataModules);
  std::vector<std::string> names;
  for (const auto& e : dataSets_) names.push_back(e.Name);
  AvailableDatasets->SetItems(std::move(names));
  AvailableDatasets->SetItemIndex(0);
  AvailableDatasetsClick(AvailableDatasets);

  std::vector<std::string> variables;
  if (LocalEnvironment)
    for (int i = 0; i < LocalEnvironment->Count(); ++i) variables.push_back(LocalEnvironment->Names(i));
  if (TRBEvEnvironment* shared = SharedEnvironment())
    for (int i = 0; i < shared->Count(); ++i) variables.push_back(shared->Names(i));
  AvailableVariables->SetItems(std::move(variables));
  AvailableVariables->SetItemIndex(0);
  AvailableVariablesClick(AvailableVariables);
}

void TRBExpressionBuilder::AvailableDatasetsClick(TComponent*) {
  std::vector<std::string> fields;
  const int i = AvailableDatasets->ItemIndex();
  if (i >= 0 && i < static_cast<int>(dataSets_.size()))
    if (IDataSet* d = dataSets_[static_cast<size_t>(i)].DataSet)
      for (int f = 0; f < d->FieldCount(); ++f)
        if (TField* field = d->Fields(f)) fields.push_back(field->FieldName());
  AvailableFields->SetItems(std::move(fields));
}

void TRBExpressionBuilder::AvailableVariablesClick(TComponent*) {
  const std::string name = AvailableVariables->Selection();
  std::string expression;
  if (!name.empty()) {
    TRBEvEnvironment* shared = SharedEnvironment();
    TRBEvEnvironment* env = LocalEnvironment && LocalEnvironment->IndexOf(name) >= 0 ? LocalEnvironment : shared;
    if (env && env->IndexOf(name) >= 0) expression = env->Variables(env->IndexOf(name))->ExpressionText;
  }
  VariableValue->SetCaption(expression);
}

void TRBExpressionBuilder::Insert(const std::string& Text) {
  Expr->SetSelText(Text);
  if (Expr->CanFocus()) Expr->SetFocus();
}

void TRBExpressionBuilder::RunPage(TRBBuilderPage* Page, int& Result, bool EndsOnEscape) {
  Result = 0;
  if (EndsOnEscape) EscapePressed = false;
  MainPage->SetEnabled(false);
  MainPage->Hide();
  Page->Show();
  struct Restore {
    TRBExpressionBuilder* b;
    TRBBuilderPage* p;
    ~Restore() {
      p->Hide();
      b->MainPage->Show();
      b->MainPage->SetEnabled(true);
    }
  } restore{this, Page};
  const bool answered = WaitForPage(*Page, [this, &Result, EndsOnEscape] {
    return Result != 0 || (EndsOnEscape && EscapePressed) || (Modal() && ModalResult() != mrNone);
  });
  if (!answered || Result == 0) Result = 2;
  if (EndsOnEscape && !Embedded) EscapePressed = false;
}

void TRBExpressionBuilder::InsertDataFieldBtnClick(TComponent*) {
  RunPage(DataFieldPage, DataFieldResult, true);
  if (DataFieldResult != 1) return;
  const std::string dataset = AvailableDatasets->Selection(), field = AvailableFields->Selection();
  if (!dataset.empty() && !field.empty()) Insert(dataset + "." + field);
}

void TRBExpressionBuilder::ListFunctions() {
  functions_.clear();
  const int category = std::max(0, Categories->ItemIndex());
  std::vector<std::string> names;
  if (TRBFunctionLibrary* library = ReportFunctionLibrary())
    for (int i = 0; i < library->Count(); ++i) {
      TRBLibraryEntry* e = library->EntryAt(i);
      if (!e) continue;
      if (category != 0 && (e->Signature.empty() || e->Signature[0] - '0' != category)) continue;
      functions_.push_back(e);
      names.push_back(e->FunctionName);
    }
  AvailableFunc->SetItems(std::move(names));
  AvailableFuncClick(AvailableFunc);
}

void TRBExpressionBuilder::CategoriesClick(TComponent*) { ListFunctions(); }

void TRBExpressionBuilder::AvailableFuncClick(TComponent*) {
  const int i = AvailableFunc->ItemIndex();
  std::string name, description;
  if (i >= 0 && i < static_cast<int>(functions_.size())) {
    const std::string& help = functions_[static_cast<size_t>(i)]->HelpText;
    const size_t bar = help.find('|');
    name = help.substr(0, bar);
    if (bar != std::string::npos) description = help.substr(bar + 1);
  }
  FuncName->SetCaption(name);
  FuncDescription->SetCaption(description);
}

void TRBExpressionBuilder::InsertFunctionBtnClick(TComponent*) {
  if (Categories->ItemIndex() < 0) Categories->SetItemIndex(0);
  ListFunctions();
  RunPage(FunctionPage, FunctionResult, false);
  const int i = AvailableFunc->ItemIndex();
  if (FunctionResult != 1 || i < 0 || i >= static_cast<int>(functions_.size())) return;
  const TRBLibraryEntry entry = *functions_[static_cast<size_t>(i)];
  if (entry.Signature.size() <= 1) {
    Insert(entry.FunctionName);
    return;
  }

  // The argument page: one label, edit and "..." button per argument letter.
  CopyFuncName->SetCaption(FuncName->Caption());
  CopyFuncDescription->SetCaption(FuncDescription->Caption());
  std::vector<TControl*> made;
  argumentEdits_.clear();
  const int width = FuncParamSB->ClientWidth();
  for (size_t a = 1; a < entry.Signature.size(); ++a) {
    const int n = static_cast<int>(a);
    const int top = (n - 1) * 40;
    const TChaineRessource* text = &RS_ArgumentValue_D;
    switch (entry.Signature[a]) {
      case 'B': text = &RS_ArgumentLogical_D; break;
      case 'N': text = &RS_ArgumentNumeric_D; break;
      case 'S': text = &RS_ArgumentText_D; break;
      default: break;
    }
    auto* label = Place<TLabel>(FuncParamSB, this, nullptr, 4, top + 2, width - 60, 13,
                                ChaineRessource::ChargerFormate(*text, {n}));
    auto* edit = Place<TEdit>(FuncParamSB, this, nullptr, 4, top + 16, width - 60, 21);
    auto* button = Place<TSpeedButton>(FuncParamSB, this, nullptr, width - 52, top + 16, 20, 20, "...");
    const std::string heading = ChaineRessource::ChargerFormate(RS_EnterParameter_DS, {n, entry.FunctionName});
    button->OnClick = [this, edit, heading](TComponent*) {
      std::string argument = edit->Text();
      if (EditExpression(heading, argument, DataSetForm, LocalEnvironment, this)) edit->SetText(argument);
    };
    made.insert(made.end(), {label, edit, button});
    argumentEdits_.push_back(edit);
  }
  FuncParamSB->Increment = 40;
  FuncParamSB->SetRange(static_cast<int>(entry.Signature.size() - 1) * 40);
  struct Free {
    std::vector<TControl*>& made;
    std::vector<TEdit*>& edits;
    TScrollBox* box;
    ~Free() {
      edits.clear();
      for (TControl* c : made) delete c;
      box->SetPosition(0);
      box->SetRange(0);
    }
  } free{made, argumentEdits_, FuncParamSB};
  RunPage(FuncParamsPage, ArgumentsResult, false);
  if (ArgumentsResult != 1) return;
  std::string arguments;
  for (size_t a = 0; a < argumentEdits_.size(); ++a) arguments += (a ? "," : "") + argumentEdits_[a]->Text();
  Insert(entry.FunctionName + "(" + arguments + ")");
}

void TRBExpressionBuilder::InsertVariableBtnClick(TComponent*) {
  RunPage(VariablePage, VariableResult, true);
  if (VariableResult != 1) return;
  const std::string name = AvailableVariables->Selection();
  if (!name.empty()) Insert(name);
}

void TRBExpressionBuilder::ModifyVariablesClick(TComponent*) {
  RBEnvEd::EditEnvironment(LocalEnvironment, true);
  FillLists();
}

void TRBExpressionBuilder::ValidateBtnClick(TComponent*) {
  TRBEvEnvironment* shared = SharedEnvironment();
  struct Activation {
    TRBEvEnvironment* shared;
    TRBEvEnvironment* local;
    Activation(TRBEvEnvironment* s, TRBEvEnvironment* l) : shared(s), local(l) {
      if (shared) shared->Activate();
      if (local) local->Activate();
    }
    ~Activation() {
      if (shared) shared->Deactivate();
      if (local) local->Deactivate();
    }
  } activation{shared, LocalEnvironment};
  TRBDataSetList list;
  for (const auto& e : RBSearch::ListDataSets(DataSetForm, true, DataModules)) list.push_back(e.DataSet);
  TRBEvaluator evaluator;
  evaluator.SetDataSetList(&list);
  evaluator.LocalEnvironment = LocalEnvironment;
  TRBEvResultRecord result;
  evaluator.EvaluateText(RemoveLineBreaks(Expr->Text()), result);
  evaluator.SetDataSetList(nullptr);
  BoiteMessage::Afficher(ValidationText(result), RBExpr::ApplicationTitle(), BoiteMessage::MB_OK);
}

// ---------------------------------------------------------------------------------------------

std::string RBExpBld::RemoveLineBreaks(const std::string& Text) {
  std::string r;
  r.reserve(Text.size());
  for (char c : Text)
    if (c != '\r' && c != '\n') r.push_back(c);
  return r;
}

std::string RBExpBld::ValidationText(const TRBEvResultRecord& Result) {
  std::string text;
  switch (Result.Kind) {
    case rkInteger: text = std::to_string(Result.IntegerValue); break;
    case rkFloat: text = FloatToStrGeneral(Result.FloatValue, 15); break;
    case rkString: text = Result.Text; break;
    case rkBoolean: text = Result.BooleanValue ? "True" : "False"; break;
    case rkError: return ChaineRessource::Charger(RS_Error) + Result.Text;
  }
  return ChaineRessource::Charger(RS_NoErrors) + text;
}

bool RBExpBld::WaitForPage(TWinControl& Page, const std::function<bool()>& Done) {
  if (Done()) return true;
  if (!Application().PiloteModal().EntreeSaisie(Page, Done)) return false;
  while (!Done()) {
    MainLoop* loop = Application().Boucle();
    if (!loop || loop->WaitUntil(Done, std::chrono::hours(24)) == MainLoop::WaitResult::Stopped) return false;
  }
  return true;
}

bool RBExpBld::EditExpression(const std::string& Heading, std::string& Expression, TComponent* DataSetForm,
                              TRBEvEnvironment* LocalEnvironment, TWinControl* Host) {
  TComponent* owner = Host ? static_cast<TComponent*>(Host) : &Application();
  std::unique_ptr<TRBExpressionBuilder> b(new TRBExpressionBuilder(owner));
  b->DataSetForm = DataSetForm;
  b->LocalEnvironment = LocalEnvironment;
  if (!Heading.empty()) b->Heading->SetCaption(Heading);
  b->Expr->SetText(Expression);
  b->Expr->SelectAll();
  if (Host) {
    b->Embedded = true;
    b->Position = TPosition::poDesigned;
    b->SetBorderStyle(TFormBorderStyle::bsNone);
    b->SetParent(Host);
    b->SetBounds(0, 0, kClientWidth, kClientHeight);
    b->Show();
    TRBExpressionBuilder* builder = b.get();
    // Closing the host's window ends the builder too.
    TForm* hostForm = Host->FormeParente();
    if (!WaitForPage(*builder, [builder, hostForm] {
          return builder->ExpressionResult != 0 || builder->EscapePressed ||
                 (hostForm && hostForm->Modal() && hostForm->ModalResult() != mrNone);
        }))
      builder->ExpressionResult = 2;
    b->Hide();
  } else {
    b->ShowModal();
  }
  const bool confirmed = b->ExpressionResult == 1;
  Expression = confirmed ? RemoveLineBreaks(b->Expr->Text()) : std::string();
  return confirmed;
}

void RBExpBld::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_NoErrors,          &RS_Error,           &RS_ArgumentLogical_D,
                                                     &RS_ArgumentNumeric_D, &RS_ArgumentText_D, &RS_ArgumentValue_D,
                                                     &RS_EnterParameter_DS};
  static bool registered = false;
  if (!registered) {
    ChaineRessource::Enregistrer(kChaines);
    registered = true;
  }
}

void RBExpBld::Finaliser() {}
