#include "reports/RBEnvEd.h"

#include <memory>

#include "platform/ui/BoiteMessage.h"
#include "reports/RBExpBld.h"

namespace RBEnvEd {

const TChaineRessource RS_EmptyName{"RBEnvEd_RS_EmptyName", 65467, "A variable needs a name"};
const TChaineRessource RS_NameListed_S{"RBEnvEd_RS_NameListed_S", 65468, "A variable named %s already exists"};

}  // namespace RBEnvEd

using namespace RBEnvEd;

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

TRBEnvironmentEditor::TRBEnvironmentEditor(TComponent* Owner) : TForm(Owner) {
  SetName("RBEnvironmentEditor");
  SetCaption("Variables");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(400);
  SetClientHeight(290);
  Position = TPosition::poScreenCenter;

  AvailableGB = Place<TGroupBox>(this, this, "AvailableGB", 8, 8, 384, 236, "Available User Defined Functions");
  UDFGrid = Place<TStringGrid>(AvailableGB, this, "UDFGrid", 8, 4, 364, 176);
  UDFGrid->SetColCount(2);
  UDFGrid->SetRowCount(2);
  UDFGrid->DefaultColWidth = 180;
  UDFGrid->OnSetEditText = [this](TComponent* s, int c, int r, const std::string& v) { UDFGridSetEditText(s, c, r, v); };
  UDFGrid->OnDblClick = [this](TComponent* s) { EditBtnClick(s); };
  LocalCB = Place<TRadioButton>(AvailableGB, this, "LocalCB", 8, 190, 150, 17, "&Local defines");
  GlobalCB = Place<TRadioButton>(AvailableGB, this, "GlobalCB", 180, 190, 150, 17, "&Global defines");
  LocalCB->OnClick = [this](TComponent*) { FillGrid(); };
  GlobalCB->OnClick = [this](TComponent*) { FillGrid(); };

  AddBtn = Place<TBitBtn>(this, this, "AddBtn", 8, 256, 75, 25, "&Add");
  EditBtn = Place<TBitBtn>(this, this, "EditBtn", 90, 256, 75, 25, "&Edit");
  DeleteBtn = Place<TBitBtn>(this, this, "DeleteBtn", 172, 256, 75, 25, "&Delete");
  VariableOKBtn = Place<TBitBtn>(this, this, "VariableOKBtn", 317, 256, 75, 25, "Close");
  AddBtn->OnClick = [this](TComponent* s) { AddBtnClick(s); };
  EditBtn->OnClick = [this](TComponent* s) { EditBtnClick(s); };
  // DeleteBtn has no action.
  VariableOKBtn->OnClick = [this](TComponent*) {
    CloseFlag = true;
    if (Modal()) SetModalResult(mrOk);
  };

  NewEntryGB = Place<TGroupBox>(this, this, "NewEntryGB", 8, 8, 384, 236, "New entry");
  NameLabel = Place<TLabel>(NewEntryGB, this, "NameLabel", 12, 12, 60, 13, "Name");
  Name = Place<TEdit>(NewEntryGB, this, "Name", 84, 8, 280, 21);
  ExpressionLabel = Place<TLabel>(NewEntryGB, this, "ExpressionLabel", 12, 44, 60, 13, "Expression");
  Expression = Place<TEdit>(NewEntryGB, this, "Expression", 84, 40, 254, 21);
  SpeedButton1 = Place<TSpeedButton>(NewEntryGB, this, "SpeedButton1", 341, 40, 23, 21, "...");
  SpeedButton1->OnClick = [this](TComponent* s) { SpeedButton1Click(s); };
  NewOKBtn = Place<TBitBtn>(NewEntryGB, this, "NewOKBtn", 208, 180, 75, 25, "&OK");
  NewCancelBtn = Place<TBitBtn>(NewEntryGB, this, "NewCancelBtn", 289, 180, 75, 25, "&Cancel");
  NewOKBtn->OnClick = [this](TComponent*) { NewEntryResult = 1; };
  NewCancelBtn->OnClick = [this](TComponent*) { NewEntryResult = 2; };
  NewEntryGB->Hide();

  OnCloseQuery = [this](TComponent*, bool&) {
    CloseFlag = true;
    if (NewEntryResult == 0) NewEntryResult = 2;
  };
}

TRBEvEnvironment* TRBEnvironmentEditor::EditedEnvironment() const {
  return LocalCB->Checked() && Environment ? Environment : SharedEnvironment();
}

void TRBEnvironmentEditor::FillGrid() {
  UDFGrid->EndEdit();
  TRBEvEnvironment* env = EditedEnvironment();
  const int count = env ? env->Count() : 0;
  UDFGrid->SetRowCount(count + 1 < 2 ? 2 : count + 1);
  UDFGrid->SetCells(0, 0, "Name");
  UDFGrid->SetCells(1, 0, "Expression");
  for (int r = 1; r < UDFGrid->RowCount(); ++r) {
    const bool line = r - 1 < count;
    UDFGrid->SetCells(0, r, line ? env->Names(r - 1) : std::string());
    UDFGrid->SetCells(1, r, line ? env->Variables(r - 1)->ExpressionText : std::string());
  }
}

