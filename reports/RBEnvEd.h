// The environment editor: lists the variables of an environment (the given one, or the shared one)
// in a grid of names and expressions, and lets the designer rename them, change their expressions
// (also through the expression builder, embedded in the editor) and add new ones.
#pragma once

#include <string>

#include "core/values/ChaineRessource.h"
#include "platform/gui/ControlesChoix.h"
#include "platform/gui/Fiches.h"
#include "reports/RBExpr.h"

class TRBEnvironmentEditor : public TForm {
 public:
  explicit TRBEnvironmentEditor(TComponent* Owner);

  TGroupBox* AvailableGB;
  TStringGrid* UDFGrid;
  TRadioButton* LocalCB;
  TRadioButton* GlobalCB;
  TBitBtn *AddBtn, *EditBtn, *DeleteBtn, *VariableOKBtn;
  TGroupBox* NewEntryGB;
  TLabel *NameLabel, *ExpressionLabel;
  TEdit* Name;
  TEdit* Expression;
  TSpeedButton* SpeedButton1;
  TBitBtn *NewOKBtn, *NewCancelBtn;

  // The environment given to the editor (none: only the shared one).
  TRBEvEnvironment* Environment = nullptr;
  bool CloseFlag = false;
  int NewEntryResult = 0;

  // The environment the grid shows: the given one while LocalCB is selected, else the shared one.
  TRBEvEnvironment* EditedEnvironment() const;
  // One row per variable (name, expression) below the header row.
  void FillGrid();

  // A cell's edit: a name renames the variable to the upper-cased text (an empty name, or one
  // another variable has, is refused with a message and the cell shows the name again); an
  // expression replaces the variable's expression, unless the environment is active (the cell then
  // shows the stored expression again).
  void UDFGridSetEditText(TComponent* Sender, int Col, int Row, const std::string& Value);
  // Edits the selected row's expression in the builder embedded in the editor.
  void EditBtnClick(TComponent* Sender);
  // The new-entry page, until OK or Cancel; OK defines the variable.
  void AddBtnClick(TComponent* Sender);
  void SpeedButton1Click(TComponent* Sender);

 private:
  void SetExpression(int Row, const std::string& Value);
  // Whether Value may name the variable of Line (-1 for a new one); shows why not.
  bool AcceptableName(const std::string& Value, int Line);
};

namespace RBEnvEd {

// Opens the editor modally on the environment, or on the shared one when none is given (the local
// choice then disabled); the shared choice is disabled unless SharedAllowed.
void EditEnvironment(TRBEvEnvironment* Environment, bool SharedAllowed);

void Initialiser();
void Finaliser();

extern const TChaineRessource RS_EmptyName;
extern const TChaineRessource RS_NameListed_S;

}  // namespace RBEnvEd