bool TRBEnvironmentEditor::AcceptableName(const std::string& Value, int Line) {
  if (Value.find_first_not_of(" \t") == std::string::npos) {
    BoiteMessage::Afficher(ChaineRessource::Charger(RS_EmptyName), RBExpr::ApplicationTitle(),
                           BoiteMessage::MB_OK | BoiteMessage::MB_ICONERROR);
    return false;
  }
  TRBEvEnvironment* env = EditedEnvironment();
  const int listed = env ? env->IndexOf(Value) : -1;
  if (listed >= 0 && listed != Line) {
    BoiteMessage::Afficher(ChaineRessource::ChargerFormate(RS_NameListed_S, {env->Names(listed)}),
                           RBExpr::ApplicationTitle(), BoiteMessage::MB_OK | BoiteMessage::MB_ICONERROR);
    return false;
  }
  return true;
}

void TRBEnvironmentEditor::SetExpression(int Row, const std::string& Value) {
  TRBEvEnvironment* env = EditedEnvironment();
  const int line = Row - 1;
  if (!env || line < 0 || line >= env->Count()) return;
  if (env->IsActive()) {
    UDFGrid->SetCells(1, Row, env->Variables(line)->ExpressionText);
    return;
  }
  env->ReplaceExpression(line, Value);
  UDFGrid->SetCells(1, Row, Value);
}

void TRBEnvironmentEditor::UDFGridSetEditText(TComponent*, int Col, int Row, const std::string& Value) {
  TRBEvEnvironment* env = EditedEnvironment();
  const int line = Row - 1;
  if (!env || line < 0 || line >= env->Count()) {
    UDFGrid->SetCells(Col, Row, {});  // a row without a variable keeps nothing
    return;
  }
  if (Col == 1) {
    SetExpression(Row, Value);
    return;
  }
  if (AcceptableName(Value, line)) env->RenameVariable(line, Value);
  UDFGrid->SetCells(0, Row, env->Names(line));
}

void TRBEnvironmentEditor::EditBtnClick(TComponent*) {
  TRBEvEnvironment* env = EditedEnvironment();
  const int row = UDFGrid->Row(), line = row - 1;
  if (!env || line < 0 || line >= env->Count()) return;
  std::string expression = env->Variables(line)->ExpressionText;
  if (!RBExpBld::EditExpression(env->Names(line), expression, nullptr, Environment, this)) return;
  SetExpression(row, expression);
}

void TRBEnvironmentEditor::AddBtnClick(TComponent*) {
  for (TBitBtn* b : {AddBtn, EditBtn, DeleteBtn, VariableOKBtn}) b->Hide();
  AvailableGB->Hide();
  NewEntryGB->Show();
  Name->SetText({});
  Expression->SetText({});
  NewEntryResult = 0;
  {
    struct Restore {
      TRBEnvironmentEditor* e;
      ~Restore() {
        e->NewEntryGB->Hide();
        for (TBitBtn* b : {e->AddBtn, e->EditBtn, e->DeleteBtn, e->VariableOKBtn}) b->Show();
        e->AvailableGB->Show();
      }
    } restore{this};
    if (!RBExpBld::WaitForPage(*NewEntryGB, [this] { return NewEntryResult != 0 || (Modal() && ModalResult() != mrNone); }))
      NewEntryResult = 2;
  }
  if (NewEntryResult != 1) return;
  TRBEvEnvironment* env = EditedEnvironment();
  if (!env || !AcceptableName(Name->Text(), -1)) return;
  env->DefineVariable(Name->Text(), Expression->Text());
  FillGrid();
}

void TRBEnvironmentEditor::SpeedButton1Click(TComponent*) {
  std::string expression = Expression->Text();
  if (RBExpBld::EditExpression(Name->Text(), expression, nullptr, Environment, this)) Expression->SetText(expression);
}

void RBEnvEd::EditEnvironment(TRBEvEnvironment* Environment, bool SharedAllowed) {
  std::unique_ptr<TRBEnvironmentEditor> e(new TRBEnvironmentEditor(&Application()));
  e->Environment = Environment;
  if (Environment) {
    e->LocalCB->SetChecked(true);
  } else {
    e->LocalCB->SetEnabled(false);
    e->GlobalCB->SetChecked(true);
  }
  if (!SharedAllowed) e->GlobalCB->SetEnabled(false);
  e->FillGrid();
  e->ShowModal();
}

void RBEnvEd::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_EmptyName, &RS_NameListed_S};
  static bool registered = false;
  if (!registered) {
    ChaineRessource::Enregistrer(kChaines);
    registered = true;
  }
}

void RBEnvEd::Finaliser() {}
